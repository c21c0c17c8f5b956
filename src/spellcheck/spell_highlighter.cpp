#include "spellcheck/spell_highlighter.h"

#include <QSignalBlocker>
#include <QTextDocument>

#include "encoding/unicode_text.h"
#include "platform/qt_text.h"
#include "project/workspace.h"
#include "spellcheck/word_splitter.h"

namespace tradumar {

SpellHighlighter::SpellHighlighter(QTextDocument* document, Workspace& workspace)
    : QSyntaxHighlighter(document), m_workspace(workspace) {
    m_misspelled.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    m_misspelled.setUnderlineColor(Qt::red);
    m_unencodable.setUnderlineStyle(QTextCharFormat::DashUnderline);
    m_unencodable.setUnderlineColor(QColor(230, 120, 0));
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
    if (text.isEmpty())
        return;
    // The block's own characters, not normalised, so that each span's byte
    // offsets map back to the block's positions; words are normalised before
    // they are looked up.
    const QByteArray bytes = text.toUtf8();
    const std::string_view line(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const auto underline = [&](std::size_t start, std::size_t length, const QTextCharFormat& format) {
        const qsizetype from = qtOffsetOf(line, start);
        setFormat(static_cast<int>(from), static_cast<int>(qtOffsetOf(line, start + length) - from), format);
    };
    if (m_underlining)
        underlineMisspellings(line, underline);
    // Last, so that it shows where a word is misspelled too.
    if (!m_workspace.settings.projectFilePath.empty())
        for (const Unencodable& span : unencodableSpans(line, m_workspace.encoderContext()))
            underline(span.start, span.length, m_unencodable);
}

void SpellHighlighter::underlineMisspellings(
    std::string_view line,
    const std::function<void(std::size_t, std::size_t, const QTextCharFormat&)>& underline) {
    Spelling& spelling = m_workspace.spelling;
    // The dictionary loads with the first line that has text; a missing one
    // is not looked for again on every line (the check command retries).
    if (spelling.speller.status() == DictionaryStatus::NotLoaded)
        spelling.speller.load();
    if (spelling.speller.status() != DictionaryStatus::Loaded)
        return;
    spelling.projectWords.follow(m_workspace.settings.projectFilePath, m_workspace.settings.legacyCodePage);
    for (const WordSpan& span : splitWords(line, enclosuresOf(m_workspace.settings))) {
        const std::string word = toNfc(line.substr(span.start, span.length));
        if (!spelling.projectWords.contains(word) && !spelling.speller.check(word))
            underline(span.start, span.length, m_misspelled);
    }
}

} // namespace tradumar
