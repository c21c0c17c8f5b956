#pragma once

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace tradumar {

class Dialogs;
struct Workspace;

// The journalled insertion commands of the Herramientas menu: "Deshacer
// última inserción" (mnuDeshacer), usable only while the project's journal
// holds an insertion, and "Insertar todos los scripts traducidos"
// (mnuInsertarTodos), which encodes every saved translation, shows the
// report and writes the insertable scripts as one step.
class InsertionTools : public QObject {
    Q_OBJECT
public:
    InsertionTools(QWidget* window, QMenu* tools, Workspace& workspace, Dialogs& dialogs);

    void undoLastInsertion();
    void insertAllTranslated();

    // Enables "Deshacer" when there is something to undo; runs whenever the
    // menu opens.
    void refresh();

private:
    QWidget* m_window;
    Workspace& m_workspace;
    Dialogs& m_dialogs;
    QAction* m_mnuDeshacer = nullptr;
    QAction* m_mnuInsertarTodos = nullptr;
};

} // namespace tradumar
