#pragma once

class QMenu;
class QWidget;

namespace tradumar {

class Dialogs;
class FileList;
struct Workspace;

// The pointer commands of the window: "Buscar punteros..." in the script
// list's context menu (mnuBuscarPunteros), for the script under the click,
// and "Espacio libre..." in Herramientas (mnuEspacioLibre).
void installPointerTools(QWidget* window, QMenu* tools, FileList* scripts, const Workspace& workspace,
                         Dialogs& dialogs);

} // namespace tradumar
