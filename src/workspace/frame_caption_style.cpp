#include "workspace/frame_caption_style.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace tradumar {
namespace {

constexpr int kCaptionIndent = 8;

} // namespace

QRect FrameCaptionStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl part, const QWidget* widget) const {
    QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
    if (control != CC_GroupBox)
        return rect;
    if (part == SC_GroupBoxLabel)
        rect.moveTopLeft(QPoint(kCaptionIndent, 0));
    return rect;
}

void FrameCaptionStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                           QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // An etched line halfway down the caption, left out where the caption
    // stands, then the caption as the style draws it.
    const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget).adjusted(-2, 0, 2, 0);
    const QRect frame = option->rect.adjusted(0, caption.height() / 2, -1, -1);
    painter->save();
    painter->setClipRegion(QRegion(option->rect).subtracted(QRegion(caption)));
    painter->setPen(option->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    painter->setPen(option->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, 0, 0));
    painter->restore();
    QStyleOptionGroupBox label = *box;
    label.subControls = box->subControls & SC_GroupBoxLabel;
    QProxyStyle::drawComplexControl(control, &label, painter, widget);
}

} // namespace tradumar
