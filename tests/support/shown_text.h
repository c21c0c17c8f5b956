#pragma once

#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <gtest/gtest.h>

namespace tradumar::testsupport {

// The text a user reads on the named object: a window's caption, a label's or
// a button's text, a frame's title, a field's content, a menu's caption.
inline QString shownText(const QObject* object) {
    if (const auto* w = qobject_cast<const QWidget*>(object); w && w->isWindow())
        return w->windowTitle();
    if (const auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(object))
        return frame->title();
    if (const auto* field = qobject_cast<const QLineEdit*>(object))
        return field->text();
    if (const auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    if (const auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    return QStringLiteral("<no text>");
}

// Checks every (objectName, text) pair on the window (itself included).
inline void expectTexts(const QObject& window,
                        const std::vector<std::pair<const char*, const char*>>& texts) {
    for (const auto& [name, text] : texts) {
        const QObject* object = window.objectName() == QLatin1String(name)
                                    ? &window
                                    : window.findChild<QObject*>(QLatin1String(name));
        EXPECT_EQ(object ? shownText(object).toStdString() : "<missing>", text) << name;
    }
}

} // namespace tradumar::testsupport
