#pragma once

#include <QFont>
#include <QPixmap>
#include <QSize>

namespace tradumar {

// The program's own picture for its splash and about windows: a night-blue
// backdrop with a line of game text going from one language into another.
QPixmap drawTradumarArt(const QSize& size);

// The heavy condensed face the program's name is written in.
QFont nameFont(int pixelSize);

} // namespace tradumar
