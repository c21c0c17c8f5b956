// The README's picture of the window maximised on a Linux desktop, asking in
// Spanish about unsaved changes.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QTranslator>

#include "platform/qt_platform.h"
#include "platform/qt_text.h"
#include "platform/spanish_texts.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(desktopMaximised, "desktop_maximised.png") {
    const std::unique_ptr<QTranslator> spanish(installSpanishQtTexts(*QCoreApplication::instance()));
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    // The off-screen display is small; the window takes what a maximised
    // window has on a common 1280 x 800 desktop below a panel.
    window.resize(1280, 760);
    QApplication::processEvents();

    // The question is a box of its own; it is drawn where it stands, centred
    // on the window.
    QImage picture;
    QTimer::singleShot(200, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        picture = window.grab().toImage();
        QPainter painter(&picture);
        const QImage question = box->grab().toImage();
        painter.drawImage((picture.width() - question.width()) / 2,
                          (picture.height() - question.height()) / 2, question);
        painter.setPen(window.palette().color(QPalette::Dark));
        painter.drawRect(QRect((picture.width() - question.width()) / 2,
                               (picture.height() - question.height()) / 2, question.width() - 1,
                               question.height() - 1));
        box->close();
    });
    QtDialogs().message(&window,
                        QStringLiteral("No se han guardado los cambios anteriores ¿Desea guardarlos?"),
                        QStringLiteral("Atención"), MessageButtons::YesNoCancel, MessageIcon::Exclamation);
    return picture;
}

} // namespace tradumar::shots
