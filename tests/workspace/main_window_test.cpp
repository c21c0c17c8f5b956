#include <functional>

#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>

#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::WindowHarness;

TEST(MainWindow, StartsEmptyWithOnlyTheProjectlessCommands) {
    WindowHarness h;
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_TRUE(h.paneText().isEmpty() && h.originalText().isEmpty());
    EXPECT_FALSE(h.scripts()->isVisible());
    EXPECT_EQ(h.enabledCommands(), QStringLiteral("Nuevo Abrir"));
    // Both panes show lines as the game's text box does: monospaced, never wrapped.
    for (QPlainTextEdit* pane : {h.translationPane(), h.originalPane()}) {
        EXPECT_TRUE(QFontInfo(pane->font()).fixedPitch());
        EXPECT_EQ(pane->lineWrapMode(), QPlainTextEdit::NoWrap);
    }
}

TEST(MainWindow, ShowsTheTextsAUserReads) {
    WindowHarness h;
    QStringList texts;
    for (const char* name :
         {"fraEdicion", "Label1", "lblLinea", "Label2", "lblLineas", "fraInfo", "lblBytesT", "lblRealesT",
          "lblBytesO", "lblRealesO", "Label6", "lblRealesD", "cmdAnterior", "cmdSiguiente", "cmdBuscar",
          "cmdOrtog", "cmdInsertar", "cmdGuardar"}) {
        QWidget* w = h.find(name);
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* button = qobject_cast<QPushButton*>(w))
            texts << button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            texts << frame->title();
    }
    for (QAction* menu : h.window.menuBar()->actions()) {
        texts << menu->text() + QLatin1Char(':');
        for (QAction* item : menu->menu()->actions())
            texts << item->text();
    }
    EXPECT_EQ(texts.join(QLatin1Char('|')),
              QStringLiteral("Editor|Largo de línea:|0|Total de líneas:|0|Scripts e información|Bytes Reales "
                             "Traducido:|0|Bytes Reales Original:|0|Bytes Reales Disponibles:|0|<< Anterior|"
                             "Siguiente >>|Buscar Texto|Revisar Ortografía|Insertar Script|Guardar|"
                             "Proyecto:|Nuevo|Abrir|Cerrar|Configurar|Salir|Edición:|Guardar script|"
                             "Insertar script|Buscar|Herramientas:|Revisar Ortografía|Ejecutar ROM Emulada|"
                             "Ayuda:|Manual de usuario|Acerca de..."));
}

// Nuevo shows the project dialog without an owner, Configurar shows the open
// project owned by the window; the window does nothing once either closes.
TEST(MainWindow, NuevoAndConfigurarShowTheProjectDialog) {
    for (const bool configure : {false, true}) {
        testsupport::FixtureProject project;
        project.script("00[1].txt", "a");
        WindowHarness h;
        if (configure)
            h.openProject(project);
        const QString title = h.window.windowTitle();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            EXPECT_EQ(dialog->windowTitle(), configure
                                                 ? QStringLiteral("Configurar proyecto")
                                                 : QStringLiteral("Nuevo archivo de proyecto Tradumar"));
            EXPECT_EQ(dialog->parentWidget(), configure ? &h.window : nullptr);
            EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("txtNombre"))->text(),
                      configure ? QStringLiteral("Demo") : QString());
            dialog->reject();
        });
        h.action(configure ? "mnuConfig" : "mnuNuevo")->trigger();
        EXPECT_TRUE(seen);
        EXPECT_EQ(h.window.windowTitle(), title);
    }
}

TEST(MainWindow, TheProjectDialogsRoutinesReachTheWindow) {
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
    host.disableMnuAbrir();
    EXPECT_EQ(h.enabledCommands(), QStringLiteral("Nuevo Cerrar Config Guardar Edición Herramientas"));
    host.disableMnuNuevo();
    EXPECT_FALSE(h.action("mnuNuevo")->isEnabled());
}

} // namespace
} // namespace tradumar
