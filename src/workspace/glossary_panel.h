#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QDockWidget>

#include "glossary/glossary.h"

class QAction;
class QPlainTextEdit;
class QTreeWidget;

namespace tradumar {

class Dialogs;
class PaneText;
struct Workspace;

// "Glosario": beside the panes, the terms of the project's glossary found in
// the open script's original text, each with its agreed translation. A term
// whose translation the translation pane lacks is shown in red, with a
// tooltip saying so; the list follows the typing on the status tick, and
// finds the terms again only when the original changes.
//
// "Añadir al glosario" (the Edición menu and both panes' context menus)
// adds the text selected in the original as a term and the text selected in
// the translation as its translation, to the glossary file beside the project.
class GlossaryPanel : public QDockWidget {
public:
    GlossaryPanel(QWidget* window, const Workspace& workspace, Dialogs& dialogs, QPlainTextEdit* original,
                  QPlainTextEdit* translation, PaneText& translationText);

    QAction* addAction() const { return m_add; }

    // Reloads the glossary when the project changed, finds the terms again
    // when the original did, flags them again when the translation did.
    void tick();

    // "Añadir al glosario".
    void addSelectedPair();

private:
    void fillList();
    void showContextMenu(QPlainTextEdit* pane, const QPoint& at);

    const Workspace& m_workspace;
    Dialogs& m_dialogs;
    QPlainTextEdit* m_original;
    QPlainTextEdit* m_translation;
    PaneText& m_translationText;
    QTreeWidget* m_list;
    QAction* m_add;

    Glossary m_glossary;
    std::string m_project;
    bool m_originalChanged = true;
    std::uint64_t m_flagged = 0;
    std::vector<GlossaryHit> m_hits;
};

} // namespace tradumar
