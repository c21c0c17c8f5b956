#include <functional>

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::WindowHarness;

TEST(MainWindowStart, ShowsTheStartState) {
    WindowHarness h;
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_TRUE(h.translationPane()->toPlainText().isEmpty());
    EXPECT_TRUE(h.originalPane()->toPlainText().isEmpty());
    for (const char* label : {"lblLinea", "lblLineas", "lblRealesT", "lblRealesO", "lblRealesD"})
        EXPECT_EQ(h.label(label), QStringLiteral("0")) << label;
    EXPECT_FALSE(h.scripts()->isVisible());
    auto* timer = h.window.findChild<QTimer*>(QStringLiteral("Timer2"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 10);
}

TEST(MainWindowStart, OnlyTheProjectlessMenusCanBeChosen) {
    WindowHarness h;
    for (const char* name : {"mnuCerrar", "mnuConfig", "mnuGuardar"})
        EXPECT_FALSE(h.action(name)->isEnabled()) << name;
    for (const char* name : {"mnuEdición", "mnuHerramientas"})
        EXPECT_FALSE(h.menu(name)->isEnabled()) << name;
    for (const char* name : {"mnuNuevo", "mnuAbrir", "mnuSalir"})
        EXPECT_TRUE(h.action(name)->isEnabled()) << name;
    EXPECT_TRUE(h.menu("mnuAyuda")->isEnabled());
    EXPECT_TRUE(h.menu("mnuProyecto")->isEnabled());
    for (const char* name :
         {"cmdAnterior", "cmdSiguiente", "cmdBuscar", "cmdOrtog", "cmdInsertar", "cmdGuardar"})
        EXPECT_TRUE(h.find<QPushButton>(name)->isEnabled()) << name;
}

TEST(MainWindowLayout, EveryControlStandsWhereTheLayoutPutsIt) {
    WindowHarness h;
    struct Control {
        const char* name;
        QString text; // caption, or empty for none
        QRect twips;
    };
    const Control controls[] = {
        {"fraEdicion", QStringLiteral("Editor"), {120, 120, 9135, 6015}},
        {"Label1", QStringLiteral("Largo de línea:"), {120, 240, 1095, 255}},
        {"lblLinea", QStringLiteral("0"), {1320, 240, 495, 375}},
        {"Label2", QStringLiteral("Total de líneas:"), {2160, 240, 1215, 255}},
        {"lblLineas", QStringLiteral("0"), {3360, 240, 495, 255}},
        {"rtxtTraducido", {}, {120, 480, 8895, 2655}},
        {"rtxtOriginal", {}, {120, 3240, 8895, 2655}},
        {"fraInfo", QStringLiteral("Scripts e información"), {9360, 120, 2295, 6495}},
        {"Scripts", {}, {120, 240, 2055, 4320}},
        {"Shape1", {}, {120, 240, 2055, 4320}},
        {"lblBytesT", QStringLiteral("Bytes Reales Traducido:"), {120, 4680, 2055, 255}},
        {"lblRealesT", QStringLiteral("0"), {120, 4920, 2055, 255}},
        {"lblBytesO", QStringLiteral("Bytes Reales Original:"), {120, 5280, 2055, 255}},
        {"lblRealesO", QStringLiteral("0"), {120, 5520, 2055, 255}},
        {"Label6", QStringLiteral("Bytes Reales Disponibles:"), {120, 5880, 2055, 255}},
        {"lblRealesD", QStringLiteral("0"), {120, 6120, 2055, 255}},
        {"cmdAnterior", QStringLiteral("<< Anterior"), {240, 6240, 1335, 375}},
        {"cmdSiguiente", QStringLiteral("Siguiente >>"), {1680, 6240, 1215, 375}},
        {"cmdBuscar", QStringLiteral("Buscar Texto"), {3000, 6240, 1335, 375}},
        {"cmdOrtog", QStringLiteral("Revisar Ortografía"), {4440, 6240, 1455, 375}},
        {"cmdInsertar", QStringLiteral("Insertar Script"), {6000, 6240, 1455, 375}},
        {"cmdGuardar", QStringLiteral("Guardar"), {7560, 6240, 1455, 375}},
        {"Ori", {}, {10200, 6720, 495, 480}},
        {"Trans", {}, {9600, 6720, 495, 480}},
    };
    for (const auto& c : controls) {
        QWidget* w = h.find(c.name);
        ASSERT_NE(w, nullptr);
        const QRect expected(c.twips.x() / 15, c.twips.y() / 15, c.twips.width() / 15, c.twips.height() / 15);
        EXPECT_EQ(w->geometry(), expected) << c.name;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(label->text(), c.text) << c.name;
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(button->text(), c.text) << c.name;
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            EXPECT_EQ(frame->title(), c.text) << c.name;
        }
    }
    // The panes and byte labels sit inside their frames, the buttons on the window.
    EXPECT_EQ(h.find("rtxtTraducido")->parentWidget(), h.find("fraEdicion"));
    EXPECT_EQ(h.find("lblRealesD")->parentWidget(), h.find("fraInfo"));
    EXPECT_EQ(h.find("Scripts")->parentWidget(), h.find("fraInfo"));
    EXPECT_EQ(h.find("cmdGuardar")->parentWidget(), h.window.centralWidget());
}

TEST(MainWindowLayout, ClientAreaIsFixedAt786By447BelowTheMenuBar) {
    WindowHarness h;
    EXPECT_EQ(h.window.centralWidget()->size(), QSize(786, 447));
    EXPECT_EQ(h.window.minimumSize(), h.window.maximumSize());
    EXPECT_EQ(h.window.height(), 447 + h.window.menuBar()->height() + h.window.statusBar()->height());
    EXPECT_EQ(h.window.width(), 786);
}

TEST(MainWindowLayout, FontsColoursAndPanes) {
    WindowHarness h;
    for (const char* name : {"rtxtTraducido", "rtxtOriginal"}) {
        auto* pane = h.find<QPlainTextEdit>(name);
        EXPECT_EQ(pane->font().family(), QStringLiteral("Courier New")) << name;
        EXPECT_DOUBLE_EQ(pane->font().pointSizeF(), 9.75) << name;
        EXPECT_TRUE(QFontInfo(pane->font()).fixedPitch()) << name;
        EXPECT_EQ(pane->lineWrapMode(), QPlainTextEdit::NoWrap) << name;
    }
    EXPECT_EQ(h.originalPane()->palette().color(QPalette::Base), QColor(255, 224, 192));
    EXPECT_EQ(h.translationPane()->palette().color(QPalette::Base), QColor(Qt::white));
    for (const char* name : {"lblLinea", "lblLineas", "lblRealesT", "lblRealesO", "lblRealesD"}) {
        const QFont font = h.find<QLabel>(name)->font();
        EXPECT_TRUE(font.bold()) << name;
        EXPECT_EQ(font.family(), QStringLiteral("MS Sans Serif")) << name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << name;
    }
    EXPECT_EQ(h.find<QLabel>("lblRealesT")->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(h.find<QLabel>("lblRealesD")->palette().color(QPalette::WindowText), QColor(Qt::red));
    for (const char* name : {"lblRealesT", "lblRealesO", "lblRealesD"}) {
        auto* label = h.find<QLabel>(name);
        EXPECT_TRUE(label->autoFillBackground()) << name;
        EXPECT_EQ(label->palette().color(QPalette::Window), label->palette().color(QPalette::Base)) << name;
    }
}

TEST(MainWindowMenus, CaptionsInOrderWithoutShortcuts) {
    WindowHarness h;
    const std::vector<std::pair<QString, QStringList>> expected = {
        {QStringLiteral("Proyecto"),
         {QStringLiteral("Nuevo"), QStringLiteral("Abrir"), QStringLiteral("Cerrar"),
          QStringLiteral("Configurar"), QStringLiteral("Salir")}},
        {QStringLiteral("Edición"),
         {QStringLiteral("Guardar script"), QStringLiteral("Insertar script"), QStringLiteral("Buscar")}},
        {QStringLiteral("Herramientas"),
         {QStringLiteral("Revisar Ortografía"), QStringLiteral("Ejecutar ROM Emulada"),
          QStringLiteral("Insertar todos los scripts traducidos"),
          QStringLiteral("Deshacer última inserción"), QStringLiteral("Subrayar errores ortográficos"),
          QString(), QStringLiteral("Crear parche..."), QStringLiteral("Progreso de la traducción")}},
        {QStringLiteral("Ayuda"), {QStringLiteral("Manual de usuario"), QStringLiteral("Acerca de...")}},
    };
    const QList<QAction*> menus = h.window.menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QAction* menu = menus.at(static_cast<qsizetype>(i));
        EXPECT_EQ(menu->text(), expected[i].first);
        QStringList items;
        for (QAction* item : menu->menu()->actions()) {
            items << item->text();
            EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
        }
        EXPECT_EQ(items, expected[i].second);
    }
}

TEST(MainWindowMenus, ManualDoesNothing) {
    WindowHarness h;
    h.action("mnuManual")->trigger();
    EXPECT_TRUE(h.desktop.dialogs.messages.empty());
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
}

TEST(MainWindowFonts, PanesFallBackToAMonospacedFaceAndLabelsToASansFace) {
    WindowHarness h;
    // Courier New and MS Sans Serif are rarely installed here; the faces that
    // stand in for them must still be a monospaced one and a sans one.
    const QFontInfo pane(h.translationPane()->font());
    EXPECT_TRUE(pane.fixedPitch()) << pane.family().toStdString();
    const QFontInfo label(h.find<QLabel>("lblRealesT")->font());
    EXPECT_FALSE(label.fixedPitch()) << label.family().toStdString();
    EXPECT_TRUE(label.bold());
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")) &&
        !QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) {
        EXPECT_EQ(label.family(), QStringLiteral("Liberation Sans"));
    }
}

// Runs `look` on the modal dialog a command opens, then closes the dialog.
void onModalDialog(const std::function<void(QDialog*)>& look) {
    QTimer::singleShot(0, [look] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr) << "no modal dialog";
        if (!dialog)
            return;
        look(dialog);
        dialog->reject();
    });
}

TEST(MainWindowMenus, NuevoShowsTheProjectDialogWithoutOwner) {
    WindowHarness h;
    bool seen = false;
    onModalDialog([&](QDialog* dialog) {
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Nuevo archivo de proyecto Tradumar"));
        EXPECT_EQ(dialog->parentWidget(), nullptr);
    });
    h.action("mnuNuevo")->trigger();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(h.action("mnuAbrir")->isEnabled()); // cancelled: still no project
}

TEST(MainWindowMenus, ConfigurarShowsTheOpenProjectOwnedByTheWindow) {
    testsupport::FixtureProject project;
    project.script("00[1].txt", "a");
    WindowHarness h;
    h.openProject(project);
    bool seen = false;
    onModalDialog([&](QDialog* dialog) {
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Configurar proyecto"));
        EXPECT_EQ(dialog->parentWidget(), &h.window);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("txtNombre"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Demo"));
    });
    h.action("mnuConfig")->trigger();
    EXPECT_TRUE(seen);
    // The window does nothing after the dialog closes.
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Demo - Tradumar 1.0 Beta"));
}

TEST(MainWindowHost, TheProjectDialogsRoutinesReachTheWindow) {
    testsupport::FixtureProject project;
    project.script("b[1].txt", "a");
    project.script("A[1].txt", "a");
    WindowHarness h;
    ProjectDialogHost& host = h.window;
    EXPECT_FALSE(host.pointScriptList(QStringLiteral("/no/such/folder")));
    EXPECT_TRUE(host.pointScriptList(pathToQString(project.scriptsFolder)));
    EXPECT_EQ(host.scriptListCount(), 2);
    EXPECT_EQ(h.scripts()->fileNames(), (QStringList{"A[1].txt", "b[1].txt"}));
    EXPECT_FALSE(h.scripts()->isVisible()); // pointing leaves it hidden
    host.showScriptList();
    EXPECT_TRUE(h.scripts()->isVisible());
    host.habilitar();
    host.habilitarMenus();
    EXPECT_TRUE(h.action("mnuCerrar")->isEnabled());
    EXPECT_TRUE(h.menu("mnuEdición")->isEnabled());
    EXPECT_TRUE(h.menu("mnuHerramientas")->isEnabled());
    host.disableMnuAbrir();
    EXPECT_FALSE(h.action("mnuAbrir")->isEnabled());
    EXPECT_TRUE(h.action("mnuNuevo")->isEnabled());
    host.disableMnuNuevo();
    EXPECT_FALSE(h.action("mnuNuevo")->isEnabled());
}

} // namespace
} // namespace tradumar
