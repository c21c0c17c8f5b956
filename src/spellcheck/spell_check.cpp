#include "spellcheck/spell_check.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/platform.h"
#include "platform/qt_text.h"
#include "platform/qt_platform.h"
#include "project/workspace.h"
#include "spellcheck/spell_highlighter.h"
#include "spellcheck/suggestions_dialog.h"
#include "workspace/status_refresh.h"

namespace tradumar {
namespace {

const QString kUnderlineKey = QStringLiteral("Ortografia/Subrayar");

// frmSplashRevisor: a small tool window whose title tells what the check is
// doing.
class ProgressWindow : public QDialog {
public:
    explicit ProgressWindow(QWidget* owner)
        : QDialog(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint) {
        setObjectName(QStringLiteral("frmSplashRevisor"));
        setWindowTitle(QStringLiteral("Revisión Ortográfica"));
        setFixedSize(2640 / 15, 570 / 15);
        auto* label = new QLabel(QStringLiteral("Revisión Ortográfica"), this);
        label->setObjectName(QStringLiteral("Label1"));
        label->setGeometry(480 / 15, 120 / 15, 1935 / 15, 255 / 15);
        if (owner != nullptr)
            move(owner->frameGeometry().center() - rect().center());
    }

    void showStep(const QString& title) {
        setWindowTitle(title);
        QApplication::processEvents();
    }
};

} // namespace

SpellingTools::SpellingTools(QWidget* window, Workspace& workspace, Dialogs& dialogs, QPlainTextEdit* pane,
                             QMenu* tools)
    : QObject(window), m_window(window), m_workspace(workspace), m_dialogs(dialogs), m_pane(pane),
      m_highlighter(new SpellHighlighter(pane->document(), workspace)) {
    const bool underline = programSettings().value(kUnderlineKey, true).toBool();
    m_highlighter->setUnderlining(underline);
    m_underline = tools->addAction(QStringLiteral("Subrayar errores ortográficos"));
    m_underline->setObjectName(QStringLiteral("mnuSubrayar"));
    m_underline->setParent(window);
    m_underline->setCheckable(true);
    m_underline->setChecked(underline);
    connect(m_underline, &QAction::toggled, this, [this](bool on) {
        m_highlighter->setUnderlining(on);
        QSettings stored = programSettings();
        stored.setValue(kUnderlineKey, on);
    });
}

void SpellingTools::check() {
    if (m_checking)
        return;
    if (paneText(m_pane).empty()) {
        m_dialogs.inform(m_window, QStringLiteral("¡Nada que revisar!"));
        return;
    }
    m_checking = true;
    ProgressWindow progress(m_window);
    progress.show();
    progress.showStep(QStringLiteral("Iniciando Revisor..."));

    Spelling& spelling = m_workspace.spelling;
    const bool wasLoaded = spelling.speller.status() == DictionaryStatus::Loaded;
    DictionaryStatus status = DictionaryStatus::Unreadable;
    try {
        status = spelling.speller.load();
        spelling.projectWords.load(m_workspace.settings.projectFilePath, m_workspace.settings.legacyCodePage);
    } catch (const std::exception&) {
        status = DictionaryStatus::Unreadable;
    }
    if (status != DictionaryStatus::Loaded) {
        if (status == DictionaryStatus::Missing)
            m_dialogs.message(m_window,
                              QStringLiteral("No se puede iniciar revisor, ¿está el diccionario de español "
                                             "(hunspell-es) instalado(requerido)?."),
                              QStringLiteral("Tradumar"), MessageButtons::Ok, MessageIcon::Information);
        else
            m_dialogs.message(m_window, QStringLiteral("Un error ocurrió mientras iniciaba el revisor"),
                              QStringLiteral("Tradumar"), MessageButtons::Ok, MessageIcon::Critical);
        progress.close();
        m_checking = false;
        return;
    }

    // A dictionary installed since the underlining last looked for one.
    if (!wasLoaded)
        m_highlighter->refresh();

    progress.showStep(QStringLiteral("Revisando Script..."));
    const std::string text = paneText(m_pane);
    const std::vector<std::string> misspelled =
        findMisspellings(text, enclosuresOf(m_workspace.settings), spelling.speller, spelling.projectWords);

    SuggestionsDialog::AddWord addWord;
    if (!spelling.projectWords.path().empty())
        addWord = [this](const std::string& word) {
            const int error = m_workspace.spelling.projectWords.add(word);
            if (error == 0)
                m_highlighter->refresh();
            return error;
        };
    SuggestionsDialog dialog(
        &progress, spelling.speller, m_dialogs,
        [this](const std::string& word, const std::string& suggestion) {
            replaceInTranslation(word, suggestion);
        },
        addWord);
    if (!misspelled.empty() && !text.empty()) {
        dialog.setWords(misspelled);
        dialog.exec();
    } else {
        m_dialogs.inform(m_window, QStringLiteral("No se encontraron errores."));
    }
    progress.showStep(QStringLiteral("Cerrando Revisor..."));
    progress.close();
    m_checking = false;
}

void SpellingTools::replaceInTranslation(const std::string& word, const std::string& suggestion) {
    const Enclosures enclosures = enclosuresOf(m_workspace.settings);
    // The word's place in the pane and its length there, in UTF-16 units.
    std::vector<std::pair<int, int>> places;
    for (QTextBlock block = m_pane->document()->begin(); block.isValid(); block = block.next()) {
        const QByteArray bytes = block.text().toUtf8();
        const std::string_view line(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        for (const std::size_t at : wholeWordOccurrences(line, word, enclosures)) {
            const qsizetype start = qtOffsetOf(line, at);
            const qsizetype end = qtOffsetOf(line, at + word.size());
            places.emplace_back(block.position() + static_cast<int>(start), static_cast<int>(end - start));
        }
    }
    if (places.empty())
        return;
    // One edit, undone in one step; the pane reports it like any edit the
    // translator makes, so the translation is marked changed and the text
    // after the replacement is kept for saving.
    QTextCursor cursor(m_pane->document());
    cursor.beginEditBlock();
    const QString replacement = toQString(suggestion);
    for (auto it = places.rbegin(); it != places.rend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
}

} // namespace tradumar
