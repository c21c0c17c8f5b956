#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPlainTextEdit;
class QWidget;

namespace tradumar {

class Dialogs;
class SpellHighlighter;
struct Workspace;

// The spelling tools of the main window: the check of the translation with
// its progress window and suggestions dialog ("Revisar Ortografía"), and the
// red underlining of misspelled words as the translator types, switched by
// "Subrayar errores ortográficos" in the Herramientas menu and remembered
// between runs.
class SpellingTools : public QObject {
    Q_OBJECT
public:
    SpellingTools(QWidget* window, Workspace& workspace, Dialogs& dialogs, QPlainTextEdit* pane,
                  QMenu* tools);

    // cmdOrtog, mnuCorrector.
    void check();

    SpellHighlighter* highlighter() const { return m_highlighter; }

private:
    void replaceInTranslation(const std::string& word, const std::string& suggestion);

    QWidget* m_window;
    Workspace& m_workspace;
    Dialogs& m_dialogs;
    QPlainTextEdit* m_pane;
    SpellHighlighter* m_highlighter;
    QAction* m_underline;
    bool m_checking = false;
};

} // namespace tradumar
