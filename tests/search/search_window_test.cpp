#include "search/search_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "support/widgets.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// The main window on a Japanese project whose legacy code page is Shift-JIS,
// with four scripts in ASCII and two Japanese ones (Shift-JIS and UTF-8),
// and the search window open in front of it.
struct SearchFixture {
    FixtureProject project;
    WindowHarness h;
    std::unique_ptr<SearchWindow> window;

    SearchFixture() {
        writeBytes(project.translatedTablePath, letterTable("E1=á\r\nE9=é\r\nF1=ñ\r\nBF=¿\r\n"));
        project.script("1A0[10].txt", "Hola mundo");
        project.script("2B0[10].txt", "\r\n\r\nHola\tcola");
        project.script("3C0[10].txt", "hola");
        project.script("4D0[10].txt", "Hola  amigo");
        project.script("5E0[10].txt", "\x83\x94\x83\x40\x83\x8B\x82\xCC\x8C\x95"); // ヴァルの剣
        project.script("6F0[10].txt", "ヴァルの剣♪");
        project.translation("4d0[10].txt", "Hola, mundo");
        project.writeProjectFile();
        writeIniValue("Encoding", "Legacy", "Shift-JIS", project.projectFile);
        h.openProject(project.projectFile);
        window = h.window.createSearchWindow(&h.window);
        window->show();
        QCoreApplication::processEvents();
    }
    template <typename T> T* find(const char* name) { return child<T>(*window, name); }
    QTableWidget* grid() { return find<QTableWidget>("data"); }
    QString message() { return find<QLabel>("lblMsg")->text(); }

    void search(const QString& word, const QString& where = QStringLiteral("Original")) {
        find<QComboBox>("cmbData")->setCurrentText(where);
        find<QLineEdit>("txtBuscar")->setText(word);
        QTest::keyClick(find<QLineEdit>("txtBuscar"), Qt::Key_Return);
        while (window->isSearching())
            QCoreApplication::processEvents();
    }
    Rows rows() {
        Rows out;
        for (int r = 0; r < grid()->rowCount() && grid()->item(r, 0); ++r)
            out.emplace_back(grid()->item(r, 0)->text(), grid()->item(r, 1)->text());
        EXPECT_EQ(grid()->rowCount(), static_cast<int>(out.size()) + 23);
        return out;
    }
    void doubleClick(int row, int column) {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, column));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center()); // a press comes first
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

TEST(SearchWindow, ListsTheFilesHoldingTheWordLastFirst) {
    struct Case {
        QString word;
        Rows rows;
        QString where = QStringLiteral("Original");
    };
    const Case cases[] = {
        {"Hola", {{"4D0[10].txt", "Hola  amigo"}, {"2B0[10].txt", "Hola"}, {"1A0[10].txt", "Hola mundo"}}},
        {"hola", {{"3C0[10].txt", "hola"}}},
        {"mu", {{"1A0[10].txt", "Hola mundo"}}},
        {"a  a", {{"4D0[10].txt", "Hola  amigo"}}},
        {"a a", {}},
        {"cola", {{"2B0[10].txt", "Hola"}}},
        {"Hola", {{"4d0[10].txt", "Hola, mundo"}}, "Traducido"},
        {"ヴァル", {{"6F0[10].txt", "ヴァルの剣♪"}, {"5E0[10].txt", "ヴァルの剣"}}},
        {"剣♪", {{"6F0[10].txt", "ヴァルの剣♪"}}},
    };
    SearchFixture f;
    EXPECT_EQ(f.find<QComboBox>("cmbData")->currentText(), QStringLiteral("Traducido"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        f.search(c.word, c.where);
        EXPECT_EQ(f.rows(), c.rows);
        EXPECT_EQ(f.message(), QStringLiteral("La búsqueda ha finalizado"));
    }
    // Fewer than two characters, however many UTF-16 units they take: no
    // search, the last one's rows stay.
    for (const QString& word : {QStringLiteral("H"), QStringLiteral("𝄞")}) {
        f.h.desktop.dialogs.clearRecords();
        f.search(word);
        EXPECT_EQ(f.h.desktop.dialogs.texts(), QStringList{QStringLiteral("Debe escribir una palabra.")});
        EXPECT_EQ(f.rows(), std::end(cases)[-1].rows);
    }

    // Without Traducidos nothing is found, until a translation is saved.
    std::filesystem::remove_all(f.project.translationFolder());
    f.search(QStringLiteral("Hola"), QStringLiteral("Traducido"));
    EXPECT_EQ(f.rows(), Rows{});
    f.project.translation("3C0[10].txt", "Hola otra vez");
    f.search(QStringLiteral("Hola"), QStringLiteral("Traducido"));
    EXPECT_EQ(f.rows(), (Rows{{"3C0[10].txt", "Hola otra vez"}}));
}

TEST(SearchWindow, CancelOrSalirKeepsTheRowsFoundAndEndsTheSearchAtOnce) {
    for (const char* button : {"cmdCancelar", "cmdSalir"}) {
        SearchFixture f;
        std::filesystem::remove(f.project.scriptsFolder + "/1A0[10].txt"); // unreadable: skipped
        const QMetaObject::Connection stop =
            QObject::connect(f.grid()->model(), &QAbstractItemModel::rowsInserted,
                             [&] { QTest::mouseClick(f.find<QPushButton>(button), Qt::LeftButton); });
        f.search(QStringLiteral("Hola"));
        EXPECT_EQ(f.rows(), (Rows{{"2B0[10].txt", "Hola"}}));
        EXPECT_EQ(f.message(), QStringLiteral("La búsqueda ha finalizado"));
        EXPECT_EQ(f.window->isVisible(), button == std::string("cmdCancelar"));
        for (const char* name : {"cmdBuscar", "txtBuscar", "data"})
            EXPECT_TRUE(f.find<QWidget>(name)->isEnabled()) << name;
        QObject::disconnect(stop);
        f.search(QStringLiteral("Hola")); // a new search starts afresh
        EXPECT_EQ(f.rows().size(), 2u);
    }
}

TEST(SearchWindow, DoubleClickOnAFileNameOpensItsScript) {
    struct Case {
        QString word, where;
        int row, column;
        int opened; // the Scripts position opened, -1: the message
    };
    const Case cases[] = {
        {"Hola", "Original", 0, 0, 3},
        {"Hola", "Original", 0, 1, -1},
        {"Hola", "Original", 5, 0, -1},
        {"Hola", "Traducido", 0, 0, 3}, // 4d0[10].txt opens 4D0[10].txt
    };
    for (const Case& c : cases) {
        SearchFixture f;
        f.search(c.word, c.where);
        f.h.desktop.dialogs.clearRecords();
        f.doubleClick(c.row, c.column);
        EXPECT_EQ(f.h.desktop.dialogs.texts(),
                  c.opened < 0 ? QStringList{QStringLiteral("Debes elegir un elemento de la lista")}
                               : QStringList{});
        EXPECT_EQ(f.h.scripts()->selectedIndex(), c.opened < 0 ? 0 : c.opened);
        EXPECT_EQ(f.h.workspace.openScriptIndex, c.opened < 0 ? 0 : c.opened);
    }
}

TEST(SearchWindow, OpensModallyFromTheMainWindow) {
    WindowHarness h;
    h.find<QPushButton>("cmdBuscar")->click(); // closes itself without a project
    EXPECT_EQ(h.desktop.dialogs.texts(), QStringList{QStringLiteral("Cargue por favor un proyecto.")});

    FixtureProject project;
    project.script("10[4].txt", "Hola");
    h.openProject(project);
    const QString search = QStringLiteral("Buscar texto en Scripts (Búsqueda exacta)");
    const std::pair<const char*, QString> cases[] = {
        {"cmdBuscar", search}, {"mnuBuscar", search}, {"mnuAcerca", QStringLiteral("Acerca de Tradumar")}};
    for (const auto& [command, title] : cases) {
        QString shown;
        withModal([&] { *command == 'c' ? h.click(command) : h.action(command)->trigger(); },
                  [&](QDialog& dialog) { shown = dialog.windowTitle(); });
        EXPECT_EQ(shown, title) << command;
    }
}

} // namespace
} // namespace tradumar::testsupport
