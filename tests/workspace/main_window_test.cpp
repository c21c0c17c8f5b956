#include <QFontInfo>
#include <QMenuBar>

#include "support/shown_text.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

TEST(MainWindow, StartsEmptyWithOnlyTheProjectlessCommands) {
    WindowHarness h;
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Tradumar 1.0 Beta"));
    EXPECT_FALSE(h.scripts()->isVisible());
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
          "cmdOrtog", "cmdInsertar", "cmdGuardar"})
        texts << shownText(h.find(name));
    for (QAction* menu : h.window.menuBar()->actions()) {
        // A mnemonic's "&" only underlines a letter: the caption shown is the rest.
        texts << menu->text().remove(QLatin1Char('&')) + QLatin1Char(':');
        for (QAction* item : menu->menu()->actions())
            texts << item->text().remove(QLatin1Char('&'));
    }
    EXPECT_EQ(
        texts.join(QLatin1Char('|')),
        QStringLiteral("Editor|Largo de línea:|0|Total de líneas:|0|Scripts e información|Bytes Reales "
                       "Traducido:|0|Bytes Reales Original:|0|Bytes Reales Disponibles:|0|<< Anterior|"
                       "Siguiente >>|Buscar Texto|Revisar Ortografía|Insertar Script|Guardar|"
                       "Proyecto:|Nuevo|Abrir|Recientes|Cerrar|Configurar|Salir|Edición:|Guardar script|"
                       "Insertar script|Buscar|Añadir al glosario|Siguiente sin traducir|Herramientas:|Revisar "
                       "Ortografía|Ejecutar ROM Emulada|Extraer scripts...|Comprobar la ROM|"
                       "Insertar todos los scripts traducidos|Deshacer última inserción|Espacio libre...|Recargar "
                       "tablas|Subrayar errores "
                       "ortográficos||Crear parche...|Progreso de la traducción|"
                       "Ayuda:|Manual de usuario|Acerca de..."));
}

} // namespace
} // namespace tradumar::testsupport
