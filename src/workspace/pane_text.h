#pragma once

#include <cstdint>
#include <string>

#include <QObject>
#include <QPlainTextEdit>

#include "workspace/status_refresh.h"

namespace tradumar {

// The translation pane's text as the core reads it (UTF-8, CR LF lines),
// converted at most once per change of the pane however many readers ask,
// with a number that grows at each change so that each reader can tell
// whether its own work is still up to date.
class PaneText : public QObject {
public:
    explicit PaneText(QPlainTextEdit* pane) : QObject(pane), m_pane(pane) {
        connect(pane->document(), &QTextDocument::contentsChanged, this, [this] { ++m_generation; });
    }

    std::uint64_t generation() const { return m_generation; }

    const std::string& text() {
        if (m_converted != m_generation) {
            m_text = paneText(m_pane);
            m_converted = m_generation;
        }
        return m_text;
    }

private:
    QPlainTextEdit* m_pane;
    std::uint64_t m_generation = 1;
    std::uint64_t m_converted = 0;
    std::string m_text;
};

} // namespace tradumar
