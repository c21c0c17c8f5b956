#pragma once

#include <QProxyStyle>

namespace tradumar {

// Draws a frame (a group box) with its caption on the top line, the line
// broken where the caption stands, whatever the desktop's style does by
// default; the controls inside are placed just below that line.
class FrameCaptionStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

} // namespace tradumar
