#include "spellcheck/spell_highlighter.h"

#include <QSignalBlocker>
#include <QTextDocument>

#include "encoding/unicode_text.h"
#include "platform/qt_text.h"
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
    spelling.projectWords.follow(m_workspace.settings.projectFilePath, m_workspace.settings.legacyCodePage);

    // The block's own characters, not normalised, so that each word's byte
    // offsets map back to the block's positions; the word is normalised
    // before it is looked up.
    const QByteArray bytes = text.toUtf8();
    const std::string_view line(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (const WordSpan& span : splitWords(line, enclosuresOf(m_workspace.settings))) {
        const std::string word = toNfc(line.substr(span.start, span.length));
        if (spelling.projectWords.contains(word) || spelling.speller.check(word))
            continue;
        const qsizetype start = qtOffsetOf(line, span.start);
        const qsizetype end = qtOffsetOf(line, span.start + span.length);
        setFormat(static_cast<int>(start), static_cast<int>(end - start), m_misspelled);
    }
}

} // namespace tradumar
