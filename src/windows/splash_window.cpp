#include "windows/splash_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "windows/window_art.h"

namespace tradumar {

SplashWindow::SplashWindow(QWidget* owner) : QDialog(owner, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setModal(true);
    // 5250 x 2535 twips at 15 twips to the pixel.
    setFixedSize(350, 169);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setGeometry(rect());
    m_picture->setPixmap(drawTradumarArt(size()));
    m_picture->installEventFilter(this);

    const auto label = [this](const char* name, const QString& text, const QRect& geometry, const QFont& font,
                              const QColor& colour) {
        auto* l = new QLabel(text, m_picture);
        l->setObjectName(QString::fromUtf8(name));
        l->setGeometry(geometry);
        l->setFont(font);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, colour);
        l->setPalette(palette);
        // A click on the words is a click on the picture.
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    const QColor gold(0xff, 0xc8, 0x3d);
    label("lblNombre", QStringLiteral("Tradumar"), QRect(140, 26, 196, 64), nameFont(50), Qt::white);
    label("lblVersion", QStringLiteral("1.0"), QRect(150, 92, 186, 36), nameFont(30), gold);
    QFont small;
    small.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    small.setPixelSize(11);
    label("lblCredito", QStringLiteral("Equipo Tradumar"), QRect(150, 140, 186, 18), small,
          QColor(0xc8, 0xd4, 0xf0));

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(2500);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QDialog::accept);
    m_timer->start();
}

bool SplashWindow::wanted(const QStringList& arguments) {
    return !arguments.contains(QStringLiteral("--no-splash")) &&
           qEnvironmentVariableIsEmpty("TRADUMAR_NO_SPLASH");
}

void SplashWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!parentWidget()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture && event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tradumar
