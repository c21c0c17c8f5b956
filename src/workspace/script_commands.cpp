// Opening, saving and moving through the scripts of the main window.
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>

#include "encoding/conversions.h"
#include "platform/qt_text.h"
#include "project/ini_profile.h"
#include "project/script_files.h"
#include "project/workspace.h"
#include "workspace/file_list.h"
#include "workspace/main_window.h"
#include "workspace/status_refresh.h"
#include "workspace/undecodable_file.h"

namespace tradumar {
namespace {

const QString kUnsavedQuestion =
    QStringLiteral("No se han guardado los cambios anteriores ¿Desea guardarlos?");

void setPaneText(QPlainTextEdit* pane, const std::string& text) {
    pane->setPlainText(toQString(text));
}

// The joined text of a script or translation file; a file that cannot be
// decoded is not loaded, and the user is told where it fails.
std::optional<std::string> readShownText(QWidget* parent, Dialogs& dialogs, const std::string& path,
                                         LegacyCodePage legacy) {
    DecodedText read = readScriptText(path, legacy);
    if (read.status == TextFileStatus::Undecodable)
        reportUndecodableFile(parent, dialogs, path, legacy, read.badOffset, read.badByte);
    if (read.status != TextFileStatus::Read)
        return std::nullopt;
    return std::move(read.text);
}

QString errorText(int error) {
    return toQString(describeError(error));
}

} // namespace

bool MainWindow::writeTranslation(const std::string& fileName, const std::string& text) {
    const std::string& scriptsFolder = m_workspace.settings.scriptsFolder;
    const FolderResult folder = createTranslationFolder(scriptsFolder);
    if (folder.status == FolderStatus::Failed) {
        m_platform.dialogs.inform(this, errorText(folder.error));
        return false;
    }
    if (folder.status == FolderStatus::Created)
        m_platform.dialogs.inform(this, QStringLiteral("Se ha creado la carpeta 'Traducidos'\r\n"
                                                       "En ella se guardarán los scripts traducidos."));
    const std::string path = translationFolderOf(scriptsFolder) + fileName;
    if (const int error = writeTranslationFile(path, text, m_workspace.settings.legacyCodePage); error != 0) {
        // The error first, as it always was; then the file it concerns.
        m_platform.dialogs.inform(this, errorText(error) + QStringLiteral("\r\nNo se pudo guardar ") +
                                            pathToQString(path));
        return false;
    }
    remeasureScript(fileName);
    m_platform.dialogs.inform(this, QStringLiteral("¡Traducción guardada!"));
    return true;
}

bool MainWindow::offerToSaveBeforeLeaving() {
    // Only a translation typed into an opened script can be saved anywhere.
    // Its position may be gone (the list was pointed at another folder), but
    // its name is kept until the project is closed.
    if (m_workspace.openScriptFile.empty() || m_workspace.pendingTranslation.empty() ||
        !m_workspace.translationChanged)
        return true;
    switch (m_platform.dialogs.message(this, kUnsavedQuestion, QStringLiteral("Atención"),
                                       MessageButtons::YesNoCancel, MessageIcon::Exclamation)) {
    case MessageAnswer::Yes:
        if (!writeTranslation(m_workspace.openScriptFile, m_workspace.pendingTranslation))
            return false;
        m_workspace.savedTranslation = m_workspace.pendingTranslation;
        m_workspace.translationChanged = false;
        showChangeMark();
        return true;
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::openSelectedScript() {
    const int selected = m_scripts->selectedIndex();
    if (selected < 0)
        return;
    const QString name = m_scripts->selectedFileName();
    m_platform.clipboard.setText(name.left(std::max<qsizetype>(0, name.size() - 4)));
    if (m_workspace.openScriptIndex == selected)
        return;

    // As when leaving, only text typed into an opened script is offered for
    // saving; text typed with no script open belongs nowhere and is dropped.
    if (!m_workspace.openScriptFile.empty() && !m_workspace.pendingTranslation.empty() &&
        m_workspace.translationChanged) {
        const MessageAnswer answer =
            m_platform.dialogs.message(this, kUnsavedQuestion, QStringLiteral("Atención"),
                                       MessageButtons::YesNoCancel, MessageIcon::Exclamation);
        // Cancel, or a save that failed, keeps the open script with its text
        // and its change mark, and the list goes back to it.
        const auto stay = [this] {
            const QSignalBlocker blocker(m_scripts);
            m_scripts->selectIndex(m_workspace.openScriptIndex.value_or(-1));
        };
        if (answer == MessageAnswer::Yes) {
            if (!writeTranslation(m_workspace.openScriptFile, m_workspace.pendingTranslation)) {
                stay();
                return;
            }
            m_workspace.savedTranslation = m_workspace.pendingTranslation;
            m_rtxtTraducido->setFocus();
        } else if (answer != MessageAnswer::No) {
            stay();
            return;
        }
    }
    m_workspace.pendingTranslation.clear();
    m_workspace.translationChanged = false;

    m_workspace.openScriptFile = pathFromQString(name);
    m_workspace.openScriptIndex = selected;

    // From here on a failure ends the opening quietly; the script still
    // counts as open. Whatever the pane then shows is the text loaded:
    // nothing in it is a change of the user's.
    m_loadingPane = true;
    const auto loaded = qScopeGuard([this] {
        m_loadingPane = false;
        m_workspace.pendingTranslation = paneText(m_rtxtTraducido);
        m_workspace.savedTranslation = m_workspace.pendingTranslation;
        m_workspace.translationChanged = false;
        showChangeMark();
        // Typing goes into the translation, not through the list.
        m_rtxtTraducido->setFocus();
    });
    m_rtxtTraducido->clear();
    m_rtxtOriginal->clear();
    m_lblRealesT->setText(QStringLiteral("0"));
    ProjectSettings& settings = m_workspace.settings;
    settings.scriptsFolder = readIniValue("Scripts", "Patch", settings.projectFilePath);

    const std::optional<std::string> original =
        readShownText(this, m_platform.dialogs, settings.scriptsFolder + "/" + m_workspace.openScriptFile,
                      settings.legacyCodePage);
    if (!original)
        return;
    setPaneText(m_rtxtOriginal, *original);
    // A name that gives no offset and size has no budget to show.
    const std::optional<ScriptPlace> place = scriptPlace(m_workspace.openScriptFile);
    m_lblRealesO->setText(place ? QString::number(place->size) : QString());
    goToLine(m_rtxtOriginal, 1);

    const std::optional<std::string> translation = readShownText(
        this, m_platform.dialogs, translationFolderOf(settings.scriptsFolder) + m_workspace.openScriptFile,
        settings.legacyCodePage);
    if (!translation)
        return;
    setPaneText(m_rtxtTraducido, *translation);
    goToLine(m_rtxtTraducido, 1);
}

void MainWindow::saveTranslation() {
    const std::string text = paneText(m_rtxtTraducido);
    if (text.empty()) {
        m_platform.dialogs.inform(this, QStringLiteral("¡Nada que guardar!"));
        return;
    }
    if (!scriptIsOpen()) {
        m_platform.dialogs.inform(this, QString::fromUtf8(kNoScriptOpen));
        return;
    }
    if (!writeTranslation(pathFromQString(m_scripts->selectedFileName()), text))
        return;
    m_workspace.savedTranslation = text;
    m_workspace.translationChanged = false;
    showChangeMark();
    m_rtxtTraducido->setFocus();
}

bool MainWindow::scriptIsOpen() const {
    return !m_workspace.settings.projectFilePath.empty() && m_workspace.openScriptIndex &&
           *m_workspace.openScriptIndex == m_scripts->selectedIndex();
}

void MainWindow::goToLine(QPlainTextEdit* pane, int line) {
    QTextDocument* document = pane->document();
    if (document->isEmpty())
        return;
    QTextCursor cursor(document);
    if (line <= 1) {
        cursor.setPosition(0);
    } else if (line > document->blockCount()) {
        cursor.movePosition(QTextCursor::End);
    } else {
        cursor.setPosition(document->findBlockByNumber(line - 1).position());
    }
    pane->setTextCursor(cursor);
}

} // namespace tradumar
