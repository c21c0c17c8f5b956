#include "windows/window_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tradumar {

QFont nameFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Bebas Neue")});
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

QPixmap drawTradumarArt(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x1f, 0x3c, 0x88));
    sky.setColorAt(1, QColor(0x0b, 0x18, 0x3d));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(QRectF(0, 0, w, h));

    // Faint rows of hexadecimal bytes, the script as the ROM holds it.
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(qMax(6, static_cast<int>(h / 14)));
    p.setFont(mono);
    p.setPen(QColor(0x3a, 0x5c, 0xb0));
    const char* const rows[] = {"48 6F 6C 61 21 FE", "A1 43 6F 6D 6F FF", "0A 2C 20 65 6C 01",
                                "3C 30 32 3E 20 FE", "B7 54 72 61 64 FF"};
    qreal y = h * 0.12;
    for (int i = 0; y < h; ++i, y += h / 7)
        p.drawText(QPointF(w * 0.04 + (i % 2) * w * 0.08, y), QString::fromLatin1(rows[i % 5]));

    // Two speech bubbles: a line of the game and its translation.
    const auto bubble = [&p](const QRectF& r, bool tailLeft, const QColor& fill, const QString& text) {
        QPainterPath path;
        path.addRoundedRect(r, r.height() * 0.25, r.height() * 0.25);
        QPainterPath tail;
        const qreal x = tailLeft ? r.left() + r.width() * 0.2 : r.right() - r.width() * 0.2;
        const qreal dx = tailLeft ? -r.height() * 0.2 : r.height() * 0.2;
        tail.moveTo(x - r.height() * 0.15, r.bottom() - 1);
        tail.lineTo(x + dx, r.bottom() + r.height() * 0.35);
        tail.lineTo(x + r.height() * 0.15, r.bottom() - 1);
        tail.closeSubpath();
        p.setBrush(fill);
        p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.2));
        p.drawPath(path.united(tail));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(qMax(5, static_cast<int>(r.height() * 0.48)));
        p.setFont(font);
        p.setPen(QColor(0x22, 0x22, 0x22));
        p.drawText(r, Qt::AlignCenter, text);
    };
    const qreal side = qMin(w, h);
    const qreal bw = side * 0.62;
    const qreal bh = side * 0.2;
    const QRectF first(side * 0.08, side * 0.14, bw, bh);
    const QRectF second(side * 0.3, side * 0.58, bw, bh);
    bubble(first, true, QColor(0xf4, 0xf4, 0xf4), QStringLiteral("Hello!"));
    bubble(second, false, QColor(0xff, 0xc8, 0x3d), QStringLiteral("¡Hola!"));

    // The arrow from the one to the other.
    p.setPen(QPen(QColor(0xff, 0xc8, 0x3d), qMax(1.5, side * 0.025), Qt::SolidLine, Qt::RoundCap));
    const QPointF a(first.left() + bw * 0.5, first.bottom() + bh * 0.25);
    const QPointF b(second.left() + bw * 0.25, second.top() - bh * 0.2);
    p.drawLine(a, b);
    const qreal head = side * 0.05;
    p.drawLine(b, b + QPointF(-head, -head * 0.2));
    p.drawLine(b, b + QPointF(head * 0.2, -head));
    return pixmap;
}

} // namespace tradumar
