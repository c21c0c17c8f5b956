#include "project/project_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

#include "controls/property_bag.h"
#include "controls/xp_button.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/limits_group.h"
#include "project/project_dialog_host.h"
#include "project/project_settings.h"

namespace tradumar {

namespace {

// The window is laid out on a 96-dpi grid: 15 twips to the pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 10080 / kTwipsPerPixel; // 672
constexpr int kLimitsHeight = 134; // "Cajas de texto y ROM" below the enclosures, the buttons below it
constexpr int kClientHeight = 6120 / kTwipsPerPixel + kLimitsHeight; // 408 + the limits

// Geometry of the right-hand column of fields, in pixels.
constexpr int kFieldLeft = 184;
constexpr int kFieldWidth = 451;
constexpr int kPickerWidth = 25;
constexpr int kFieldHeight = 21;
constexpr int kFirstRowTop = 30;
constexpr int kRowStep = 44;

const QString kTitle = QStringLiteral("Tradumar");

// Removes blanks (not tabs or other white space) at both ends.
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// Our own picture for the dialog: a game cartridge whose label carries a
// speech bubble going from one language into another.
QPixmap drawProjectPicture(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal w = size.width();
    const qreal h = size.height();

    // Backdrop.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x1f, 0x3c, 0x88));
    sky.setColorAt(1, QColor(0x0b, 0x18, 0x3d));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0, 0, w, h), 8, 8);

    // Cartridge body with its notched top.
    const QRectF body(w * 0.14, h * 0.12, w * 0.72, h * 0.76);
    QPainterPath shell;
    shell.moveTo(body.left(), body.top() + 10);
    shell.quadTo(body.left(), body.top(), body.left() + 10, body.top());
    shell.lineTo(body.right() - 10, body.top());
    shell.quadTo(body.right(), body.top(), body.right(), body.top() + 10);
    shell.lineTo(body.right(), body.bottom());
    shell.lineTo(body.right() - body.width() * 0.12, body.bottom());
    shell.lineTo(body.right() - body.width() * 0.12, body.bottom() - 8);
    shell.lineTo(body.left() + body.width() * 0.12, body.bottom() - 8);
    shell.lineTo(body.left() + body.width() * 0.12, body.bottom());
    shell.lineTo(body.left(), body.bottom());
    shell.closeSubpath();
    QLinearGradient plastic(body.topLeft(), body.topRight());
    plastic.setColorAt(0, QColor(0xb8, 0xbc, 0xc4));
    plastic.setColorAt(0.5, QColor(0xe4, 0xe6, 0xea));
    plastic.setColorAt(1, QColor(0x9a, 0x9e, 0xa8));
    p.setBrush(plastic);
    p.setPen(QPen(QColor(0x30, 0x33, 0x3a), 1.5));
    p.drawPath(shell);

    // Grip ridges.
    p.setPen(QPen(QColor(0x80, 0x84, 0x8c), 1.2));
    for (int i = 0; i < 4; ++i) {
        const qreal y = body.top() + 8 + i * 5;
        p.drawLine(QPointF(body.left() + 14, y), QPointF(body.right() - 14, y));
    }

    // Label.
    const QRectF label(body.left() + 10, body.top() + 32, body.width() - 20, body.height() * 0.58);
    QLinearGradient paper(label.topLeft(), label.bottomLeft());
    paper.setColorAt(0, QColor(0xff, 0xc8, 0x3d));
    paper.setColorAt(1, QColor(0xe8, 0x6a, 0x1c));
    p.setBrush(paper);
    p.setPen(QPen(QColor(0x5a, 0x2a, 0x08), 1));
    p.drawRoundedRect(label, 4, 4);

    // Two speech bubbles: the original line and its translation.
    const auto bubble = [&p](const QRectF& r, bool tailLeft, const QColor& fill, const QString& text) {
        QPainterPath path;
        path.addRoundedRect(r, 6, 6);
        QPainterPath tail;
        const qreal x = tailLeft ? r.left() + 10 : r.right() - 10;
        const qreal dx = tailLeft ? -6 : 6;
        tail.moveTo(x - 5, r.bottom() - 1);
        tail.lineTo(x + dx, r.bottom() + 8);
        tail.lineTo(x + 5, r.bottom() - 1);
        tail.closeSubpath();
        path = path.united(tail);
        p.setBrush(fill);
        p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.2));
        p.drawPath(path);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(static_cast<int>(r.height() * 0.5));
        p.setFont(font);
        p.setPen(QColor(0x22, 0x22, 0x22));
        p.drawText(r, Qt::AlignCenter, text);
    };
    const qreal bw = label.width() * 0.62;
    const qreal bh = label.height() * 0.30;
    bubble(QRectF(label.left() + 6, label.top() + 8, bw, bh), true, QColor(0xf4, 0xf4, 0xf4),
           QStringLiteral("Hello!"));
    bubble(QRectF(label.right() - 6 - bw, label.top() + 8 + bh + 14, bw, bh), false, QColor(0xff, 0xff, 0xff),
           QStringLiteral("¡Hola!"));

    // The arrow between them.
    p.setPen(QPen(QColor(0x1f, 0x3c, 0x88), 2.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF a(label.left() + 14, label.top() + 14 + bh);
    const QPointF b(label.left() + 14, label.top() + 8 + bh * 1.5 + 14);
    p.drawLine(a + QPointF(0, 6), b);
    p.drawLine(b, b + QPointF(-4, -5));
    p.drawLine(b, b + QPointF(4, -5));

    // Contacts at the bottom edge.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xa2, 0x27));
    const qreal contactsTop = body.bottom() - 7;
    for (qreal x = body.left() + body.width() * 0.16; x < body.right() - body.width() * 0.16; x += 6)
        p.drawRect(QRectF(x, contactsTop, 3, 6));

    return pixmap;
}

} // namespace

ProjectDialog::ProjectDialog(ProjectSettings& settings, Dialogs& dialogs, ProjectDialogHost& host,
                             QString startFolder, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_dialogs(dialogs), m_host(host),
      m_startFolder(std::move(startFolder)) {
    setObjectName(QStringLiteral("frmNuevo"));
    setWindowTitle(QStringLiteral("Nuevo archivo de proyecto Tradumar"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    setFont(font);

    buildControls();
}

QString ProjectDialog::romFilter() {
    // First the usual ROMs of today, then the entries kept as the pieces
    // they were always built from; the odd spacing of their descriptions
    // and the blank after "*.gg" are part of them.
    return QStringLiteral("ROM de consola (*.sfc;*.smc;*.nes;*.gb;*.gbc;*.gba;*.md;*.gen;*.gg;*.sms)|"
                          "*.sfc;*.smc;*.nes;*.gb;*.gbc;*.gba;*.md;*.gen;*.gg;*.sms|") +
           QStringLiteral("SNES SMC ") +
           QStringLiteral(
               "(*.smc)|*.smc|SNES SWC (*.swc)|*.swc|SNES FIG (*.fig)|*.fig|SNES GD7 (*.078)|*.078|") +
           QStringLiteral("NES (*.nes)|*.nes|") +
           QStringLiteral("Genesis BIN (*.bin)|*.bin|Genesis SMD (*.smd)|*.smd|Gameboy GB(*.gb)|*.gb|") +
           QStringLiteral(
               "Gameboy GBC (*.gbc*)|*.gbc|Game Gear GG  (*.gg)|*.gg |Todos los archivos (*.*)|*.*");
}

QLineEdit* ProjectDialog::addField(const char* labelName, const QString& label, const char* fieldName,
                                   const char* buttonName, int top, void (ProjectDialog::*pick)()) {
    auto* caption = new QLabel(label, this);
    caption->setObjectName(QLatin1String(labelName));
    caption->setTextFormat(Qt::PlainText);
    caption->setGeometry(kFieldLeft, top, kFieldWidth + kPickerWidth + 4, 15);

    auto* field = new QLineEdit(this);
    field->setObjectName(QLatin1String(fieldName));
    field->setGeometry(kFieldLeft, top + 16, kFieldWidth, kFieldHeight);
    if (buttonName) {
        field->setReadOnly(true);
        field->installEventFilter(this);
        auto* button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(QLatin1String(buttonName));
        button->setAutoDefault(false);
        button->setGeometry(kFieldLeft + kFieldWidth + 4, top + 16, kPickerWidth, kFieldHeight);
        connect(button, &QPushButton::clicked, this, pick);
    }
    return field;
}

void ProjectDialog::buildControls() {
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setGeometry(8, 8, 160, 210);
    picture->setPixmap(drawProjectPicture(picture->size()));

    auto* title = new QLabel(kTitle, this);
    title->setObjectName(QStringLiteral("lblTradumar"));
    title->setGeometry(8, 222, 160, 64);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont;
    // A condensed heavy face with lower-case letters, as the name is written.
    titleFont.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Bebas Neue")});
    titleFont.setBold(true);
    titleFont.setPixelSize(42);
    title->setFont(titleFont);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0x1f, 0x3c, 0x88));
    title->setPalette(titlePalette);

    auto* intro = new QLabel(QStringLiteral("Por favor  complete todos los campos a continuación:"), this);
    intro->setObjectName(QStringLiteral("lblInstrucciones"));
    intro->setTextFormat(Qt::PlainText);
    intro->setGeometry(kFieldLeft, 8, kFieldWidth + kPickerWidth + 4, 16);

    int top = kFirstRowTop;
    m_txtNombre =
        addField("lblNombre", QStringLiteral("Nombre del proyecto:"), "txtNombre", nullptr, top, nullptr);
    top += kRowStep;
    m_txtDirPrj = addField("lblDirPrj", QStringLiteral("Localización para el archivo de proyecto:"),
                           "txtDirPrj", "cmdPatchPrj", top, &ProjectDialog::pickProjectFolder);
    top += kRowStep;
    m_txtROM = addField("lblROM", QStringLiteral("ROM en la que se insertarán los scripts:"), "txtROM",
                        "cmdROM", top, &ProjectDialog::pickRom);
    top += kRowStep;
    m_txtDirScripts = addField(
        "lblDirScripts",
        QStringLiteral("Localización del directorio que contiene los scripts extraidos con Escarbol*:"),
        "txtDirScripts", "cmdDirScripts", top, &ProjectDialog::pickScriptsFolder);
    top += kRowStep;
    m_txtOTBL =
        addField("lblOTBL",
                 QStringLiteral("Tabla Thingy original con las que se extrajeron los scripts(sin traducir):"),
                 "txtOTBL", "cmdOTBL", top, &ProjectDialog::pickOriginalTable);
    top += kRowStep;
    m_txtTTBL = addField(
        "lblTTBL", QStringLiteral("Tabla Thingy que será utilizada para insertar los scripts(traducida):"),
        "txtTTBL", "cmdTTBL", top, &ProjectDialog::pickTranslatedTable);
    top += kRowStep;
    m_txtEmu = addField("lblEmu", QStringLiteral("Ruta del Emulador (ejecutable)"), "txtEmu", "cmdEmu", top,
                        &ProjectDialog::pickEmulator);

    auto* frame = new QGroupBox(QStringLiteral("Formato de separación de bytes utilizado"), this);
    frame->setObjectName(QStringLiteral("fraFormato"));
    frame->setGeometry(kFieldLeft, 340, 276, 60);

    const auto enclosure = [frame](const char* labelName, const QString& label, const char* fieldName,
                                   const QString& text, int left) {
        auto* caption = new QLabel(label, frame);
        caption->setObjectName(QLatin1String(labelName));
        caption->setTextFormat(Qt::PlainText);
        caption->setGeometry(left, 28, 88, 15);
        auto* field = new QLineEdit(text, frame);
        field->setObjectName(QLatin1String(fieldName));
        field->setMaxLength(1);
        field->setAlignment(Qt::AlignCenter);
        field->setGeometry(left + 88, 25, 24, kFieldHeight);
        return field;
    };
    m_txtCierreI =
        enclosure("lblCierreI", QStringLiteral("Cierre Izquierdo"), "txtCierreI", QStringLiteral("<"), 10);
    m_txtCierreD =
        enclosure("lblCierreD", QStringLiteral("Cierre Derecho"), "txtCierreD", QStringLiteral(">"), 142);

    // The code page of the project's files that are not UTF-8, beside the
    // enclosures, above the buttons.
    auto* codePageLabel = new QLabel(QStringLiteral("Codificación:"), this);
    codePageLabel->setObjectName(QStringLiteral("lblCodificacion"));
    codePageLabel->setTextFormat(Qt::PlainText);
    codePageLabel->setGeometry(472, 343, 80, 15);
    m_cboCodificacion = new QComboBox(this);
    m_cboCodificacion->setObjectName(QStringLiteral("cboCodificacion"));
    m_cboCodificacion->addItem(QStringLiteral("Windows-1252"));
    m_cboCodificacion->addItem(QStringLiteral("Shift-JIS"));
    m_cboCodificacion->setToolTip(QStringLiteral("Codificación de los archivos que no están en UTF-8"));
    m_cboCodificacion->setGeometry(552, 340, kClientWidth - 8 - 552, kFieldHeight);
    codePageLabel->setBuddy(m_cboCodificacion);
    // The encoder's choice of codes, under the code page.
    m_chkOptima = new QCheckBox(QStringLiteral("Codificación óptima"), this);
    m_chkOptima->setObjectName(QStringLiteral("chkOptima"));
    m_chkOptima->setToolTip(QStringLiteral("Inserta cada texto con la combinación de códigos de la tabla que "
                                           "ocupa menos bytes"));
    m_chkOptima->setGeometry(472, 372, kClientWidth - 8 - 472, 20);

    m_limits = new LimitsGroup(m_dialogs, this);
    m_limits->setGeometry(kFieldLeft, 404, kClientWidth - 8 - kFieldLeft, 96);

    // The self-drawn button restored from its stored values; nothing is
    // connected to its click.
    auto* xpButton = new XpButton(this);
    xpButton->setObjectName(QStringLiteral("XP_button1"));
    PropertyBag stored;
    stored.setProperty(QStringLiteral("Caption"), QStringLiteral("..."));
    stored.setProperty(QStringLiteral("BackColor"), 0xFFFFFF);
    stored.setProperty(QStringLiteral("FontName"), QStringLiteral("MS Sans Serif"));
    stored.setProperty(QStringLiteral("FontSize"), 8.25);
    xpButton->readProperties(stored);
    // Its stored extent, 661 x 450 hundredths of a millimetre, is 25 x 17 pixels.
    xpButton->setGeometry(8, 379, 25, 17);

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("cmdAceptar"));
    ok->setAutoDefault(false);
    ok->setGeometry(kClientWidth - 8 - 2 * 90 - 8, 370 + kLimitsHeight, 90, 28);
    connect(ok, &QPushButton::clicked, this, &ProjectDialog::acceptProject);

    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("cmdCancelar"));
    cancel->setAutoDefault(false);
    cancel->setGeometry(kClientWidth - 8 - 90, 370 + kLimitsHeight, 90, 28);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_txtNombre->setFocus();
}

void ProjectDialog::fillFromSettings() {
    setWindowTitle(QStringLiteral("Configurar proyecto"));
    m_txtNombre->setText(toQString(m_settings.projectName));
    m_txtDirPrj->setText(pathToQString(m_settings.projectFolder));
    m_txtROM->setText(pathToQString(m_settings.romPath));
    m_txtDirScripts->setText(pathToQString(m_settings.scriptsFolder));
    m_txtOTBL->setText(pathToQString(m_settings.originalTablePath));
    m_txtTTBL->setText(pathToQString(m_settings.translatedTablePath));
    m_txtCierreI->setText(toQString(m_settings.leftEnclosure()));
    m_txtCierreD->setText(toQString(m_settings.rightEnclosure()));
    m_txtEmu->setText(pathToQString(m_settings.emulatorPath));
    m_cboCodificacion->setCurrentIndex(m_settings.legacyCodePage == LegacyCodePage::ShiftJis ? 1 : 0);
    m_chkOptima->setChecked(m_settings.optimalEncoding);
    m_limits->fill(m_settings);
}

bool ProjectDialog::eventFilter(QObject* watched, QEvent* event) {
    // A click into a read-only path field opens its picker, as its "..." button does.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field && mouse->button() == Qt::LeftButton &&
            field->rect().contains(mouse->position().toPoint())) {
            if (field == m_txtDirPrj)
                pickProjectFolder();
            else if (field == m_txtROM)
                pickRom();
            else if (field == m_txtDirScripts)
                pickScriptsFolder();
            else if (field == m_txtOTBL)
                pickOriginalTable();
            else if (field == m_txtTTBL)
                pickTranslatedTable();
            else if (field == m_txtEmu)
                pickEmulator();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ProjectDialog::pickProjectFolder() {
    // Only the field changes; the folder reaches the settings on "Aceptar".
    m_txtDirPrj->setText(m_dialogs.chooseFolderFrom(nullptr, QString(), m_txtDirPrj->text()));
}

void ProjectDialog::pickScriptsFolder() {
    const QString folder = m_dialogs.chooseFolderFrom(nullptr, QString(), m_txtDirScripts->text());
    m_settings.scriptsFolder = pathFromQString(folder);
    if (folder.isEmpty()) {
        m_txtDirScripts->clear();
        return;
    }
    m_txtDirScripts->setText(trimBlanks(folder));
    // The list is pointed at the folder as the settings hold it, so it shows
    // what the project file will name.
    if (!m_host.pointScriptList(folder)) {
        m_dialogs.inform(this, QStringLiteral("Directorio no válido"));
        m_txtDirScripts->clear();
        return;
    }
    // An empty folder is kept: a new project's scripts can be extracted
    // from the ROM into it once the project is accepted.
    if (m_host.scriptListCount() == 0)
        m_dialogs.inform(this, QStringLiteral("Al parecer ese directorio no contiene scripts, verifique por "
                                              "favor.\r\nSi la carpeta es la de un proyecto nuevo, al "
                                              "aceptarlo se le ofrecerá extraerlos de la ROM."));
}

void ProjectDialog::pickFile(QLineEdit* field, std::string& target, const QString& title,
                             const QString& filter, int filterIndex) {
    FileRequest request;
    request.title = title;
    request.filter = filter;
    request.filterIndex = filterIndex;
    // The picker opens where the field's file is, when it names one in a
    // folder that is still there.
    const QFileInfo current(field->text());
    request.initialFolder =
        !field->text().isEmpty() && current.absoluteDir().exists() ? current.absolutePath() : m_startFolder;
    request.mustExist = false;
    const QString path = m_dialogs.openFile(this, request);
    if (path.isEmpty())
        return;
    target = pathFromQString(path);
    field->setText(path);
}

void ProjectDialog::pickRom() {
    pickFile(m_txtROM, m_settings.romPath, QStringLiteral("Abrir ROM"), romFilter(), 1);
}

void ProjectDialog::pickOriginalTable() {
    pickFile(m_txtOTBL, m_settings.originalTablePath, QStringLiteral("Abrir tabla thingy original"),
             QStringLiteral("Tablas thingy (*.tbl)|*.tbl"), 1);
}

void ProjectDialog::pickTranslatedTable() {
    pickFile(m_txtTTBL, m_settings.translatedTablePath, QStringLiteral("Abrir tabla thingy traducida"),
             QStringLiteral("Tablas thingy (*.tbl)|*.tbl"), 1);
}

void ProjectDialog::pickEmulator() {
    // Emulators on Linux have no ".exe": every file is offered too, and
    // preselected there.
#ifdef Q_OS_WIN
    constexpr int kPreselected = 1;
#else
    constexpr int kPreselected = 2;
#endif
    pickFile(m_txtEmu, m_settings.emulatorPath, QStringLiteral("Localizar emulador"),
             QStringLiteral("Emulador (*.exe)|*.exe|Todos los archivos (*)|*"), kPreselected);
}

bool ProjectDialog::validate() {
    // The scripts folder is checked before the ROM although it sits below it.
    const struct {
        bool missing;
        const char* message;
        QLineEdit* focus;
    } checks[] = {
        {m_txtNombre->text().isEmpty(), "Debe especificar un nombre para el proyecto", m_txtNombre},
        {m_txtDirPrj->text().isEmpty(), "Debe indicar dónde se guardará el archivo de proyecto", m_txtDirPrj},
        {m_txtDirScripts->text().isEmpty(), "Debe indicar la ubicación de los scripts", m_txtDirScripts},
        {m_txtROM->text().isEmpty(), "Debe especificar la ROM", m_txtROM},
        {m_txtOTBL->text().isEmpty(), "Debe especificar la tabla original", m_txtOTBL},
        {m_txtTTBL->text().isEmpty(), "Debe especificar la tabla traducida", m_txtTTBL},
        {m_txtCierreI->text().isEmpty() || m_txtCierreD->text().isEmpty(),
         "Debe especificar el formato de cierre de bytes", m_txtCierreI},
        {m_txtEmu->text().isEmpty(), "Debe especificar la ruta del Emulador", m_txtEmu},
    };
    for (const auto& check : checks) {
        if (check.missing) {
            m_dialogs.inform(this, QString::fromUtf8(check.message));
            check.focus->setFocus();
            return false;
        }
    }
    return true;
}

bool ProjectDialog::storable() {
    const struct {
        QLineEdit* field;
        const char* what;
    } values[] = {
        {m_txtNombre, "El nombre del proyecto"},
        {m_txtDirPrj, "La carpeta del proyecto"},
        {m_txtROM, "La ruta de la ROM"},
        {m_txtDirScripts, "La carpeta de scripts"},
        {m_txtOTBL, "La ruta de la tabla original"},
        {m_txtTTBL, "La ruta de la tabla traducida"},
        {m_txtEmu, "La ruta del emulador"},
        {m_txtCierreI, "El cierre izquierdo"},
        {m_txtCierreD, "El cierre derecho"},
    };
    for (const auto& value : values) {
        const QString text = value.field->text();
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
            text.contains(QChar(0x2028)) || text.contains(QChar(0x2029))) {
            m_dialogs.inform(this,
                             QString::fromUtf8(value.what) +
                                 QStringLiteral(" contiene un salto de línea, que el archivo de proyecto no "
                                                "puede guardar."));
            value.field->setFocus();
            return false;
        }
    }
    return true;
}

void ProjectDialog::acceptProject() {
    if (!validate() || !storable())
        return;

    // The new settings are completed on a copy and take over only once the
    // file is written, so a project file that could not be written leaves the
    // open project (and the main window) as they were.
    ProjectSettings next = m_settings;
    next.setRightEnclosure(fromQString(m_txtCierreD->text()));
    next.setLeftEnclosure(fromQString(m_txtCierreI->text()));
    // The name is the project's text in the file and, as a path, part of the file's own name.
    next.projectName = fromQString(m_txtNombre->text());
    next.projectFilePath = composeProjectFilePath(pathFromQString(m_txtDirPrj->text()), next.projectName);
    next.projectFolder = pathFromQString(m_txtDirPrj->text());
    next.legacyCodePage =
        m_cboCodificacion->currentIndex() == 1 ? LegacyCodePage::ShiftJis : LegacyCodePage::Windows1252;
    next.optimalEncoding = m_chkOptima->isChecked();
    m_limits->apply(next);
    if (!next.writeTo(next.projectFilePath)) {
        m_dialogs.inform(this, QStringLiteral("No se pudo escribir el archivo de proyecto ") +
                                   pathToQString(next.projectFilePath));
        return;
    }
    m_settings = next;

    m_host.habilitar();
    m_host.habilitarMenus();
    m_host.disableMnuAbrir();
    m_host.disableMnuNuevo();
    m_host.showScriptList();
    accept();
}

bool runNewProjectDialog(ProjectSettings& settings, Dialogs& dialogs, ProjectDialogHost& host,
                         const QString& startFolder) {
    ProjectDialog dialog(settings, dialogs, host, startFolder);
    return dialog.exec() == QDialog::Accepted;
}

bool runConfigureProjectDialog(ProjectSettings& settings, Dialogs& dialogs, ProjectDialogHost& host,
                               const QString& startFolder, QWidget* owner) {
    ProjectDialog dialog(settings, dialogs, host, startFolder, owner);
    dialog.fillFromSettings();
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tradumar
