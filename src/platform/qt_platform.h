#pragma once

#include <QSettings>
#include <QStringList>

#include "platform/platform.h"

namespace tradumar {

// The real desktop behind the seams: QMessageBox, QFileDialog, the
// application clipboard and QProcess.

class QtDialogs : public Dialogs {
public:
    MessageAnswer message(QWidget* parent, const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon) override;
    QString openFile(QWidget* parent, const FileRequest& request) override;
    QString saveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& title) override;
    QString chooseFolderFrom(QWidget* parent, const QString& title, const QString& initialFolder) override;
};

class QtClipboard : public Clipboard {
public:
    void setText(const QString& text) override;
};

// The user's own settings of the program (~/.config/Tradumar/Tradumar.ini):
// the window's size and place, the recent projects, the underline. Never
// stored in a project.
QSettings programSettings();

class QtProcessLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

// "Description|pattern|Description|pattern" as the program writes its
// filters, turned into Qt's name filters ("Description (pattern)"; several
// patterns separated by ";" become blank-separated).
QStringList nameFiltersOf(const QString& filter);

// Text as a message box shows it: the program composes its messages with
// CR LF, a label breaks lines at "\n".
QString displayText(const QString& text);

// The Qt desktop as one Platform, for main().
struct QtPlatform {
    QtDialogs dialogs;
    QtClipboard clipboard;
    QtProcessLauncher launcher;

    Platform platform() { return Platform{dialogs, clipboard, launcher}; }
};

} // namespace tradumar
