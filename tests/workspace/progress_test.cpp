#include <QHeaderView>
#include <QTableWidget>

#include "support/window_harness.h"
#include "workspace/progress_window.h"

namespace tradumar::testsupport {
namespace {

// Three scripts of 4 bytes each: one untranslated, one translated within its
// size, one over it.
struct ProgressProject : FixtureProject {
    ProgressProject() {
        for (const char* name : {"10[4].txt", "20[4].txt", "30[4].txt"})
            script(name, "Text");
        translation("20[4].txt", "Hola\r\n");
        translation("30[4].txt", "Hola!\r\n");
    }
};

// What the list shows for each script: its text, and the state its mark and tooltip give.
struct Shown {
    QString text;
    QString tooltip;
    qint64 mark;
};

std::vector<Shown> shownScripts(const WindowHarness& h) {
    std::vector<Shown> shown;
    for (const QListWidgetItem* item : h.scripts()->findItems(QStringLiteral("*"), Qt::MatchWildcard))
        shown.push_back({item->text(), item->toolTip(), item->icon().pixmap(10, 10).toImage().cacheKey()});
    return shown;
}

void expectShown(const WindowHarness& h, const std::vector<QString>& tooltips, const QString& summary) {
    const std::vector<Shown> shown = shownScripts(h);
    ASSERT_EQ(shown.size(), tooltips.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, QStringLiteral("%1[4].txt").arg((i + 1) * 10)); // names stay as they are
        EXPECT_EQ(shown[i].tooltip, tooltips[i]);
    }
    EXPECT_EQ(h.label("lblProgreso"), summary);
}

TEST(TranslationProgress, MarksAndSummaryFollowOpeningSavingAndInserting) {
    ProgressProject project;
    WindowHarness h;
    h.openProject(project);
    expectShown(h, {"Sin traducir", "Traducido: 4 de 4 bytes", "Excede su tamaño: 5 de 4 bytes"},
                QStringLiteral("Traducidos: 2 de 3 (66 %) · 1 excede su tamaño"));
    // Each state has its own mark.
    const std::vector<Shown> shown = shownScripts(h);
    EXPECT_NE(shown[0].mark, shown[1].mark);
    EXPECT_NE(shown[1].mark, shown[2].mark);

    // Saving the first script over its size.
    h.type(QStringLiteral("Adios"));
    h.window.saveTranslation();
    expectShown(
        h, {"Excede su tamaño: 5 de 4 bytes", "Traducido: 4 de 4 bytes", "Excede su tamaño: 5 de 4 bytes"},
        QStringLiteral("Traducidos: 3 de 3 (100 %) · 2 exceden su tamaño"));
    EXPECT_EQ(shownScripts(h)[0].mark, shown[2].mark);

    // Saving through the question when another script is chosen.
    h.translationPane()->selectAll();
    h.type(QStringLiteral("Hi"));
    h.desktop.dialogs.answers.push_back(MessageAnswer::Yes);
    h.clickScript(2);
    expectShown(h, {"Traducido: 2 de 4 bytes", "Traducido: 4 de 4 bytes", "Excede su tamaño: 5 de 4 bytes"},
                QStringLiteral("Traducidos: 3 de 3 (100 %) · 1 excede su tamaño"));

    // Inserting reads the script's saved translation again: here another
    // program shortened it meanwhile.
    project.translation("30[4].txt", "Hey\r\n");
    h.desktop.dialogs.answers.push_back(MessageAnswer::Yes);
    h.window.insertScript();
    expectShown(h, {"Traducido: 2 de 4 bytes", "Traducido: 4 de 4 bytes", "Traducido: 3 de 4 bytes"},
                QStringLiteral("Traducidos: 3 de 3 (100 %) · 0 exceden su tamaño"));

    h.window.closeProject();
    EXPECT_EQ(h.label("lblProgreso"), QString());
}

TEST(TranslationProgress, WindowSortsCopiesAndOpensTheDoubleClickedScript) {
    ProgressProject project;
    WindowHarness h;
    h.openProject(project);
    h.action("mnuProgreso")->trigger();
    auto* window = child<ProgressWindow>(h.window, "frmProgreso");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Progreso de la traducción"));
    auto* table = child<QTableWidget>(*window, "tblProgreso");

    const auto column = [table](int c) {
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row)
            cells << table->item(row, c)->text();
        return cells;
    };
    struct Sort {
        int column;
        Qt::SortOrder order;
        QStringList names;
    };
    const Sort sorts[] = {
        {3, Qt::AscendingOrder, {"10[4].txt", "30[4].txt", "20[4].txt"}},  // Diferencia: none, -1, 0
        {1, Qt::DescendingOrder, {"30[4].txt", "20[4].txt", "10[4].txt"}}, // Bytes traducidos
        {4, Qt::DescendingOrder, {"30[4].txt", "20[4].txt", "10[4].txt"}}, // Estado
        {0, Qt::DescendingOrder, {"30[4].txt", "20[4].txt", "10[4].txt"}}, // Script
    };
    EXPECT_TRUE(table->isSortingEnabled()); // a click on a heading sorts by it
    for (const Sort& sort : sorts) {
        table->sortByColumn(sort.column, sort.order);
        EXPECT_EQ(column(0), sort.names) << sort.column;
    }

    child<QPushButton>(*window, "cmdCopiar")->click();
    EXPECT_EQ(h.desktop.clipboard.texts.last(),
              QStringLiteral("Script\tBytes traducidos\tPresupuesto\tDiferencia\tEstado\n"
                             "30[4].txt\t5\t4\t-1\tExcede su tamaño\n"
                             "20[4].txt\t4\t4\t0\tTraducido\n"
                             "10[4].txt\t\t4\t\tSin traducir\n"));

    const QRect cell = table->visualItemRect(table->item(1, 0));
    // A double click as the mouse makes it: a click, then the second press.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(h.scripts()->selectedIndex(), 1);
    EXPECT_EQ(h.paneText(), QStringLiteral("Hola"));
}

} // namespace
} // namespace tradumar::testsupport
