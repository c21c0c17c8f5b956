#include "platform/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace tradumar {
namespace {

TEST(NameFilters, ProgramFiltersBecomeQtNameFilters) {
    struct Case {
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("Tradumar Archivo de Proyecto (*.tpr)|*.tpr"),
         {QStringLiteral("Tradumar Archivo de Proyecto (*.tpr)")}},
        {QStringLiteral("Tablas thingy|*.tbl"), {QStringLiteral("Tablas thingy (*.tbl)")}},
        {QStringLiteral("Roms de SNES (*.smc;*.sfc)|*.smc;*.sfc|Todos|*.*"),
         {QStringLiteral("Roms de SNES (*.smc *.sfc)"), QStringLiteral("Todos (*.*)")}},
        {QStringLiteral("Ejecutables (*.exe)|*"), {QStringLiteral("Ejecutables (*.exe) (*)")}},
        {QString(), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameFiltersOf(c.filter), c.expected) << c.filter.toStdString();
}

TEST(DisplayText, CrLfBecomesALabelLineBreak) {
    EXPECT_EQ(displayText(QStringLiteral("uno\r\n dos")), QStringLiteral("uno\n dos"));
}

TEST(QtClipboardTest, PutsTextOnTheApplicationClipboard) {
    QtClipboard clipboard;
    clipboard.setText(QStringLiteral("1A2B3C[120]"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1A2B3C[120]"));
}

// A real child process: a shell script that writes each argument it gets on
// a line of its own.
class LauncherTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString script;
    QString output;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        script = dir.filePath(QStringLiteral("record args.sh"));
        output = dir.filePath(QStringLiteral("args.txt"));
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\nmv \"$0.tmp\" '" +
                QFile::encodeName(output) + "'\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QStringList waitForArguments() {
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(output) && t.elapsed() < 10000)
            QTest::qWait(20);
        QFile f(output);
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("<no output>")};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }
};

TEST_F(LauncherTest, StartsTheProgramWithEachArgumentWhole) {
    QtProcessLauncher launcher;
    const QString rom = QStringLiteral("/roms/My Game $(echo x) ;&.smc");
    ASSERT_TRUE(launcher.startDetached(script, {rom}));
    EXPECT_EQ(waitForArguments(), QStringList{rom});
}

TEST_F(LauncherTest, ReportsAProgramThatCannotStart) {
    QtProcessLauncher launcher;
    EXPECT_FALSE(launcher.startDetached(dir.filePath(QStringLiteral("missing-emulator")), {}));
    QFile::setPermissions(script, QFile::ReadOwner);
    EXPECT_FALSE(launcher.startDetached(script, {}));
}

TEST(ScriptedDialogsTest, RecordsMessagesAndAnswersQuestionsFromTheQueue) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::No};
    dialogs.inform(nullptr, QStringLiteral("hola"));
    EXPECT_EQ(dialogs.message(nullptr, QStringLiteral("¿Seguro?"), QStringLiteral("T"), MessageButtons::YesNo,
                              MessageIcon::Question),
              MessageAnswer::No);
    EXPECT_EQ(dialogs.messages,
              (std::vector<testsupport::RecordedMessage>{
                  testsupport::info(QStringLiteral("hola")),
                  {QStringLiteral("¿Seguro?"), QStringLiteral("T"), MessageButtons::YesNo, MessageIcon::Question}}));
}

TEST(ScriptedDialogsTest, AQuestionWithoutAnAnswerFailsTheTest) {
    testsupport::ScriptedDialogs dialogs;
    EXPECT_NONFATAL_FAILURE(dialogs.message(nullptr, QStringLiteral("¿Guardar?"), QStringLiteral("Atención"),
                                            MessageButtons::YesNoCancel, MessageIcon::Exclamation),
                            "Unexpected question");
    EXPECT_NONFATAL_FAILURE(dialogs.openFile(nullptr, FileRequest{}), "Unexpected file dialog");
    EXPECT_NONFATAL_FAILURE(dialogs.chooseFolder(nullptr, QString()), "Unexpected folder dialog");
}

} // namespace
} // namespace tradumar
