#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "platform/platform.h"

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
    static const char* const buttons[] = {"Ok", "YesNo", "YesNoCancel"};
    static const char* const icons[] = {"None", "Critical", "Question", "Exclamation", "Information"};
    *os << "{\"" << m.text.toStdString() << "\", \"" << m.title.toStdString() << "\", "
        << buttons[static_cast<int>(m.buttons)] << ", " << icons[static_cast<int>(m.icon)] << "}";
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
    std::deque<QString> folderAnswers; // empty text = the user cancels

    // Runs while a box is "open", after it was recorded and before it is
    // answered; lets a test look at the window behind a modal box.
    std::function<void(const RecordedMessage&)> onMessage;

    MessageAnswer message(QWidget*, const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon) override {
        messages.push_back({text, title, buttons, icon});
        if (onMessage)
            onMessage(messages.back());
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok; // OK-only boxes take nothing from the queue
        if (answers.empty()) {
            ADD_FAILURE() << "Unexpected question (no scripted answer): \"" << text.toStdString()
                          << "\" titled \"" << title.toStdString() << "\"";
            return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
        }
        return take(answers);
    }

    QString openFile(QWidget*, const FileRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) {
            ADD_FAILURE() << "Unexpected file dialog: \"" << request.title.toStdString() << "\"";
            return {};
        }
        return take(fileAnswers);
    }

    QString saveFile(QWidget*, const FileRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "Unexpected save dialog: \"" << request.title.toStdString() << "\"";
            return {};
        }
        return take(saveAnswers);
    }

    QString chooseFolder(QWidget*, const QString& title) override {
        folderRequests.push_back(title);
        if (folderAnswers.empty()) {
            ADD_FAILURE() << "Unexpected folder dialog: \"" << title.toStdString() << "\"";
            return {};
        }
        return take(folderAnswers);
    }

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
    }

private:
    template <typename T> static T take(std::deque<T>& queue) {
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

class RecordingClipboard : public Clipboard {
public:
    QStringList texts;
    void setText(const QString& text) override { texts << text; }
    QString last() const { return texts.isEmpty() ? QString() : texts.back(); }
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
        if (results.empty())
            return true;
        const bool ok = results.front();
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
