// Projects beyond Windows-1252: Japanese originals in Shift-JIS, tables with
// symbols and multi-byte codes, folders named in Japanese or with accents,
// from opening to insertion; and a project made on Windows that stays so.
#include <filesystem>

#include "encoding/unicode_text.h"
#include "support/widgets.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

constexpr MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No;

RecordedMessage missing(const QString& character, int code) {
    return {QStringLiteral("Caracter '%1'\r\n[Ascii: %2] no existe en la tabla.\r\n¿Desea insertar el script "
                           "de todos modos?")
                .arg(character, QString::number(code)),
            QStringLiteral("Precaución"), MessageButtons::YesNoDefaultNo, MessageIcon::Critical};
}

TEST(UnicodeProject, AJapaneseOriginalIsTranslatedSavedAndInsertedFromAJapaneseFolder) {
    FixtureProject project("日本語のゲーム");
    project.name = "Traducción 日本";
    project.legacy = "Shift-JIS";
    // The original table and script in Shift-JIS, the translated table in UTF-8.
    writeBytes(project.originalTablePath,
               "82A0=\x82\xA0\r\n82A2=\x82\xA2\r\n8140=\x81\x40\r\n81F4=\x81\xF4\r\n*FE\r\n/FF\r\n");
    writeBytes(project.translatedTablePath, letterTable("E0=♪\nE1=①\nE2=α\nE3=└\nE4=▶\n8140=　\nF0F1=é\n"));
    project.script("1F[13].txt", "\x82\xA0\x82\xA2\x81\x40\x81\xF4<01>\r\n\x82\xA0<END>\r\n");
    project.writeProjectFile();
    WindowHarness h;
    h.openProject(project);
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Traducción 日本 - Tradumar 1.0 Beta"));
    EXPECT_EQ(h.originalText(), QStringLiteral("あい　♪<01>\nあ<END>"));

    h.translationPane()->setFocus();
    h.type(QStringLiteral("Hola ♪▶\nα└é<01>"));
    h.tick();
    // Five letters, two symbols, the line code, two more, a two-byte "é" and the block.
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("13"));
    EXPECT_EQ(h.label("lblRealesD"), QStringLiteral("0"));
    EXPECT_EQ(h.label("lblLinea"), QStringLiteral("3")); // characters, raw block left out
    h.click("cmdGuardar");
    // ▶ is not in Shift-JIS: the translation is saved as UTF-8.
    EXPECT_EQ(project.translationFile("1F[13].txt"), "\xEF\xBB\xBFHola ♪▶\r\nα└é<01>\r\n");

    writeBytes(project.romPath, std::string(64, '\0'));
    h.desktop.dialogs.clearRecords();
    h.desktop.dialogs.answers = {Yes};
    h.click("cmdInsertar");
    EXPECT_EQ(readBytes(project.romPath).substr(0x1F, 14),
              std::string("Hola \xE0\xE4\xFE\xE2\xE3\xF0\xF1\x01", 13) + '\0');

    // Missing characters are asked about by their code, at their place: 𝄞
    // takes two places in the pane, so the stop must still select the ü.
    h.translationPane()->setPlainText(QStringLiteral("a𝄞ü"));
    h.desktop.dialogs.clearRecords();
    h.desktop.dialogs.answers = {Yes, Yes, No};
    h.click("cmdInsertar");
    EXPECT_EQ(h.messages().at(1), missing(QStringLiteral("𝄞"), 0x1D11E));
    EXPECT_EQ(h.messages().at(2), missing(QStringLiteral("ü"), 252));
    EXPECT_EQ(h.translationPane()->textCursor().selectedText(), QStringLiteral("ü"));

    // Every name the program made is a valid UTF-8 name, the journal among them.
    int journals = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(project.root)) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(firstInvalidUtf8(name)) << name;
        journals += name.ends_with(".inserciones");
    }
    EXPECT_EQ(journals, 1);
}

TEST(UnicodeProject, AProjectMadeOnWindowsOpensAsBeforeAndStaysWindows1252) {
    FixtureProject project("Traducción PA");
    project.name = "Traducción PA";
    project.script("00[6].txt", "\xBFQu\xE9?\r\n"); // Windows-1252, CR LF
    project.writeProjectFile();
    ASSERT_NE(readBytes(project.projectFile).find("NAME=Traducci\xF3n PA\r\n"), std::string::npos);
    WindowHarness h;
    h.openProject(project);
    EXPECT_EQ(h.originalText(), QStringLiteral("¿Qué?"));
    h.translationPane()->setFocus();
    h.type(QStringLiteral("¿Sí?"));
    h.click("cmdGuardar");
    EXPECT_EQ(project.translationFile("00[6].txt"), "\xBFS\xED?\r\n");
    withModal([&] { h.action("mnuConfig")->trigger(); },
              [](QDialog& d) { child<QPushButton>(d, "cmdAceptar")->click(); });
    const std::string tpr = readBytes(project.projectFile);
    EXPECT_NE(tpr.find("NAME=Traducci\xF3n PA\r\n"), std::string::npos);
    EXPECT_FALSE(tpr.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(tpr.find("[Encoding]"), std::string::npos);
}

} // namespace
} // namespace tradumar::testsupport
