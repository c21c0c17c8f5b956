#include "workspace/limit_marks.h"

#include <algorithm>

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

#include "platform/qt_text.h"
#include "project/workspace.h"
#include "workspace/pane_text.h"

namespace tradumar {
namespace {

const QColor kMarkColour(140, 40, 190);

// Document positions of byte offsets of the pane's text (sorted, CR LF
// lines): a line break is one position, a character beyond the BMP two.
std::vector<int> documentPositions(const std::string& text, const std::vector<std::size_t>& offsets) {
    std::vector<int> positions;
    positions.reserve(offsets.size());
    int position = 0;
    std::size_t at = 0;
    for (const std::size_t offset : offsets) {
        for (; at < offset && at < text.size(); ++at) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte == '\n' && at > 0 && text[at - 1] == '\r')
                continue; // CR LF is one break
            if ((byte & 0xC0) == 0x80)
                continue; // a continuation byte
            position += byte >= 0xF0 ? 2 : 1;
        }
        positions.push_back(position);
    }
    return positions;
}

} // namespace

LimitMarks::LimitMarks(QPlainTextEdit* pane, PaneText& text, const Workspace& workspace)
    : QObject(pane), m_pane(pane), m_text(text), m_workspace(workspace) {
    pane->viewport()->installEventFilter(this);
}

void LimitMarks::reloadRules() {
    const ProjectSettings& settings = m_workspace.settings;
    m_limits = settings.textBoxLimits;
    m_project = settings.projectFilePath;
    m_widths.reset();
    if (!m_limits.widthTablePath.empty() && !m_project.empty())
        m_widths = readWidthTable(pathBesideProject(m_project, m_limits.widthTablePath), settings.legacyCodePage)
                       .table;
    m_checked = 0;
}

void LimitMarks::tick() {
    const ProjectSettings& settings = m_workspace.settings;
    if (settings.textBoxLimits != m_limits || settings.projectFilePath != m_project)
        reloadRules();
    if (m_checked == m_text.generation())
        return;
    m_checked = m_text.generation();
    // With no limit set the text is not even read.
    TextBoxCheck check;
    const TextBoxRules rules{m_limits, settings.leftCharacter(), settings.rightCharacter(),
                             m_widths ? &*m_widths : nullptr};
    const std::string* text = nullptr;
    if (m_limits.active() && !m_project.empty()) {
        text = &m_text.text();
        check = checkTextBoxes(*text, rules);
    }
    // The pane repaints only when the marks change.
    if (check.lines == m_lines && check.boxes == m_boxes)
        return;
    mark(check, rules, text != nullptr ? *text : std::string());
}

void LimitMarks::mark(const TextBoxCheck& check, const TextBoxRules& rules, const std::string& text) {
    m_lines = check.lines;
    m_boxes = check.boxes;
    std::vector<std::size_t> offsets;
    for (const LineExcess& line : m_lines)
        offsets.insert(offsets.end(), {line.start, line.end});
    for (const BoxExcess& box : m_boxes)
        offsets.insert(offsets.end(), {box.start, box.end});
    std::sort(offsets.begin(), offsets.end());
    const std::vector<int> positions = documentPositions(text, offsets);
    const auto positionOf = [&](std::size_t offset) {
        return positions[static_cast<std::size_t>(std::lower_bound(offsets.begin(), offsets.end(), offset) -
                                                  offsets.begin())];
    };

    m_marks.clear();
    QList<QTextEdit::ExtraSelection> selections;
    QTextCharFormat band;
    band.setBackground(QColor(240, 225, 250));
    band.setProperty(QTextFormat::FullWidthSelection, true);
    for (const BoxExcess& box : m_boxes) {
        const Mark mark{positionOf(box.start), positionOf(box.end), toQString(boxExcessText(box, rules)), true};
        m_marks.push_back(mark);
        // A band on each line of the box past its limit.
        for (QTextBlock block = m_pane->document()->findBlock(mark.from);
             block.isValid() && block.position() <= mark.to; block = block.next()) {
            QTextCursor cursor(block);
            selections.push_back({cursor, band});
        }
    }
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::DotLine);
    underline.setUnderlineColor(kMarkColour);
    for (const LineExcess& line : m_lines) {
        const Mark mark{positionOf(line.start), positionOf(line.end), toQString(lineExcessText(line, rules)),
                        false};
        m_marks.push_back(mark);
        QTextCursor cursor(m_pane->document());
        cursor.setPosition(mark.from);
        cursor.setPosition(mark.to, QTextCursor::KeepAnchor);
        selections.push_back({cursor, underline});
    }
    m_pane->setExtraSelections(selections);
}

QString LimitMarks::tipAt(int position) const {
    QString tip;
    for (const Mark& mark : m_marks) {
        // A line's own mark says more than its box's.
        if (position >= mark.from && position <= mark.to && (tip.isEmpty() || !mark.box))
            tip = mark.tip;
    }
    return tip;
}

bool LimitMarks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || m_marks.empty())
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
