#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

using Answers = std::deque<MessageAnswer>;
constexpr MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No;

const QString kTitle = QStringLiteral("Confirmación requerida");
const RecordedMessage kConfirm{QStringLiteral("¿Está seguro de insertar el Script?"), kTitle,
                               MessageButtons::YesNo, MessageIcon::Question};

RecordedMessage overBudget(int bytes) {
    return {QStringLiteral("Tienes que disminuir  %1 byte(s).\r\n¿Desea insertar el script de todos modos?")
                .arg(bytes),
            kTitle, MessageButtons::YesNoDefaultNo, MessageIcon::Critical};
}
RecordedMessage missing(const QString& character, int code) {
    return {QStringLiteral(
                "Caracter '%1'\r\n[Ascii: %2] no existe en la tabla.\r\n¿Desea insertar el script de todos "
                "modos?")
                .arg(character, QString::number(code)),
            QStringLiteral("Precaución"), MessageButtons::YesNoDefaultNo, MessageIcon::Critical};
}
RecordedMessage inserted(int bytes, const char* address) {
    return info(QStringLiteral("Se han insertado %1 bytes en la dirección 0x%2.").arg(bytes).arg(address));
}
RecordedMessage failed(int code, const std::string& why = {}) {
    return info(
        QStringLiteral("%1: No se pudo insertar el script").arg(code) +
        (why.empty() ? QString() : QString::fromStdString("\r\n" + why + ". No se ha escrito nada.")));
}

class InsertTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h;
    const std::string romBefore = std::string(32, '\xAA');

    void SetUp() override {
        // "mundo" is one long entry of the translated table only: the status
        // counts it as one byte, the encoder reads no further than the
        // original table's longest text (4, "LINE") and writes five letters.
        writeBytes(project.translatedTablePath, letterTable("E5=mundo\r\n"));
        project.script("0A[6].txt", "Origin");
        project.script("1a[8].txt", "Original");
        project.script("noaddress.txt", "?");
        h.openProject(project);
    }
    void insert(int script, const QString& text, Answers answers, bool viaMenu = false) {
        h.translationPane()->clear(); // as loaded: moving asks nothing
        h.clickScript(script);
        writeBytes(project.romPath, romBefore);
        h.translationPane()->setPlainText(text);
        h.tick();
        h.desktop.dialogs.clearRecords();
        h.desktop.dialogs.answers = std::move(answers);
        if (viaMenu)
            h.action("mnuInsertar")->trigger();
        else
            h.click("cmdInsertar");
        EXPECT_TRUE(h.desktop.dialogs.answers.empty()) << "questions left unasked";
    }
};

TEST_F(InsertTest, ConfirmsEncodesAndWritesAtTheScriptsAddress) {
    struct Case {
        int script;
        QString text;
        Answers answers;
        const char* available; // lblRealesD before inserting
        std::vector<RecordedMessage> messages;
        std::string written = {}; // what the ROM holds from `at` on afterwards
        int at = 10;
        bool viaMenu = false;
        std::string romPath = {}; // empty: the project's
    };
    const RecordedMessage hash = missing("#", 35);
    const std::string missingRom = project.root + "/no/such/game.smc";
    const RecordedMessage pastEnd =
        failed(63, "La ROM " + project.romPath + " mide 32 bytes: el script llega hasta 0x21");
    const RecordedMessage noRom = failed(53, "La ROM " + missingRom + " no existe");
    const Case cases[] = {
        {0, "", {}, "6", {info(QStringLiteral("¡Nada que insertar!"))}},
        {0, "Hi\nyo<01>", {Yes}, "0", {kConfirm, inserted(6, "0A")}, "Hi\xFEyo\x01"},
        {0, "Hi", {Yes}, "4", {kConfirm, inserted(2, "0A")}, "Hi", 10, true},
        {0, "Hi", {No}, "4", {kConfirm}},
        {0, "abcdefghijklmnopqr", {No}, "-12", {overBudget(12)}},
        {0, "abcdefghijklmnopqr", {Yes}, "-12", {overBudget(12), inserted(18, "0A")}, "abcdefghijklmnopqr"},
        {1, "Z", {Yes}, "7", {kConfirm, inserted(1, "1a")}, "Z", 0x1A}, // the address as the name writes it
        {0, "mundo", {Yes}, "5", {kConfirm, inserted(5, "0A")}, "mundo"},
        {0, "a\u00E7b", {Yes, Yes}, "4", {kConfirm, missing("ç", 231), inserted(2, "0A")}, "ab"},
        {0, "#a#", {Yes, Yes, Yes}, "5", {kConfirm, hash, hash, inserted(1, "0A")}, "a"},
        // No "[": no budget, and nothing to ask before saying why.
        {2,
         "#",
         {},
         "",
         {info(QStringLiteral("5: No se pudo insertar el script\r\nEl nombre del script no indica "
                              "su dirección y su tamaño (DIRECCIÓN[TAMAÑO].txt)."))}},
        {0,
         "ab<01",
         {Yes},
         "3",
         {kConfirm, info(QStringLiteral("6: No se pudo insertar el script\r\nBloque sin "
                                        "cerrar en la posición 3."))}},
        // "<0A0B>" counts one byte on the label and writes two: the warning weighs the two.
        {0, "abcde<0A0B>", {No}, "0", {overBudget(1)}},
        // The ROM is never created nor made longer.
        {1, "abcdefg", {Yes}, "1", {kConfirm, pastEnd}},
        {0, "ab", {Yes}, "4", {kConfirm, noRom}, "", 10, false, missingRom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        h.workspace.settings.romPath = c.romPath.empty() ? project.romPath : c.romPath;
        insert(c.script, c.text, c.answers, c.viaMenu);
        EXPECT_EQ(h.label("lblRealesD"), QLatin1String(c.available));
        EXPECT_EQ(h.messages(), c.messages);
        std::string rom = romBefore;
        rom.replace(static_cast<std::size_t>(c.at), c.written.size(), c.written);
        EXPECT_EQ(readBytes(project.romPath), rom);
        EXPECT_EQ(h.paneText(), c.text); // the window stays as it was, the text still unsaved
        EXPECT_EQ(h.workspace.translationChanged, !c.text.isEmpty());
    }
}

TEST_F(InsertTest, NoToAMissingCharacterSelectsItAndWritesNothing) {
    // The list clicked last has the focus. Each line break before it is two bytes of the text but one place
    // in the pane.
    insert(0, QStringLiteral("u\nd\n#s"), {Yes, No});
    EXPECT_EQ(h.messages(), (std::vector{kConfirm, missing("#", 35)}));
    EXPECT_EQ(h.translationPane()->textCursor().selectionStart(), 4);
    EXPECT_EQ(h.translationPane()->textCursor().selectedText(), QStringLiteral("#"));
    EXPECT_TRUE(h.translationPane()->hasFocus());
    EXPECT_EQ(readBytes(project.romPath), romBefore);
}

} // namespace
} // namespace tradumar::testsupport
