#include "workspace/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>

#include "insertion/insert_command.h"
#include "insertion/insertion_journal.h"
#include "insertion/insertion_tools.h"
#include "platform/qt_text.h"
#include "platform/twips.h"
#include "project/ini_profile.h"
#include "project/project_dialog.h"
#include "project/script_files.h"
#include "platform/qt_platform.h"
#include "project/workspace.h"
#include "spellcheck/spell_check.h"
#include "workspace/emulator.h"
#include "workspace/file_list.h"
#include "workspace/frame_caption_style.h"
#include "workspace/glossary_panel.h"
#include "workspace/growing_layout.h"
#include "workspace/pointer_tools.h"
#include "workspace/limit_marks.h"
#include "workspace/pane_text.h"
#include "workspace/progress_marks.h"
#include "workspace/status_refresh.h"
#include "workspace/text_pane.h"

namespace tradumar {
namespace {

QFont paneFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    return font;
}

QFont sansFont(bool bold) {
    // Where MS Sans Serif is missing, Liberation Sans has its metrics closest.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QLabel* valueLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = place(new QLabel(QStringLiteral("0"), parent), name, geometry);
    label->setFont(sansFont(true));
    return label;
}

const QSize kDesignedClient(786, 447);

} // namespace

MainWindow::MainWindow(Workspace& workspace, Platform platform, QString startFolder, QWidget* parent)
    : QMainWindow(parent), m_workspace(workspace), m_platform(platform),
      m_startFolder(std::move(startFolder)), m_frameStyle(std::make_unique<FrameCaptionStyle>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setFont(sansFont(false));
    buildControls();
    buildMenus();
    m_spelling = new SpellingTools(this, m_workspace, m_platform.dialogs, m_rtxtTraducido, m_mnuHerramientas);
    m_paneText = new PaneText(m_rtxtTraducido);
    m_limitMarks = new LimitMarks(static_cast<TextPane*>(m_rtxtTraducido), *m_paneText, m_workspace);
    m_glossary = new GlossaryPanel(this, m_workspace, m_platform.dialogs, m_rtxtOriginal, m_rtxtTraducido);
    addDockWidget(Qt::RightDockWidgetArea, m_glossary);
    m_glossary->hide();
    m_mnuEdicion->addAction(m_glossary->addAction());
    connect(m_cmdOrtog, &QPushButton::clicked, this, &MainWindow::checkSpelling);
    connect(m_mnuCorrector, &QAction::triggered, this, &MainWindow::checkSpelling);
    buildProgressControls();
    buildNavigationControls();
    buildRomControls();
    // The window opens at the designed size, the client area plus the menu
    // bar, and never gets smaller; a size the user gave it before wins.
    resize(minimumSizeHint());
    restoreGeometry(programSettings().value(QStringLiteral("MainWindow/geometry")).toByteArray());

    m_status = std::make_unique<StatusRefresh>(
        m_workspace, m_rtxtTraducido,
        StatusLabels{m_lblRealesT, m_lblRealesO, m_lblRealesD, m_lblLinea, m_lblLineas});

    // The window loads with the project's menus unusable and no script list.
    deshabilitarMenus();
    m_scripts->hide();
    m_cboFiltro->hide();

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(10);
    connect(m_timer2, &QTimer::timeout, this, &MainWindow::refreshStatus);
    m_timer2->start();
}

MainWindow::~MainWindow() {
    // The frames outlive this object's members: they go back to the
    // application's style before theirs goes.
    m_fraEdicion->setStyle(nullptr);
    m_fraInfo->setStyle(nullptr);
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(kDesignedClient);
    setCentralWidget(client);

    m_fraEdicion =
        place(new QGroupBox(QStringLiteral("Editor"), client), "fraEdicion", twips(120, 120, 9135, 6015));
    m_fraEdicion->setStyle(m_frameStyle.get());
    place(new QLabel(QStringLiteral("Largo de línea:"), m_fraEdicion), "Label1", twips(120, 240, 1095, 255));
    m_lblLinea = valueLabel(m_fraEdicion, "lblLinea", twips(1320, 240, 495, 375));
    place(new QLabel(QStringLiteral("Total de líneas:"), m_fraEdicion), "Label2",
          twips(2160, 240, 1215, 255));
    m_lblLineas = valueLabel(m_fraEdicion, "lblLineas", twips(3360, 240, 495, 255));

    const auto makePane = [this](const char* name, const QRect& geometry) {
        auto* pane = place(new TextPane(m_fraEdicion), name, geometry);
        pane->setFont(paneFont());
        // Each line of a script is a line of the game's text box: no wrapping.
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        pane->setTabChangesFocus(false);
        return pane;
    };
    m_rtxtTraducido = makePane("rtxtTraducido", twips(120, 480, 8895, 2655));
    m_rtxtOriginal = makePane("rtxtOriginal", twips(120, 3240, 8895, 2655));
    // The original is for reading only; the program never keeps what is typed there.
    m_rtxtOriginal->setReadOnly(true);
    m_rtxtOriginal->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    {
        QPalette palette = m_rtxtOriginal->palette();
        palette.setColor(QPalette::Base, QColor(255, 224, 192));
        m_rtxtOriginal->setPalette(palette);
        palette = m_rtxtTraducido->palette();
        palette.setColor(QPalette::Base, Qt::white);
        m_rtxtTraducido->setPalette(palette);
    }
    // A tab is a character no table holds: Tab moves on to the next control.
    m_rtxtTraducido->setTabChangesFocus(true);
    m_rtxtTraducido->installEventFilter(this);
    // Every change of the translation's text the program did not make is
    // the user's: typing, composing accents, the context menu's paste, cut,
    // undo and redo, a drop. The copy taken is what the question about
    // unsaved changes saves.
    connect(m_rtxtTraducido, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loadingPane)
            noteTranslationEdited();
    });

    m_fraInfo = place(new QGroupBox(QStringLiteral("Scripts e información"), client), "fraInfo",
                      twips(9360, 120, 2295, 6495));
    m_fraInfo->setStyle(m_frameStyle.get());
    // The filter stands above the list, which keeps its bottom edge.
    m_cboFiltro = place(new QComboBox(m_fraInfo), "cboFiltro", twips(120, 240, 2055, 315));
    m_shape1 = place(new QFrame(m_fraInfo), "Shape1", twips(120, 600, 2055, 3960));
    m_shape1->setFrameShape(QFrame::Box);
    m_shape1->setFrameShadow(QFrame::Plain);
    m_scripts =
        place(new FileList(QStringLiteral("*.txt"), m_fraInfo), "Scripts", twips(120, 600, 2055, 3960));
    // The filter is there while the list is.
    m_scripts->installEventFilter(this);
    connect(m_scripts, &FileList::chosen, this, &MainWindow::openSelectedScript);

    place(new QLabel(QStringLiteral("Bytes Reales Traducido:"), m_fraInfo), "lblBytesT",
          twips(120, 4680, 2055, 255));
    m_lblRealesT = valueLabel(m_fraInfo, "lblRealesT", twips(120, 4920, 2055, 255));
    place(new QLabel(QStringLiteral("Bytes Reales Original:"), m_fraInfo), "lblBytesO",
          twips(120, 5280, 2055, 255));
    m_lblRealesO = valueLabel(m_fraInfo, "lblRealesO", twips(120, 5520, 2055, 255));
    place(new QLabel(QStringLiteral("Bytes Reales Disponibles:"), m_fraInfo), "Label6",
          twips(120, 5880, 2055, 255));
    m_lblRealesD = valueLabel(m_fraInfo, "lblRealesD", twips(120, 6120, 2055, 255));
    const auto colour = [](QLabel* label, const QColor& text) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, text);
        // The byte figures stand on the window-background colour of text fields.
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    };
    colour(m_lblRealesT, Qt::blue);
    colour(m_lblRealesO, m_lblRealesO->palette().color(QPalette::WindowText));
    colour(m_lblRealesD, Qt::red);

    const auto button = [client](const char* name, const QString& caption, const QRect& geometry) {
        return place(new QPushButton(caption, client), name, geometry);
    };
    m_cmdAnterior = button("cmdAnterior", QStringLiteral("<< Anterior"), twips(240, 6240, 1335, 375));
    m_cmdSiguiente = button("cmdSiguiente", QStringLiteral("Siguiente >>"), twips(1680, 6240, 1215, 375));
    m_cmdBuscar = button("cmdBuscar", QStringLiteral("Buscar Texto"), twips(3000, 6240, 1335, 375));
    m_cmdOrtog = button("cmdOrtog", QStringLiteral("Revisar Ortografía"), twips(4440, 6240, 1455, 375));
    m_cmdInsertar = button("cmdInsertar", QStringLiteral("Insertar Script"), twips(6000, 6240, 1455, 375));
    m_cmdGuardar = button("cmdGuardar", QStringLiteral("Guardar"), twips(7560, 6240, 1455, 375));
    connect(m_cmdAnterior, &QPushButton::clicked, this, &MainWindow::previousScript);
    connect(m_cmdSiguiente, &QPushButton::clicked, this, &MainWindow::nextScript);
    connect(m_cmdInsertar, &QPushButton::clicked, this, &MainWindow::insertScript);
    connect(m_cmdGuardar, &QPushButton::clicked, this, &MainWindow::saveTranslation);
    connect(m_cmdBuscar, &QPushButton::clicked, this, [this] { showSearch(this); });

    // The lists of the search lie below the visible client area.
    m_ori = place(new FileList(QStringLiteral("*.txt"), client), "Ori", twips(10200, 6720, 495, 480));
    m_trans = place(new FileList(QStringLiteral("*.txt"), client), "Trans", twips(9600, 6720, 495, 480));

    // A larger window gives the translator more lines: the frames take the
    // extra width and height, the two panes share the extra height equally,
    // the list takes its frame's, and the buttons and the figures under the
    // list keep to the bottom.
    using Share = GrowingLayout::Share;
    const auto follow = [](GrowingLayout* layout, QWidget* widget, GrowingLayout::Follow rule) {
        layout->add(widget, widget->geometry(), rule);
    };
    auto* window = new GrowingLayout(client, kDesignedClient);
    follow(window, m_fraEdicion, {.width = Share::All, .height = Share::All});
    follow(window, m_fraInfo, {.x = Share::All, .height = Share::All});
    for (QWidget* bottom : {static_cast<QWidget*>(m_cmdAnterior), static_cast<QWidget*>(m_cmdSiguiente),
                            static_cast<QWidget*>(m_cmdBuscar), static_cast<QWidget*>(m_cmdOrtog),
                            static_cast<QWidget*>(m_cmdInsertar), static_cast<QWidget*>(m_cmdGuardar),
                            static_cast<QWidget*>(m_ori), static_cast<QWidget*>(m_trans)})
        follow(window, bottom, {.y = Share::All});
    auto* editor = new GrowingLayout(m_fraEdicion, m_fraEdicion->size());
    follow(editor, m_rtxtTraducido, {.width = Share::All, .height = Share::Half});
    follow(editor, m_rtxtOriginal, {.y = Share::Half, .width = Share::All, .height = Share::OtherHalf});
    auto* info = new GrowingLayout(m_fraInfo, m_fraInfo->size());
    follow(info, m_scripts, {.height = Share::All});
    follow(info, m_shape1, {.height = Share::All});
    for (QObject* child : m_fraInfo->children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (label)
            follow(info, label, {.y = Share::All});
    }
}

void MainWindow::buildMenus() {
    // The menu bar and its menus speak in the window's font. Each caption
    // carries a mnemonic ("&"), which only underlines its letter.
    menuBar()->setFont(font());
    const auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromUtf8(name));
        m->menuAction()->setObjectName(QString::fromUtf8(name));
        m->setFont(font());
        return m;
    };
    const auto item = [this](QMenu* parent, const char* name, const QString& caption,
                             const QKeySequence& shortcut = {}) {
        QAction* action = parent->addAction(caption);
        action->setObjectName(QString::fromUtf8(name));
        action->setParent(this);
        action->setShortcut(shortcut);
        return action;
    };
    m_mnuProyecto = menu("mnuProyecto", QStringLiteral("&Proyecto"));
    m_mnuNuevo =
        item(m_mnuProyecto, "mnuNuevo", QStringLiteral("&Nuevo"), QKeySequence(Qt::CTRL | Qt::Key_N));
    m_mnuAbrir =
        item(m_mnuProyecto, "mnuAbrir", QStringLiteral("&Abrir"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mnuCerrar = item(m_mnuProyecto, "mnuCerrar", QStringLiteral("&Cerrar"));
    m_mnuConfig = item(m_mnuProyecto, "mnuConfig", QStringLiteral("C&onfigurar"));
    m_mnuSalir =
        item(m_mnuProyecto, "mnuSalir", QStringLiteral("&Salir"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_mnuEdicion = menu("mnuEdición", QStringLiteral("&Edición"));
    m_mnuGuardar = item(m_mnuEdicion, "mnuGuardar", QStringLiteral("&Guardar script"),
                        QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuInsertar = item(m_mnuEdicion, "mnuInsertar", QStringLiteral("&Insertar script"),
                         QKeySequence(Qt::CTRL | Qt::Key_I));
    m_mnuBuscar =
        item(m_mnuEdicion, "mnuBuscar", QStringLiteral("&Buscar"), QKeySequence(Qt::CTRL | Qt::Key_F));

    m_mnuHerramientas = menu("mnuHerramientas", QStringLiteral("&Herramientas"));
    m_mnuCorrector = item(m_mnuHerramientas, "mnuCorrector", QStringLiteral("&Revisar Ortografía"),
                          QKeySequence(Qt::Key_F7));
    m_mnuEmulador = item(m_mnuHerramientas, "mnuEmulador", QStringLiteral("&Ejecutar ROM Emulada"),
                         QKeySequence(Qt::Key_F5));
    new InsertionTools(this, m_mnuHerramientas, m_workspace, m_platform.dialogs);
    installPointerTools(this, m_mnuHerramientas, m_scripts, m_workspace, m_platform.dialogs);
    buildTableControls();

    m_mnuAyuda = menu("mnuAyuda", QStringLiteral("A&yuda"));
    m_mnuManual = item(m_mnuAyuda, "mnuManual", QStringLiteral("&Manual de usuario"));
    m_mnuAcerca = item(m_mnuAyuda, "mnuAcerca", QStringLiteral("&Acerca de..."));

    // The buttons "<< Anterior" and "Siguiente >>" from the keyboard; each
    // key clicks its button, so it does just what a click does.
    const auto buttonKeys = [this](const char* name, QPushButton* button, const QList<QKeySequence>& keys) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcuts(keys);
        addAction(action);
        connect(action, &QAction::triggered, button, &QPushButton::click);
    };
    buttonKeys("teclasAnterior", m_cmdAnterior,
               {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    buttonKeys("teclasSiguiente", m_cmdSiguiente,
               {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});

    connect(m_mnuNuevo, &QAction::triggered, this, &MainWindow::newProject);
    connect(m_mnuAbrir, &QAction::triggered, this, &MainWindow::openProject);
    connect(m_mnuCerrar, &QAction::triggered, this, &MainWindow::closeProject);
    connect(m_mnuConfig, &QAction::triggered, this, &MainWindow::configureProject);
    connect(m_mnuSalir, &QAction::triggered, this, &MainWindow::leave);
    connect(m_mnuGuardar, &QAction::triggered, this, &MainWindow::saveTranslation);
    connect(m_mnuInsertar, &QAction::triggered, this, &MainWindow::insertScript);
    connect(m_mnuEmulador, &QAction::triggered, this, &MainWindow::runEmulator);
    connect(m_mnuBuscar, &QAction::triggered, this, [this] { showSearch(nullptr); });
    connect(m_mnuAcerca, &QAction::triggered, this, &MainWindow::showAbout);
}

// ---- enabling ----

void MainWindow::habilitar() {
    for (QWidget* w : {static_cast<QWidget*>(m_cmdAnterior), static_cast<QWidget*>(m_cmdSiguiente),
                       static_cast<QWidget*>(m_cmdGuardar), static_cast<QWidget*>(m_cmdInsertar),
                       static_cast<QWidget*>(m_cmdOrtog), static_cast<QWidget*>(m_rtxtTraducido),
                       static_cast<QWidget*>(m_rtxtOriginal)})
        w->setEnabled(true);
}

void MainWindow::habilitarMenus() {
    for (QAction* a : {m_mnuCerrar, m_mnuConfig, m_mnuGuardar, m_mnuEdicion->menuAction(),
                       m_mnuHerramientas->menuAction()})
        a->setEnabled(true);
}

void MainWindow::deshabilitarMenus() {
    for (QAction* a : {m_mnuCerrar, m_mnuConfig, m_mnuGuardar, m_mnuEdicion->menuAction(),
                       m_mnuHerramientas->menuAction()})
        a->setEnabled(false);
}

void MainWindow::disableMnuAbrir() {
    m_mnuAbrir->setEnabled(false);
}
void MainWindow::disableMnuNuevo() {
    m_mnuNuevo->setEnabled(false);
}
void MainWindow::showScriptList() {
    m_scripts->show();
    refreshProgress();
}
bool MainWindow::pointScriptList(const QString& folder) {
    if (!m_scripts->setFolder(folder))
        return false;
    // The positions now name another folder's scripts. Were the open
    // script's position kept, choosing the entry that stands there would
    // count as already open, and saving or inserting would put the text in
    // the panes under that other script's name and address.
    m_workspace.openScriptIndex.reset();
    // Its progress is measured once the project is opened or accepted.
    forgetProgress();
    return true;
}
int MainWindow::scriptListCount() const {
    return m_scripts->count();
}

// ---- project ----

void MainWindow::newProject() {
    // The project file just written opens as "Abrir" opens it.
    if (runNewProjectDialog(m_workspace.settings, m_platform.dialogs, *this, m_startFolder) &&
        openProjectFile(m_workspace.settings.projectFilePath) && m_scripts->count() == 0)
        offerExtraction();
}

void MainWindow::configureProject() {
    const std::string scriptsFolder = m_workspace.settings.scriptsFolder;
    const QString listFolder = m_scripts->folder();
    const int selected = m_scripts->selectedIndex();
    const std::optional<int> openIndex = m_workspace.openScriptIndex;
    const std::string projectFile = m_workspace.settings.projectFilePath;
    if (runConfigureProjectDialog(m_workspace.settings, m_platform.dialogs, *this, m_startFolder, this)) {
        // Written under a new name: the insertion journal and the word list follow it.
        if (const int error = moveProjectCompanions(projectFile, m_workspace.settings.projectFilePath))
            m_platform.dialogs.inform(this,
                                      QStringLiteral("No se pudieron mover el registro de inserciones y la "
                                                     "lista de palabras al nuevo nombre del proyecto: ") +
                                          toQString(describeError(error)));
        // The tables may be other files now, or the same files changed.
        reloadTables();
        return;
    }
    // Cancelled: a scripts folder picked meanwhile is forgotten, and the list
    // shows the project's scripts again with the open one selected.
    m_workspace.settings.scriptsFolder = scriptsFolder;
    if (m_scripts->folder() == listFolder)
        return;
    const QSignalBlocker blocker(m_scripts);
    if (m_scripts->setFolder(listFolder)) {
        m_scripts->selectIndex(selected);
        m_workspace.openScriptIndex = openIndex;
    }
}

void MainWindow::saveScriptIndex() {
    const std::string& path = m_workspace.settings.projectFilePath;
    if (!path.empty())
        writeIniValue("Index", "Value", std::to_string(m_scripts->selectedIndex()), path);
}

void MainWindow::closeProject() {
    if (!offerToSaveBeforeLeaving())
        return;
    saveScriptIndex();
    resetToClosed();
}

void MainWindow::resetToClosed() {
    m_workspace.settings.close();
    deshabilitarMenus();
    m_rtxtTraducido->clear();
    m_rtxtOriginal->clear();
    m_scripts->hide();
    m_projectCaption.clear();
    for (QLabel* label : {m_lblRealesT, m_lblRealesO, m_lblRealesD})
        label->setText(QStringLiteral("0"));
    m_mnuNuevo->setEnabled(true);
    m_mnuAbrir->setEnabled(true);
    m_workspace.originalTable.clear();
    m_workspace.translatedTable.clear();
    m_status->invalidate();
    forgetProgress();
    m_workspace.openScriptIndex.reset();
    m_workspace.openScriptFile.clear();
    m_workspace.translationChanged = false;
    m_workspace.pendingTranslation.clear();
    m_workspace.savedTranslation.clear();
    showChangeMark();
}

void MainWindow::leave() {
    if (!offerToSaveBeforeLeaving())
        return;
    // "Salir" ends without the closing step: the stored index stays as it was.
    m_leavingWithoutIndex = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_leavingWithoutIndex) {
        if (!offerToSaveBeforeLeaving()) {
            event->ignore();
            return;
        }
        saveScriptIndex();
    }
    programSettings().setValue(QStringLiteral("MainWindow/geometry"), saveGeometry());
    event->accept();
}

// ---- status, insertion, emulator ----

void MainWindow::refreshStatus() {
    m_status->tick();
    m_limitMarks->tick();
    // The glossary stands beside the panes while a project is open.
    m_glossary->setVisible(!m_workspace.settings.projectFilePath.empty());
    if (!m_glossary->isHidden())
        m_glossary->tick();
}

void MainWindow::insertScript() {
    if (!m_rtxtTraducido->document()->isEmpty() && !scriptIsOpen()) {
        m_platform.dialogs.inform(this, QString::fromUtf8(kNoScriptOpen));
        return;
    }
    tradumar::insertScript(
        this, m_platform.dialogs, m_workspace,
        InsertSource{m_rtxtTraducido, m_lblRealesD->text(), pathFromQString(m_scripts->selectedFileName())});
    remeasureScript(pathFromQString(m_scripts->selectedFileName()));
}

void MainWindow::runEmulator() {
    tradumar::runEmulator(this, m_workspace.settings, m_platform.dialogs, m_platform.launcher);
}

void MainWindow::checkSpelling() {
    m_spelling->check();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Shift+Enter would put a line separator into the pane, which looks like
    // a line break but is saved as a lone LF the game's table does not know;
    // in a script every new line is a real line break.
    if (watched == m_scripts &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        m_cboFiltro->setVisible(event->type() == QEvent::ShowToParent);
    if (watched == m_rtxtTraducido && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & Qt::ShiftModifier)) {
            m_rtxtTraducido->textCursor().insertBlock();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::noteTranslationEdited() {
    m_workspace.pendingTranslation = paneText(m_rtxtTraducido);
    m_workspace.translationChanged = m_workspace.pendingTranslation != m_workspace.savedTranslation;
    showChangeMark();
}

void MainWindow::showChangeMark() {
    const QString caption = QString::fromUtf8(kCaption);
    if (m_projectCaption.isEmpty()) {
        setWindowTitle(caption);
        return;
    }
    // "Demo* - Tradumar 1.0 Beta" while the translation has unsaved changes.
    setWindowTitle(m_projectCaption + (m_workspace.translationChanged ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - ") + caption);
}

} // namespace tradumar
