#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

namespace tradumar::shots {

// What every shot gets: the demo project's file (a fresh demo made by tools/shots.sh).
struct ShotContext {
    std::string demoProject;
};

struct Shot {
    QString fileName; // written into the pictures folder
    std::function<QImage(const ShotContext&)> take;
};

std::vector<Shot>& registry();

struct ShotRegistration {
    ShotRegistration(const char* fileName, QImage (*take)(const ShotContext&)) {
        registry().push_back({QString::fromLatin1(fileName), take});
    }
};

// Defines a shot: a function that returns the picture for docs/<fileName>.
//     TRADUMAR_SHOT(search_window, "search_window.png") { ... return window.grab().toImage(); }
#define TRADUMAR_SHOT(name, fileName)                                                                        \
    static QImage name##Shot(const ::tradumar::shots::ShotContext& context);                                 \
    static const ::tradumar::shots::ShotRegistration name##Registration(fileName, &name##Shot);              \
    static QImage name##Shot([[maybe_unused]] const ::tradumar::shots::ShotContext& context)

} // namespace tradumar::shots
