#include "windows/about_window.h"

#include <cmath>

#include <QFrame>
#include <QLabel>
#include <QTimer>

#include "windows/window_art.h"

namespace tradumar {
namespace {

int pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

} // namespace

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAcerca"));
    setWindowTitle(QStringLiteral("Acerca de Tradumar"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    setModal(true);
    setFixedSize(pixels(3885), pixels(2925));
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    setFont(font);

    // The viewport clips the panel: only what lies inside it shows.
    auto* viewport = new QFrame(this);
    viewport->setObjectName(QStringLiteral("Picture1"));
    viewport->setFrameShape(QFrame::NoFrame);
    viewport->setGeometry(pixels(120), pixels(120), pixels(3615), pixels(kPanelHeight));

    m_panel = new QWidget(viewport);
    m_panel->setObjectName(QStringLiteral("Picture2"));
    m_panel->setGeometry(0, pixels(m_top), viewport->width(), pixels(kPanelHeight));

    auto* art = new QLabel(m_panel);
    art->setObjectName(QStringLiteral("imgLogo"));
    art->setGeometry(4, 4, 52, 52);
    art->setPixmap(drawTradumarArt(art->size()));

    const auto label = [this](const char* name, const QString& text, const QRect& geometry) {
        auto* l = new QLabel(text, m_panel);
        l->setObjectName(QString::fromUtf8(name));
        l->setGeometry(geometry);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    const int width = viewport->width();
    QLabel* title = label("lblTitulo", QStringLiteral("Tradumar (Editor e Insertor de scripts)"),
                          QRect(62, 6, width - 66, 48));
    title->setFont(nameFont(20));
    label("lblScripts",
          QStringLiteral("Los scripts que se deben utilizar en este editor son los extraidos con Escarbol."),
          QRect(4, 62, width - 8, 44));
    label("lblAutor", QStringLiteral("Programa: Equipo Tradumar"), QRect(4, 112, width - 8, 16));
    label("lblGrupo", QStringLiteral("Grupo de romhacking Tradumar, 2026"), QRect(4, 130, width - 8, 16));
    label("lblContacto", QStringLiteral("Contacto: tradumar@example.org"), QRect(4, 148, width - 8, 16));

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(kTimerInterval);
    connect(m_timer, &QTimer::timeout, this, [this] {
        for (int i = 0; i < kStepsPerTick; ++i)
            scroll();
    });
    m_timer->start();
}

void AboutWindow::scroll() {
    if (m_top != -kPanelHeight)
        m_top -= kStep;
    else
        m_top = kPanelHeight; // the lower edge has passed the top: in again from below
    m_panel->move(0, pixels(m_top));
}

} // namespace tradumar
