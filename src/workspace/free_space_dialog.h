#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "pointers/pointer_file.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace tradumar {

class Dialogs;

// frmEspacioLibre ("Herramientas > Espacio libre..."): the ROM ranges the
// translator declares free (one "inicio-fin" in hexadecimal per line), the
// filler byte and the alignment of relocated scripts, kept in the pointer
// file, and what of that space is still free now.
class FreeSpaceDialog : public QDialog {
    Q_OBJECT
public:
    // `scripts`: the project's script names; `rom`: its bytes, to work out
    // where the moved scripts live.
    FreeSpaceDialog(Dialogs& dialogs, std::string pointerPath, PointerFile file,
                    std::vector<std::string> scripts, Bytes rom, QWidget* parent = nullptr);

    // "Guardar": checks every line, saves the pointer file whole and shows
    // what is free now. False when something was refused.
    bool save();

private:
    void showFree();

    Dialogs& m_dialogs;
    std::string m_pointerPath;
    PointerFile m_file;
    std::vector<std::string> m_scripts;
    Bytes m_rom;
    QPlainTextEdit* m_txtRangos = nullptr;
    QLineEdit* m_txtRelleno = nullptr;
    QSpinBox* m_spnAlineacion = nullptr;
    QLabel* m_lblQueda = nullptr;
};

struct Workspace;
// Opens the dialog for the open project, or says why the pointer file cannot be read.
void editFreeSpace(QWidget* parent, Dialogs& dialogs, const Workspace& workspace);

} // namespace tradumar
