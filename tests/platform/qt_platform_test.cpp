#include "platform/qt_platform.h"

#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
        {QStringLiteral("Ejecutables (*.exe)|*"), {QStringLiteral("Ejecutables (*.exe)")}},
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

// Runs `act` on the modal dialog the next call opens.
template <typename Dialog> void onModal(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr) << "no modal dialog of the expected kind";
        if (dialog)
            act(dialog);
        else if (QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
}

TEST(QtDialogsTest, MessageBoxesShowTheTextTitleButtonsAndIconAsked) {
    struct Case {
        MessageButtons buttons;
        MessageIcon icon;
        QMessageBox::StandardButtons shown;
        QMessageBox::Icon shownIcon;
        QMessageBox::StandardButton clicked; // NoButton: the box is closed with Escape
        MessageAnswer answer;
    };
    const Case cases[] = {
        {MessageButtons::Ok, MessageIcon::None, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
         MessageAnswer::Ok},
        {MessageButtons::Ok, MessageIcon::None, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::NoButton,
         MessageAnswer::Ok},
        {MessageButtons::YesNo, MessageIcon::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Question, QMessageBox::Yes, MessageAnswer::Yes},
        {MessageButtons::YesNo, MessageIcon::Critical, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Critical, QMessageBox::No, MessageAnswer::No},
        {MessageButtons::YesNo, MessageIcon::Critical, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Critical, QMessageBox::NoButton, MessageAnswer::No},
        {MessageButtons::YesNoCancel, MessageIcon::Exclamation,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Warning, QMessageBox::Cancel,
         MessageAnswer::Cancel},
        {MessageButtons::YesNoCancel, MessageIcon::Exclamation,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Warning,
         QMessageBox::NoButton, MessageAnswer::Cancel},
        {MessageButtons::YesNoCancel, MessageIcon::Information,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information, QMessageBox::No,
         MessageAnswer::No},
    };
    QtDialogs dialogs;
    for (const auto& c : cases) {
        bool seen = false;
        onModal<QMessageBox>([&](QMessageBox* box) {
            seen = true;
            EXPECT_EQ(box->text(), QStringLiteral("Primera línea,\n segunda."));
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Atención"));
            EXPECT_EQ(box->standardButtons(), c.shown);
            EXPECT_EQ(box->icon(), c.shownIcon);
            if (c.clicked == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.clicked)->click();
        });
        const MessageAnswer answer = dialogs.message(nullptr, QStringLiteral("Primera línea,\r\n segunda."),
                                                     QStringLiteral("Atención"), c.buttons, c.icon);
        EXPECT_TRUE(seen);
        EXPECT_EQ(answer, c.answer) << static_cast<int>(c.buttons) << " " << static_cast<int>(c.clicked);
    }
}

TEST(QtDialogsTest, TheFilePickerOpensWithTheRequestedTitleFiltersAndFolder) {
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("Demo.tpr"))).open(QIODevice::WriteOnly);
    FileRequest request;
    request.title = QStringLiteral("Abrir Proyecto Tradumar");
    request.filter = QStringLiteral("Tablas thingy (*.tbl)|*.tbl|Proyecto (*.tpr)|*.tpr");
    request.filterIndex = 2;
    request.initialFolder = dir.path();
    QtDialogs dialogs;

    onModal<QFileDialog>([&](QFileDialog* picker) {
        EXPECT_EQ(picker->windowTitle(), request.title);
        EXPECT_EQ(picker->nameFilters(), (QStringList{"Tablas thingy (*.tbl)", "Proyecto (*.tpr)"}));
        EXPECT_EQ(picker->selectedNameFilter(), QStringLiteral("Proyecto (*.tpr)"));
        EXPECT_EQ(QDir(picker->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(picker->fileMode(), QFileDialog::ExistingFile);
        picker->reject();
    });
    EXPECT_TRUE(dialogs.openFile(nullptr, request).isEmpty());

    onModal<QFileDialog>([&](QFileDialog* picker) {
        picker->selectFile(dir.filePath(QStringLiteral("Demo.tpr")));
        static_cast<QDialog*>(picker)->accept();
    });
    EXPECT_EQ(QFileInfo(dialogs.openFile(nullptr, request)).canonicalFilePath(),
              QFileInfo(dir.filePath(QStringLiteral("Demo.tpr"))).canonicalFilePath());
}

TEST(ScriptedDialogsTest, RecordsMessagesAndAnswersQuestionsFromTheQueue) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::No};
    dialogs.inform(nullptr, QStringLiteral("hola"));
    EXPECT_EQ(dialogs.message(nullptr, QStringLiteral("¿Seguro?"), QStringLiteral("T"), MessageButtons::YesNo,
                              MessageIcon::Question),
              MessageAnswer::No);
    EXPECT_EQ(dialogs.messages,
              (std::vector<testsupport::RecordedMessage>{testsupport::info(QStringLiteral("hola")),
                                                         {QStringLiteral("¿Seguro?"), QStringLiteral("T"),
                                                          MessageButtons::YesNo, MessageIcon::Question}}));
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
