#include "platform/qt_platform.h"
#include "platform/spanish_texts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest.h>

#include "support/widgets.h"

namespace tradumar::testsupport {
namespace {

TEST(NameFilters, ProgramFiltersBecomeQtNameFilters) {
    struct Case {
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("Proyecto (*.tpr)|*.tpr"), {QStringLiteral("Proyecto (*.tpr)")}},
        {QStringLiteral("Tablas thingy|*.tbl"), {QStringLiteral("Tablas thingy (*.tbl)")}},
        {QStringLiteral("Roms (*.smc;*.sfc)|*.smc;*.sfc|Todos|*.*"),
         {QStringLiteral("Roms (*.smc *.sfc)"), QStringLiteral("Todos (*.*)")}},
        {QStringLiteral("Ejecutables (*.exe)|*"), {QStringLiteral("Ejecutables (*.exe)")}},
        {QString(), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameFiltersOf(c.filter), c.expected) << c.filter.toStdString();
}

TEST(QtDialogs, MessageBoxesShowWhatWasAskedAndAnswerTheButtonClicked) {
    using B = QMessageBox;
    struct Case {
        MessageButtons buttons;
        MessageIcon icon;
        B::StandardButtons shown;
        B::Icon shownIcon;
        B::StandardButton clicked; // NoButton: the box is closed with Escape
        MessageAnswer answer;
    };
    const B::StandardButtons yesNo = B::Yes | B::No;
    const B::StandardButtons yesNoCancel = B::Yes | B::No | B::Cancel;
    const Case cases[] = {
        {MessageButtons::Ok, MessageIcon::None, B::Ok, B::NoIcon, B::NoButton, MessageAnswer::Ok},
        {MessageButtons::YesNo, MessageIcon::Question, yesNo, B::Question, B::Yes, MessageAnswer::Yes},
        {MessageButtons::YesNo, MessageIcon::Critical, yesNo, B::Critical, B::NoButton, MessageAnswer::No},
        {MessageButtons::YesNoDefaultNo, MessageIcon::Critical, yesNo, B::Critical, B::NoButton,
         MessageAnswer::No},
        {MessageButtons::YesNoCancel, MessageIcon::Exclamation, yesNoCancel, B::Warning, B::NoButton,
         MessageAnswer::Cancel},
        {MessageButtons::YesNoCancel, MessageIcon::Information, yesNoCancel, B::Information, B::No,
         MessageAnswer::No},
    };
    const std::unique_ptr<QTranslator> spanish(installSpanishQtTexts(*QCoreApplication::instance()));
    ASSERT_NE(spanish, nullptr) << "qt6-translations-l10n is not installed";
    QtDialogs dialogs;
    for (const auto& c : cases) {
        MessageAnswer answer{};
        const auto ask = [&] {
            answer = dialogs.message(nullptr, QStringLiteral("Primera línea,\r\n segunda."),
                                     QStringLiteral("Atención"), c.buttons, c.icon);
        };
        EXPECT_TRUE(withModal<QMessageBox>(ask, [&](QMessageBox& box) {
            EXPECT_EQ(box.text(), QStringLiteral("Primera línea,\n segunda."));
            EXPECT_EQ(box.windowTitle(), QStringLiteral("Atención"));
            EXPECT_EQ(box.standardButtons(), c.shown);
            EXPECT_EQ(box.icon(), c.shownIcon);
            if (c.shown & B::Yes) { // the Qt buttons speak Spanish
                EXPECT_EQ(box.button(B::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Sí"));
                // Enter says No where Yes could write past a script's size.
                EXPECT_EQ(box.defaultButton(),
                          box.button(c.buttons == MessageButtons::YesNoDefaultNo ? B::No : B::Yes));
            }
            if (c.clicked == B::NoButton)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                box.button(c.clicked)->click();
        }));
        EXPECT_EQ(answer, c.answer) << static_cast<int>(c.buttons) << " " << static_cast<int>(c.clicked);
    }
}

TEST(QtDialogs, TheFilePickerOpensWithTheRequestedTitleFiltersAndFolder) {
    QTemporaryDir dir;
    const QString demo = dir.filePath(QStringLiteral("Demo.tpr"));
    QFile(demo).open(QIODevice::WriteOnly);
    const FileRequest request{QStringLiteral("Abrir Proyecto Tradumar"),
                              QStringLiteral("Tablas thingy (*.tbl)|*.tbl|Proyecto (*.tpr)|*.tpr"),
                              2,
                              dir.path(),
                              true,
                              {}};
    QString chosen = QStringLiteral("not asked");
    const auto pick = [&] { chosen = QtDialogs().openFile(nullptr, request); };
    EXPECT_TRUE(withModal<QFileDialog>(pick, [&](QFileDialog& picker) {
        EXPECT_EQ(picker.windowTitle(), request.title);
        EXPECT_EQ(picker.nameFilters(), (QStringList{"Tablas thingy (*.tbl)", "Proyecto (*.tpr)"}));
        EXPECT_EQ(picker.selectedNameFilter(), QStringLiteral("Proyecto (*.tpr)"));
        EXPECT_EQ(QDir(picker.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(picker.fileMode(), QFileDialog::ExistingFile);
    }));
    EXPECT_TRUE(chosen.isEmpty()); // left open, so rejected
    withModal<QFileDialog>(pick, [&](QFileDialog& picker) {
        picker.selectFile(demo);
        static_cast<QDialog&>(picker).accept();
    });
    EXPECT_EQ(QFileInfo(chosen).canonicalFilePath(), QFileInfo(demo).canonicalFilePath());
}

} // namespace
} // namespace tradumar::testsupport
