#include <cerrno>
#include <filesystem>
#include <functional>

#include <QApplication>
#include <QClipboard>

#include "project/script_files.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

using Messages = std::vector<RecordedMessage>;

const RecordedMessage kUnsaved{QStringLiteral("No se han guardado los cambios anteriores ¿Desea guardarlos?"),
                               QStringLiteral("Atención"), MessageButtons::YesNoCancel,
                               MessageIcon::Exclamation};
const RecordedMessage kFolderCreated = info(
    QStringLiteral("Se ha creado la carpeta 'Traducidos'\r\nEn ella se guardarán los scripts traducidos."));
const RecordedMessage kSaved = info(QStringLiteral("¡Traducción guardada!"));

// The open script, the selected one, both panes and the original size.
QString shownIn(const WindowHarness& h) {
    return QString::number(h.workspace.openScriptIndex.value_or(-1)) + " " +
           QString::number(h.scripts()->selectedIndex()) + " [" + h.originalText() + "] [" + h.paneText() +
           "] " + h.label("lblRealesO");
}

class ScriptsTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h;

    void SetUp() override {
        project.script("00[5].txt", "\r\n\r\nFirst\r\n\r\nscript"); // empty lines before the text are lost
        project.script("1A2B3C[120].txt", "Second");
        project.script("2F[7].txt", "Third");
        h.openProject(project);
        h.desktop.clipboard.texts.clear();
    }
    QString shown() const { return shownIn(h); }
    void answer(MessageAnswer a) { h.desktop.dialogs.answers = {a}; }
};

TEST_F(ScriptsTest, OpeningAndNavigatingShowTheScriptsAndTheirTranslations) {
    project.translation("2F[7].txt", "Tercero\r\n\xBF\x43u\xE1l?\r\n");
    project.translation("1A2B3C[120].txt", "x\r\n");
    QPushButton* next = h.find<QPushButton>("cmdSiguiente");
    QPushButton* previous = h.find<QPushButton>("cmdAnterior");
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[] {}, "0 0 [First\n\nscript] [] 5"},
        {[&] { previous->click(); }, "0 0 [First\n\nscript] [] 5"}, // on the first: nothing
        {[&] { h.translationPane()->setPlainText("kept"), h.clickScript(0); },
         "0 0 [First\n\nscript] [kept] 5"},
        {[&] { answer(MessageAnswer::No), next->click(); }, "1 1 [Second] [x] 120"}, // "kept" dropped
        {[&] { h.clickScript(2); }, "2 2 [Third] [Tercero\n¿Cuál?] 7"},
        {[&] { next->click(); }, "2 2 [Third] [Tercero\n¿Cuál?] 7"}, // on the last: nothing
        // Unreadable: both panes empty, and it counts as open.
        {[&] { std::filesystem::remove(project.scriptsFolder + "/1A2B3C[120].txt"), previous->click(); },
         "1 1 [] [] 7"},
        {[&] { h.scripts()->selectIndex(-1), previous->click(); }, "1 -1 [] [] 7"},
        {[&] { next->click(); }, "0 0 [First\n\nscript] [] 5"},
    };
    for (const auto& [step, expected] : steps) {
        step();
        EXPECT_EQ(shown(), QString::fromUtf8(expected));
        EXPECT_EQ(h.translationPane()->textCursor().position(), 0);
        EXPECT_EQ(h.originalPane()->textCursor().position(), 0);
    }
    EXPECT_EQ(h.desktop.clipboard.texts,
              (QStringList{"00[5]", "1A2B3C[120]", "2F[7]", "1A2B3C[120]", "00[5]"}));
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_EQ(h.messages(), Messages{kUnsaved});
}

TEST_F(ScriptsTest, EveryWayOfEditingMarksTheTranslationChanged) {
    QPlainTextEdit* pane = h.translationPane();
    pane->setFocus();
    h.type(QStringLiteral("¡Año\nñú!"));
    EXPECT_EQ(h.workspace.pendingTranslation, "¡Año\r\nñú!");
    // The context menu pastes and cuts: no key is released. Pasted text is
    // composed, in the pane as in the count.
    QApplication::clipboard()->setText(QStringLiteral("pegado: e\u0301 \u266A"));
    pane->selectAll();
    pane->paste();
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("pegado: é ♪"));
    EXPECT_EQ(h.workspace.pendingTranslation, "pegado: é ♪");
    EXPECT_TRUE(h.workspace.translationChanged);

    // Opening a script puts text in the pane without marking it changed...
    project.translation("1A2B3C[120].txt", "ab\r\n");
    answer(MessageAnswer::No);
    h.clickScript(1);
    EXPECT_EQ(h.messages(), Messages{kUnsaved});
    EXPECT_FALSE(h.workspace.translationChanged);
    // ...and deleting the whole translation leaves nothing to ask about.
    pane->selectAll();
    pane->cut();
    EXPECT_TRUE(h.workspace.translationChanged);
    EXPECT_TRUE(h.workspace.pendingTranslation.empty());
    h.clickScript(2);
    EXPECT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(project.translationFile("1A2B3C[120].txt"), "ab\r\n");
}

TEST_F(ScriptsTest, SavingWritesTheFileOrSaysWhyNot) {
    h.click("cmdGuardar");
    EXPECT_EQ(h.messages(), Messages{info(QStringLiteral("¡Nada que guardar!"))});
    h.type(QStringLiteral("Primero\n¿sí?"));
    h.desktop.dialogs.clearRecords();
    h.click("cmdGuardar");
    h.action("mnuGuardar")->trigger();
    EXPECT_EQ(h.messages(), (Messages{kFolderCreated, kSaved, kSaved}));
    EXPECT_EQ(project.translationFile("00[5].txt"), "Primero\r\n\xBFs\xED?\r\n");
    EXPECT_FALSE(h.workspace.translationChanged);
    EXPECT_EQ(h.workspace.pendingTranslation, "Primero\r\n¿sí?"); // saving leaves it as it was
    EXPECT_TRUE(h.translationPane()->hasFocus());

    // A folder in the way of the file: an error, and no other file touched.
    std::filesystem::create_directories(project.translationFolder() + "1A2B3C[120].txt");
    h.clickScript(1);
    h.type(QStringLiteral("nuevo"));
    h.desktop.dialogs.clearRecords();
    h.click("cmdGuardar");
    EXPECT_EQ(h.messages(), Messages{info(QString::fromStdString(describeError(EISDIR)) +
                                          QStringLiteral("\r\nNo se pudo guardar ") +
                                          pathToQString(project.translationFolder() + "1A2B3C[120].txt"))});
    answer(MessageAnswer::No);
    h.clickScript(0); // away and back: the same text
    EXPECT_EQ(h.paneText(), QStringLiteral("Primero\n¿sí?"));
}

// An unsaved translation, then the user leaves script 1 one way or another
// and answers the question.
TEST(ScriptsLeaving, AnUnsavedTranslationIsAskedAboutFirst) {
    struct Case {
        const char* way; // an action, a button, the close box or a click on script 2
        MessageAnswer answer;
        const char* shownAfter; // empty when the window closed
        const char* storedIndex;
    };
    using A = MessageAnswer;
    const QString stays = QStringLiteral("1 1 [Second] [uno] 120");
    const Case cases[] = {
        {"Scripts", A::Yes, "2 2 [Third] [] 7", "0"}, {"Scripts", A::No, "2 2 [Third] [] 7", "0"},
        {"Scripts", A::Cancel, "stays", "0"},         {"cmdSiguiente", A::Cancel, "stays", "0"},
        {"mnuCerrar", A::Yes, "-1 1 [] [] 0", "1"},   {"mnuCerrar", A::No, "-1 1 [] [] 0", "1"},
        {"mnuCerrar", A::Cancel, "stays", "0"},       {"close", A::Yes, "", "1"},
        {"close", A::Cancel, "stays", "0"},           {"mnuSalir", A::No, "", "0"},
        {"mnuSalir", A::Cancel, "stays", "0"},        {"blocked", A::Yes, "stays", "0"},
    };
    for (const Case& c : cases) {
        const std::string way = c.way;
        SCOPED_TRACE(way + " answered " + std::to_string(static_cast<int>(c.answer)));
        FixtureProject p;
        p.script("00[5].txt", "First");
        p.script("1A2B3C[120].txt", "Second");
        p.script("2F[7].txt", "Third");
        WindowHarness w;
        w.openProject(p);
        w.clickScript(1);
        w.type(QStringLiteral("uno"));
        w.desktop.dialogs.answers = {c.answer};
        if (way == "blocked") // a file where the folder should be: the save fails
            writeBytes(p.scriptsFolder + "/Traducidos", "");
        if (way == "close")
            w.window.close();
        else if (way.starts_with("mnu"))
            w.action(c.way)->trigger();
        else if (way.starts_with("cmd"))
            w.click(c.way);
        else
            w.clickScript(2);
        const bool saves = c.answer == A::Yes && way != "blocked";
        Messages expected{kUnsaved};
        if (saves)
            expected.insert(expected.end(), {kFolderCreated, kSaved});
        if (way == "blocked")
            expected.push_back(info(QString::fromLocal8Bit(describeError(ENOTDIR))));
        EXPECT_EQ(w.messages(), expected);
        EXPECT_EQ(p.translationFile("1A2B3C[120].txt"), saves ? "uno\r\n" : "");
        EXPECT_EQ(w.window.isVisible(), *c.shownAfter != 0);
        if (*c.shownAfter) {
            EXPECT_EQ(shownIn(w),
                      std::string(c.shownAfter) == "stays" ? stays : QString::fromUtf8(c.shownAfter));
            EXPECT_EQ(w.workspace.translationChanged, c.answer == A::Cancel || way == "blocked");
        }
        EXPECT_EQ(p.storedIndex(), c.storedIndex);
    }
}

TEST_F(ScriptsTest, ClosingTheProjectReturnsToTheStartStateAndStoresTheScript) {
    h.clickScript(2);
    h.action("mnuCerrar")->trigger();
    EXPECT_EQ(project.storedIndex(), "2");
    const ProjectSettings& s = h.workspace.settings;
    EXPECT_EQ(s.projectName + s.romPath + s.scriptsFolder + s.projectFilePath + s.originalTablePath, "");
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_FALSE(h.scripts()->isVisible());
    EXPECT_EQ(h.enabledCommands(), QStringLiteral("Nuevo Abrir"));
    EXPECT_TRUE(h.workspace.translatedTable.at(1).empty());
    h.tick(); // nothing to count against
    EXPECT_EQ(h.label("lblRealesT") + h.label("lblRealesO") + h.label("lblRealesD"), QStringLiteral("000"));
    h.openProject(project.projectFile); // the stored script opens again
    EXPECT_EQ(shown(), QStringLiteral("2 2 [Third] [] 7"));

    // The close box stores the selected script, -1 for none.
    h.scripts()->selectIndex(-1);
    EXPECT_TRUE(h.window.close());
    EXPECT_EQ(project.storedIndex(), "-1");
    EXPECT_FALSE(std::filesystem::exists(project.translationFolder()));
}

TEST_F(ScriptsTest, AfterTheListIsPointedAtAnotherFolderAnyEntryOpensAndLeavingStillAsks) {
    // Configuring the project points the list at a newly picked folder.
    FixtureProject other;
    other.script("40[9].txt", "Otro");
    other.translation("40[9].txt", "Suyo\r\n");
    ProjectDialogHost& host = h.window;
    h.type(QStringLiteral("uno"));
    ASSERT_TRUE(host.pointScriptList(pathToQString(other.scriptsFolder)));
    writeIniValue("Scripts", "PATCH", other.scriptsFolder, project.projectFile);
    EXPECT_EQ(h.scripts()->selectedIndex(), -1);
    answer(MessageAnswer::Cancel);
    EXPECT_FALSE(h.window.close());
    EXPECT_EQ(h.messages(), Messages{kUnsaved});

    // Its first entry stands where the open script stood, yet choosing it opens it.
    answer(MessageAnswer::No);
    h.clickScript(0);
    EXPECT_EQ(shown(), QStringLiteral("0 0 [Otro] [Suyo] 9"));
    EXPECT_EQ(h.workspace.openScriptFile, "40[9].txt");
}

} // namespace
} // namespace tradumar::testsupport
