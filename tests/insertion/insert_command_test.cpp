#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::info;
using testsupport::readFileBytes;
using testsupport::RecordedMessage;
using testsupport::WindowHarness;

const QString kTitle = QStringLiteral("Confirmación requerida");
const RecordedMessage kConfirm{QStringLiteral("¿Está seguro de insertar el Script?"), kTitle,
                               MessageButtons::YesNo, MessageIcon::Question};

RecordedMessage missing(const QString& character, int code) {
    return {QStringLiteral("Caracter '") + character + QStringLiteral("'\r\n[Ascii: ") +
                QString::number(code) +
                QStringLiteral("] no existe en la tabla.\r\n¿Desea insertar el script de todos modos?"),
            QStringLiteral("Precaución"), MessageButtons::YesNo, MessageIcon::Critical};
}

class InsertTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h;
    std::string romBefore;

    void SetUp() override {
        romBefore = std::string(32, '\xAA');
        testsupport::writeFileBytes(project.romPath, romBefore);
        project.script("0A[6].txt", "Origin");
        project.script("1a[8].txt", "Original");
        project.script("noaddress.txt", "?");
        h.openProject(project);
        h.desktop.dialogs.clearRecords();
    }

    std::vector<RecordedMessage>& messages() { return h.desktop.dialogs.messages; }
    std::string rom() const { return readFileBytes(project.romPath); }

    void translate(const QString& text) {
        h.translationPane()->setPlainText(text);
        h.tick();
    }
    void insert(std::initializer_list<MessageAnswer> answers) {
        h.desktop.dialogs.answers = answers;
        h.find<QPushButton>("cmdInsertar")->click();
        EXPECT_TRUE(h.desktop.dialogs.answers.empty()) << "questions left unasked";
    }
};

TEST_F(InsertTest, AnEmptyPaneHasNothingToInsert) {
    insert({});
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{info(QStringLiteral("¡Nada que insertar!"))});
    EXPECT_EQ(rom(), romBefore);
}

TEST_F(InsertTest, WritesTheEncodedBytesAtTheScriptsOffset) {
    translate(QStringLiteral("Hi\nyo<01>"));
    ASSERT_EQ(h.label("lblRealesD"), QStringLiteral("0"));
    insert({MessageAnswer::Yes});
    EXPECT_EQ(messages(),
              (std::vector<RecordedMessage>{
                  kConfirm, info(QStringLiteral("Se han insertado 6 bytes en la dirección 0x0A."))}));
    std::string expected = romBefore;
    expected.replace(10, 6, std::string("Hi\xFEyo\x01", 6));
    EXPECT_EQ(rom(), expected);
    // Insertion leaves the window as it was.
    EXPECT_EQ(h.paneText(), QStringLiteral("Hi\nyo<01>"));
    EXPECT_TRUE(h.workspace.translationChanged); // still not saved
}

TEST_F(InsertTest, TheMenuItemRunsTheSameCommand) {
    translate(QStringLiteral("Hi"));
    h.desktop.dialogs.answers = {MessageAnswer::Yes};
    h.action("mnuInsertar")->trigger();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text, QStringLiteral("Se han insertado 2 bytes en la dirección 0x0A."));
}

TEST_F(InsertTest, AnsweringNoWritesNothing) {
    translate(QStringLiteral("Hi"));
    insert({MessageAnswer::No});
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{kConfirm});
    EXPECT_EQ(rom(), romBefore);
}

TEST_F(InsertTest, OverTheBudgetTheWarningKeepsTheBlankForTheSign) {
    translate(QStringLiteral("abcdefghijklmnopqr")); // 18 bytes against 6
    ASSERT_EQ(h.label("lblRealesD"), QStringLiteral("-12"));
    insert({MessageAnswer::No});
    const RecordedMessage warning{
        QStringLiteral("Tienes que disminuir  12 byte(s).\r\n¿Desea insertar el script de todos modos?"),
        kTitle, MessageButtons::YesNo, MessageIcon::Critical};
    EXPECT_EQ(messages(), std::vector<RecordedMessage>{warning});
    EXPECT_EQ(rom(), romBefore);

    // The budget is advisory: Yes writes all 18 bytes.
    messages().clear();
    insert({MessageAnswer::Yes});
    EXPECT_EQ(messages().back().text, QStringLiteral("Se han insertado 18 bytes en la dirección 0x0A."));
    EXPECT_EQ(rom().substr(10, 18), "abcdefghijklmnopqr");
}

TEST_F(InsertTest, AShorterTranslationLeavesTheRestOfTheOriginal) {
    translate(QStringLiteral("ab"));
    insert({MessageAnswer::Yes});
    EXPECT_EQ(rom(), romBefore.substr(0, 10) + "ab" + romBefore.substr(12));
}

TEST_F(InsertTest, TheAddressDigitsAreShownAsTheFileNameWritesThem) {
    h.clickScript(1); // 1a[8].txt
    translate(QStringLiteral("Z"));
    insert({MessageAnswer::Yes});
    EXPECT_EQ(messages().back().text, QStringLiteral("Se han insertado 1 bytes en la dirección 0x1a."));
    EXPECT_EQ(rom()[0x1A], 'Z');
}

TEST_F(InsertTest, AMissingCharacterAnsweredYesIsDropped) {
    translate(QStringLiteral("a\u00E7b")); // ç is in no table
    insert({MessageAnswer::Yes, MessageAnswer::Yes});
    EXPECT_EQ(messages(), (std::vector<RecordedMessage>{
                              kConfirm, missing(QStringLiteral("ç"), 231),
                              info(QStringLiteral("Se han insertado 2 bytes en la dirección 0x0A."))}));
    EXPECT_EQ(rom().substr(10, 3), std::string("ab\xAA"));
}

TEST_F(InsertTest, AMissingCharacterAnsweredNoIsSelectedAndNothingIsWritten) {
    // Each line break before it is two bytes of the text but one place in the pane.
    translate(QStringLiteral("u\nd\n#s"));
    h.find<QPushButton>("cmdGuardar")->setFocus();
    insert({MessageAnswer::Yes, MessageAnswer::No});
    EXPECT_EQ(messages(), (std::vector<RecordedMessage>{kConfirm, missing(QStringLiteral("#"), 35)}));
    const QTextCursor cursor = h.translationPane()->textCursor();
    EXPECT_EQ(cursor.selectionStart(), 4);
    EXPECT_EQ(cursor.selectedText(), QStringLiteral("#"));
    EXPECT_TRUE(h.translationPane()->hasFocus());
    EXPECT_EQ(rom(), romBefore);
}

TEST_F(InsertTest, EachMissingCharacterIsAskedAbout) {
    translate(QStringLiteral("#a#"));
    insert({MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes});
    EXPECT_EQ(messages().size(), 4u);
    EXPECT_EQ(rom().substr(10, 2), std::string("a\xAA"));
}

TEST_F(InsertTest, ANameWithoutABracketFailsWithCode5AfterTheQuestions) {
    h.clickScript(2); // noaddress.txt
    translate(QStringLiteral("#"));
    insert({MessageAnswer::Yes, MessageAnswer::Yes});
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2], info(QStringLiteral("5: No se pudo insertar el script")));
    EXPECT_EQ(rom(), romBefore);
}

TEST_F(InsertTest, AnUnclosedBlockFailsWithCode6) {
    translate(QStringLiteral("ab<01"));
    insert({MessageAnswer::Yes});
    EXPECT_EQ(messages().back(), info(QStringLiteral("6: No se pudo insertar el script")));
    EXPECT_EQ(rom(), romBefore);
}

TEST_F(InsertTest, AMissingRomFileIsCreated) {
    std::filesystem::remove(project.romPath);
    translate(QStringLiteral("ab"));
    insert({MessageAnswer::Yes});
    EXPECT_EQ(rom(), std::string(10, '\0') + "ab");
}

TEST_F(InsertTest, ARomThatCannotBeWrittenIsReportedWithItsCode) {
    struct Case {
        std::string romPath;
        QString message;
    };
    const Case cases[] = {
        {project.root + "/no/such/folder/game.smc", QStringLiteral("76: No se pudo insertar el script")},
        {project.scriptsFolder, QStringLiteral("75: No se pudo insertar el script")},
        {"", QStringLiteral("52: No se pudo insertar el script")},
    };
    translate(QStringLiteral("ab"));
    for (const auto& c : cases) {
        h.workspace.settings.romPath = c.romPath;
        messages().clear();
        insert({MessageAnswer::Yes});
        EXPECT_EQ(messages().back(), info(c.message)) << c.romPath;
    }
}

// Marks a file immutable for as long as it lives, where plain permissions do
// not stop this user (root): the way to get a ROM that truly cannot be written.
class ImmutableFile {
public:
    explicit ImmutableFile(std::string path) : m_path(std::move(path)) {
        m_on = std::system(("chattr +i '" + m_path + "' 2>/dev/null").c_str()) == 0;
    }
    ~ImmutableFile() {
        if (m_on) [[maybe_unused]]
            const int ignored = std::system(("chattr -i '" + m_path + "'").c_str());
    }
    bool on() const { return m_on; }

private:
    std::string m_path;
    bool m_on = false;
};

TEST_F(InsertTest, AReadOnlyRomIsReportedAndLeftAlone) {
    std::filesystem::permissions(project.romPath, std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::others_read);
    std::optional<ImmutableFile> immutable;
    if (::access(project.romPath.c_str(), W_OK) == 0) {
        immutable.emplace(project.romPath);
        if (!immutable->on())
            GTEST_SKIP() << "this user may write read-only files and cannot mark them immutable";
    }
    translate(QStringLiteral("ab"));
    insert({MessageAnswer::Yes});
    EXPECT_EQ(messages().back(), info(QStringLiteral("70: No se pudo insertar el script")));
    EXPECT_EQ(rom(), romBefore);
}

} // namespace
} // namespace tradumar
