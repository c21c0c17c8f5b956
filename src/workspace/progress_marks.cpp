#include "workspace/progress_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "platform/qt_text.h"
#include "workspace/file_list.h"

namespace tradumar {
namespace {

constexpr int kMarkSize = 10;

QIcon drawMark(ScriptState state) {
    QPixmap pixmap(kMarkSize, kMarkSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1, 1, kMarkSize - 2, kMarkSize - 2);
    switch (state) {
    case ScriptState::NotTranslated:
        painter.setPen(QPen(QColor(128, 128, 128), 1.2));
        painter.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
        break;
    case ScriptState::WithinBudget:
        painter.setPen(QPen(QColor(0, 100, 0), 1));
        painter.setBrush(QColor(40, 170, 60));
        painter.drawEllipse(box);
        break;
    case ScriptState::OverBudget: {
        QPainterPath triangle;
        triangle.moveTo(box.center().x(), box.top());
        triangle.lineTo(box.right(), box.bottom());
        triangle.lineTo(box.left(), box.bottom());
        triangle.closeSubpath();
        painter.setPen(QPen(QColor(140, 0, 0), 1));
        painter.setBrush(QColor(220, 30, 30));
        painter.drawPath(triangle);
        break;
    }
    }
    return QIcon(pixmap);
}

QString tooltipOf(const ScriptProgress& script) {
    QString text = toQString(stateText(script.state));
    if (script.state != ScriptState::NotTranslated && script.budget)
        text += QStringLiteral(": %1 de %2 bytes").arg(script.translatedBytes).arg(*script.budget);
    return text;
}

} // namespace

ProgressMarks::ProgressMarks()
    : m_marks{drawMark(ScriptState::NotTranslated), drawMark(ScriptState::WithinBudget),
              drawMark(ScriptState::OverBudget)} {}

void ProgressMarks::apply(QListWidgetItem* item, const ScriptProgress& script) const {
    item->setIcon(mark(script.state));
    item->setToolTip(tooltipOf(script));
}

void ProgressMarks::markAll(FileList* list, const TranslationProgress& progress) const {
    list->setIconSize(QSize(kMarkSize, kMarkSize));
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        if (const ScriptProgress* script = progress.find(pathFromQString(item->text())))
            apply(item, *script);
    }
}

void ProgressMarks::markOne(FileList* list, const ScriptProgress& script) const {
    for (QListWidgetItem* item : list->findItems(pathToQString(script.fileName), Qt::MatchExactly))
        apply(item, script);
}

} // namespace tradumar
