#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "pointers/pointer_file.h"
#include "pointers/pointer_search.h"

class QLabel;
class QTableWidget;

namespace tradumar {

class Dialogs;
struct Workspace;

// frmPunteros ("Buscar punteros"): the places in the ROM whose bytes, read
// in the project's pointer format, point at a script, each with its
// neighbouring bytes and a tick. "Confirmar" stores the ticked ones with the
// script in the pointer file; those already confirmed show ticked and fixed.
class PointerSearchDialog : public QDialog {
    Q_OBJECT
public:
    PointerSearchDialog(Dialogs& dialogs, std::string pointerPath, PointerFile file, std::string script,
                        std::int64_t target, std::vector<PointerCandidate> candidates, Bytes pointerBytes,
                        QWidget* parent = nullptr);

    void confirmTicked();

private:
    void fill();

    Dialogs& m_dialogs;
    std::string m_pointerPath;
    PointerFile m_file;
    std::string m_script;
    std::vector<PointerCandidate> m_candidates;
    Bytes m_pointerBytes; // each candidate's own bytes, one after another
    QTableWidget* m_grdCandidatos = nullptr;
};

// "Buscar punteros" for a script of the open project: says why it cannot
// search (the pointer file, the ROM, a name without a place) or opens the
// dialog.
void searchPointers(QWidget* parent, Dialogs& dialogs, const Workspace& workspace, const std::string& script);

} // namespace tradumar
