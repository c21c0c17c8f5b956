#pragma once

#include <QDialog>

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

private:
    void update();

    const InsertAllPlan& m_plan;
    QLabel* m_lblResumen = nullptr;
    QTableWidget* m_grdScripts = nullptr;
    QCheckBox* m_chkExcedidos = nullptr;
    QPushButton* m_cmdInsertarTodos = nullptr;
};

} // namespace tradumar
