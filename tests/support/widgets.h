#pragma once

#include <functional>
#include <type_traits>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace tradumar::testsupport {

// The child of `parent` with that object name; a missing one fails the test.
template <typename T = QWidget> T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Calls `open`, and works the first modal dialog of type T it shows with
// `act`, from inside the dialog's own event loop; a dialog `act` leaves open
// is then rejected. Other modal windows shown first (a progress window) are
// left alone. Returns whether such a dialog was shown.
template <typename T = QDialog>
bool withModal(const std::function<void()>& open, const std::type_identity_t<std::function<void(T&)>>& act) {
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        poll.stop();
        shown = true;
        if (act)
            act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start(0);
    open();
    return shown;
}

} // namespace tradumar::testsupport
