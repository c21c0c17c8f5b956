#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QTextBlock>

#include "boxes/text_boxes.h"
#include "boxes/width_table.h"
#include "workspace/text_pane.h"

namespace tradumar {

class PaneText;
struct Workspace;

// A mark of the translation pane, in one line (block) of it.
struct PaneMark {
    int block = 0;        // the block's number
    int from = 0, to = 0; // positions in the block's text; a band spans the whole line
    bool band = false;    // a line of a box past its line limit, else characters past the line's limit
    QString tip;
    bool operator==(const PaneMark&) const = default;
};

// Marks in the translation pane what passes the project's text-box limits,
// as the translator types: the characters of a line past its limit get a
// dotted violet underline, and the lines of a box past its line limit a pale
// violet band across the pane. They are a layer painted with the pane, a look
// only: the text, its undo history and the change mark stay as they are.
// Resting the mouse on a mark tells the limit.
//
// Only the lines in sight are checked, with the boxes they are part of: a
// key press costs the same in a long script as in a short one.
class LimitMarks : public QObject, public PaneLayer {
    Q_OBJECT
public:
    LimitMarks(TextPane* pane, PaneText& text, const Workspace& workspace);

    // Follows the limits of the project, and repaints the pane when the
    // marks in sight changed since the last call (an edit in one line can
    // mark or unmark others of its box). Called on every status tick.
    void tick();

    // The marks of the lines from `first` to `last`, in order of lines, a
    // band before the underline of the same line.
    std::vector<PaneMark> marksBetween(const QTextBlock& first, const QTextBlock& last) const;

    // The sentence of the mark at a position of the pane; empty where there is none.
    QString tipAt(int position) const;

    void paintUnder(QPainter& painter, const QRect& exposed) override;
    void paintOver(QPainter& painter, const QRect& exposed) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reloadRules();
    // The marks of the lines in sight, worked out again only after a change.
    const std::vector<PaneMark>& visibleMarks();

    TextPane* m_pane;
    PaneText& m_text;
    const Workspace& m_workspace;
    TextBoxLimits m_limits;
    std::string m_project;
    std::optional<WidthTable> m_widths;

    struct Sight {
        std::uint64_t generation = 0;
        int first = -1, last = -1;
        bool operator==(const Sight&) const = default;
    };
    Sight m_sight;
    std::uint64_t m_rules = 1; // grows with each change of the limits
    std::uint64_t m_rulesSeen = 0;
    std::vector<PaneMark> m_visible;
};

} // namespace tradumar
