// Writes the demo project into a folder: make_demo <folder>.
//
// Port Azure, a small made-up role-playing game: an English original table
// (ASCII codes plus a few DTE pairs), a Spanish translated table that adds
// the accented letters and its own DTE pairs, a dozen scripts with raw blocks
// for the game's control codes, a ROM image holding each script's original
// bytes at its offset, three translations already saved and Demo.tpr with
// absolute paths. Text files are Windows-1252 with CR LF lines. The game
// reaches each script through a table of 2-byte LoROM pointers into bank 03
// at 0x17F00 (little-endian, displacement 30000);
// Demo.tpr.punteros names them and declares the ROM's last 4 KB (filled
// with FF) free, so a translation too long for its place can move there.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encoding/script_codec.h"
#include "encoding/thingy_table.h"
#include "glossary/glossary.h"
#include "pointers/pointer_file.h"
#include "project/project_settings.h"

namespace fs = std::filesystem;
using namespace tradumar;

namespace {

bool writeFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::string hexByte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

// The printable ASCII characters keep their own codes in the game's font.
std::string asciiEntries() {
    std::string table;
    for (int c = 0x20; c < 0x7F; ++c)
        if (c != '<' && c != '>')
            table += hexByte(c) + "=" + std::string(1, static_cast<char>(c)) + "\r\n";
    return table;
}

std::string originalTable() {
    return "# Port Azure (English): font codes as dumped\r\n" + asciiEntries() +
           "C0=th\r\nC1=he\r\nC2=in\r\nC3=er\r\nC4=an\r\nC5=e \r\nC6= t\r\nC7=ou\r\n"
           "*FE\r\n/FF\r\n";
}

// The translation reuses the English DTE codes for Spanish pairs and puts
// the accented letters where the font had free tiles.
std::string translatedTable() {
    return "# Port Azure (Spanish)\r\n" + asciiEntries() +
           "C0=de\r\nC1=la\r\nC2=el\r\nC3=es\r\nC4=en\r\nC5=a \r\nC6=os\r\nC7=que\r\n"
           "E1=\xE1\r\nE9=\xE9\r\nED=\xED\r\nF3=\xF3\r\nFA=\xFA\r\nF1=\xF1\r\nBF=\xBF\r\nA1=\xA1\r\n"
           "C9=\xC9\r\nD1=\xD1\r\n"
           "*FE\r\n/FF\r\n";
}

struct Script {
    int offset;
    std::string text;        // as the extraction tool dumped it
    std::string translation; // empty: not translated yet
};

// <01> waits for a button, <02> prints the hero's name, <03> and <04> turn
// the highlight colour on and off; <END> is the end code.
const std::vector<Script> kScripts = {
    {0x18000, "Welcome to Port Azure, traveler!<01>\r\nThe tide is high today.<END>",
     "\xA1"
     "Bienvenido a Puerto Azur!<01>\r\nHoy la marea est\xE1 alta.<END>"},
    {0x18060, "Innkeeper: A room costs 10 gold.<01>\r\nWill you stay the night?<END>",
     "Posadero: La habitaci\xF3n,\r\n10 de oro.<01>\r\n\xBFPasar\xE1s la noche?<END>"},
    {0x180C0, "You found the <03>Silver Key<04>!<END>",
     "\xA1"
     "Es la <03>Llave de plata<04>!<END>"},
    {0x18100,
     "Old man: The lighthouse has been\r\ndark for three winters now.<01>\r\nSomething lives up "
     "there...<END>",
     ""},
    {0x18180, "Shopkeeper: Potions, herbs, maps.\r\nTake a look around!<END>", ""},
    {0x181E0, "Guard: Halt! The north gate is\r\nclosed by order of the Duke.<01><END>", ""},
    {0x18240, "<02> learned FIREBALL!<END>", ""},
    {0x18280,
     "Captain: My ship sails at dawn.<01>\r\nBring me the sea chart and\r\nI will take you to Coral "
     "Isle.<END>",
     ""},
    {0x18300, "It's locked.<END>", "Est\xE1 cerrado con llave.<END>"},
    {0x18340, "Child: Have you seen my cat?\r\nShe ran toward the docks!<END>", ""},
    {0x183A0, "Your progress was saved.<01>\r\nContinue your journey?<END>", ""},
    {0x18400, "THE END<01>\r\nThank you for playing!<END>", ""},
};

std::string hexOffset(int offset) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(offset));
    return buffer;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo <folder>\n");
        return 2;
    }
    std::error_code error;
    const fs::path root = fs::absolute(argv[1]);
    for (const char* sub : {"tablas", "scripts/Traducidos", "rom"})
        fs::create_directories(root / sub, error);
    if (error) {
        std::fprintf(stderr, "make_demo: cannot create %s: %s\n", root.c_str(), error.message().c_str());
        return 1;
    }

    const fs::path originalPath = root / "tablas" / "port_azure_en.tbl";
    const fs::path translatedPath = root / "tablas" / "port_azure_es.tbl";
    if (!writeFile(originalPath, originalTable()) || !writeFile(translatedPath, translatedTable()))
        return 1;

    // The ROM's bytes come from the original table through the encoder, the
    // same way an inserted translation comes from the translated one.
    ThingyTable original;
    if (loadThingyTable(originalPath.string(), original, TableOverflow::Drop).status != LoadStatus::Loaded)
        return 1;
    const CodecContext context{original, original.longestTextLength(true), '<', '>'};
    const MissingHandler keepGoing = [](char32_t, int, int) { return MissingAnswer::GoOn; };

    std::string rom(0x20000, '\0');
    for (std::size_t i = 0; i < rom.size(); ++i) // something that looks like code and graphics
        rom[i] = static_cast<char>((i * 7 + (i >> 8) * 13) & 0xFF);
    // The free space at the end of the ROM, and the pointer table in front of the scripts.
    const ByteRange freeRange{0x1F000, 0x1FFFF};
    std::fill(rom.begin() + freeRange.first, rom.end(), '\xFF');
    PointerFile pointers;
    pointers.format = PointerFormat{2, ByteOrder::Little, AddressMap::LoRom, 0x30000, 0};
    pointers.freeRanges = {freeRange};
    const std::int64_t tableStart = 0x17F00;
    pointers.tables = {{tableStart, static_cast<int>(kScripts.size()), 2, pointers.format}};
    for (std::size_t i = 0; i < kScripts.size(); ++i) {
        const Script& script = kScripts[i];
        const EncodeResult encoded = encodeScript(script.text, context, keepGoing);
        const std::size_t room = i + 1 < kScripts.size()
                                     ? static_cast<std::size_t>(kScripts[i + 1].offset - script.offset)
                                     : rom.size() - static_cast<std::size_t>(script.offset);
        if (!encoded.ok() || encoded.bytes.size() > room) {
            std::fprintf(stderr, "make_demo: script at %X does not encode into its place\n",
                         static_cast<unsigned>(script.offset));
            return 1;
        }
        std::copy(encoded.bytes.begin(), encoded.bytes.end(), rom.begin() + script.offset);
        const std::string name =
            hexOffset(script.offset) + "[" + std::to_string(encoded.bytes.size()) + "].txt";
        if (!writeFile(root / "scripts" / name, script.text + "\r\n"))
            return 1;
        const std::int64_t at = tableStart + 2 * static_cast<std::int64_t>(i);
        const Bytes value = pointers.format.write(*pointers.format.valueOf(script.offset));
        std::copy(value.begin(), value.end(), rom.begin() + at);
        pointers.addPointers(name, {{at, pointers.format}});
        if (!script.translation.empty() &&
            !writeFile(root / "scripts" / "Traducidos" / name, script.translation + "\r\n"))
            return 1;
    }
    const fs::path romPath = root / "rom" / "Port Azure (Demo).smc";
    if (!writeFile(romPath, rom))
        return 1;

    // A stand-in emulator: it says which ROM it was given and notes it in
    // emulador.log, so "Ejecutar ROM Emulada" shows what it starts.
    const fs::path emulatorPath = root / "emulador-demo.sh";
    if (!writeFile(emulatorPath,
                   "#!/bin/sh\n"
                   "# Demo emulator: reports the ROM it receives as its one argument.\n"
                   "echo \"Emulador de demostraci\xC3\xB3n: $# argumento(s), ROM: $1\"\n"
                   "echo \"$(date '+%Y-%m-%d %H:%M:%S') $1\" >> \"$(dirname \"$0\")/emulador.log\"\n"))
        return 1;
    fs::permissions(emulatorPath, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, error);

    ProjectSettings settings;
    settings.projectName = "Demo";
    settings.projectFolder = root.string();
    settings.romPath = romPath.string();
    settings.scriptsFolder = (root / "scripts").string();
    settings.originalTablePath = originalPath.string();
    settings.translatedTablePath = translatedPath.string();
    settings.emulatorPath = emulatorPath.string();
    const std::string projectFile = (root / "Demo.tpr").string();
    fs::remove(projectFile, error);
    settings.writeTo(projectFile);
    if (!fs::exists(projectFile)) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", projectFile.c_str());
        return 1;
    }
    if (savePointerFile(pointerFilePathFor(projectFile), pointers) != 0) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", pointerFilePathFor(projectFile).c_str());
        return 1;
    }
    // The names the translation agreed on, for the glossary beside the panes.
    const std::string glossary = formatGlossary({{"Port Azure", "Puerto Azur"},
                                                 {"traveler", "viajero"},
                                                 {"Innkeeper", "Posadero"},
                                                 {"Silver Key", "Llave de plata"},
                                                 {"lighthouse", "faro"}});
    if (!writeFile(glossaryPathFor(projectFile), glossary)) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", glossaryPathFor(projectFile).c_str());
        return 1;
    }
    std::printf("Demo project written to %s\n", root.c_str());
    return 0;
}
