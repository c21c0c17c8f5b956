#include "insertion/insert_all_dialog.h"

#include <QBrush>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "insertion/insert_all.h"
#include "platform/qt_text.h"
#include "pointers/placement_report.h"

namespace tradumar {

namespace {

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString missingText(const std::vector<MissingCharacter>& missing) {
    QStringList parts;
    for (const MissingCharacter& m : missing)
        parts << QStringLiteral("'%1' [Ascii: %2] en la posición %3")
                     .arg(QString::fromUcs4(&m.character, 1))
                     .arg(m.code)
                     .arg(m.position);
    return QStringLiteral("No existen en la tabla: ") + parts.join(QStringLiteral(", "));
}

QString invalidBlocksText(const std::vector<InvalidBlock>& blocks) {
    QStringList parts;
    for (const InvalidBlock& b : blocks)
        parts << QStringLiteral("'%1' en la posición %2").arg(toQString(b.block)).arg(b.position);
    return QStringLiteral("Bloques no válidos: ") + parts.join(QStringLiteral(", "));
}

QString statusText(const PlannedScript& s, bool includeOverBudget) {
    switch (s.status) {
    case PlannedScript::Status::Fits:
        return QStringLiteral("Se insertará");
    case PlannedScript::Status::OverBudget:
        return QStringLiteral("Excede en %1 byte(s): %2")
            .arg(static_cast<qint64>(s.bytes.size()) - s.budget)
            .arg(includeOverBudget ? QStringLiteral("se insertará") : QStringLiteral("no se insertará"));
    case PlannedScript::Status::MissingCharacters:
        return s.invalidBlocks.empty()
                   ? missingText(s.missing)
                   : missingText(s.missing) + QStringLiteral("; ") + invalidBlocksText(s.invalidBlocks);
    case PlannedScript::Status::InvalidBlocks:
        return invalidBlocksText(s.invalidBlocks);
    case PlannedScript::Status::EncodeFailed:
        if (s.error == FailureCode::PathFileAccess)
            return QStringLiteral("No se pudo leer la traducción (%1)").arg(s.error);
        if (s.error == FailureCode::Overflow && s.errorAt == 0)
            return QStringLiteral("El texto pasa de 32767 caracteres (error %1)").arg(s.error);
        return QStringLiteral("Bloque sin cerrar en la posición %1 (error %2)").arg(s.errorAt).arg(s.error);
    case PlannedScript::Status::NoBudget:
        return QStringLiteral("El nombre no indica dirección y tamaño");
    }
    return {};
}

} // namespace

InsertAllDialog::InsertAllDialog(const InsertAllPlan& plan, QWidget* parent) : QDialog(parent), m_plan(plan) {
    setObjectName(QStringLiteral("frmInsertarTodos"));
    setWindowTitle(QStringLiteral("Insertar todos los scripts traducidos"));
    resize(760, 440);

    m_lblResumen = new QLabel(this);
    m_lblResumen->setObjectName(QStringLiteral("lblResumen"));

    m_grdScripts = new QTableWidget(static_cast<int>(plan.scripts.size()), 4, this);
    m_grdScripts->setObjectName(QStringLiteral("grdScripts"));
    m_grdScripts->setHorizontalHeaderLabels({QStringLiteral("Script"), QStringLiteral("Bytes"),
                                             QStringLiteral("Tamaño original"), QStringLiteral("Resultado")});
    m_grdScripts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdScripts->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdScripts->verticalHeader()->hide();
    m_grdScripts->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < m_grdScripts->rowCount(); ++row) {
        const PlannedScript& s = plan.scripts[static_cast<std::size_t>(row)];
        const bool hasBytes =
            s.status == PlannedScript::Status::Fits || s.status == PlannedScript::Status::OverBudget;
        const bool hasBudget = s.status != PlannedScript::Status::NoBudget;
        m_grdScripts->setItem(row, 0, new QTableWidgetItem(toQString(s.fileName)));
        m_grdScripts->setItem(row, 1,
                              new QTableWidgetItem(hasBytes ? QString::number(s.bytes.size()) : QString()));
        m_grdScripts->setItem(row, 2,
                              new QTableWidgetItem(hasBudget ? QString::number(s.budget) : QString()));
        m_grdScripts->setItem(row, 3, new QTableWidgetItem);
        for (int column : {1, 2})
            m_grdScripts->item(row, column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_grdScripts->resizeColumnsToContents();
    m_grdScripts->setColumnWidth(0, std::max(m_grdScripts->columnWidth(0), 150));

    m_chkExcedidos = new QCheckBox(QStringLiteral("Insertar también los que exceden su tamaño"), this);
    m_chkExcedidos->setObjectName(QStringLiteral("chkExcedidos"));
    m_chkReubicar = new QCheckBox(QStringLiteral("Reubicar los que exceden su tamaño"), this);
    m_chkReubicar->setObjectName(QStringLiteral("chkReubicar"));
    m_chkReubicar->setToolTip(
        QStringLiteral("Mueve al espacio libre los scripts con punteros que no caben en su lugar"));
    m_chkReubicar->hide();
    m_cmdInsertarTodos = new QPushButton(QStringLiteral("Insertar"), this);
    m_cmdInsertarTodos->setObjectName(QStringLiteral("cmdInsertarTodos"));
    m_cmdInsertarTodos->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("cmdCancelar"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_chkExcedidos);
    buttons->addWidget(m_chkReubicar);
    buttons->addStretch();
    buttons->addWidget(m_cmdInsertarTodos);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblResumen);
    layout->addWidget(m_grdScripts);
    layout->addLayout(buttons);

    connect(m_chkExcedidos, &QCheckBox::toggled, this, &InsertAllDialog::update);
    connect(m_chkReubicar, &QCheckBox::toggled, this, &InsertAllDialog::update);
    connect(m_cmdInsertarTodos, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    update();
}

bool InsertAllDialog::includeOverBudget() const {
    return m_chkExcedidos->isChecked();
}

void InsertAllDialog::setPlacements(std::vector<Placement> inPlace, std::vector<Placement> relocated) {
    m_inPlace = std::move(inPlace);
    m_relocated = std::move(relocated);
    // Both lists hold the insertable scripts of the plan in its order.
    m_rowPlacement.assign(m_plan.scripts.size(), std::nullopt);
    std::size_t next = 0;
    for (std::size_t row = 0; row < m_plan.scripts.size() && next < m_inPlace.size(); ++row)
        if (m_plan.scripts[row].fileName == m_inPlace[next].script)
            m_rowPlacement[row] = next++;
    m_chkReubicar->show();
    update();
}

bool InsertAllDialog::relocate() const {
    return m_chkReubicar->isChecked();
}

const Placement* InsertAllDialog::placementOf(int row) const {
    const auto index = static_cast<std::size_t>(row);
    if (index >= m_rowPlacement.size() || !m_rowPlacement[index])
        return nullptr;
    const std::vector<Placement>& chosen = relocate() ? m_relocated : m_inPlace;
    return *m_rowPlacement[index] < chosen.size() ? &chosen[*m_rowPlacement[index]] : nullptr;
}

std::vector<Placement> InsertAllDialog::chosenPlacements() const {
    std::vector<Placement> out;
    for (int row = 0; row < static_cast<int>(m_plan.scripts.size()); ++row) {
        const Placement* p = placementOf(row);
        if (p == nullptr)
            continue;
        if (placementLine(*p).fits) {
            out.push_back(*p);
        } else if (includeOverBudget()) {
            out.push_back(*p);
            acceptInPlace(out.back(), m_plan.scripts[static_cast<std::size_t>(row)].bytes);
        }
    }
    return out;
}

void InsertAllDialog::update() {
    const bool over = includeOverBudget();
    std::size_t scripts = 0, bytes = 0, blocked = 0, moved = 0;
    int overBoxes = 0;
    for (int row = 0; row < m_grdScripts->rowCount(); ++row) {
        const PlannedScript& s = m_plan.scripts[static_cast<std::size_t>(row)];
        bool insertable = s.insertable(over);
        QString text = statusText(s, over);
        if (const Placement* p = placementOf(row)) {
            // With the script's place known, the report says where it goes,
            // in the words of the command line's insertion.
            const PlacementLine line = placementLine(*p);
            insertable = line.fits || over;
            moved += p->kind == Placement::Kind::Move;
            text = utf8(line.text);
            if (!line.fits)
                text += over ? QStringLiteral(": se insertará") : QStringLiteral(": no se insertará");
            text[0] = text[0].toUpper();
        }
        scripts += insertable;
        bytes += insertable ? s.bytes.size() : 0;
        blocked += s.status != PlannedScript::Status::Fits && s.status != PlannedScript::Status::OverBudget;
        overBoxes += !s.boxes.fits();
        QTableWidgetItem* status = m_grdScripts->item(row, 3);
        status->setText(s.boxes.fits() ? text : text + QStringLiteral("; ") + toQString(textBoxCountsText(s.boxes)));
        status->setToolTip(status->text());
        const QBrush colour = insertable ? palette().text() : QBrush(Qt::darkRed);
        for (int column = 0; column < 4; ++column)
            m_grdScripts->item(row, column)->setForeground(colour);
    }
    QString summary = QStringLiteral("Se insertarán %1 de %2 scripts traducidos (%3 bytes).")
                          .arg(scripts)
                          .arg(m_plan.scripts.size())
                          .arg(bytes);
    if (moved > 0)
        summary += QStringLiteral(" Se reubicarán %1.").arg(moved);
    if (blocked > 0)
        summary += QStringLiteral(" %1 no se pueden insertar.").arg(blocked);
    // Said, but no bar: the translator decides whether the text is right.
    if (overBoxes > 0)
        summary += QStringLiteral(" %1.").arg(toQString(boxesSummaryText(overBoxes)));
    m_lblResumen->setText(summary);
    m_cmdInsertarTodos->setEnabled(scripts > 0);
}

} // namespace tradumar
