#pragma once

#include <string>
#include <vector>

#include <QDockWidget>

#include "glossary/glossary.h"

class QAction;
class QPlainTextEdit;
class QTreeWidget;

namespace tradumar {

class Dialogs;
struct Workspace;

// "Glosario": beside the panes, the terms of the project's glossary found in
// the open script's original text, each with its agreed translation. A term
// whose translation the translation pane lacks is shown in red, with a
// tooltip saying so; the list follows the typing on the status tick, and
// finds the terms again only when the original changes. An agreed
// translation never spans lines, so each line of the translation is looked
// at once, when it changes: a key press costs one line, not the script.
//
// "Añadir al glosario" (the Edición menu and both panes' context menus)
// adds the text selected in the original as a term and the text selected in
// the translation as its translation, to the glossary file beside the project.
class GlossaryPanel : public QDockWidget {
public:
    GlossaryPanel(QWidget* window, const Workspace& workspace, Dialogs& dialogs, QPlainTextEdit* original,
                  QPlainTextEdit* translation);

    QAction* addAction() const { return m_add; }

    // Reloads the glossary when the project changed, finds the terms again
    // when the original did, flags them again when the translation did.
    void tick();

    // "Añadir al glosario".
    void addSelectedPair();

private:
    void fillList();
    // Which terms' agreed translations a line of the translation holds.
    std::vector<bool> termsIn(const QString& line) const;
    void translationChanged(int position, int removed, int added);
    void rescanTranslation();
    void showContextMenu(QPlainTextEdit* pane, const QPoint& at);

    const Workspace& m_workspace;
    Dialogs& m_dialogs;
    QPlainTextEdit* m_original;
    QPlainTextEdit* m_translation;
    QTreeWidget* m_list;
    QAction* m_add;

    Glossary m_glossary;
    std::string m_project;
    bool m_originalChanged = true;
    std::vector<GlossaryHit> m_hits;
    // Per line of the translation, per term found, whether the line holds
    // its agreed translation; and per term, in how many lines.
    std::vector<std::vector<bool>> m_lines;
    std::vector<int> m_lineCounts;
    bool m_rescan = true;
};

} // namespace tradumar
