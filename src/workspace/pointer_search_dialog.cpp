#include "workspace/pointer_search_dialog.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/file_io.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "pointers/placement_report.h"
#include "pointers/script_places.h"
#include "project/script_files.h"
#include "project/workspace.h"

namespace tradumar {

namespace {

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString hexAddress(std::int64_t offset) {
    return QStringLiteral("0x") + utf8(hexNumber(offset));
}

} // namespace

PointerSearchDialog::PointerSearchDialog(Dialogs& dialogs, std::string pointerPath, PointerFile file,
                                         std::string script, std::int64_t target,
                                         std::vector<PointerCandidate> candidates, Bytes pointerBytes,
                                         QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_pointerPath(std::move(pointerPath)), m_file(std::move(file)),
      m_script(std::move(script)), m_candidates(std::move(candidates)),
      m_pointerBytes(std::move(pointerBytes)) {
    setObjectName(QStringLiteral("frmPunteros"));
    setWindowTitle(QStringLiteral("Buscar punteros"));
    resize(780, 360);

    auto* where = new QLabel(
        QStringLiteral("Valores que apuntan a %1 (%2) con el formato %3. Marque los que sean punteros "
                       "del script.")
            .arg(hexAddress(target), utf8(m_script), utf8(m_file.format.text())),
        this);
    where->setObjectName(QStringLiteral("lblUbicacion"));
    where->setWordWrap(true);

    m_grdCandidatos = new QTableWidget(static_cast<int>(m_candidates.size()), 3, this);
    m_grdCandidatos->setObjectName(QStringLiteral("grdCandidatos"));
    m_grdCandidatos->setHorizontalHeaderLabels(
        {QStringLiteral("Dirección"), QStringLiteral("Bytes vecinos"), QStringLiteral("Estado")});
    m_grdCandidatos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdCandidatos->verticalHeader()->hide();
    m_grdCandidatos->horizontalHeader()->setStretchLastSection(true);
    m_grdCandidatos->setFont(QFont(QStringLiteral("Monospace")));

    auto* none = new QLabel(QStringLiteral("No se encontraron candidatos."), this);
    none->setObjectName(QStringLiteral("lblSinCandidatos"));
    none->setVisible(m_candidates.empty());

    auto* confirm = new QPushButton(QStringLiteral("Confirmar"), this);
    confirm->setObjectName(QStringLiteral("cmdConfirmar"));
    confirm->setEnabled(!m_candidates.empty());
    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    close->setObjectName(QStringLiteral("cmdCerrar"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(m_grdCandidatos);
    layout->addWidget(none);
    layout->addLayout(buttons);
    connect(confirm, &QPushButton::clicked, this, &PointerSearchDialog::confirmTicked);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    fill();
}

void PointerSearchDialog::fill() {
    const std::vector<ScriptPointer> known = m_file.pointersOf(m_script);
    const auto size = static_cast<std::size_t>(m_file.format.size);
    for (int row = 0; row < m_grdCandidatos->rowCount(); ++row) {
        const PointerCandidate& c = m_candidates[static_cast<std::size_t>(row)];
        const bool confirmed = std::any_of(known.begin(), known.end(),
                                           [&](const ScriptPointer& p) { return p.offset == c.offset; });
        auto* address = new QTableWidgetItem(hexAddress(c.offset));
        address->setFlags(confirmed ? Qt::ItemIsUserCheckable : Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        address->setCheckState(confirmed ? Qt::Checked : Qt::Unchecked);
        m_grdCandidatos->setItem(row, 0, address);
        const auto own = m_pointerBytes.begin() + static_cast<std::ptrdiff_t>(row * size);
        m_grdCandidatos->setItem(
            row, 1,
            new QTableWidgetItem(utf8(hexBytesText(c.before) + " [" +
                                      hexBytesText(Bytes(own, own + static_cast<std::ptrdiff_t>(size))) +
                                      "] " + hexBytesText(c.after))));
        QString state = confirmed ? QStringLiteral("Confirmado") : QString();
        if (c.inTable)
            state += (state.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("en una tabla");
        m_grdCandidatos->setItem(row, 2, new QTableWidgetItem(state));
    }
    m_grdCandidatos->resizeColumnsToContents();
}

void PointerSearchDialog::confirmTicked() {
    const std::vector<ScriptPointer> known = m_file.pointersOf(m_script);
    std::vector<ScriptPointer> ticked;
    for (int row = 0; row < m_grdCandidatos->rowCount(); ++row) {
        const QTableWidgetItem* item = m_grdCandidatos->item(row, 0);
        const std::int64_t offset = m_candidates[static_cast<std::size_t>(row)].offset;
        if (item->checkState() == Qt::Checked &&
            std::none_of(known.begin(), known.end(),
                         [&](const ScriptPointer& p) { return p.offset == offset; }))
            ticked.push_back({offset, m_file.format});
    }
    if (ticked.empty()) {
        m_dialogs.inform(this, QStringLiteral("Marque los candidatos que sean punteros del script."));
        return;
    }
    PointerFile updated = m_file;
    updated.addPointers(m_script, ticked);
    if (const int error = savePointerFile(m_pointerPath, updated); error != 0) {
        m_dialogs.inform(this, utf8(pointerFileSaveFailureText(m_pointerPath, error)));
        return;
    }
    m_file = std::move(updated);
    fill();
    m_dialogs.inform(
        this,
        QStringLiteral("Se han confirmado %1 puntero(s) de %2.").arg(ticked.size()).arg(utf8(m_script)));
}

void searchPointers(QWidget* parent, Dialogs& dialogs, const Workspace& workspace,
                    const std::string& script) {
    const std::string pointerPath = pointerFilePathFor(workspace.settings.projectFilePath);
    PointerFileLoad load = loadPointerFile(pointerPath);
    if (!load.ok()) {
        dialogs.inform(parent, utf8(pointerFileFailureText(pointerPath, load)));
        return;
    }
    const std::optional<std::string> romText = readWholeFile(workspace.settings.romPath);
    if (!romText) {
        dialogs.inform(parent, QStringLiteral("No se pudo leer la ROM ") + utf8(workspace.settings.romPath) +
                                   QLatin1Char('.'));
        return;
    }
    const Bytes rom(romText->begin(), romText->end());
    const std::optional<ScriptLocation> location = locateScript(script, load.file, rom);
    if (!location) {
        dialogs.inform(parent, utf8(script) + QStringLiteral(": el nombre no indica dirección y tamaño "
                                                             "(DIRECCIÓN[TAMAÑO].txt)."));
        return;
    }
    std::vector<PointerCandidate> candidates =
        findPointerCandidates(rom, load.file.format, location->current.offset);
    Bytes own;
    for (const PointerCandidate& c : candidates) {
        const auto at = rom.begin() + static_cast<std::ptrdiff_t>(c.offset);
        own.insert(own.end(), at, at + load.file.format.size);
    }
    PointerSearchDialog dialog(dialogs, pointerPath, std::move(load.file), script, location->current.offset,
                               std::move(candidates), std::move(own), parent);
    dialog.exec();
}

} // namespace tradumar
