// The command line, run as a child process on fixture projects: what it
// prints, how it ends, and what it leaves in the ROM.
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "project/ini_profile.h"
#include "support/fixture_project.h"

namespace tradumar::testsupport {
namespace {

// Five scripts of the states the list shows, in a folder with accents.
struct CliProject : FixtureProject {
    CliProject() : FixtureProject("Traducción") {
        for (const char* name : {"08[4].txt", "10[4].txt", "18[2].txt", "20[4].txt", "notas.txt"})
            script(name, "Text");
        translation("10[4].txt", "Hola\r\n");
        translation("18[2].txt", "Adios\r\n");  // three over
        translation("20[4].txt", "Hü<0G>\r\n"); // the table has no ü; the block is no hex
        translation("notas.txt", "Hola\r\n");
        writeBytes(romPath, std::string(64, '.'));
        writeProjectFile();
    }
};

TEST(Cli, EstadoListsEveryScriptAsTheWindowWeighsIt) {
    CliProject p;
    const Outcome tsv = cli(p.dir, {"estado", p.projectFile, "--tsv"});
    EXPECT_EQ(tsv.status, 0) << tsv.err;
    EXPECT_EQ(tsv.out, "script\tdirección\ttamaño\tbytes\testado\n"
                       "08[4].txt\t0x8\t4\t\tsin traducir\n"
                       "10[4].txt\t0x10\t4\t4\tcabe\n"
                       "18[2].txt\t0x18\t2\t5\texcede\n"
                       "20[4].txt\t0x20\t4\t1\tno se puede insertar\n"
                       "notas.txt\t\t\t4\tno se puede insertar\n");
    const Outcome table = cli(p.dir, {"estado", p.projectFile});
    EXPECT_TRUE(
        table.out.ends_with("Traducidos: 4 de 5 (80 %) · 1 excede su tamaño · 2 no se pueden insertar\n"))
        << table.out;

    const Outcome comprobar = cli(p.dir, {"comprobar", p.projectFile});
    EXPECT_EQ(comprobar.status, 1);
    EXPECT_EQ(comprobar.out, "20[4].txt: el carácter \"ü\" (252) no existe en la tabla, en la posición 2\n"
                             "20[4].txt: el bloque \"<0G>\" no es válido, en la posición 3\n"
                             "notas.txt: el nombre no indica dirección y tamaño (DIRECCIÓN[TAMAÑO].txt)\n");
}

TEST(Cli, InsertarDeshacerAndParcheWorkTheJournalAndTheRom) {
    CliProject p;
    const std::string rom(64, '.');
    Outcome run = cli(p.dir, {"insertar", p.projectFile});
    EXPECT_EQ(run.status, 1); // some scripts stay out
    EXPECT_EQ(readBytes(p.romPath), rom.substr(0, 16) + "Hola" + rom.substr(20));
    EXPECT_NE(run.out.find("18[2].txt: excede en 3 byte(s): no se inserta (use --excedidos)"),
              std::string::npos);

    run = cli(p.dir, {"insertar", p.projectFile, "--excedidos", "18[2].txt"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(readBytes(p.romPath),
              rom.substr(0, 16) + "Hola" + rom.substr(20, 4) + "Adios" + rom.substr(29));

    run = cli(p.dir, {"deshacer", p.projectFile});
    EXPECT_EQ(std::pair(run.status, run.out),
              std::pair(0, std::string("Se restauraron 5 bytes en 0x18 (18[2]).\n")));
    run = cli(p.dir, {"parche", p.projectFile, p.root + "/juego.ips"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(p.root + "/juego.ips"), std::string("PATCH\0\0\x10\0\x04Hola", 14) + "EOF");

    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{},
                                               {"estado"},
                                               {"insertar", p.projectFile, "99[1].txt"},
                                               {"parche", p.projectFile, "x.zip"},
                                               {"estado", p.root + "/no.tpr"}}) {
        run = cli(p.dir, wrong);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_EQ(cli(p.dir, {"--version"}).out, "tradumar-cli 1.0\n");
}

TEST(Cli, EstadoCountsTheScriptsThatPassTheirTextBoxesAndStillInserts) {
    CliProject p;
    writeIniValue("Limits", "LINE", "3", p.projectFile); // "Hola" and "Adios" pass it
    writeIniValue("Limits", "BREAKS", "<01>", p.projectFile);
    const Outcome table = cli(p.dir, {"estado", p.projectFile});
    EXPECT_TRUE(table.out.ends_with(" · 2 no se pueden insertar · 3 no caben en sus cajas de texto\n"))
        << table.out;
    writeIniValue("Limits", "LINE", "4", p.projectFile);
    EXPECT_TRUE(cli(p.dir, {"estado", p.projectFile}).out.ends_with(" · 1 no cabe en sus cajas de texto\n"));
    // Inserting says which pass their boxes, and inserts them all the same.
    const Outcome inserted = cli(p.dir, {"insertar", p.projectFile});
    EXPECT_EQ(inserted.status, 1); // as without limits: 18[2] is over budget
    EXPECT_NE(inserted.out.find("10[4].txt: se insertan 4 bytes en 0x10\n"), std::string::npos)
        << inserted.out;
    EXPECT_NE(inserted.out.find(
                  "18[2].txt: excede en 3 byte(s): no se inserta (use --excedidos); 1 línea excede el "
                  "límite de las cajas de texto\n"),
              std::string::npos)
        << inserted.out;
    EXPECT_NE(inserted.err.find("1 script no cabe en sus cajas de texto; eso no impide insertarlo.\n"),
              std::string::npos)
        << inserted.err;
    EXPECT_EQ(readBytes(p.romPath).substr(16, 4), "Hola");
}

} // namespace
} // namespace tradumar::testsupport
