#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTextBrowser>

#include "search/search_window.h"
#include "support/window_harness.h"
#include "workspace/manual_window.h"

namespace tradumar::testsupport {
namespace {

// Two scripts to translate, one that fits, one over its size, one with a
// character the table lacks; the first script open.
void openFiveScripts(WindowHarness& h, const FixtureProject& project) {
    for (const char* name : {"10[4].txt", "20[4].txt", "30[2].txt", "40[4].txt", "50[4].txt"})
        project.script(name, "Hola");
    project.translation("20[4].txt", "Hola");
    project.translation("30[2].txt", "Hola mundo");
    project.translation("40[4].txt", "~~");
    h.openProject(project);
}

TEST(Navigation, FindingTheNextJobInTheScriptList) {
    FixtureProject project;
    WindowHarness h;
    openFiveScripts(h, project);
    // Opening puts the caret in the translation; the caption marks unsaved changes.
    h.clickScript(1);
    EXPECT_EQ(h.window.focusWidget(), h.translationPane());
    h.type(QStringLiteral("!"));
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo* - Tradumar 1.0 Beta"));
    QTest::keyClick(h.translationPane(), Qt::Key_Backspace); // back to the saved text
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));

    const QStringList names = h.scripts()->fileNames();
    // From the first script, "Siguiente >>" twice, then "<< Anterior" once.
    const struct {
        const char* filter;
        QStringList shown;
        const char *afterTwoNext, *afterBack;
    } cases[] = {
        {"Todos", names, "30[2].txt", "20[4].txt"},
        {"Sin traducir", {"10[4].txt", "50[4].txt"}, "50[4].txt", "10[4].txt"},
        {"Exceden su tamaño", {"30[2].txt"}, "30[2].txt", "30[2].txt"},
        {"No se pueden insertar", {"40[4].txt"}, "40[4].txt", "40[4].txt"},
        // The ROM (zeros) holds neither translation yet.
        {"Pendientes de insertar", {"20[4].txt", "30[2].txt"}, "30[2].txt", "20[4].txt"},
    };
    auto* filter = h.find<QComboBox>("cboFiltro");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        filter->setCurrentText(QString::fromUtf8(c.filter));
        QStringList shown;
        for (int row = 0; row < h.scripts()->count(); ++row)
            if (!h.scripts()->isRowHidden(row))
                shown << h.scripts()->item(row)->text();
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(h.scripts()->fileNames(), names);
        h.scripts()->selectIndex(0);
        h.click("cmdSiguiente");
        h.click("cmdSiguiente");
        EXPECT_EQ(h.scripts()->selectedFileName(), QString::fromUtf8(c.afterTwoNext));
        h.click("cmdAnterior");
        EXPECT_EQ(h.scripts()->selectedFileName(), QString::fromUtf8(c.afterBack));
    }

    // "Siguiente sin traducir" goes round the list, showing a script the filter hid.
    QStringList visited;
    for (int i = 0; i < 3; ++i) {
        h.action("mnuSinTraducir")->trigger();
        visited << h.scripts()->selectedFileName();
    }
    EXPECT_EQ(visited, QStringList({"50[4].txt", "10[4].txt", "50[4].txt"}));
    EXPECT_EQ(filter->currentText(), QStringLiteral("Todos"));
    project.translation("10[4].txt", "Hola");
    h.window.refreshProgress();
    h.desktop.dialogs.clearRecords();
    h.action("mnuSinTraducir")->trigger();
    EXPECT_EQ(h.messages(), std::vector{info(QStringLiteral("No queda ningún otro script sin traducir."))});
}

TEST(Navigation, RecentProjectsOpenFromTheMenuAndLiveInTheProgramsSettings) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Tradumar", "Tradumar");
    settings.remove("Proyectos");
    FixtureProject first("primero"), second("segundo");
    WindowHarness h;
    for (const FixtureProject* project : {&first, &second}) {
        project->script("10[4].txt", "Hola");
        h.openProject(*project);
        EXPECT_FALSE(h.menu("mnuRecientes")->isEnabled()); // as "Abrir"
        h.window.closeProject();
    }
    QStringList captions;
    for (QAction* entry : h.find<QMenu>("mnuRecientes")->actions())
        captions << entry->text();
    EXPECT_EQ(captions, QStringList({"&1 Demo.tpr (" + QString::fromStdString(second.root) + ")",
                                     "&2 Demo.tpr (" + QString::fromStdString(first.root) + ")"}));
    h.action("mnuReciente2")->trigger();
    EXPECT_EQ(h.workspace.settings.projectFilePath, first.projectFile);
    settings.sync();
    EXPECT_EQ(
        settings.value("Proyectos/Recientes").toStringList(),
        QStringList({QString::fromStdString(first.projectFile), QString::fromStdString(second.projectFile)}));
}

TEST(Navigation, TheManualOpensWithItsLinksAndFindsText) {
    WindowHarness h;
    h.action("mnuManual")->trigger();
    auto* manual = h.window.findChild<ManualWindow*>(QStringLiteral("frmManual"));
    ASSERT_TRUE(manual != nullptr && manual->isVisible());
    auto* browser = child<QTextBrowser>(*manual, "txtManual");
    EXPECT_TRUE(browser->toPlainText().startsWith(QStringLiteral("Manual de Tradumar")));
    const QDir folder = QFileInfo(browser->source().toLocalFile()).dir();
    QStringList missing;
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)(?=[\"#])"));
    for (const auto& found : link.globalMatch(
             QString::fromStdString(readBytes(pathFromQString(browser->source().toLocalFile()))))) {
        if (!folder.exists(found.captured(1)))
            missing << found.captured(1);
    }
    EXPECT_EQ(missing, QStringList());

    auto* words = child<QLineEdit>(*manual, "txtBuscarManual");
    words->setText(QStringLiteral("recientes"));
    EXPECT_TRUE(manual->findNext());
    EXPECT_EQ(browser->textCursor().selectedText().toLower(), QStringLiteral("recientes"));
    words->setText(QStringLiteral("zzzz"));
    EXPECT_FALSE(manual->findNext());
    EXPECT_EQ(child<QLabel>(*manual, "lblEstadoManual")->text(),
              QStringLiteral("No se encuentra en esta página."));
}

TEST(Navigation, TheSearchWindowOffersTheLastWord) {
    WindowHarness h;
    QTest::keyClicks(child<QLineEdit>(*h.window.createSearchWindow(&h.window), "txtBuscar"), "espada");
    EXPECT_EQ(child<QLineEdit>(*h.window.createSearchWindow(&h.window), "txtBuscar")->text(),
              QStringLiteral("espada"));
}

} // namespace
} // namespace tradumar::testsupport
