#pragma once

#include <deque>
#include <string>

#include <QApplication>

#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/workspace.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

// A desktop that never blocks: boxes answer Yes (or OK), pickers answer from
// a queue (empty: cancelled), nothing reaches the clipboard or starts.
class ShotDesktop : public Dialogs, public Clipboard, public ProcessLauncher {
public:
    std::deque<QString> fileAnswers;
    std::deque<QString> saveAnswers;

    MessageAnswer message(QWidget*, const QString&, const QString&, MessageButtons buttons,
                          MessageIcon) override {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    QString openFile(QWidget*, const FileRequest&) override {
        if (fileAnswers.empty())
            return {};
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    QString saveFile(QWidget*, const FileRequest&) override {
        if (saveAnswers.empty())
            return {};
        const QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    void setText(const QString&) override {}
    bool startDetached(const QString&, const QStringList&) override { return true; }

    Platform platform() { return Platform{*this, *this, *this}; }
};

// The main window, shown at the top left, with the demo project opened through "Abrir".
struct DemoWindow {
    Workspace workspace;
    ShotDesktop desktop;
    MainWindow window;

    explicit DemoWindow(const std::string& demoProject)
        : window(workspace, desktop.platform(), pathToQString(demoProject)) {
        window.move(0, 0);
        window.show();
        desktop.fileAnswers.push_back(pathToQString(demoProject));
        window.openProject();
        QApplication::processEvents();
    }
};

} // namespace tradumar::shots
