// The README's picture of the spell check: the suggestions dialog over the
// main window, on a demo translation with two slips in it.
#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "spellcheck/suggestions_dialog.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(spellCheck, "spell_check.png") {
    DemoWindow demo(context.demoProject);
    MainWindow& window = demo.window;
    window.nextScript();
    auto* pane = window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtTraducido"));
    QString text = pane->toPlainText();
    text.replace(QStringLiteral("habitación"), QStringLiteral("abitación"));
    text.replace(QStringLiteral("noche"), QStringLiteral("noshe"));
    pane->setPlainText(text);

    // The dialog is drawn where it stands over the window, under a plain
    // title bar (the off-screen windows have no frames of their own).
    QImage picture;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<SuggestionsDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        poll.stop();
        dialog->findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(0);
        dialog->findChild<QListWidget*>(QStringLiteral("List2"))->setCurrentRow(0);
        QApplication::processEvents();
        picture = window.grab().toImage();
        QPainter painter(&picture);
        const int titleHeight = 22;
        const QPoint at =
            window.mapFromGlobal(dialog->mapToGlobal(QPoint(0, 0))) - QPoint(0, titleHeight / 2);
        const QRect title(at.x(), at.y() - titleHeight, dialog->width(), titleHeight);
        painter.fillRect(title.adjusted(-1, 0, 1, 0), QColor(0, 60, 150));
        painter.setPen(Qt::white);
        painter.drawText(title.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, dialog->windowTitle());
        painter.drawImage(at, dialog->grab().toImage());
        painter.setPen(QColor(0, 60, 150));
        painter.drawRect(QRect(at.x() - 1, at.y(), dialog->width() + 1, dialog->height()));
        dialog->close();
    });
    poll.start();
    window.checkSpelling();
    return picture;
}

} // namespace tradumar::shots
