#include "spellcheck/spell_highlighter.h"

#include <QSignalBlocker>
#include <QTextDocument>

#include "platform/ansi_text.h"
#include "spellcheck/word_splitter.h"
#include "workspace/workspace.h"

namespace tradumar {

SpellHighlighter::SpellHighlighter(QTextDocument* document, Workspace& workspace)
    : QSyntaxHighlighter(document), m_workspace(workspace) {
    m_misspelled.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    m_misspelled.setUnderlineColor(Qt::red);
}

void SpellHighlighter::setUnderlining(bool on) {
    if (on == m_underlining)
        return;
    m_underlining = on;
    refresh();
}

void SpellHighlighter::refresh() {
    const QSignalBlocker quiet(document());
    rehighlight();
}

void SpellHighlighter::highlightBlock(const QString& text) {
    if (!m_underlining || text.isEmpty())
        return;
    Spelling& spelling = m_workspace.spelling;
    // The dictionary loads with the first line that has text; a missing one
    // is not looked for again on every line (the check command retries).
    if (spelling.speller.status() == DictionaryStatus::NotLoaded)
        spelling.speller.load();
    if (spelling.speller.status() != DictionaryStatus::Loaded)
        return;
    spelling.projectWords.follow(m_workspace.settings.projectFilePath);

    // Inside a line every character is one byte, so positions carry over.
    const std::string line = fromQString(text);
    for (const WordSpan& span : splitWords(line, enclosuresOf(m_workspace.settings))) {
        const std::string_view word = std::string_view(line).substr(span.start, span.length);
        if (!spelling.projectWords.contains(word) && !spelling.speller.check(word))
            setFormat(static_cast<int>(span.start), static_cast<int>(span.length), m_misspelled);
    }
}

} // namespace tradumar
