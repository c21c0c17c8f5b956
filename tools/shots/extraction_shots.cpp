// The README's picture of the extraction dialog over the demo: its pointer
// table at 0x17F00 (12 two-byte LoROM pointers into bank 03) filled in, and
// the preview of the first scripts it leads to.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "pointers/extraction_dialog.h"
#include "project/workspace.h"
#include "shot.h"
#include "shot_desktop.h"
#include "workspace/main_window.h"

namespace tradumar::shots {

TRADUMAR_SHOT(extraction_dialog, "extraction_dialog.png") {
    DemoWindow demo(context.demoProject);
    ExtractionDialog dialog(demo.workspace, demo.desktop, &demo.window);
    const auto set = [&](const char* name, const char* text) {
        dialog.findChild<QLineEdit*>(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
    };
    set("txtDireccion", "17F00");
    set("txtCuenta", "12");
    set("txtDesplazamiento", "30000");
    dialog.findChild<QComboBox*>(QStringLiteral("cboMapa"))->setCurrentIndex(1); // lorom
    dialog.show();
    QApplication::processEvents();
    return dialog.grab().toImage();
}

} // namespace tradumar::shots
