// The pointer subcommands run as a child process on a ROM made here: a
// table of two pointers, three scripts (one with a two-byte code and a line
// code), a script the translator made by hand and a value that only looks
// like a pointer.
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "support/fixture_project.h"

namespace tradumar::testsupport {
namespace {

struct PointerProject : FixtureProject {
    std::string rom = std::string(0x200, '\xEE');
    std::string pointerFile = projectFile + ".punteros";

    PointerProject() {
        writeBytes(originalTablePath, letterTable("2A0B=\xF1\r\n"));
        rom.replace(0x10, 4, std::string("\x40\0\x48\0", 4));
        rom.replace(0x14, 2,
                    std::string("\x50\0", 2)); // the next entry of the table, not extracted through it
        rom.replace(0x30, 2, std::string("\x50\0", 2)); // a false candidate
        rom.replace(0x40, 5, "Hola\xFF");
        rom.replace(0x48, 6,
                    "a\x2A\x0B\xFE"
                    "b\xFF");
        rom.replace(0x50, 3, "Si\xFF");
        rom.replace(0x58, 2, "X\xFF");
        writeBytes(romPath, rom);
        script("58[2].txt", "X<END>\r\n");
        writeProjectFile();
    }
};

TEST(CliPointers, ExtractVerifyFreeSpacePointersRelocateAndUndo) {
    PointerProject p;
    const std::string& P = p.projectFile;
    Outcome run = cli(p.dir, {"extraer", P, "--punteros", "0x10:2", "--tamano", "2", "--orden", "le",
                              "--mapa", "lineal", "--rango", "0x50-0x52"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "40[5].txt: escrito, 1 puntero(s)\n48[6].txt: escrito, 1 puntero(s)\n50[3].txt: escrito\n");
    EXPECT_EQ(readBytes(p.scriptsFolder + "/48[6].txt"), "a\xF1\r\nb<END>\r\n");
    for (const char* line : {"formato 2:le:lineal:0:0", "tabla 10 2 2 2:le:lineal:0:0",
                             "punteros 2:le:lineal:0:0 12 = 48[6].txt"})
        EXPECT_NE(readBytes(p.pointerFile).find(line), std::string::npos) << line;
    run = cli(p.dir, {"extraer", P, "--punteros", "16:2", "--rango", "80-82"});
    EXPECT_EQ(run.out,
              "40[5].txt: ya existe; se conserva, 1 puntero(s)\n48[6].txt: ya existe; se conserva, 1 "
              "puntero(s)\n50[3].txt: ya existe; se conserva\n");

    p.translation("40[5].txt", "Hola<END>\r\n");
    p.translation("48[6].txt", "Adios amigo<END>\r\n");
    p.translation("50[3].txt", "Buenas<END>\r\n");
    p.translation("58[2].txt", "Hola<END>\r\n");
    run = cli(p.dir, {"verificar", P});
    EXPECT_EQ(std::pair(run.status, run.out),
              std::pair(1, std::string("40[5].txt: insertada en 0x40\n48[6].txt: pendiente en 0x48\n"
                                       "50[3].txt: pendiente en 0x50\n58[2].txt: pendiente en 0x58\n")));

    run = cli(p.dir, {"libre", P, "0x100-1FF", "--relleno", "00"});
    EXPECT_EQ(run.out, "relleno 00\nlibre 100-1FF (256 bytes)\nqueda 100-1FF (256 bytes)\n");

    run = cli(p.dir, {"punteros", P, "50[3].txt"});
    EXPECT_NE(run.out.find("0x14  valor 0x50  EE EE EE EE 40 00 48 00 [50 00] EE"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("0x30  valor 0x50  EE"), std::string::npos) << run.out;
    EXPECT_EQ(cli(p.dir, {"punteros", P, "50[3].txt", "--confirmar", "0x31"}).status, 1);
    run = cli(p.dir, {"punteros", P, "50[3].txt", "--confirmar", "0x14"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("[50 00] EE EE EE EE EE EE EE EE  en tabla  confirmado\n"), std::string::npos)
        << run.out;

    run = cli(p.dir, {"insertar", P, "--reubicar"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out,
              "40[5].txt: se insertan 5 bytes en 0x40\n"
              "48[6].txt: se reubica en 0x100 (12 bytes, 1 puntero(s))\n"
              "50[3].txt: se reubica en 0x10C (7 bytes, 1 puntero(s))\n"
              "58[2].txt: excede en 3 byte(s) y no se puede reubicar: no tiene punteros confirmados: no se "
              "inserta (use --excedidos)\n");
    std::string moved = p.rom;
    moved.replace(0x12, 4, std::string("\x00\x01\x0C\x01", 4));
    moved.replace(0x48, 6, std::string(6, '\0'));
    moved.replace(0x50, 3, std::string(3, '\0'));
    moved.replace(0x100, 19,
                  "Adios amigo\xFF"
                  "Buenas\xFF");
    EXPECT_EQ(readBytes(p.romPath), moved);
    run = cli(p.dir, {"verificar", P});
    EXPECT_NE(run.out.find("48[6].txt: insertada en 0x100\n50[3].txt: insertada en 0x10C\n"),
              std::string::npos);
    EXPECT_NE(cli(p.dir, {"estado", P}).out.find("cabe                  insertada\n"), std::string::npos);

    EXPECT_EQ(cli(p.dir, {"deshacer", P}).status, 0);
    EXPECT_EQ(readBytes(p.romPath), p.rom);
    EXPECT_NE(cli(p.dir, {"verificar", P}).out.find("48[6].txt: pendiente en 0x48\n"), std::string::npos);

    // No room left: accepted over budget, the script is written where it lives.
    EXPECT_EQ(cli(p.dir, {"libre", P, "1F0-1F3"}).status, 0);
    run = cli(p.dir, {"insertar", P, "--reubicar", "--excedidos", "48[6].txt"});
    EXPECT_EQ(
        std::pair(run.status, run.out),
        std::pair(0, std::string("48[6].txt: excede en 6 byte(s) y no se puede reubicar: no hay espacio "
                                 "libre donde quepa: se inserta\n")));
    EXPECT_EQ(readBytes(p.romPath).substr(0x48, 12), "Adios amigo\xFF");
}

TEST(CliPointers, WrongCommandLinesAreUsageErrors) {
    PointerProject p;
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"extraer", p.projectFile},
             {"extraer", p.projectFile, "--punteros", "0x10"},
             {"extraer", p.projectFile, "--rango", "5-1"},
             {"extraer", p.projectFile, "--punteros", "0x10:2", "--tamano", "5"},
             {"libre", p.projectFile, "zz-1"},
             {"libre", p.projectFile, "--relleno", "100"},
             {"punteros", p.projectFile, "99[1].txt"},
             {"punteros", p.projectFile, "58[2].txt", "--confirmar", "x"}}) {
        const Outcome run = cli(p.dir, wrong);
        EXPECT_EQ(run.status, 2) << wrong[0] << " " << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

} // namespace
} // namespace tradumar::testsupport
