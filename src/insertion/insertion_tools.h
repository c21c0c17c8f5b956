#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QProgressDialog;

class QAction;
class QMenu;
class QWidget;

namespace tradumar {

class Dialogs;
struct JournalReport;
struct Workspace;

struct ProjectFiles;

// The line added to a success whose journal could not be flushed at the end.
QString unflushedNotice();

// Tells, the first time for the open project, that a step was written
// without setting the checksum because the ROM is of no known kind.
void tellChecksumOnce(QWidget* parent, Dialogs& dialogs, const Workspace& workspace,
                      const JournalReport& report);

// Shows "<code>: <title>" and the failure's reason; for a damaged journal it
// offers to set the journal aside. True when it was set aside.
bool showJournalFailure(QWidget* parent, Dialogs& dialogs, const ProjectFiles& files, const QString& title,
                        const JournalReport& report);

// The journalled insertion commands of the Herramientas menu: "Deshacer
// última inserción" (mnuDeshacer), usable only while the project's journal
// holds an insertion, and "Insertar todos los scripts traducidos"
// (mnuInsertarTodos), which encodes every saved translation, shows the
// report and writes the insertable scripts as one step. Both hold the
// project journal's lock while they work.
class InsertionTools : public QObject {
    Q_OBJECT
public:
    InsertionTools(QWidget* window, QMenu* tools, Workspace& workspace, Dialogs& dialogs);

    void undoLastInsertion();
    void insertAllTranslated();

    // Enables "Deshacer" when there is something to undo; runs whenever the
    // menu opens.
    void refresh();

    // Called at each step of a progress window (a seam for tests: the window
    // itself shows only after half a second).
    void onProgress(std::function<void(QProgressDialog&)> hook) { m_onProgress = std::move(hook); }

private:
    // Shows the failure with its reason; for a damaged journal, offers to set
    // it aside. True when it was set aside.
    bool reportFailure(const QString& title, const JournalReport& report);
    void tellNotice(const JournalReport& report);

    QWidget* m_window;
    Workspace& m_workspace;
    Dialogs& m_dialogs;
    QAction* m_mnuDeshacer = nullptr;
    QAction* m_mnuInsertarTodos = nullptr;
    std::function<void(QProgressDialog&)> m_onProgress;
};

} // namespace tradumar
