#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tradumar {

// The seams between the program and the desktop. Windows talk to these
// interfaces only; the Qt implementations show real boxes and pickers, tests
// use scripted ones that record every request and answer from a queue.

// YesNoDefaultNo: for questions whose "Yes" can destroy, so that Enter never says it.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileRequest {
    QString title;
    QString filter;      // "Description|pattern|Description|pattern", as written in the program
    int filterIndex = 1; // 1-based entry preselected
    QString initialFolder;
    bool mustExist = true;
    QString proposedFile; // a save dialog's proposed file (a full path); none when empty
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; closing it without a button answers Cancel (or No
    // where there is no Cancel, Ok for an OK-only box).
    virtual MessageAnswer message(QWidget* parent, const QString& text, const QString& title,
                                  MessageButtons buttons, MessageIcon icon) = 0;

    // The chosen file's full path, or empty text when cancelled.
    virtual QString openFile(QWidget* parent, const FileRequest& request) = 0;

    // Where to save a file: the chosen path, or empty text when cancelled. A
    // name typed without an extension gets the one of the chosen filter.
    virtual QString saveFile(QWidget* parent, const FileRequest& request) = 0;

    // The chosen folder, or empty text when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title) = 0;

    // The same, opening at initialFolder where the desktop's chooser can.
    virtual QString chooseFolderFrom(QWidget* parent, const QString& title, const QString& initialFolder) {
        static_cast<void>(initialFolder);
        return chooseFolder(parent, title);
    }

    // An OK-only box without icon, titled "Tradumar" unless told otherwise.
    void inform(QWidget* parent, const QString& text, const QString& title = QStringLiteral("Tradumar")) {
        message(parent, text, title, MessageButtons::Ok, MessageIcon::None);
    }
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the program directly (no shell) without waiting for it; false
    // when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

// Everything the windows need from the desktop, handed to them by reference.
struct Platform {
    Dialogs& dialogs;
    Clipboard& clipboard;
    ProcessLauncher& launcher;
};

} // namespace tradumar
