#include <filesystem>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>

#include "pointers/extraction_dialog.h"
#include "pointers/pointer_file.h"
#include "project/project_dialog.h"
#include "support/window_harness.h"
#include "workspace/progress_window.h"

namespace tradumar::testsupport {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// A project in a folder with accents whose original table spells "la" with
// one code as well as two, and "ñ" with a two-byte code; its ROM holds a
// table of three 2-byte little-endian pointers at 0x100 to three scripts:
//   0x200: "Ni", a line break, "ño" (7 bytes with the end code)
//   0x207: "Hola" (its "la" inserts back as E0, not as 6C 61)
//   0x20C: "A", a byte the table lacks, "B"
struct RomProject : FixtureProject {
    RomProject() : FixtureProject("Traducción ñandú") {
        writeBytes(originalTablePath, letterTable("E0=la\r\n8A41=\xF1\r\n"));
        std::string rom(0x400, '\xEE');
        const std::string scripts = "Ni\xFE\x8A\x41o\xFF"
                                    "Hola\xFF"
                                    "A\x07"
                                    "B\xFF";
        rom.replace(0x200, scripts.size(), scripts);
        rom.replace(0x100, 6, std::string("\x00\x02\x07\x02\x0C\x02", 6));
        writeBytes(romPath, rom);
    }
    std::string pointerFile() const { return projectFile + ".punteros"; }
};

void setText(QDialog& d, const char* name, const char* text) {
    child<QLineEdit>(d, name)->setText(QString::fromUtf8(text));
}

QStringList column(QTableWidget* table, int c) {
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return cells;
}

const QStringList kExtracted = {"200[7].txt", "207[5].txt", "20C[4].txt"};

TEST(StartFromRom, ANewProjectWithNoScriptsExtractsThemThroughItsPointerTable) {
    RomProject project;
    WindowHarness h;
    auto& d = h.desktop.dialogs;
    d.folderAnswers = {q(project.root), q(project.scriptsFolder)};
    d.fileAnswers = {q(project.romPath), q(project.originalTablePath), q(project.translatedTablePath),
                     q(project.emulatorPath)};
    d.answers = {MessageAnswer::Yes};
    const bool shown = withModal<ExtractionDialog>(
        [&] {
            withModal<ProjectDialog>([&] { h.action("mnuNuevo")->trigger(); },
                                     [&](ProjectDialog& dialog) {
                                         setText(dialog, "txtNombre", "Demo");
                                         for (const char* b : {"cmdPatchPrj", "cmdDirScripts", "cmdROM",
                                                               "cmdOTBL", "cmdTTBL", "cmdEmu", "cmdAceptar"})
                                             child<QPushButton>(dialog, b)->click();
                                     });
        },
        [&](ExtractionDialog& dialog) {
            EXPECT_EQ(d.texts().last(), "La carpeta de scripts está vacía. ¿Desea extraer ahora los "
                                        "scripts de la ROM?");
            d.clearRecords();
            // Wrong fields are said, and nothing is written.
            const struct {
                const char *start, *count, *step, *said;
            } wrong[] = {
                {"10G", "3", "",
                 "La dirección de la tabla debe ser un número hexadecimal, por ejemplo 1A000."},
                {"100", "0", "", "La cuenta de punteros debe ser un número de 1 a 1000000."},
                {"100", "3", "0", "El paso entre punteros debe ser un número de 1 a 65536."},
                {"0x3FC", "3", "",
                 "La tabla de punteros acaba en 0x401, pasado el final de la ROM (0x400 bytes)."},
            };
            for (const auto& w : wrong) {
                setText(dialog, "txtDireccion", w.start);
                setText(dialog, "txtCuenta", w.count);
                setText(dialog, "txtPaso", w.step);
                EXPECT_EQ(child<QLabel>(dialog, "lblVista")->text(), QString::fromUtf8(w.said));
                child<QPushButton>(dialog, "cmdExtraer")->click();
            }
            EXPECT_EQ(d.texts().size(), 4);
            EXPECT_EQ(d.texts().last(), QString::fromUtf8(wrong[3].said));
            EXPECT_TRUE(std::filesystem::is_empty(project.scriptsFolder));
            EXPECT_FALSE(std::filesystem::exists(project.pointerFile()));

            // The preview decodes the scripts before anything is written.
            setText(dialog, "txtDireccion", "0x100");
            setText(dialog, "txtPaso", "");
            auto* preview = child<QTableWidget>(dialog, "tblVista");
            EXPECT_EQ(column(preview, 0), kExtracted);
            EXPECT_EQ(column(preview, 1), QStringList({"Ni \u21B5 ño<END>", "Hola<END>", "A<07>B<END>"}));
            EXPECT_TRUE(std::filesystem::is_empty(project.scriptsFolder));
            d.clearRecords();
            child<QPushButton>(dialog, "cmdExtraer")->click();
            EXPECT_FALSE(dialog.isVisible());
        });
    ASSERT_TRUE(shown) << d.texts().join("|").toStdString();
    EXPECT_EQ(d.texts(),
              QStringList{"Se encontraron 3 scripts; se escribieron 3.\n"
                          "Su texto no vuelve a dar los mismos bytes al insertarlo (1): 207[5].txt. "
                          "La tabla tiene dos códigos para un mismo texto."});
    EXPECT_EQ(readBytes(project.scriptsFolder + "/200[7].txt"), "Ni\r\n\xF1o<END>\r\n"); // Windows-1252
    EXPECT_EQ(h.scripts()->fileNames(), kExtracted);
    EXPECT_EQ(h.originalText(), QStringLiteral("Ni\nño<END>")); // the first script opens

    // The pointers of every script are kept, with the table and its format.
    const PointerFileLoad load = loadPointerFile(project.pointerFile());
    ASSERT_TRUE(load.ok());
    const PointerFormat format{2, ByteOrder::Little, AddressMap::Linear, 0, 0};
    EXPECT_EQ(load.file.format, format);
    EXPECT_EQ(load.file.tables, (std::vector<PointerTable>{{0x100, 3, 2, format}}));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(load.file.pointersOf(kExtracted[k].toStdString()),
                  (std::vector<ScriptPointer>{{0x100 + 2 * k, format}}));

    // Extracting again keeps the files there, edited or not, says so, and
    // records their pointers: here the pointer file was lost meanwhile.
    project.script("207[5].txt", "Hola, editado");
    std::filesystem::remove(project.pointerFile());
    d.clearRecords();
    withModal<ExtractionDialog>([&] { h.action("mnuExtraer")->trigger(); },
                                [&](ExtractionDialog& dialog) {
                                    setText(dialog, "txtDireccion", "100");
                                    setText(dialog, "txtCuenta", "3");
                                    child<QPushButton>(dialog, "cmdExtraer")->click();
                                });
    EXPECT_EQ(d.texts().value(0).section('\n', 0, 1),
              "Se encontraron 3 scripts; se escribieron 0.\n"
              "Ya existían y se conservan sin cambios (3): 200[7].txt, 207[5].txt, 20C[4].txt.");
    EXPECT_EQ(readBytes(project.scriptsFolder + "/207[5].txt"), "Hola, editado");
    EXPECT_EQ(loadPointerFile(project.pointerFile()).file, load.file);
}

// One translation the ROM holds, one it does not, one that cannot be
// inserted, and a script without a translation.
TEST(StartFromRom, TheProgressWindowAndTheListFilterSayWhatTheRomHolds) {
    RomProject project;
    project.script("200[7].txt", "Ni\r\nño<END>");
    project.script("207[5].txt", "Hola<END>");
    project.script("20C[4].txt", "A<07>B<END>");
    project.script("300[4].txt", "Fin<END>");
    project.translation("200[7].txt", "Ni~o<END>");
    project.translation("207[5].txt", "Hole<END>");
    project.translation("20C[4].txt", "A<07>B<END>");
    WindowHarness h;
    h.openProject(project);

    const auto romColumn = [&](const char* command) {
        h.action(command)->trigger();
        auto* window = child<ProgressWindow>(h.window, "frmProgreso");
        auto* table = child<QTableWidget>(*window, "tblProgreso");
        EXPECT_EQ(table->horizontalHeaderItem(5)->text(), QStringLiteral("En la ROM"));
        const QString summary = child<QLabel>(*window, "lblResumen")->text().section('\n', 1);
        const QStringList states = column(table, 5);
        window->close();
        delete window;
        return std::make_pair(states, summary);
    };
    const auto [states, summary] = romColumn("mnuComprobar");
    EXPECT_EQ(states, QStringList({"no se puede insertar", "pendiente", "insertada", ""}));
    EXPECT_EQ(summary, QStringLiteral("En la ROM: 1 insertada, 1 pendiente, 1 no se puede insertar."));

    auto* filter = h.find<QComboBox>("cboFiltro");
    const auto shownNow = [&] {
        QStringList shown;
        for (int row = 0; row < h.scripts()->count(); ++row)
            if (!h.scripts()->isRowHidden(row))
                shown << h.scripts()->item(row)->text();
        return shown;
    };
    filter->setCurrentText(QStringLiteral("Pendientes de insertar"));
    EXPECT_EQ(shownNow(), QStringList{"207[5].txt"});

    // Inserting it: the ROM holds it now, and the list and the window agree.
    h.scripts()->selectIndex(1);
    h.desktop.dialogs.answers.push_back(MessageAnswer::Yes);
    h.window.insertScript();
    EXPECT_EQ(shownNow(), QStringList());
    EXPECT_EQ(romColumn("mnuProgreso").first,
              QStringList({"no se puede insertar", "insertada", "insertada", ""}));

    // Undoing it makes it pending again.
    emit h.find<QMenu>("mnuHerramientas")->aboutToShow();
    h.action("mnuDeshacer")->trigger();
    EXPECT_EQ(shownNow(), QStringList{"207[5].txt"});

    // A pointer file that cannot be read is said, and nothing is shown as checked.
    writeBytes(project.pointerFile(), "no es un archivo de punteros\n");
    h.desktop.dialogs.clearRecords();
    h.action("mnuComprobar")->trigger();
    EXPECT_TRUE(h.desktop.dialogs.texts().value(0).startsWith("No se pudo leer el archivo de punteros "));
    EXPECT_EQ(h.window.findChild<ProgressWindow*>(), nullptr);
}

} // namespace
} // namespace tradumar::testsupport
