#include "pointers/extraction_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/file_io.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "pointers/verification.h"
#include "project/workspace.h"

namespace tradumar {
namespace {

// The preview decodes this many scripts.
constexpr int kPreviewScripts = 12;

QComboBox* choices(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->addItems(items);
    return box;
}

QLineEdit* field(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setPlaceholderText(hint);
    return edit;
}

// A script's text on one line of the preview: its line breaks as "↵".
QString oneLine(const std::string& text) {
    QString line = toQString(text);
    line.replace(QLatin1Char('\n'), QStringLiteral(" \u21B5 "));
    return line;
}

} // namespace

ExtractionDialog::ExtractionDialog(const Workspace& workspace, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmExtraer"));
    setWindowTitle(QStringLiteral("Extraer scripts"));
    if (const std::optional<std::string> rom = readWholeFile(workspace.settings.romPath))
        m_rom.assign(rom->begin(), rom->end());
    m_tableProblem = extractionTableProblem(workspace.originalTable);

    m_optPunteros = new QRadioButton(QStringLiteral("Por una tabla de &punteros"), this);
    m_optPunteros->setObjectName(QStringLiteral("optPunteros"));
    m_optRangos = new QRadioButton(QStringLiteral("Por &rangos de la ROM"), this);
    m_optRangos->setObjectName(QStringLiteral("optRangos"));
    m_optPunteros->setChecked(true);

    m_fraPunteros = new QWidget(this);
    m_txtDireccion = field(m_fraPunteros, "txtDireccion", {}, QStringLiteral("hexadecimal, p. ej. 1A000"));
    m_txtCuenta = field(m_fraPunteros, "txtCuenta", {}, QStringLiteral("decimal"));
    m_cboTamano =
        choices(m_fraPunteros, "cboTamano", {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    m_cboOrden = choices(m_fraPunteros, "cboOrden",
                         {QStringLiteral("little-endian (le)"), QStringLiteral("big-endian (be)")});
    m_cboMapa = choices(m_fraPunteros, "cboMapa",
                        {QStringLiteral("lineal"), QStringLiteral("lorom"), QStringLiteral("hirom")});
    m_txtDesplazamiento = field(m_fraPunteros, "txtDesplazamiento", QStringLiteral("0"),
                                QStringLiteral("hexadecimal, p. ej. -8000000"));
    m_cboCabecera = choices(m_fraPunteros, "cboCabecera", {QStringLiteral("0"), QStringLiteral("512")});
    m_txtPaso = field(m_fraPunteros, "txtPaso", {}, QStringLiteral("el tamaño del puntero"));
    auto* form = new QFormLayout(m_fraPunteros);
    form->setContentsMargins(20, 0, 0, 0);
    form->addRow(QStringLiteral("Dirección de la tabla:"), m_txtDireccion);
    form->addRow(QStringLiteral("Número de punteros:"), m_txtCuenta);
    form->addRow(QStringLiteral("Tamaño (bytes):"), m_cboTamano);
    form->addRow(QStringLiteral("Orden de los bytes:"), m_cboOrden);
    form->addRow(QStringLiteral("Mapa:"), m_cboMapa);
    form->addRow(QStringLiteral("Desplazamiento:"), m_txtDesplazamiento);
    form->addRow(QStringLiteral("Cabecera de copiadora:"), m_cboCabecera);
    form->addRow(QStringLiteral("Paso entre punteros:"), m_txtPaso);

    m_txtRangos = new QPlainTextEdit(this);
    m_txtRangos->setObjectName(QStringLiteral("txtRangos"));
    m_txtRangos->setPlaceholderText(
        QStringLiteral("Un rango inicio-fin por línea, en hexadecimal:\n18000-18FFF"));
    m_txtRangos->setFixedHeight(m_txtRangos->fontMetrics().height() * 4 + 12);

    m_lblVista = new QLabel(this);
    m_lblVista->setObjectName(QStringLiteral("lblVista"));
    m_lblVista->setWordWrap(true);
    m_tblVista = new QTableWidget(0, 2, this);
    m_tblVista->setObjectName(QStringLiteral("tblVista"));
    m_tblVista->setHorizontalHeaderLabels({QStringLiteral("Script"), QStringLiteral("Texto")});
    m_tblVista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tblVista->verticalHeader()->hide();
    m_tblVista->horizontalHeader()->setStretchLastSection(true);
    m_tblVista->verticalHeader()->setDefaultSectionSize(m_tblVista->fontMetrics().height() + 4);

    auto* extract = new QPushButton(QStringLiteral("&Extraer"), this);
    extract->setObjectName(QStringLiteral("cmdExtraer"));
    extract->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("cmdCancelar"));
    connect(extract, &QPushButton::clicked, this, &ExtractionDialog::extract);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* heading = new QLabel(
        QStringLiteral("Se leerá la ROM %1 con la tabla original. Los archivos que ya existan no se tocan.")
            .arg(QFileInfo(pathToQString(workspace.settings.romPath)).fileName()),
        this);
    heading->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(extract);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_optPunteros);
    layout->addWidget(m_fraPunteros);
    layout->addWidget(m_optRangos);
    layout->addWidget(m_txtRangos);
    layout->addWidget(new QLabel(QStringLiteral("Vista previa de los primeros scripts:"), this));
    layout->addWidget(m_lblVista);
    layout->addWidget(m_tblVista, 1);
    layout->addLayout(buttons);
    resize(620, 640);

    for (QLineEdit* edit : {m_txtDireccion, m_txtCuenta, m_txtDesplazamiento, m_txtPaso})
        connect(edit, &QLineEdit::textChanged, this, &ExtractionDialog::updatePreview);
    for (QComboBox* box : {m_cboTamano, m_cboOrden, m_cboMapa, m_cboCabecera})
        connect(box, &QComboBox::currentIndexChanged, this, &ExtractionDialog::updatePreview);
    connect(m_txtRangos, &QPlainTextEdit::textChanged, this, &ExtractionDialog::updatePreview);
    connect(m_optPunteros, &QRadioButton::toggled, this, &ExtractionDialog::showMode);
    showMode();
}

void ExtractionDialog::showMode() {
    m_fraPunteros->setEnabled(m_optPunteros->isChecked());
    m_txtRangos->setEnabled(m_optRangos->isChecked());
    updatePreview();
}

ExtractionInput ExtractionDialog::input() const {
    ExtractionInput in;
    in.byTable = m_optPunteros->isChecked();
    in.start = fromQString(m_txtDireccion->text());
    in.count = fromQString(m_txtCuenta->text());
    in.step = fromQString(m_txtPaso->text());
    in.displacement = fromQString(m_txtDesplazamiento->text());
    in.format.size = m_cboTamano->currentIndex() + 2;
    in.format.order = m_cboOrden->currentIndex() == 0 ? ByteOrder::Little : ByteOrder::Big;
    in.format.map = static_cast<AddressMap>(m_cboMapa->currentIndex());
    in.format.header = m_cboCabecera->currentIndex() == 0 ? 0 : 512;
    in.ranges = fromQString(m_txtRangos->toPlainText());
    return in;
}

ExtractionInputCheck ExtractionDialog::check() const {
    ExtractionInputCheck checked = parseExtractionInput(input(), static_cast<std::int64_t>(m_rom.size()));
    if (checked.ok() && !m_tableProblem.empty())
        checked.problem = m_tableProblem;
    return checked;
}

void ExtractionDialog::updatePreview() {
    const ExtractionInputCheck checked = check();
    m_tblVista->setRowCount(0);
    if (!checked.ok()) {
        m_lblVista->setText(toQString(checked.problem));
        m_lblVista->setVisible(true);
        return;
    }
    const Extraction found =
        extractScripts(m_rom, m_workspace.originalTable, previewRequest(checked.request, kPreviewScripts),
                       m_workspace.settings.leftCharacter(), m_workspace.settings.rightCharacter());
    m_lblVista->setText(found.scripts.empty() ? QStringLiteral("No se encuentra ningún script ahí.")
                                              : QString());
    m_lblVista->setVisible(!m_lblVista->text().isEmpty());
    const int rows = std::min(static_cast<int>(found.scripts.size()), kPreviewScripts);
    m_tblVista->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const ExtractedScript& script = found.scripts[static_cast<std::size_t>(row)];
        m_tblVista->setItem(row, 0, new QTableWidgetItem(toQString(script.fileName())));
        m_tblVista->setItem(row, 1, new QTableWidgetItem(oneLine(script.text)));
    }
    m_tblVista->resizeColumnToContents(0);
}

void ExtractionDialog::extract() {
    const ExtractionInputCheck checked = check();
    if (!checked.ok()) {
        m_dialogs.inform(this, toQString(checked.problem), windowTitle());
        return;
    }
    const ProjectSettings& settings = m_workspace.settings;
    const std::string pointerPath = pointerFilePathFor(settings.projectFilePath);
    // A pointer file that cannot be read whole is never rewritten: nothing
    // is extracted until it is put right.
    if (const PointerFileLoad load = loadPointerFile(pointerPath); !load.ok()) {
        m_dialogs.inform(this, toQString(pointerFileFailureText(pointerPath, load)), windowTitle());
        return;
    }
    const Extraction found = extractScripts(m_rom, m_workspace.originalTable, checked.request,
                                            settings.leftCharacter(), settings.rightCharacter());
    ExtractionWrite written;
    if (!found.scripts.empty())
        written = writeExtractedScripts(settings.scriptsFolder, pointerPath, found, checked.request,
                                        settings.legacyCodePage);
    m_dialogs.inform(this,
                     toQString(extractionReportText(
                         found, written, pathFromQString(QFileInfo(pathToQString(pointerPath)).fileName()))),
                     windowTitle());
    if (!found.scripts.empty())
        accept();
}

} // namespace tradumar
