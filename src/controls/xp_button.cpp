#include "controls/xp_button.h"

#include "controls/property_bag.h"
#include "controls/system_colours.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace tradumar {

namespace {

// Defaults of the stored values. The font name is compared exactly, so a
// font named "MS Sans Serif" is stored although it names the same font.
const QString defaultFontName = QStringLiteral("ms sans serif");
constexpr double defaultFontSize = 8.0;

// The leave check polls the window under the pointer this often while the
// pointer is over the button.
constexpr int leaveTimerInterval = 3;

Colour colourFrom(const QVariant& value, Colour fallback) {
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok ? static_cast<Colour>(static_cast<unsigned long long>(number) & 0xFFFFFFFFULL) : fallback;
}

} // namespace

XpButton::XpButton(QWidget* parent)
    : QWidget(parent), m_backColor(currentSystemColours().buttonHighlight), m_leaveTimer(new QTimer(this)) {
    m_leaveTimer->setObjectName(QStringLiteral("Timer1"));
    m_leaveTimer->setInterval(leaveTimerInterval);
    m_leaveTimer->setTimerType(Qt::PreciseTimer);
    connect(m_leaveTimer, &QTimer::timeout, this, &XpButton::checkPointerLeft);

    // Moves without a button held must arrive too: they start the hover look.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

XpButton::~XpButton() = default;

void XpButton::setCaption(const QString& caption) {
    m_caption = caption;
    drawResting();
    emit propertyChanged(QStringLiteral("Caption"));
}

void XpButton::setButtonEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_enabled)
        drawNormal(m_backColor);
    else
        drawDisabled();
    emit propertyChanged(QStringLiteral("Enabled"));
}

void XpButton::setBackColor(Colour colour) {
    m_backColor = colour;
    if (m_enabled)
        drawNormal(m_backColor);
    emit propertyChanged(QStringLiteral("BackColor"));
}

void XpButton::setForeColor(Colour colour) {
    m_foreColor = colour;
    drawResting();
    emit propertyChanged(QStringLiteral("ForeColor"));
}

void XpButton::setApparence(std::int32_t apparence) {
    m_apparence = apparence;
    if (apparence == 0)
        m_squareStyle = true;
    else if (apparence == 1)
        m_squareStyle = false;
    drawResting();
    emit propertyChanged(QStringLiteral("Apparence"));
}

void XpButton::setButtonFont(const ButtonFont& font) {
    m_font.name = font.name;
    // A size that is no number at all would place the caption nowhere; the
    // font keeps the size it had.
    if (std::isfinite(font.size) && font.size > 0)
        m_font.size = font.size;
    m_font.italic = font.italic;
    m_font.underline = font.underline;
    m_font.bold = font.bold;
    drawResting();
    emit propertyChanged(QStringLiteral("Font"));
}

void XpButton::initProperties() {
    m_caption = objectName();
    m_backColor = currentSystemColours().buttonHighlight;
    m_enabled = true;
    drawResting();
}

void XpButton::readProperties(const PropertyBag& bag) {
    setCaption(bag.readProperty(QStringLiteral("Caption"), objectName()).toString());
    setButtonEnabled(bag.readProperty(QStringLiteral("Enabled"), true).toBool());
    const Colour highlight = currentSystemColours().buttonHighlight;
    setBackColor(colourFrom(bag.readProperty(QStringLiteral("BackColor"), highlight), highlight));
    setForeColor(colourFrom(bag.readProperty(QStringLiteral("ForeColor"), 0), 0));
    setApparence(bag.readProperty(QStringLiteral("Apparence"), 0).toInt());

    // The font's values go straight onto the font, as a window sets a font
    // object's fields; the font is drawn with from the next look on.
    m_font.name = bag.readProperty(QStringLiteral("FontName"), defaultFontName).toString();
    bool isNumber = false;
    const double size = bag.readProperty(QStringLiteral("FontSize"), defaultFontSize).toDouble(&isNumber);
    m_font.size = isNumber && std::isfinite(size) && size > 0 ? size : defaultFontSize;
    m_font.bold = bag.readProperty(QStringLiteral("FontBold"), false).toBool();
    m_font.italic = bag.readProperty(QStringLiteral("FontItalic"), false).toBool();
    m_font.underline = bag.readProperty(QStringLiteral("FontUnderline"), false).toBool();
    // A button already on screen would otherwise show the old font until its
    // next look.
    drawResting();
}

void XpButton::writeProperties(PropertyBag& bag) const {
    bag.writeProperty(QStringLiteral("Caption"), m_caption, objectName());
    bag.writeProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.writeProperty(QStringLiteral("BackColor"), m_backColor);
    bag.writeProperty(QStringLiteral("ForeColor"), m_foreColor, Colour{0});
    bag.writeProperty(QStringLiteral("FontName"), m_font.name, defaultFontName);
    bag.writeProperty(QStringLiteral("FontSize"), m_font.size, defaultFontSize);
    bag.writeProperty(QStringLiteral("FontBold"), m_font.bold, false);
    bag.writeProperty(QStringLiteral("FontItalic"), m_font.italic, false);
    bag.writeProperty(QStringLiteral("FontUnderline"), m_font.underline, false);
    bag.writeProperty(QStringLiteral("Apparence"), m_apparence, 0);
}

void XpButton::paintEvent(QPaintEvent*) {
    if (m_surface.size() != size())
        drawResting();
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface);
}

void XpButton::resizeEvent(QResizeEvent*) {
    drawResting();
}

void XpButton::showEvent(QShowEvent*) {
    drawResting();
}

void XpButton::mousePressEvent(QMouseEvent* event) {
    m_mouseIsDown = true;
    m_leftPressed = event->button() == Qt::LeftButton;
    if (m_enabled)
        drawPressed();
    event->accept();
}

void XpButton::mouseReleaseEvent(QMouseEvent* event) {
    m_mouseIsDown = false;
    if (m_enabled)
        drawNormal(m_backColor);
    const bool isClick =
        event->button() == Qt::LeftButton && m_leftPressed && rect().contains(event->position().toPoint());
    m_leftPressed = false;
    event->accept();
    if (isClick && m_enabled) {
        m_clickedMark = true;
        emit click();
    }
}

void XpButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!m_enabled || m_mouseIsDown)
        return;
    drawFrame(hoverFrameColour);
    if (event->buttons() == Qt::NoButton && !m_hoverTracking) {
        m_hoverTracking = true;
        m_leaveTimer->start();
    }
}

void XpButton::checkPointerLeft() {
    // A window lying over the button counts as leaving it, as does one of our
    // own window's other widgets: only the button itself under the pointer
    // keeps the hover look.
    if (QApplication::widgetAt(QCursor::pos()) == this)
        return;
    m_leaveTimer->stop();
    m_hoverTracking = false;
    drawResting();
    if (m_clickedMark && m_enabled)
        drawFrame(clickedFrameColour);
}

void XpButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (m_clickedMark && m_enabled)
        drawFrame(focusFrameColour);
}

void XpButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // Qt also takes the focus away while another window (a message box, a
    // file chooser opened by this very click) is active, and gives it back
    // afterwards. Within the window the button still has the focus then, so
    // the click is not forgotten: coming back shows the focus look.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    m_clickedMark = false;
    drawResting();
}

void XpButton::drawResting() {
    if (m_enabled)
        drawNormal(m_backColor);
    else
        drawDisabled();
}

template <typename Draw> void XpButton::drawOnSurface(Draw draw) {
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    if (m_surface.isNull())
        return;
    const ButtonFace face{size(), m_squareStyle, m_backColor, m_foreColor, m_caption, m_font};
    {
        QPainter painter(&m_surface);
        ButtonPainter drawer(painter, face, currentSystemColours());
        draw(drawer);
    }
    update();
}

void XpButton::drawNormal(Colour base) {
    drawOnSurface([base](ButtonPainter& drawer) { drawer.drawNormal(base); });
}

void XpButton::drawFrame(Colour colour) {
    drawOnSurface([colour](ButtonPainter& drawer) { drawer.drawFrame(colour); });
}

void XpButton::drawPressed() {
    drawOnSurface([](ButtonPainter& drawer) { drawer.drawPressed(); });
}

void XpButton::drawDisabled() {
    drawOnSurface([](ButtonPainter& drawer) { drawer.drawDisabled(); });
}

} // namespace tradumar
