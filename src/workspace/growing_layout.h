#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace tradumar {

// Places a container's children at their designed positions when the
// container has its designed size, and lets each follow the extra width and
// height by its own rule when the container grows. At the designed size the
// layout is exactly as drawn; no child ever shrinks below it.
class GrowingLayout : public QObject {
public:
    // How much of the extra size a coordinate takes: none, the lower half, the
    // rest after the lower half (so two panes share an odd extra exactly), or all.
    enum class Share { None, Half, OtherHalf, All };
    struct Follow {
        Share x = Share::None;
        Share y = Share::None;
        Share width = Share::None;
        Share height = Share::None;
    };

    GrowingLayout(QWidget* container, QSize designed);

    // `widget` stands at `designed` when the container has its designed size.
    void add(QWidget* widget, QRect designed, Follow follow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();

    struct Child {
        QWidget* widget;
        QRect designed;
        Follow follow;
    };
    QWidget* m_container;
    QSize m_designed;
    std::vector<Child> m_children;
};

} // namespace tradumar
