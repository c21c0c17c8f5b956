#include "project/limits_group.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "boxes/text_boxes.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/project_settings.h"

namespace tradumar {

LimitsGroup::LimitsGroup(Dialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Cajas de texto y ROM"), parent), m_dialogs(dialogs), m_line(new QSpinBox(this)),
      m_lines(new QSpinBox(this)), m_breaks(new QLineEdit(this)), m_widths(new QLineEdit(this)),
      m_checksum(new QCheckBox(QStringLiteral("Corregir la suma de control"), this)) {
    setObjectName(QStringLiteral("fraLimites"));
    const auto label = [this](const char* name, const QString& text, QRect geometry) {
        auto* caption = new QLabel(text, this);
        caption->setObjectName(QLatin1String(name));
        caption->setGeometry(geometry);
    };
    label("lblLargo", QStringLiteral("Caracteres por línea:"), {10, 22, 118, 15});
    m_line->setObjectName(QStringLiteral("txtLargo"));
    m_line->setGeometry(128, 19, 90, 21);
    label("lblLineasCaja", QStringLiteral("Líneas por caja:"), {234, 22, 96, 15});
    m_lines->setObjectName(QStringLiteral("txtLineasCaja"));
    m_lines->setGeometry(330, 19, 90, 21);
    for (QSpinBox* box : {m_line, m_lines}) {
        box->setRange(0, 9999);
        box->setSpecialValueText(QStringLiteral("sin límite"));
    }
    m_line->setToolTip(QStringLiteral("En píxeles cuando hay una tabla de anchos; 0: sin límite"));
    label("lblFinCaja", QStringLiteral("Fin de caja:"), {334, 50, 70, 15});
    m_breaks->setObjectName(QStringLiteral("txtFinCaja"));
    m_breaks->setGeometry(404, 47, 66, 21);
    m_breaks->setToolTip(QStringLiteral("Bloques que cierran una caja, separados por comas, p. ej. <01>"));

    label("lblAnchos", QStringLiteral("Tabla de anchos:"), {10, 50, 118, 15});
    m_widths->setObjectName(QStringLiteral("txtAnchos"));
    m_widths->setGeometry(128, 47, 168, 21);
    auto* pick = new QPushButton(QStringLiteral("..."), this);
    pick->setObjectName(QStringLiteral("cmdAnchos"));
    pick->setAutoDefault(false);
    pick->setGeometry(300, 47, 25, 21);
    connect(pick, &QPushButton::clicked, this, &LimitsGroup::pickWidthTable);
    m_checksum->setObjectName(QStringLiteral("chkSumaControl"));
    m_checksum->setGeometry(10, 74, 260, 18);
    m_checksum->setToolTip(
        QStringLiteral("Tras cada inserción, deshacer o reubicación (SNES, Mega Drive y Game Boy)"));
}

void LimitsGroup::fill(const ProjectSettings& settings) {
    const TextBoxLimits& limits = settings.textBoxLimits;
    m_line->setValue(limits.lineLength);
    m_lines->setValue(limits.boxLines);
    m_breaks->setText(toQString(formatBoxBreaks(limits.boxBreaks)));
    m_widths->setText(pathToQString(limits.widthTablePath));
    m_checksum->setChecked(settings.fixChecksum);
}

void LimitsGroup::apply(ProjectSettings& settings) const {
    TextBoxLimits& limits = settings.textBoxLimits;
    limits.lineLength = m_line->value();
    limits.boxLines = m_lines->value();
    limits.boxBreaks = parseBoxBreaks(fromQString(m_breaks->text()));
    limits.widthTablePath = pathFromQString(m_widths->text());
    settings.fixChecksum = m_checksum->isChecked();
}

void LimitsGroup::pickWidthTable() {
    FileRequest request;
    request.title = QStringLiteral("Tabla de anchos");
    request.filter = QStringLiteral("Tabla de anchos (*.txt)|*.txt|Todos los archivos (*.*)|*.*");
    const QString chosen = m_dialogs.openFile(this, request);
    if (!chosen.isEmpty())
        m_widths->setText(chosen);
}

} // namespace tradumar
