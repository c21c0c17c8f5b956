#pragma once

#include <functional>
#include <string_view>

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace tradumar {

struct Workspace;

// Underlines the misspelled words of the translation with a red wave while
// the translator types, and what the table cannot write (missing characters,
// invalid raw blocks) with an orange line of its own, whatever the spelling. Only the look changes: the text,
// its undo history and the change mark stay as they are. The document re-highlights only the lines an edit
// touched.
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    SpellHighlighter(QTextDocument* document, Workspace& workspace);

    bool underlining() const { return m_underlining; }
    void setUnderlining(bool on);

    // Underlines the whole text anew (the dictionary or the word list
    // changed). The document would report this as a change of its text,
    // which it is not, so it is kept quiet meanwhile.
    void refresh();

protected:
    void highlightBlock(const QString& text) override;

private:
    void underlineMisspellings(
        std::string_view line,
        const std::function<void(std::size_t, std::size_t, const QTextCharFormat&)>& underline);

    Workspace& m_workspace;
    bool m_underlining = true;
    QTextCharFormat m_misspelled;
    QTextCharFormat m_unencodable;
};

} // namespace tradumar
