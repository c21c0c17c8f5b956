#include "workspace/pointer_tools.h"

#include <QAction>
#include <QMenu>

#include "platform/qt_text.h"
#include "workspace/file_list.h"
#include "workspace/free_space_dialog.h"
#include "workspace/pointer_search_dialog.h"

namespace tradumar {

void installPointerTools(QWidget* window, QMenu* tools, FileList* scripts, const Workspace& workspace,
                         Dialogs& dialogs) {
    auto* search = new QAction(QStringLiteral("Buscar punteros..."), scripts);
    search->setObjectName(QStringLiteral("mnuBuscarPunteros"));
    scripts->setContextMenuPolicy(Qt::ActionsContextMenu);
    scripts->addAction(search);
    QObject::connect(search, &QAction::triggered, window, [=, &workspace, &dialogs] {
        const QString script = scripts->selectedFileName();
        if (!script.isEmpty())
            searchPointers(window, dialogs, workspace, pathFromQString(script));
    });

    QAction* freeSpace = tools->addAction(QStringLiteral("Espacio &libre..."));
    freeSpace->setObjectName(QStringLiteral("mnuEspacioLibre"));
    freeSpace->setParent(window);
    QObject::connect(freeSpace, &QAction::triggered, window,
                     [=, &workspace, &dialogs] { editFreeSpace(window, dialogs, workspace); });
}

} // namespace tradumar
