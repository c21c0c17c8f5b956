#include <QCheckBox>
#include <QProgressDialog>
#include <QTableWidget>

#include "insertion/insert_all_dialog.h"
#include "insertion/insertion_journal.h"
#include "insertion/insertion_tools.h"
#include "support/widgets.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

class InsertionToolsTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h;
    const std::string base = std::string(48, '.');

    void SetUp() override {
        writeBytes(project.romPath, base);
        for (const auto& [name, text] :
             {std::pair{"08[4].txt", "Hola"}, {"10[3].txt", "Adios"}, {"20[9].txt", "Canci\xF3n"}}) {
            project.script(name, "Orig");
            project.translation(name, text);
        }
        h.openProject(project);
        h.desktop.dialogs.clearRecords();
    }
    std::string rom() const { return readBytes(project.romPath); }
    QStringList messages() const { return h.desktop.dialogs.texts(); }
    static QString refused(int code, const std::string& why) {
        return QString::fromStdString(std::to_string(code) + ": No se pudo insertar el script\r\n" + why +
                                      ". No se ha escrito nada.");
    }

    // "Insertar todos los scripts traducidos", the report answered by `answer`.
    bool insertAll(const std::function<void(InsertAllDialog&)>& answer) {
        return withModal<InsertAllDialog>([&] { h.action("mnuInsertarTodos")->trigger(); }, answer);
    }
    bool canUndo() {
        emit h.find<QMenu>("mnuHerramientas")->aboutToShow();
        return h.action("mnuDeshacer")->isEnabled();
    }
};

TEST_F(InsertionToolsTest, TheReportListsEveryScriptAndOnlyTheInsertableOnesAreWritten) {
    struct Row {
        const char* name;
        bool tick, confirm;
        std::string rom;
        QString summary, overBudget, message, undone;
    };
    const std::string hola = base.substr(0, 8) + "Hola" + base.substr(12);
    const std::vector<Row> rows = {
        {"unticked", false, true, hola,
         "Se insertarán 1 de 3 scripts traducidos (4 bytes). 1 no se pueden insertar.",
         "Excede en 2 byte(s): no se insertará", "Scripts insertados: 1 (4 bytes).",
         "Se restauraron 4 bytes en 0x8 (08[4])."},
        {"ticked", true, true, hola.substr(0, 16) + "Adios" + hola.substr(21),
         "Se insertarán 2 de 3 scripts traducidos (9 bytes). 1 no se pueden insertar.",
         "Excede en 2 byte(s): se insertará", "Scripts insertados: 2 (9 bytes).",
         "Se restauraron 9 bytes en 2 scripts."},
        {"cancelled", true, false, base, "", "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        h.desktop.dialogs.clearRecords();
        insertAll([&](InsertAllDialog& report) {
            auto* grid = child<QTableWidget>(report, "grdScripts");
            EXPECT_EQ(grid->rowCount(), 3);
            EXPECT_EQ(grid->item(2, 3)->text(), "No existen en la tabla: 'ó' [Ascii: 243] en la posición 6");
            EXPECT_FALSE(child<QCheckBox>(report, "chkExcedidos")->isChecked());
            child<QCheckBox>(report, "chkExcedidos")->setChecked(row.tick);
            if (!row.confirm)
                return report.reject();
            EXPECT_EQ(child<QLabel>(report, "lblResumen")->text(), row.summary);
            EXPECT_EQ(grid->item(1, 3)->text(), row.overBudget);
            report.accept();
        });
        EXPECT_EQ(rom(), row.rom);
        EXPECT_EQ(canUndo(), row.confirm);
        if (!row.confirm)
            continue;
        h.action("mnuDeshacer")->trigger();
        EXPECT_EQ(messages(), QStringList({row.message, row.undone}));
        EXPECT_EQ(rom(), base);
        EXPECT_FALSE(canUndo());
    }
}

TEST_F(InsertionToolsTest, NothingToInsertOrNoRomEndsBeforeTheReport) {
    std::filesystem::remove(project.romPath);
    EXPECT_FALSE(insertAll({}));
    std::filesystem::remove_all(project.translationFolder());
    EXPECT_FALSE(insertAll({}));
    EXPECT_EQ(messages(), QStringList({refused(53, "La ROM " + project.romPath + " no existe"),
                                       "No hay traducciones guardadas que insertar."}));
    EXPECT_FALSE(std::filesystem::exists(project.romPath));
}

TEST_F(InsertionToolsTest, UndoAfterInsertScriptRestoresItUnlessTheRomChanged) {
    h.clickScript(0);
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.find<QPushButton>("cmdInsertar")->click();
    ASSERT_TRUE(canUndo());
    std::string changed = rom();
    changed[9] = '!';
    writeBytes(project.romPath, changed);
    h.desktop.dialogs.clearRecords();
    h.action("mnuDeshacer")->trigger();
    changed[9] = 'o';
    writeBytes(project.romPath, changed);
    h.action("mnuDeshacer")->trigger();
    EXPECT_EQ(messages(), QStringList({"La ROM cambió fuera de Tradumar: en 0x8 (08[4]) ya no está lo que se "
                                       "insertó. No se ha cambiado nada.",
                                       "Se restauraron 4 bytes en 0x8 (08[4])."}));
    EXPECT_EQ(rom(), base);
    EXPECT_EQ(readBytes(project.romPath + ".original"), base);
}

// The ROM is 48 bytes: a script ending exactly at its end goes in, one
// reaching past it stops the whole step with the ROM untouched.
TEST_F(InsertionToolsTest, InsertAllTakesTheRomsLastByteAndRefusesOnePast) {
    std::filesystem::remove_all(project.translationFolder());
    project.translation("2C[4].txt", "Hola");
    EXPECT_TRUE(insertAll([](InsertAllDialog& report) { report.accept(); }));
    EXPECT_EQ(rom(), base.substr(0, 44) + "Hola");
    project.translation("2D[4].txt", "Hola");
    const std::string before = rom();
    h.desktop.dialogs.clearRecords();
    EXPECT_TRUE(insertAll([](InsertAllDialog& report) { report.accept(); }));
    EXPECT_EQ(messages(), QStringList({refused(63, "La ROM " + project.romPath +
                                                       " mide 48 bytes: el script llega hasta 0x31")}));
    EXPECT_EQ(rom(), before);
}

TEST_F(InsertionToolsTest, CancellingTheEncodingWritesNothingAndShowsNoReport) {
    h.window.findChild<InsertionTools*>("insertionTools")->onProgress([](QProgressDialog& progress) {
        progress.cancel();
    });
    EXPECT_FALSE(insertAll({}));
    EXPECT_EQ(messages(), QStringList({"Inserción cancelada. No se ha escrito nada."}));
    EXPECT_EQ(rom(), base);
}

TEST_F(InsertionToolsTest, ADamagedJournalIsReportedAndSetAsideOnlyWhenAsked) {
    const std::string journal = project.projectFile + ".inserciones";
    h.clickScript(0);
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.find<QPushButton>("cmdInsertar")->click();
    ASSERT_TRUE(std::filesystem::exists(journal)) << "beside the project file, named after it";
    std::string damaged = readBytes(journal);
    damaged[20] = static_cast<char>(damaged[20] ^ 1);
    writeBytes(journal, damaged);
    const std::string before = rom();
    const QString said = QString::fromStdString(
        "57: No se pudo deshacer la inserción\r\nEl registro de inserciones " + journal +
        " está dañado a partir del byte 8, o es de un formato que no se conoce. No se ha cambiado nada.\r\n"
        "¿Desea apartarlo (se le cambiará el nombre, no se borra) y empezar un registro nuevo?");
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        h.desktop.dialogs.clearRecords();
        h.desktop.dialogs.answers = {answer};
        ASSERT_TRUE(canUndo()) << "the damage is told when the translator undoes";
        h.action("mnuDeshacer")->trigger();
        EXPECT_EQ(messages().value(0), said);
        EXPECT_EQ(rom(), before);
    }
    EXPECT_EQ(readBytes(journal + ".apartado-1"), damaged);
    EXPECT_EQ(messages().value(1),
              QString::fromStdString("El registro dañado se ha guardado como " + journal +
                                     ".apartado-1. El próximo registro empieza vacío."));
    EXPECT_FALSE(canUndo());
}

} // namespace
} // namespace tradumar::testsupport
