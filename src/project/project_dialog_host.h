#pragma once

#include <QString>

namespace tradumar {

// What the project dialog does to the main window, and nothing more. The
// dialog points the script list at a newly picked scripts folder, and after a
// successful "Aceptar" puts the window into its working state. It never loads
// the tables, never points the search lists, never touches the caption and
// never selects or opens a script: opening a project does those.
class ProjectDialogHost {
public:
    virtual ~ProjectDialogHost() = default;

    // Points the script list `Scripts` (pattern "*.txt") at the folder. False
    // when the folder cannot be listed; the dialog then says "Directorio no
    // válido". Visibility is left as it is.
    virtual bool pointScriptList(const QString& folder) = 0;

    // The number of entries the script list shows now.
    virtual int scriptListCount() const = 0;

    // Enables the editing buttons and both panes (`habilitar`).
    virtual void habilitar() = 0;

    // Enables mnuCerrar, mnuConfig, mnuGuardar, mnuEdición and mnuHerramientas
    // (`habilitar_menus`).
    virtual void habilitarMenus() = 0;

    // After "Aceptar": mnuAbrir is disabled first, then mnuNuevo.
    virtual void disableMnuAbrir() = 0;
    virtual void disableMnuNuevo() = 0;

    // Makes the script list visible.
    virtual void showScriptList() = 0;
};

} // namespace tradumar
