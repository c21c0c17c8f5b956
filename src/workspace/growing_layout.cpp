#include "workspace/growing_layout.h"

#include <QEvent>
#include <QWidget>

namespace tradumar {
namespace {

int share(GrowingLayout::Share rule, int extra) {
    switch (rule) {
    case GrowingLayout::Share::None:
        return 0;
    case GrowingLayout::Share::Half:
        return extra / 2;
    case GrowingLayout::Share::OtherHalf:
        return extra - extra / 2;
    case GrowingLayout::Share::All:
        return extra;
    }
    return 0;
}

} // namespace

GrowingLayout::GrowingLayout(QWidget* container, QSize designed)
    : QObject(container), m_container(container), m_designed(designed) {
    container->installEventFilter(this);
}

void GrowingLayout::add(QWidget* widget, QRect designed, Follow follow) {
    m_children.push_back({widget, designed, follow});
    apply();
}

bool GrowingLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_container && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

void GrowingLayout::apply() {
    const int extraWidth = std::max(0, m_container->width() - m_designed.width());
    const int extraHeight = std::max(0, m_container->height() - m_designed.height());
    for (const Child& c : m_children) {
        c.widget->setGeometry(c.designed.x() + share(c.follow.x, extraWidth),
                              c.designed.y() + share(c.follow.y, extraHeight),
                              c.designed.width() + share(c.follow.width, extraWidth),
                              c.designed.height() + share(c.follow.height, extraHeight));
    }
}

} // namespace tradumar
