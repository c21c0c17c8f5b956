#pragma once

#include <QApplication>
#include <QDir>
#include <QSettings>

namespace tradumar {

// The one application object of the window benchmarks, on the offscreen
// platform unless another is asked for. Remembered settings (window size,
// underlining) go to a folder of their own, never to the user's.
inline QApplication& benchApplication() {
    static int argc = 1;
    static char name[] = "tradumar_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: tearing Qt down among the other static objects at exit crashes.
    static QApplication* app = new QApplication(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir::tempPath() + "/tradumar-bench");
    return *app;
}

} // namespace tradumar
