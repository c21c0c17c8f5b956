// Nothing the program shows as fitting or inserts is weighed or written
// otherwise than the encoder writes it; tables follow their files.
#include <cstdlib>

#include <QEvent>
#include <QHelpEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

#include "support/widgets.h"
#include "support/window_harness.h"
#include "workspace/progress_window.h"

namespace tradumar::testsupport {
namespace {

// The colour near the middle of a script's mark, by name.
QString markColour(const QListWidgetItem* item) {
    const QRgb c = item->icon().pixmap(10, 10).toImage().pixel(5, 3);
    if (qAlpha(c) == 0)
        return QStringLiteral("none");
    if (qGreen(c) > qRed(c))
        return QStringLiteral("green");
    return qGreen(c) < 80 ? QStringLiteral("red") : QStringLiteral("orange");
}

TEST(WrongBytes, MarksWeighRealBytesAndNameWhatCannotBeInserted) {
    FixtureProject project;
    for (const char* name : {"10[4].txt", "20[4].txt", "30[1].txt", "40[4].txt", "zzzz[10].txt"})
        project.script(name, "Text");
    project.translation("20[4].txt", "Hola\r\n");
    project.translation("30[1].txt", "<0A0B>\r\n"); // one byte on the label, two in the ROM
    project.translation("40[4].txt", "Hü\r\n");     // the table has no ü
    project.translation("zzzz[10].txt", "Hola\r\n");
    WindowHarness h;
    h.openProject(project);
    const QStringList tooltips = {"Sin traducir", "Traducido: 4 de 4 bytes", "Excede su tamaño: 2 de 1 bytes",
                                  "No se puede insertar: caracteres que la tabla no tiene",
                                  "No se puede insertar: el nombre no indica dirección y tamaño"};
    // A grey ring (nothing in the middle), a green disc, a red triangle, an orange sign.
    const QStringList colours = {"none", "green", "red", "orange", "orange"};
    for (int row = 0; row < 5; ++row) {
        const QListWidgetItem* item = h.scripts()->item(row);
        EXPECT_EQ(item->toolTip(), tooltips[row]) << row;
        EXPECT_EQ(markColour(item), colours[row]) << row;
    }
    EXPECT_EQ(h.label("lblProgreso"),
              QStringLiteral("Traducidos: 4 de 5 (80 %) · 1 excede su tamaño · 2 no se pueden insertar"));

    // The label keeps the live count; its tooltip gives the real bytes.
    h.clickScript(2);
    h.tick();
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("1"));
    auto* realesT = h.find<QLabel>("lblRealesT");
    QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), realesT->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(realesT, &ask);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Bytes reales al insertar: 2"));
    EXPECT_EQ(h.find<QLabel>("lblRealesD")->palette().color(QPalette::WindowText), QColor(Qt::red));
    // What the table cannot write is underlined, apart from the spelling.
    h.clickScript(3);
    QStringList marked;
    for (const QTextLayout::FormatRange& range : h.translationPane()->document()->begin().layout()->formats())
        if (range.format.underlineStyle() == QTextCharFormat::DashUnderline)
            marked << h.paneText().mid(range.start, range.length);
    EXPECT_EQ(marked, QStringList{QStringLiteral("ü")});
    // A name without offset and size has no budget to show.
    h.clickScript(4);
    h.tick();
    EXPECT_EQ(h.label("lblRealesO") + h.label("lblRealesD"), QString());
}

// The command line and the window weigh the same project alike.
TEST(WrongBytes, EstadoAndTheProgressWindowReportTheSameFigures) {
    FixtureProject project;
    for (const char* name : {"10[4].txt", "30[1].txt", "40[4].txt"})
        project.script(name, "Text");
    project.translation("10[4].txt", "Hola\r\n");
    project.translation("30[1].txt", "<0A0B>\r\n");
    project.translation("40[4].txt", "Hü\r\n");
    WindowHarness h;
    h.openProject(project);
    h.action("mnuProgreso")->trigger();
    auto* table = child<QTableWidget>(*child<ProgressWindow>(h.window, "frmProgreso"), "tblProgreso");
    QStringList window;
    for (int row = 0; row < table->rowCount(); ++row)
        window << QStringLiteral("%1 %2 %3")
                      .arg(table->item(row, 0)->text(), table->item(row, 1)->text(),
                           table->item(row, 2)->text());
    const std::string out = project.dir.file("estado.tsv");
    ASSERT_EQ(
        std::system(("'" TRADUMAR_CLI "' estado '" + project.projectFile + "' --tsv >'" + out + "'").c_str()),
        0);
    QStringList cli = QString::fromStdString(readBytes(out)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    cli.removeFirst(); // the heading
    for (QString& row : cli) {
        const QStringList cells = row.split(QLatin1Char('\t'));
        row = QStringLiteral("%1 %2 %3").arg(cells[0], cells[3], cells[2]); // script, bytes, size
    }
    EXPECT_EQ(window, cli);
    EXPECT_EQ(window, (QStringList{"10[4].txt 4 4", "30[1].txt 2 1", "40[4].txt 1 4"}));
}

TEST(WrongBytes, TablesFollowTheirFilesAndUnusableLinesAreNamedOnce) {
    FixtureProject project;
    project.script("10[4].txt", "Text");
    // "ZZ" and "12345" are no digit pairs: never used, and said once.
    writeBytes(project.translatedTablePath, letterTable("ZZ=hola\r\n12345=xx\r\n"));
    WindowHarness h;
    h.openProject(project);
    EXPECT_EQ(h.desktop.dialogs.texts(),
              QStringList{QStringLiteral(
                              "Estas líneas de las tablas no se pueden usar: su código no son pares de "
                              "dígitos hexadecimales.\r\nTabla traducida %1 (2):\r\n  línea 71: ZZ=hola\r\n"
                              "  línea 72: 12345=xx")
                              .arg(pathToQString(project.translatedTablePath))});
    h.translationPane()->setFocus();
    h.type(QStringLiteral("hola"));
    h.tick();
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("4"));

    // Edited outside: noticed when the window comes back.
    writeBytes(project.translatedTablePath, letterTable("90=hola\r\n"));
    std::filesystem::last_write_time(project.translatedTablePath,
                                     std::filesystem::last_write_time(project.translatedTablePath) +
                                         std::chrono::seconds(5));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&h.window, &activate);
    h.tick();
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("1"));
    EXPECT_EQ(h.window.statusBar()->currentMessage(),
              QStringLiteral("Se han recargado las tablas: sus archivos cambiaron."));

    // "Recargar tablas" on demand.
    writeBytes(project.translatedTablePath, letterTable());
    h.action("mnuRecargar")->trigger();
    h.tick();
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("4"));

    // "Configurar" pointing at another table.
    const std::string other = project.root + "/otra.tbl";
    writeBytes(other, letterTable("91=hola\r\n"));
    h.desktop.dialogs.fileAnswers = {pathToQString(other)};
    withModal([&] { h.action("mnuConfig")->trigger(); },
              [](QDialog& d) {
                  child<QPushButton>(d, "cmdTTBL")->click();
                  child<QPushButton>(d, "cmdAceptar")->click();
              });
    h.tick();
    EXPECT_EQ(h.label("lblRealesT"), QStringLiteral("1"));
}

} // namespace
} // namespace tradumar::testsupport
