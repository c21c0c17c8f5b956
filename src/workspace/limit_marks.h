#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "boxes/text_boxes.h"
#include "boxes/width_table.h"

class QPlainTextEdit;

namespace tradumar {

class PaneText;
struct Workspace;

// Marks in the translation pane what passes the project's text-box limits,
// as the translator types: the characters of a line past its limit get a
// dotted violet underline, and the lines of a box past its line limit a pale
// violet band across the pane. They are extra selections of the pane, a look
// only: the text, its undo history and the change mark stay as they are.
// Resting the mouse on a mark tells the limit.
class LimitMarks : public QObject {
public:
    LimitMarks(QPlainTextEdit* pane, PaneText& text, const Workspace& workspace);

    // Checks the text again when it, the limits or the project changed since
    // the last call; otherwise does nothing. Called on every status tick.
    void tick();

    // The sentence of the mark at a position of the pane; empty where there is none.
    QString tipAt(int position) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Mark {
        int from = 0, to = 0; // positions in the pane's document
        QString tip;
        bool box = false;
    };
    void reloadRules();
    void mark(const TextBoxCheck& check, const TextBoxRules& rules, const std::string& text);

    QPlainTextEdit* m_pane;
    PaneText& m_text;
    const Workspace& m_workspace;
    std::uint64_t m_checked = 0;
    TextBoxLimits m_limits;
    std::string m_project;
    std::optional<WidthTable> m_widths;
    std::vector<LineExcess> m_lines;
    std::vector<BoxExcess> m_boxes;
    std::vector<Mark> m_marks;
};

} // namespace tradumar
