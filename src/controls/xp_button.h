#pragma once

#include "controls/button_font.h"
#include "controls/button_painter.h"
#include "controls/colour.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

class QTimer;

namespace tradumar {

class PropertyBag;

// A push button that draws itself: a vertical gradient with a dark outline,
// square or rounded, its caption centred on it, and coloured frames while the
// pointer is over it (orange), while it is pressed (a darker gradient), and
// after a click while it keeps the focus (blue) or once the pointer has gone
// (light blue). It raises click() for a left-button click released over it and
// ignores the keyboard.
//
// Its looks are drawn into a surface of its own size that is kept between
// repaints: what was drawn last stays shown until the next look is drawn.
// Its Enabled property is its own (buttonEnabled): a button set disabled
// still takes mouse and focus events but answers them with nothing more than
// the disabled look. QWidget::setEnabled keeps its usual Qt meaning.
//
// A window names it with setObjectName and then either restores it from its
// stored values with readProperties, or calls initProperties for a new one:
//
//     auto* button = new XpButton(this);
//     button->setObjectName(QStringLiteral("XP_button1"));
//     PropertyBag stored;
//     stored.setProperty(QStringLiteral("caption"), QStringLiteral("..."));
//     stored.setProperty(QStringLiteral("backcolor"), 0xFFFFFF);
//     button->readProperties(stored);
//     button->setGeometry(x, y, 25, 17);
class XpButton : public QWidget {
    Q_OBJECT

public:
    explicit XpButton(QWidget* parent = nullptr);
    ~XpButton() override;

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    bool buttonEnabled() const { return m_enabled; }
    void setButtonEnabled(bool enabled);

    // The gradient's top colour, red in the low byte.
    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour colour);

    // The caption colour.
    Colour foreColor() const { return m_foreColor; }
    void setForeColor(Colour colour);

    // 0 gives the square shape, 1 the rounded one; any other value is kept
    // (and stored) but leaves the shape as it was.
    std::int32_t apparence() const { return m_apparence; }
    void setApparence(std::int32_t apparence);
    bool squareStyle() const { return m_squareStyle; }

    ButtonFont buttonFont() const { return m_font; }
    void setButtonFont(const ButtonFont& font);

    // A button placed new on a window: its own name as caption, the system
    // highlight colour as BackColor, enabled.
    void initProperties();
    // Restores the properties from a window's stored values; a value missing
    // there takes its default.
    void readProperties(const PropertyBag& bag);
    // Stores the properties, leaving out every value equal to its default
    // (BackColor is always stored).
    void writeProperties(PropertyBag& bag) const;

    // The button's state, as its looks follow it.
    bool isHoverTracking() const { return m_hoverTracking; }
    bool isMouseDown() const { return m_mouseIsDown; }
    bool isClickedMark() const { return m_clickedMark; }

    // What the button shows now, at its own size.
    const QImage& surface() const { return m_surface; }

signals:
    // A left-button click released over the enabled button.
    void click();
    // A property was set (by its setter or by readProperties); `name` as stored,
    // "Caption", "Enabled", "BackColor", "ForeColor", "Apparence" or "Font".
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void checkPointerLeft();
    void drawResting();
    void drawNormal(Colour base);
    void drawFrame(Colour colour);
    void drawPressed();
    void drawDisabled();
    template <typename Draw> void drawOnSurface(Draw draw);

    bool m_enabled = true;
    QString m_caption;
    Colour m_backColor;
    Colour m_foreColor = 0;
    ButtonFont m_font;
    std::int32_t m_apparence = 0;
    bool m_hoverTracking = false;
    bool m_mouseIsDown = false;
    bool m_clickedMark = false;
    bool m_squareStyle = true;
    bool m_leftPressed = false; // the left button went down here: its release may be a click

    QImage m_surface;
    QTimer* m_leaveTimer; // "Timer1"
};

} // namespace tradumar
