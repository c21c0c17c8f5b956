#include "workspace/free_space_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/file_io.h"
#include "platform/platform.h"
#include "pointers/placement_report.h"
#include "pointers/pointer_search.h"
#include "pointers/script_places.h"
#include "project/project_model.h"
#include "project/script_files.h"
#include "project/workspace.h"

namespace tradumar {

namespace {

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A range as typed: blanks around it and an optional "0x" before each end.
std::optional<ByteRange> typedRange(QString line) {
    line = line.trimmed().remove(QStringLiteral("0x"), Qt::CaseInsensitive).remove(QLatin1Char(' '));
    return parseByteRange(line.toStdString());
}

} // namespace

FreeSpaceDialog::FreeSpaceDialog(Dialogs& dialogs, std::string pointerPath, PointerFile file,
                                 std::vector<std::string> scripts, Bytes rom, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_pointerPath(std::move(pointerPath)), m_file(std::move(file)),
      m_scripts(std::move(scripts)), m_rom(std::move(rom)) {
    setObjectName(QStringLiteral("frmEspacioLibre"));
    setWindowTitle(QStringLiteral("Espacio libre"));
    resize(420, 380);

    m_txtRangos = new QPlainTextEdit(this);
    m_txtRangos->setObjectName(QStringLiteral("txtRangos"));
    m_txtRangos->setFont(QFont(QStringLiteral("Monospace")));
    QStringList ranges;
    for (const ByteRange& r : m_file.freeRanges)
        ranges << utf8(byteRangeText(r));
    m_txtRangos->setPlainText(ranges.join(QLatin1Char('\n')));
    m_txtRelleno = new QLineEdit(utf8(hexBytesText({m_file.filler})), this);
    m_txtRelleno->setObjectName(QStringLiteral("txtRelleno"));
    m_txtRelleno->setMaxLength(2);
    m_txtRelleno->setInputMask(QStringLiteral("HH"));
    m_spnAlineacion = new QSpinBox(this);
    m_spnAlineacion->setObjectName(QStringLiteral("spnAlineacion"));
    m_spnAlineacion->setRange(1, 65536);
    m_spnAlineacion->setValue(m_file.alignment);
    m_lblQueda = new QLabel(this);
    m_lblQueda->setObjectName(QStringLiteral("lblQueda"));
    m_lblQueda->setTextFormat(Qt::PlainText);
    m_lblQueda->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rangos libres (inicio-fin en hexadecimal, uno por línea):"), m_txtRangos);
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    form->addRow(QStringLiteral("Byte de relleno (hex):"), m_txtRelleno);
    form->addRow(QStringLiteral("Alineación:"), m_spnAlineacion);
    form->addRow(QStringLiteral("Libre ahora:"), m_lblQueda);

    auto* saveButton = new QPushButton(QStringLiteral("Guardar"), this);
    saveButton->setObjectName(QStringLiteral("cmdGuardar"));
    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    close->setObjectName(QStringLiteral("cmdCerrar"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, &FreeSpaceDialog::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    showFree();
}

void FreeSpaceDialog::showFree() {
    QStringList lines;
    for (const ByteRange& r : freeSpace(m_file, locateScripts(m_scripts, m_file, m_rom)))
        lines << QStringLiteral("%1 (%2 bytes)").arg(utf8(byteRangeText(r))).arg(r.size());
    m_lblQueda->setText(lines.isEmpty() ? QStringLiteral("Nada") : lines.join(QLatin1Char('\n')));
}

bool FreeSpaceDialog::save() {
    std::vector<ByteRange> ranges;
    const QStringList lines = m_txtRangos->toPlainText().split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const std::optional<ByteRange> range = typedRange(lines[i]);
        if (!range) {
            m_dialogs.inform(this,
                             QStringLiteral("La línea %1 («%2») no es un rango INICIO-FIN en hexadecimal.")
                                 .arg(i + 1)
                                 .arg(lines[i].trimmed()));
            return false;
        }
        ranges.push_back(*range);
    }
    const std::optional<std::int64_t> filler = parseHexNumber(m_txtRelleno->text().toStdString());
    if (!filler || *filler > 0xFF) {
        m_dialogs.inform(this, QStringLiteral("El byte de relleno debe ser hexadecimal, de 00 a FF."));
        return false;
    }
    PointerFile updated = m_file;
    updated.freeRanges = mergeRanges(std::move(ranges));
    updated.filler = static_cast<std::uint8_t>(*filler);
    updated.alignment = m_spnAlineacion->value();
    if (const int error = savePointerFile(m_pointerPath, updated); error != 0) {
        m_dialogs.inform(this, utf8(pointerFileSaveFailureText(m_pointerPath, error)));
        return false;
    }
    m_file = std::move(updated);
    QStringList merged;
    for (const ByteRange& r : m_file.freeRanges)
        merged << utf8(byteRangeText(r));
    m_txtRangos->setPlainText(merged.join(QLatin1Char('\n')));
    showFree();
    return true;
}

void editFreeSpace(QWidget* parent, Dialogs& dialogs, const Workspace& workspace) {
    const std::string pointerPath = pointerFilePathFor(workspace.settings.projectFilePath);
    PointerFileLoad load = loadPointerFile(pointerPath);
    if (!load.ok()) {
        dialogs.inform(parent, utf8(pointerFileFailureText(pointerPath, load)));
        return;
    }
    const std::optional<std::string> rom = readWholeFile(workspace.settings.romPath);
    FreeSpaceDialog dialog(dialogs, pointerPath, std::move(load.file),
                           scriptFileNames(workspace.settings.scriptsFolder),
                           rom ? Bytes(rom->begin(), rom->end()) : Bytes(), parent);
    dialog.exec();
}

} // namespace tradumar
