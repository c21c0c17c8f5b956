#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolTip>

#include "insertion/insert_all_dialog.h"
#include "support/widgets.h"
#include "support/window_harness.h"
#include "workspace/free_space_dialog.h"
#include "workspace/pointer_search_dialog.h"

namespace tradumar::testsupport {
namespace {

// A 256-byte ROM of dots in a folder with accents. "40[6].txt" has a
// 2-byte pointer at 0x10 (a look-alike value sits at 0x30), "60[4].txt" has
// none; 0x80-0xBF is declared free and a vacated area is filled with 00.
class RelocationWindow : public ::testing::Test {
protected:
    FixtureProject project{"Traducción ñ"};
    WindowHarness h;
    std::string base;
    const std::string pointerPath = project.projectFile + ".punteros";
    const std::string longText = "A\xF1o m\xE1s largo"; // "Año más largo", 13 bytes

    void SetUp() override {
        base = std::string(256, '.');
        base.replace(0x10, 2, "\x40\x00", 2);
        base.replace(0x30, 2, "\x40\x00", 2);
        writeBytes(project.romPath, base);
        project.script("40[6].txt", "Origin");
        project.script("60[4].txt", "Four");
        writePointers(true);
        h.openProject(project);
    }
    void writePointers(bool confirmed) const {
        writeBytes(pointerPath,
                   "tradumar-punteros 1\nformato 2:le:lineal:0:0\nrelleno 00\nlibre 80-BF\n" +
                       std::string(confirmed ? "punteros 2:le:lineal:0:0 10 = 40[6].txt\n" : ""));
    }
    std::string rom() const { return readBytes(project.romPath); }
    std::string moved(std::string_view text) const {
        std::string r = base;
        r.replace(0x10, 2, "\x80\x00", 2);
        r.replace(0x40, 6, 6, '\0');
        r.replace(0x80, text.size(), text);
        return r;
    }
    void insert(const QString& text, std::deque<MessageAnswer> answers) {
        h.translationPane()->clear();
        h.clickScript(0);
        h.translationPane()->setPlainText(text);
        h.tick();
        h.desktop.dialogs.clearRecords();
        h.desktop.dialogs.answers = std::move(answers);
        h.click("cmdInsertar");
        EXPECT_TRUE(h.desktop.dialogs.answers.empty()) << "questions left unasked";
    }
    QString tip(const char* name) {
        QLabel* label = h.find<QLabel>(name);
        QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), label->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(label, &event);
        return QToolTip::text();
    }
    QString placeTip() { return tip("lblRealesD"); }
};

const RecordedMessage kOffer{
    QStringLiteral("El script excede su tamaño en 7 byte(s), pero tiene 1 puntero(s) y "
                   "cabe en el espacio libre de la dirección 0x80.\r\n¿Desea "
                   "reubicarlo allí?"),
    QStringLiteral("Reubicar"), MessageButtons::YesNo, MessageIcon::Question};

TEST_F(RelocationWindow, InsertOffersToMoveAndOneUndoPutsEverythingBack) {
    // No: the over-budget warning follows, and its No writes nothing.
    insert(QStringLiteral("Año más largo"), {MessageAnswer::No, MessageAnswer::No});
    ASSERT_EQ(h.messages().size(), 2u);
    EXPECT_EQ(h.messages()[0], kOffer);
    EXPECT_EQ(
        h.messages()[1].text,
        QStringLiteral("Tienes que disminuir  7 byte(s).\r\n¿Desea insertar el script de todos modos?"));
    EXPECT_EQ(rom(), base);

    insert(QStringLiteral("Año más largo"), {MessageAnswer::Yes});
    EXPECT_EQ(h.messages(),
              (std::vector<RecordedMessage>{
                  kOffer, info(QStringLiteral("Se han insertado 13 bytes en la dirección 0x80, adonde "
                                              "se ha reubicado el script; se han reescrito 1 "
                                              "puntero(s)."))}));
    EXPECT_EQ(rom(), moved(longText));
    EXPECT_EQ(placeTip(),
              QStringLiteral("Reubicado en 0x80 (su lugar original es 0x40), con sitio para 13 bytes."));

    // Written again, it goes where it lives now.
    insert(QStringLiteral("Año"), {MessageAnswer::Yes});
    EXPECT_EQ(h.messages().back(), info(QStringLiteral("Se han insertado 3 bytes en la dirección 0x80.")));
    EXPECT_EQ(rom(), moved("A\xF1o m\xE1s largo").replace(0x80, 3, "A\xF1o"));

    h.desktop.dialogs.clearRecords();
    for (int step = 0; step < 2; ++step) {
        emit h.find<QMenu>("mnuHerramientas")->aboutToShow();
        h.action("mnuDeshacer")->trigger();
    }
    EXPECT_EQ(h.desktop.dialogs.texts(), QStringList({"Se restauraron 3 bytes en 0x80 (40[6]).",
                                                      "Se restauraron 21 bytes en 0x80 (40[6])."}));
    EXPECT_EQ(rom(), base);
    EXPECT_EQ(placeTip(), QStringLiteral("En 0x40, con sitio para 6 bytes."));
}

TEST_F(RelocationWindow, InsertAllRelocatesWhenTickedAndSaysWhyOthersStay) {
    project.translation("40[6].txt", longText);
    project.translation("60[4].txt", "Se\xF1"
                                     "ales");
    h.desktop.dialogs.clearRecords();
    const bool shown = withModal<InsertAllDialog>(
        [&] { h.action("mnuInsertarTodos")->trigger(); },
        [](InsertAllDialog& report) {
            auto* grid = child<QTableWidget>(report, "grdScripts");
            EXPECT_EQ(grid->item(0, 3)->text(), "Excede en 7 byte(s): no se insertará");
            child<QCheckBox>(report, "chkReubicar")->setChecked(true);
            EXPECT_EQ(grid->item(0, 3)->text(), "Se reubica en 0x80 (13 bytes, 1 puntero(s))");
            EXPECT_EQ(
                grid->item(1, 3)->text(),
                "Excede en 3 byte(s) y no se puede reubicar: no tiene punteros confirmados: no se insertará");
            EXPECT_EQ(child<QLabel>(report, "lblResumen")->text(),
                      "Se insertarán 1 de 2 scripts traducidos (13 bytes). Se reubicarán 1.");
            report.accept();
        });
    ASSERT_TRUE(shown);
    EXPECT_EQ(
        h.desktop.dialogs.texts(),
        QStringList(
            {"Scripts insertados: 1 (13 bytes).\r\nSe han reubicado 1 scripts y reescrito 1 punteros."}));
    EXPECT_EQ(rom(), moved(longText));
}

TEST_F(RelocationWindow, PointerSearchConfirmsTheTickedCandidates) {
    writePointers(false);
    h.clickScript(0);
    h.desktop.dialogs.clearRecords();
    const auto search = [&](const std::function<void(PointerSearchDialog&)>& act) {
        return withModal<PointerSearchDialog>([&] { h.action("mnuBuscarPunteros")->trigger(); }, act);
    };
    ASSERT_TRUE(search([](PointerSearchDialog& dialog) {
        auto* grid = child<QTableWidget>(dialog, "grdCandidatos");
        ASSERT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(grid->item(1, 0)->text(), "0x30");
        EXPECT_EQ(grid->item(1, 1)->text(), "2E 2E 2E 2E 2E 2E 2E 2E [40 00] 2E 2E 2E 2E 2E 2E 2E 2E");
        grid->item(1, 0)->setCheckState(Qt::Checked);
        child<QPushButton>(dialog, "cmdConfirmar")->click();
        EXPECT_EQ(grid->item(1, 2)->text(), "Confirmado");
        EXPECT_EQ(grid->item(0, 2)->text(), "");
    }));
    EXPECT_EQ(h.desktop.dialogs.texts(), QStringList({"Se han confirmado 1 puntero(s) de 40[6].txt."}));
    EXPECT_NE(readBytes(pointerPath).find("punteros 2:le:lineal:0:0 30 = 40[6].txt"), std::string::npos);
    ASSERT_TRUE(search([](PointerSearchDialog& dialog) {
        const QTableWidgetItem* confirmed = child<QTableWidget>(dialog, "grdCandidatos")->item(1, 0);
        EXPECT_EQ(confirmed->checkState(), Qt::Checked);
        EXPECT_FALSE(confirmed->flags() & Qt::ItemIsEnabled);
    }));
}

TEST_F(RelocationWindow, FreeSpaceIsDeclaredLineByLineAndWhatIsLeftIsShown) {
    h.desktop.dialogs.clearRecords();
    ASSERT_TRUE(withModal<FreeSpaceDialog>(
        [&] { h.action("mnuEspacioLibre")->trigger(); },
        [&](FreeSpaceDialog& dialog) {
            auto* ranges = child<QPlainTextEdit>(dialog, "txtRangos");
            EXPECT_EQ(ranges->toPlainText(), "80-BF");
            EXPECT_EQ(child<QLabel>(dialog, "lblQueda")->text(), "80-BF (64 bytes)");
            ranges->setPlainText(QStringLiteral("0xC0-0xCF\nzz"));
            EXPECT_FALSE(dialog.save());
            ranges->setPlainText(QStringLiteral(" c0-cf \n\n80-BF"));
            child<QLineEdit>(dialog, "txtRelleno")->setText(QStringLiteral("AA"));
            child<QSpinBox>(dialog, "spnAlineacion")->setValue(4);
            EXPECT_TRUE(dialog.save());
            EXPECT_EQ(ranges->toPlainText(), "80-CF");
            EXPECT_EQ(child<QLabel>(dialog, "lblQueda")->text(), "80-CF (80 bytes)");
        }));
    EXPECT_EQ(h.desktop.dialogs.texts(),
              QStringList({"La línea 2 («zz») no es un rango INICIO-FIN en hexadecimal."}));
    const PointerFileLoad saved = loadPointerFile(pointerPath);
    EXPECT_EQ(std::tuple(saved.file.freeRanges, saved.file.filler, saved.file.alignment),
              std::tuple(std::vector<ByteRange>{{0x80, 0xCF}}, std::uint8_t{0xAA}, 4));
    EXPECT_EQ(saved.file.pointersOf("40[6].txt").size(), 1u) << "the pointers stay";
}

// "ñand": longest first "ña" "n" "d", shortest "ñ" "and".
TEST_F(RelocationWindow, WithTheOptimalEncodingTheCountAndTooltipFollowIt) {
    ASSERT_EQ(parseThingyTable(letterTable("F1=ñ\nA0=ña\nB0=and\n"), h.workspace.translatedTable,
                               TableOverflow::Fail),
              LoadStatus::Loaded);
    h.workspace.translatedLongest = h.workspace.originalLongest = 3;
    for (const auto& [on, count, saved] : {std::tuple{false, "3", ""}, std::tuple{true, "2", "1"}}) {
        h.workspace.settings.optimalEncoding = on;
        h.translationPane()->setPlainText(QStringLiteral("ñand"));
        h.tick();
        EXPECT_EQ(h.label("lblRealesT"), QLatin1String(count));
        EXPECT_EQ(tip("lblRealesT"),
                  on ? QStringLiteral("La codificación óptima ahorra %1 byte(s) en este script.")
                           .arg(QLatin1String(saved))
                     : QString());
    }
}

} // namespace
} // namespace tradumar::testsupport
