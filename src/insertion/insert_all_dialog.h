#pragma once

#include <optional>
#include <vector>

#include <QDialog>

#include "pointers/relocation.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tradumar {

struct InsertAllPlan;

// frmInsertarTodos: the report shown before every saved translation is
// written. One row per script (its bytes against its budget and what will
// happen to it), the reasons a script cannot be inserted, and the choice to
// insert the ones over budget too. Writes nothing itself.
class InsertAllDialog : public QDialog {
    Q_OBJECT
public:
    InsertAllDialog(const InsertAllPlan& plan, QWidget* parent = nullptr);

    bool includeOverBudget() const;

    // Where each insertable script goes, where it lives now and with the
    // over-budget ones moved to free space; shows the tick
    // "Reubicar los que exceden su tamaño" (chkReubicar) to choose between them.
    void setPlacements(std::vector<Placement> inPlace, std::vector<Placement> relocated);
    bool relocate() const;
    // The placements to write, in the list's order, the over-budget ones
    // accepted in place only when "Insertar también..." is ticked.
    std::vector<Placement> chosenPlacements() const;

private:
    void update();
    // The placement of a row under the current choice; none for a script
    // that cannot be inserted.
    const Placement* placementOf(int row) const;

    const InsertAllPlan& m_plan;
    QLabel* m_lblResumen = nullptr;
    QTableWidget* m_grdScripts = nullptr;
    QCheckBox* m_chkExcedidos = nullptr;
    QCheckBox* m_chkReubicar = nullptr;
    std::vector<Placement> m_inPlace;
    std::vector<Placement> m_relocated;
    std::vector<std::optional<std::size_t>> m_rowPlacement;
    QPushButton* m_cmdInsertarTodos = nullptr;
};

} // namespace tradumar
