// The README's picture of a project translated from a Japanese original: a
// Shift-JIS table and script in a folder named in Japanese, the translation
// typed with the symbols the game's table holds.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <QPlainTextEdit>

#include "project/ini_profile.h"
#include "shot.h"
#include "shot_desktop.h"

namespace tradumar::shots {
namespace {

void write(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A made-up game: its table in Shift-JIS, each kana or kanji one code of two bytes.
std::string japaneseProject(const std::filesystem::path& root) {
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "scripts" / "Traducidos");
    // あ い う え お か こ そ の は へ ま ら を ん 村 風 強 今 日 、 。 ♪ ① ！ よ が な
    write(root / "original.tbl", "82A0=\x82\xA0\r\n82A2=\x82\xA2\r\n82A4=\x82\xA4\r\n82A6=\x82\xA6\r\n82A8="
                                 "\x82\xA8\r\n82A9=\x82\xA9\r\n"
                                 "82B1=\x82\xB1\r\n82BB=\x82\xBB\r\n82CC=\x82\xCC\r\n82CD=\x82\xCD\r\n82D6="
                                 "\x82\xD6\r\n82DC=\x82\xDC\r\n"
                                 "82E7=\x82\xE7\r\n82F0=\x82\xF0\r\n82F1=\x82\xF1\r\n91BA=\x91\xBA\r\n9597="
                                 "\x95\x97\r\n8BAD=\x8B\xAD\r\n"
                                 "8DA1=\x8D\xA1\r\n93FA=\x93\xFA\r\n8141=\x81\x41\r\n8142=\x81\x42\r\n81F4="
                                 "\x81\xF4\r\n8740=\x87\x40\r\n"
                                 "8149=\x81\x49\r\n8140=\x81\x40\r\n82E6=\x82\xE6\r\n82AA=\x82\xAA\r\n82C8="
                                 "\x82\xC8\r\n*FE\r\n/FF\r\n");
    std::string translated;
    for (const char c : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
        char line[8];
        std::snprintf(line, sizeof line, "%02X=%c\n", static_cast<unsigned>(c), c);
        translated += line;
    }
    translated +=
        "20= \n2C=,\n2E=.\n21=!\nA1=¡\nBF=¿\nE1=á\nE9=é\nED=í\nF3=ó\nFA=ú\nF1=ñ\nE0=♪\nE2=①\n*FE\n/FF\n";
    write(root / "traducida.tbl", translated);
    // ようこそ... made up: "Welcome to the village! ♪ Today the wind is strong."
    write(root / "scripts" / "1C200[37].txt",
          "\x82\xE6\x82\xA4\x82\xB1\x82\xBB\x81\x41\x91\xBA\x82\xD6\x81\x49<01>\r\n"
          "\x8D\xA1\x93\xFA\x82\xCD\x95\x97\x82\xAA\x8B\xAD\x82\xA2\x81\x42\x81\xF4<END>\r\n");
    write(root / "scripts" / "1C240[13].txt", "\x87\x40\x82\xA0\x82\xF1\x82\xC8\x82\xA2<01>\r\n<END>\r\n");
    write(root / "scripts" / "Traducidos" / "1C200[37].txt",
          "\xEF\xBB\xBF¡Bienvenido a la aldea!<01>\r\nHoy el viento sopla fuerte. ♪<END>\r\n");
    write(root / "juego.sfc", std::string(0x20000, '\0'));
    const std::string project = (root / "Aldea.tpr").string();
    const auto set = [&](const char* section, const char* key, const std::string& value) {
        writeIniValue(section, key, value, project);
    };
    set("Project", "NAME", "Aldea del viento");
    set("Project", "PATCH", root.string());
    set("ROM", "PATCH", (root / "juego.sfc").string());
    set("Scripts", "PATCH", (root / "scripts").string());
    set("Tables", "ORIGINAL", (root / "original.tbl").string());
    set("Tables", "TRANSLATED", (root / "traducida.tbl").string());
    set("Enclosures", "RIGHT", ">");
    set("Enclosures", "LEFT", "<");
    set("Index", "VALUE", "0");
    set("Emulator", "PATCH", "/usr/bin/true");
    set("Encoding", "LEGACY", "Shift-JIS");
    return project;
}

} // namespace

TRADUMAR_SHOT(japaneseProject, "japanese_project.png") {
    const std::filesystem::path root =
        std::filesystem::path(context.demoProject).parent_path().parent_path() / "風の村";
    DemoWindow demo(japaneseProject(root));
    auto* pane = demo.window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtTraducido"));
    pane->setFocus();
    pane->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    demo.window.refreshStatus();
    return demo.window.grab().toImage();
}

} // namespace tradumar::shots
