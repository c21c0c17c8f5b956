#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

namespace tradumar {

// Window layouts are given in twips; at 96 dots per inch a pixel is 15 twips.
inline QRect twips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// Names a widget with its control name and puts it at its place. Label text
// stands at the top left of its box, however tall the box.
template <typename W> W* place(W* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

} // namespace tradumar
