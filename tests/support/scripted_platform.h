#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "platform/platform.h"

// Failed checks show texts as text, not as arrays of QChar.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tradumar::testsupport {

// One message box as the program asked for it.
struct RecordedMessage {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const RecordedMessage&) const = default;
};

inline void PrintTo(const RecordedMessage& m, std::ostream* os) {
    *os << "{\"" << m.text.toStdString() << "\", \"" << m.title.toStdString() << "\", buttons "
        << static_cast<int>(m.buttons) << ", icon " << static_cast<int>(m.icon) << "}";
}

// An OK-only box without icon, as the program's plain messages are.
inline RecordedMessage info(const QString& text, const QString& title = QStringLiteral("Tradumar")) {
    return {text, title, MessageButtons::Ok, MessageIcon::None};
}

// Dialogs that never block: every request is recorded, and the answers come
// from queues filled by the test beforehand. A question (any box with more
// than an OK button), a file picker or a folder picker asked while its queue
// is empty fails the test and answers as if the user had closed the box.
class ScriptedDialogs : public Dialogs {
public:
    std::vector<RecordedMessage> messages;
    std::deque<MessageAnswer> answers;
    std::vector<FileRequest> fileRequests;
    std::deque<QString> fileAnswers; // empty text = the user cancels
    std::vector<FileRequest> saveRequests;
    std::deque<QString> saveAnswers; // empty text = the user cancels
    std::vector<QString> folderRequests;
    std::vector<QString> folderStarts;                     // the folder each chooser opened at
    std::deque<QString> folderAnswers;                     // empty text = the user cancels
    std::function<void(const RecordedMessage&)> onMessage; // sees each message as it is shown

    MessageAnswer message(QWidget*, const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon) override {
        messages.push_back({text, title, buttons, icon});
        if (onMessage)
            onMessage(messages.back());
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok; // OK-only boxes take nothing from the queue
        const MessageAnswer closed =
            buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel : MessageAnswer::No;
        return take(answers, closed, "question", text);
    }
    QString openFile(QWidget*, const FileRequest& request) override {
        fileRequests.push_back(request);
        return take(fileAnswers, QString(), "file dialog", request.title);
    }
    QString saveFile(QWidget*, const FileRequest& request) override {
        saveRequests.push_back(request);
        return take(saveAnswers, QString(), "save dialog", request.title);
    }
    QString chooseFolderFrom(QWidget* parent, const QString& title, const QString& initialFolder) override {
        folderStarts.push_back(initialFolder);
        return chooseFolder(parent, title);
    }
    QString chooseFolder(QWidget*, const QString& title) override {
        folderRequests.push_back(title);
        return take(folderAnswers, QString(), "folder dialog", title);
    }

    // The texts of the messages so far.
    QStringList texts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    // Forgets what was recorded so far (the queues stay).
    void clearRecords() {
        messages.clear();
        fileRequests.clear();
        saveRequests.clear();
        folderRequests.clear();
        folderStarts.clear();
    }

private:
    template <typename T>
    static T take(std::deque<T>& queue, T closed, const char* kind, const QString& what) {
        if (queue.empty()) {
            ADD_FAILURE() << "Unexpected " << kind << " (no scripted answer): \"" << what.toStdString()
                          << "\"";
            return closed;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

class RecordingClipboard : public Clipboard {
public:
    QStringList texts;
    void setText(const QString& text) override { texts << text; }
};

class RecordingLauncher : public ProcessLauncher {
public:
    struct Launch {
        QString program;
        QStringList arguments;
        bool operator==(const Launch&) const = default;
    };
    std::vector<Launch> launches;
    std::deque<bool> results; // what each start reports; true when the queue is empty

    bool startDetached(const QString& program, const QStringList& arguments) override {
        launches.push_back({program, arguments});
        const bool ok = results.empty() || results.front();
        if (!results.empty())
            results.pop_front();
        return ok;
    }
};

// The three scripted seams bundled, with a Platform view over them.
struct ScriptedPlatform {
    ScriptedDialogs dialogs;
    RecordingClipboard clipboard;
    RecordingLauncher launcher;

    Platform platform() { return Platform{dialogs, clipboard, launcher}; }
};

} // namespace tradumar::testsupport
