#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt_platform.h"
#include "support/widgets.h"

namespace tradumar::testsupport {
namespace {

TEST(QtDialogsSaveFile, ANameWithoutExtensionGetsTheChosenFiltersOne) {
    struct Case {
        int filterIndex;   // preselected
        int userFilter;    // the filter the user picks, -1 for none
        const char* typed; // the name typed
        const char* saved; // the path's last part
    };
    const Case cases[] = {
        {1, -1, "parche", "parche.bps"},
        {2, -1, "parche", "parche.ips"},
        {1, 1, "parche", "parche.ips"},
        {1, -1, "parche.ips", "parche.ips"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        FileRequest request;
        request.title = QStringLiteral("Crear parche");
        request.filter = QStringLiteral("Parche BPS (*.bps)|*.bps|Parche IPS (*.ips)|*.ips");
        request.filterIndex = c.filterIndex;
        request.initialFolder = dir.path();
        request.mustExist = false;
        QString saved;
        withModal<QFileDialog>([&] { saved = QtDialogs().saveFile(nullptr, request); },
                               [&c](QFileDialog& picker) {
                                   EXPECT_EQ(picker.acceptMode(), QFileDialog::AcceptSave);
                                   if (c.userFilter >= 0) {
                                       auto* types = child<QComboBox>(picker, "fileTypeCombo");
                                       types->setCurrentIndex(c.userFilter);
                                       // What a choice by hand signals.
                                       emit types->activated(c.userFilter);
                                       emit types->textActivated(types->currentText());
                                   }
                                   picker.selectFile(QString::fromUtf8(c.typed));
                                   static_cast<QDialog&>(picker).accept();
                               });
        EXPECT_EQ(QFileInfo(saved).fileName(), QString::fromUtf8(c.saved)) << c.typed;
        EXPECT_EQ(QFileInfo(saved).absolutePath(), QDir(dir.path()).absolutePath());
    }
}

} // namespace
} // namespace tradumar::testsupport
