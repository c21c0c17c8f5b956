#include <cerrno>
#include <filesystem>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>

#include "support/window_harness.h"
#include "workspace/script_files.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::info;
using testsupport::RecordedMessage;
using testsupport::WindowHarness;

const RecordedMessage kUnsavedQuestion{
    QStringLiteral("No se han guardado los cambios anteriores ¿Desea guardarlos?"),
    QStringLiteral("Atención"), MessageButtons::YesNoCancel, MessageIcon::Exclamation};
const RecordedMessage kFolderCreated = info(
    QStringLiteral("Se ha creado la carpeta 'Traducidos'\r\nEn ella se guardarán los scripts traducidos."));
const RecordedMessage kSaved = info(QStringLiteral("¡Traducción guardada!"));

class ScriptsTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h;

    void SetUp() override {
        project.script("00[5].txt", "\r\n\r\nFirst\r\n\r\nscript");
        project.script("1A2B3C[120].txt", "Second");
        project.script("2F[7].txt", "Third");
        h.openProject(project);
        ASSERT_EQ(h.workspace.openScriptIndex, 0);
        h.desktop.clipboard.texts.clear();
    }

    std::vector<RecordedMessage>& messages() { return h.desktop.dialogs.messages; }
};

TEST_F(ScriptsTest, OpeningAScriptShowsItsTextsAndSize) {
    // Empty lines before the first text are lost, later ones stay.
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("First\n\nscript"));
    EXPECT_EQ(h.label("lblRealesO"), QStringLiteral("5"));
    EXPECT_TRUE(h.paneText().isEmpty());

    h.clickScript(1);
    EXPECT_EQ(h.desktop.clipboard.texts, QStringList{"1A2B3C[120]"});
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Second"));
    EXPECT_EQ(h.label("lblRealesO"), QStringLiteral("120"));
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("0"));
    EXPECT_EQ(h.originalPane()->textCursor().position(), 0);
    EXPECT_EQ(h.workspace.openScriptIndex, 1);
    EXPECT_EQ(h.workspace.openScriptFile, "1A2B3C[120].txt");
    EXPECT_TRUE(messages().empty());
}

TEST_F(ScriptsTest, ASavedTranslationOpensInTheUpperPaneWithTheCaretAtTheStart) {
    project.translation("2F[7].txt", "Tercero\r\n\xBF"
                                     "Cu\xE1l?\r\n");
    h.clickScript(2);
    EXPECT_EQ(h.paneText(), QStringLiteral("Tercero\n¿Cuál?"));
    EXPECT_EQ(h.workspace.pendingTranslation, "Tercero\r\n\xBF"
                                              "Cu\xE1l?");
    EXPECT_EQ(h.translationPane()->textCursor().position(), 0);
    EXPECT_FALSE(h.workspace.translationChanged);
}

TEST_F(ScriptsTest, ClickingTheOpenScriptAgainReloadsNothing) {
    h.translationPane()->setPlainText(QStringLiteral("kept"));
    h.clickScript(0);
    EXPECT_EQ(h.paneText(), QStringLiteral("kept"));
    EXPECT_EQ(h.desktop.clipboard.texts, QStringList{"00[5]"}); // the clipboard still gets the name
    EXPECT_TRUE(messages().empty());
}

TEST_F(ScriptsTest, TypingMarksTheTranslationChangedAndKeepsItsText) {
    h.translationPane()->setFocus();
    h.type(QStringLiteral("¡Año\nñú!"));
    EXPECT_TRUE(h.workspace.translationChanged);
    EXPECT_EQ(h.paneText(), QStringLiteral("¡Año\nñú!"));
    EXPECT_EQ(h.workspace.pendingTranslation, "\xA1"
                                              "A\xF1o\r\n\xF1\xFA!");
}

TEST_F(ScriptsTest, LettersComposedThroughAnInputMethodCountAsTyping) {
    h.type(QStringLiteral("Ma"));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("ñ"));
    QApplication::sendEvent(h.translationPane(), &commit);
    QTest::qWait(1);
    EXPECT_EQ(h.paneText(), QStringLiteral("Mañ"));
    EXPECT_EQ(h.workspace.pendingTranslation, "Ma\xF1");
}

TEST_F(ScriptsTest, EditsMadeWithTheMouseCountAsTyping) {
    // The pane's context menu pastes and cuts, and text can be dropped on
    // it: none of these releases a key in the pane.
    QPlainTextEdit* pane = h.translationPane();
    QApplication::clipboard()->setText(QStringLiteral("pegado"));
    pane->paste();
    EXPECT_TRUE(h.workspace.translationChanged);
    EXPECT_EQ(h.workspace.pendingTranslation, "pegado");

    QMimeData dropped;
    dropped.setText(QStringLiteral("¡"));
    const QPoint at = pane->cursorRect(QTextCursor(pane->document())).center(); // before the first letter
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &drop);
    ASSERT_EQ(h.paneText(), QStringLiteral("¡pegado"));
    EXPECT_EQ(h.workspace.pendingTranslation, "\xA1pegado");

    // So moving on offers the pasted text for saving.
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.clickScript(1);
    EXPECT_EQ(messages(), (std::vector<RecordedMessage>{kUnsavedQuestion, kFolderCreated, kSaved}));
    EXPECT_EQ(project.translationFile("00[5].txt"), "\xA1pegado\r\n");

    // Opening a script puts text in the pane without marking it changed.
    project.translation("2F[7].txt", "Tercero\r\n");
    h.clickScript(2);
    EXPECT_EQ(h.paneText(), QStringLiteral("Tercero"));
    EXPECT_FALSE(h.workspace.translationChanged);

    // Cutting the whole text empties it: nothing left to offer.
    pane->selectAll();
    pane->cut();
    EXPECT_TRUE(h.workspace.translationChanged);
    EXPECT_TRUE(h.workspace.pendingTranslation.empty());
}

TEST_F(ScriptsTest, SavingWritesTheFileAndCreatesTheFolderOnce) {
    h.type(QStringLiteral("Primero\n¿sí?"));
    h.find<QPushButton>("cmdGuardar")->click();
    EXPECT_EQ(messages(), (std::vector<RecordedMessage>{kFolderCreated, kSaved}));
    EXPECT_EQ(project.translationFile("00[5].txt"), "Primero\r\n\xBFs\xED?\r\n");
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_EQ(h.workspace.pendingTranslation, "Primero\r\n\xBFs\xED?"); // saving leaves it as it was
    EXPECT_TRUE(h.translationPane()->hasFocus());

    messages().clear();
    h.action("mnuGuardar")->trigger();
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kSaved});

    // Away and back: the same text.
    h.clickScript(1);
    h.clickScript(0);
    EXPECT_EQ(h.paneText(), QStringLiteral("Primero\n¿sí?"));
}

TEST_F(ScriptsTest, AnEmptyPaneHasNothingToSave) {
    h.find<QPushButton>("cmdGuardar")->click();
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{info(QStringLiteral("¡Nada que guardar!"))});
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder()));
}

TEST_F(ScriptsTest, AFolderThatCannotBeCreatedIsReportedWithItsNumber) {
    // A file where the folder should be.
    testsupport::writeFileBytes(project.scriptsFolder + "/Traducidos", "");
    h.type(QStringLiteral("texto"));
    h.find<QPushButton>("cmdGuardar")->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], info(QString::fromLocal8Bit(describeError(ENOTDIR))));
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("20: ")));
    EXPECT_TRUE(h.workspace.translationChanged);
    EXPECT_EQ(h.paneText(), QStringLiteral("texto"));
}

TEST_F(ScriptsTest, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept) {
    project.translation("00[5].txt", "old\r\n");
    // A folder in the way of the file.
    std::filesystem::create_directories(project.translationFolder() + "1A2B3C[120].txt");
    h.clickScript(1);
    h.type(QStringLiteral("nuevo"));
    h.find<QPushButton>("cmdGuardar")->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].text, kSaved.text);
    EXPECT_TRUE(messages()[0].text.contains(QStringLiteral(": ")));
    EXPECT_EQ(project.translationFile("00[5].txt"), "old\r\n");
}

TEST_F(ScriptsTest, TheQuestionAnsweredYesSavesIntoTheScriptThatWasOpen) {
    h.type(QStringLiteral("uno"));
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.clickScript(2);
    EXPECT_EQ(messages(), (std::vector<RecordedMessage>{kUnsavedQuestion, kFolderCreated, kSaved}));
    EXPECT_EQ(project.translationFile("00[5].txt"), "uno\r\n");
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder() + "2F[7].txt"));
    EXPECT_EQ(h.workspace.openScriptIndex, 2);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Third"));
    EXPECT_TRUE(h.paneText().isEmpty());
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_TRUE(h.workspace.pendingTranslation.empty());
}

TEST_F(ScriptsTest, TheQuestionAnsweredNoDropsTheChanges) {
    h.type(QStringLiteral("uno"));
    h.desktop.dialogs.answers = {MessageAnswer::No};
    h.clickScript(1);
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kUnsavedQuestion});
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder()));
    EXPECT_EQ(h.workspace.openScriptIndex, 1);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Second"));
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_TRUE(h.workspace.pendingTranslation.empty());

    // Nothing left to ask about when moving on.
    h.clickScript(2);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(ScriptsTest, TheQuestionAnsweredCancelKeepsTheOpenScript) {
    h.type(QStringLiteral("uno"));
    h.desktop.dialogs.answers = {MessageAnswer::Cancel};
    h.clickScript(2);
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kUnsavedQuestion});
    EXPECT_EQ(h.workspace.openScriptIndex, 0);
    EXPECT_EQ(h.scripts()->selectedIndex(), 0);
    EXPECT_EQ(h.paneText(), QStringLiteral("uno"));
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("First\n\nscript"));
    EXPECT_TRUE(h.workspace.translationChanged);
    EXPECT_EQ(h.workspace.pendingTranslation, "uno");
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder()));

    // Asked again on the next attempt, and "Siguiente >>" asks too.
    h.desktop.dialogs.answers = {MessageAnswer::Cancel};
    h.find<QPushButton>("cmdSiguiente")->click();
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(h.scripts()->selectedIndex(), 0);
}

TEST_F(ScriptsTest, AFailedSaveInsideTheQuestionKeepsTheOpenScript) {
    testsupport::writeFileBytes(project.scriptsFolder + "/Traducidos", "");
    h.type(QStringLiteral("uno"));
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.clickScript(1);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0], kUnsavedQuestion);
    EXPECT_EQ(messages()[1], info(QString::fromLocal8Bit(describeError(ENOTDIR))));
    EXPECT_EQ(h.workspace.openScriptIndex, 0);
    EXPECT_EQ(h.scripts()->selectedIndex(), 0);
    EXPECT_EQ(h.paneText(), QStringLiteral("uno"));
    EXPECT_TRUE(h.workspace.translationChanged);
}

TEST_F(ScriptsTest, AfterTheListIsPointedAtAnotherFolderAnyEntryOpens) {
    // Configuring the project points the list at a newly picked scripts
    // folder and stores it in the project file.
    FixtureProject other;
    other.script("40[9].txt", "Otro");
    other.translation("40[9].txt", "Suyo\r\n");
    ProjectDialogHost& host = h.window;
    ASSERT_TRUE(host.pointScriptList(pathToQString(other.scriptsFolder)));
    writeIniValue("Scripts", "PATCH", other.scriptsFolder, project.projectFile);
    EXPECT_EQ(h.scripts()->selectedIndex(), -1);

    // Its first entry is not the script the panes still show, though it
    // stands where that one stood: choosing it opens it.
    h.clickScript(0);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Otro"));
    EXPECT_EQ(h.paneText(), QStringLiteral("Suyo"));
    EXPECT_EQ(h.label("lblRealesO"), QStringLiteral("9"));
    EXPECT_EQ(h.workspace.openScriptFile, "40[9].txt");
}

TEST_F(ScriptsTest, AfterTheListIsPointedElsewhereLeavingStillAsksAboutTheTranslation) {
    h.type(QStringLiteral("uno"));
    FixtureProject other;
    other.script("40[9].txt", "Otro");
    ProjectDialogHost& host = h.window;
    ASSERT_TRUE(host.pointScriptList(pathToQString(other.scriptsFolder)));
    h.desktop.dialogs.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(h.window.close());
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kUnsavedQuestion});
    EXPECT_EQ(h.paneText(), QStringLiteral("uno"));
}

TEST_F(ScriptsTest, DeletingTheWholeTranslationAsksNothing) {
    project.translation("1A2B3C[120].txt", "ab\r\n");
    h.clickScript(1);
    h.translationPane()->moveCursor(QTextCursor::End);
    QTest::keyClick(h.translationPane(), Qt::Key_Backspace);
    QTest::keyClick(h.translationPane(), Qt::Key_Backspace);
    EXPECT_TRUE(h.workspace.translationChanged);
    h.clickScript(2);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(project.translationFile("1A2B3C[120].txt"), "ab\r\n");
}

TEST_F(ScriptsTest, NavigationStopsAtBothEnds) {
    auto* next = h.find<QPushButton>("cmdSiguiente");
    auto* previous = h.find<QPushButton>("cmdAnterior");
    previous->click(); // on the first: nothing
    EXPECT_EQ(h.scripts()->selectedIndex(), 0);
    EXPECT_TRUE(h.desktop.clipboard.texts.isEmpty());
    next->click();
    EXPECT_EQ(h.scripts()->selectedIndex(), 1);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Second"));
    next->click();
    next->click(); // on the last: nothing
    EXPECT_EQ(h.scripts()->selectedIndex(), 2);
    EXPECT_EQ(h.desktop.clipboard.texts, (QStringList{"1A2B3C[120]", "2F[7]"}));
    previous->click();
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Second"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(ScriptsTest, NavigationWithNothingSelected) {
    h.scripts()->selectIndex(-1);
    h.find<QPushButton>("cmdAnterior")->click();
    EXPECT_EQ(h.scripts()->selectedIndex(), -1);
    h.find<QPushButton>("cmdSiguiente")->click();
    EXPECT_EQ(h.scripts()->selectedIndex(), 0);
}

TEST_F(ScriptsTest, AScriptThatCannotBeReadLeavesBothPanesEmpty) {
    project.translation("1A2B3C[120].txt", "x\r\n");
    std::filesystem::remove(project.scriptsFolder + "/1A2B3C[120].txt");
    h.clickScript(1);
    EXPECT_TRUE(h.paneText().isEmpty());
    EXPECT_TRUE(h.originalPane()->toPlainText().isEmpty());
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("0"));
    EXPECT_EQ(h.workspace.openScriptIndex, 1); // counts as open
    EXPECT_TRUE(messages().empty());
}

TEST_F(ScriptsTest, GoToLinePutsTheCaretAtTheStartOfTheLine) {
    QPlainTextEdit* pane = h.translationPane();
    pane->setPlainText(QStringLiteral("uno\ndos\ntres"));
    struct Case {
        int line;
        int position;
    };
    for (const Case c : {Case{1, 0}, Case{0, 0}, Case{2, 4}, Case{3, 8}, Case{4, 12}, Case{99, 12}}) {
        pane->moveCursor(QTextCursor::End);
        MainWindow::goToLine(pane, c.line);
        EXPECT_EQ(pane->textCursor().position(), c.position) << c.line;
        EXPECT_FALSE(pane->textCursor().hasSelection());
    }
}

// ---- leaving ----

TEST_F(ScriptsTest, CloseProjectReturnsToTheStartState) {
    h.clickScript(2);
    h.type(QStringLiteral("cambio"));
    h.desktop.dialogs.answers = {MessageAnswer::No};
    h.action("mnuCerrar")->trigger();
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kUnsavedQuestion});
    EXPECT_EQ(project.storedIndex(), "2");
    const ProjectSettings& s = h.workspace.settings;
    EXPECT_TRUE(s.projectName.empty() && s.romPath.empty() && s.scriptsFolder.empty() &&
                s.projectFilePath.empty() && s.originalTablePath.empty());
    EXPECT_EQ(s.leftEnclosure(), "<");
    EXPECT_EQ(s.rightEnclosure(), ">");
    EXPECT_EQ(s.emulatorPath, project.emulatorPath);
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_FALSE(h.scripts()->isVisible());
    EXPECT_TRUE(h.paneText().isEmpty());
    EXPECT_TRUE(h.originalPane()->toPlainText().isEmpty());
    for (const char* label : {"lblRealesT", "lblRealesO", "lblRealesD"})
        EXPECT_EQ(h.label(label), QStringLiteral("0")) << label;
    EXPECT_FALSE(h.action("mnuCerrar")->isEnabled());
    EXPECT_FALSE(h.menu("mnuEdición")->isEnabled());
    EXPECT_TRUE(h.action("mnuNuevo")->isEnabled());
    EXPECT_TRUE(h.action("mnuAbrir")->isEnabled());
    EXPECT_TRUE(h.workspace.translatedTable.at(1).empty());
    EXPECT_FALSE(h.workspace.openScriptIndex.has_value());
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_TRUE(h.workspace.pendingTranslation.empty());

    // The labels stay at zero on the next tick: nothing to count against.
    h.tick();
    EXPECT_EQ(h.label("lblRealesD"), QStringLiteral("0"));

    // Opening the project again offers nothing to save and shows script 2.
    h.openProject(project.projectFile);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(h.originalPane()->toPlainText(), QStringLiteral("Third"));
}

TEST_F(ScriptsTest, TextTypedAfterClosingTheProjectBelongsToNoScript) {
    h.action("mnuCerrar")->trigger();
    h.type(QStringLiteral("suelto"));
    EXPECT_TRUE(h.workspace.translationChanged);
    // No project, no script: nowhere to save it, so leaving asks nothing.
    EXPECT_TRUE(h.window.close());
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder()));
}

TEST_F(ScriptsTest, CloseProjectAnsweredCancelStaysOpen) {
    h.type(QStringLiteral("cambio"));
    h.desktop.dialogs.answers = {MessageAnswer::Cancel};
    h.action("mnuCerrar")->trigger();
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
    EXPECT_EQ(h.paneText(), QStringLiteral("cambio"));
    EXPECT_TRUE(h.action("mnuCerrar")->isEnabled());
}

TEST_F(ScriptsTest, CloseProjectAnsweredYesSavesFirst) {
    h.type(QStringLiteral("cambio"));
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.action("mnuCerrar")->trigger();
    EXPECT_EQ(messages(), (std::vector<RecordedMessage>{kUnsavedQuestion, kFolderCreated, kSaved}));
    EXPECT_EQ(project.translationFile("00[5].txt"), "cambio\r\n");
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
}

TEST_F(ScriptsTest, TheCloseBoxStoresTheSelectedScript) {
    h.clickScript(1);
    EXPECT_TRUE(h.window.close());
    EXPECT_FALSE(h.window.isVisible());
    EXPECT_EQ(project.storedIndex(), "1");
    EXPECT_TRUE(messages().empty());
}

TEST_F(ScriptsTest, TheCloseBoxAsksAboutAnUnsavedTranslation) {
    h.clickScript(1);
    h.type(QStringLiteral("x"));
    h.desktop.dialogs.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(h.window.close());
    EXPECT_TRUE(h.window.isVisible());
    EXPECT_EQ(project.storedIndex(), "0");

    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(h.window.close());
    EXPECT_EQ(project.translationFile("1A2B3C[120].txt"), "x\r\n");
    EXPECT_EQ(project.storedIndex(), "1");
}

TEST_F(ScriptsTest, SalirLeavesWithoutStoringTheIndex) {
    h.clickScript(2);
    h.type(QStringLiteral("x"));
    h.desktop.dialogs.answers = {MessageAnswer::No};
    h.action("mnuSalir")->trigger();
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kUnsavedQuestion});
    EXPECT_FALSE(h.window.isVisible());
    EXPECT_EQ(project.storedIndex(), "0");
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder()));
}

TEST_F(ScriptsTest, SalirAnsweredCancelStays) {
    h.type(QStringLiteral("x"));
    h.desktop.dialogs.answers = {MessageAnswer::Cancel};
    h.action("mnuSalir")->trigger();
    EXPECT_TRUE(h.window.isVisible());
}

TEST_F(ScriptsTest, CloseBoxWithNothingSelectedStoresMinusOne) {
    h.scripts()->selectIndex(-1);
    h.window.close();
    EXPECT_EQ(project.storedIndex(), "-1");
}

} // namespace
} // namespace tradumar
