#include "workspace/limit_marks.h"

#include <algorithm>

#include <QHelpEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "workspace/pane_text.h"

namespace tradumar {
namespace {

const QColor kMarkColour(140, 40, 190);
const QColor kBandColour(240, 225, 250);

} // namespace

LimitMarks::LimitMarks(TextPane* pane, PaneText& text, const Workspace& workspace)
    : QObject(pane), m_pane(pane), m_text(text), m_workspace(workspace) {
    pane->viewport()->installEventFilter(this);
    pane->setLayer(this);
}

void LimitMarks::reloadRules() {
    const ProjectSettings& settings = m_workspace.settings;
    m_limits = settings.textBoxLimits;
    m_project = settings.projectFilePath;
    m_widths.reset();
    if (!m_limits.widthTablePath.empty() && !m_project.empty())
        m_widths =
            readWidthTable(pathBesideProject(m_project, m_limits.widthTablePath), settings.legacyCodePage)
                .table;
    ++m_rules;
}

void LimitMarks::tick() {
    const ProjectSettings& settings = m_workspace.settings;
    if (settings.textBoxLimits != m_limits || settings.projectFilePath != m_project)
        reloadRules();
    // What the last tick showed is painted again when it changed, whatever
    // part of the pane the edit itself repainted.
    const std::vector<PaneMark> shown = m_visible;
    if (visibleMarks() != shown)
        m_pane->viewport()->update();
}

const std::vector<PaneMark>& LimitMarks::visibleMarks() {
    Sight sight{m_text.generation(), -1, -1};
    const bool active = m_limits.active() && !m_project.empty();
    QTextBlock first = m_pane->firstVisible();
    QTextBlock last = first;
    if (active && first.isValid()) {
        const qreal bottom = m_pane->viewport()->height();
        for (QTextBlock next = first.next(); next.isValid() && m_pane->blockRect(next).top() < bottom;
             next = next.next())
            last = next;
        sight.first = first.blockNumber();
        sight.last = last.blockNumber();
    }
    if (sight == m_sight && m_rulesSeen == m_rules)
        return m_visible;
    m_sight = sight;
    m_rulesSeen = m_rules;
    m_visible = active && first.isValid() ? marksBetween(first, last) : std::vector<PaneMark>();
    return m_visible;
}

std::vector<PaneMark> LimitMarks::marksBetween(const QTextBlock& first, const QTextBlock& last) const {
    std::vector<PaneMark> marks;
    if (!m_limits.active() || m_project.empty() || !first.isValid() || !last.isValid())
        return marks;
    const ProjectSettings& settings = m_workspace.settings;
    const TextBoxRules rules{m_limits, settings.leftCharacter(), settings.rightCharacter(),
                             m_widths ? &*m_widths : nullptr};
    const auto holdsBreak = [&](const QTextBlock& block) {
        return holdsBoxBreak(fromQString(block.text()), rules);
    };
    // The boxes the lines are part of: from the last line before them that
    // ends a box to the first line after them that does, or the ends of the
    // text. Without a limit of lines a line's own text is enough.
    QTextBlock start = first;
    QTextBlock end = last;
    if (m_limits.boxLines > 0) {
        for (start = first.previous(); start.isValid() && !holdsBreak(start); start = start.previous()) {
        }
        if (!start.isValid())
            start = m_pane->document()->firstBlock();
        for (end = last.next(); end.isValid() && !holdsBreak(end); end = end.next()) {
        }
        if (!end.isValid())
            end = m_pane->document()->lastBlock();
    }
    std::string text;
    std::vector<std::size_t> lineStarts;
    for (QTextBlock block = start;; block = block.next()) {
        lineStarts.push_back(text.size());
        text += fromQString(block.text());
        if (block == end)
            break;
        text += '\n';
    }
    const TextBoxCheck check = checkTextBoxes(text, rules);

    const int base = start.blockNumber();
    const int firstLine = first.blockNumber() - base;
    const int lastLine = last.blockNumber() - base;
    const auto lineOf = [&](std::size_t offset) {
        return static_cast<int>(std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) -
                                lineStarts.begin()) -
               1;
    };
    const auto column = [&](int line, std::size_t offset) {
        const std::size_t from = lineStarts[static_cast<std::size_t>(line)];
        const std::size_t to = static_cast<std::size_t>(line) + 1 < lineStarts.size()
                                   ? lineStarts[static_cast<std::size_t>(line) + 1] - 1
                                   : text.size();
        return static_cast<int>(qtOffsetOf(std::string_view(text).substr(from, to - from), offset - from));
    };
    for (const BoxExcess& box : check.boxes) {
        const QString tip = toQString(boxExcessText(box, rules));
        for (int line = std::max(box.firstExtraLine, firstLine); line <= std::min(lineOf(box.end), lastLine);
             ++line)
            marks.push_back({base + line, 0, 0, true, tip});
    }
    for (const LineExcess& excess : check.lines)
        if (excess.line >= firstLine && excess.line <= lastLine)
            marks.push_back({base + excess.line, column(excess.line, excess.start),
                             column(excess.line, excess.end), false,
                             toQString(lineExcessText(excess, rules))});
    std::stable_sort(marks.begin(), marks.end(), [](const PaneMark& a, const PaneMark& b) {
        return a.block < b.block || (a.block == b.block && a.band && !b.band);
    });
    return marks;
}

QString LimitMarks::tipAt(int position) const {
    const QTextBlock block = m_pane->document()->findBlock(position);
    const int column = position - block.position();
    QString tip;
    for (const PaneMark& mark : marksBetween(block, block)) {
        // A line's own mark says more than its box's.
        if (mark.band ? tip.isEmpty() : column >= mark.from && column <= mark.to)
            tip = mark.tip;
    }
    return tip;
}

void LimitMarks::paintUnder(QPainter& painter, const QRect& exposed) {
    for (const PaneMark& mark : visibleMarks()) {
        if (!mark.band)
            continue;
        const QRectF line = m_pane->blockRect(m_pane->document()->findBlockByNumber(mark.block));
        painter.fillRect(QRectF(exposed.left(), line.top(), exposed.width(), line.height()), kBandColour);
    }
}

void LimitMarks::paintOver(QPainter& painter, const QRect& exposed) {
    QPen pen(kMarkColour, 1, Qt::DotLine);
    painter.setPen(pen);
    for (const PaneMark& mark : visibleMarks()) {
        if (mark.band)
            continue;
        const QTextBlock block = m_pane->document()->findBlockByNumber(mark.block);
        const QRectF rect = m_pane->blockRect(block);
        if (rect.bottom() < exposed.top() || rect.top() > exposed.bottom())
            continue;
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int from = std::max(mark.from, line.textStart());
            const int to = std::min(mark.to, line.textStart() + line.textLength());
            if (from >= to)
                continue;
            const qreal y = rect.top() + line.y() + line.ascent() + std::max<qreal>(1.0, line.descent() / 2);
            painter.drawLine(QPointF(rect.left() + line.cursorToX(from), y),
                             QPointF(rect.left() + line.cursorToX(to), y));
        }
    }
}

bool LimitMarks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || m_visible.empty())
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = tipAt(m_pane->cursorForPosition(help->pos()).position());
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, m_pane->viewport());
    }
    return true;
}

} // namespace tradumar
