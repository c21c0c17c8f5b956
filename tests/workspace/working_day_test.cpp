// The text-box limits marked in the translation pane and the glossary
// beside the panes, in the real main window.
#include <QDockWidget>
#include <QHelpEvent>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>

#include "glossary/glossary.h"
#include "project/ini_profile.h"
#include "support/window_harness.h"
#include "workspace/limit_marks.h"

namespace tradumar::testsupport {
namespace {

// The marks of the whole pane: "u" for an underline from one position to
// another, "b" for a band across a line.
QString marks(const QPlainTextEdit* pane) {
    QStringList out;
    const QTextDocument* document = pane->document();
    for (const PaneMark& m :
         pane->findChild<LimitMarks*>()->marksBetween(document->firstBlock(), document->lastBlock())) {
        const int at = document->findBlockByNumber(m.block).position();
        out << (m.band ? QStringLiteral("b%1").arg(m.block)
                       : QStringLiteral("u%1-%2").arg(at + m.from).arg(at + m.to));
    }
    return out.join(QLatin1Char(' '));
}

QString tooltipAt(QPlainTextEdit* pane, int position) {
    QTextCursor cursor(pane->document());
    cursor.setPosition(position);
    const QPoint at = pane->cursorRect(cursor).center() + QPoint(1, 0);
    QHelpEvent event(QEvent::ToolTip, at, pane->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(pane->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Lines of 10 characters, boxes of 2 lines ended by <01>; the first script open.
void openWithBoxLimits(FixtureProject& project, WindowHarness& h) {
    project.writeProjectFile();
    writeIniValue("Limits", "LINE", "10", project.projectFile);
    writeIniValue("Limits", "LINES", "2", project.projectFile);
    writeIniValue("Limits", "BREAKS", "<01>", project.projectFile);
    h.openProject(project.projectFile);
    h.clickScript(0);
}

TEST(WorkingDay, LinesAndBoxesPastTheLimitsAreMarkedAsYouType) {
    FixtureProject project("Traducción ñ");
    project.script("00[80].txt", "Original");
    writeBytes(project.root + "/anchos.txt", "# fuente del juego\r\n=6\r\nW=12\r\ni=2\r\n<02>=30\r\n");
    WindowHarness h;
    openWithBoxLimits(project, h);
    QPlainTextEdit* pane = h.translationPane();
    struct Case {
        QString text;
        const char* expected;
    };
    const Case characters[] = {
        {QStringLiteral("¡Hola, Ána!"), "u10-11"}, // eleven characters: the last is past
        {QStringLiteral("Hola<05>Ána"), ""},       // a raw block counts none
        {QStringLiteral("Uno\nDos\nTres"), "b2"},  // a third line in a box of two
        {QStringLiteral("Uno\nDos<01>\nTres\n𝄞 clave de sol"), "u28-32"}, // a new box; 𝄞 is two positions
        {QStringLiteral("Uno\nDos\nTres<01>Cuatro\ncinco"), "b2"},
    };
    for (const Case& c : characters) {
        pane->setPlainText(c.text);
        h.tick();
        EXPECT_EQ(marks(pane), QString::fromUtf8(c.expected)) << c.text.toStdString();
    }
    EXPECT_EQ(tooltipAt(pane, 9), QStringLiteral("Esta caja tiene 3 líneas; el límite es 2."));

    // Typing over the limit marks the line; the mark is no edit.
    pane->setPlainText(QString());
    h.tick();
    h.type(QStringLiteral("Espadachín!"));
    const int undoSteps = pane->document()->availableUndoSteps();
    h.tick();
    EXPECT_EQ(marks(pane), QStringLiteral("u10-11"));
    EXPECT_EQ(pane->document()->availableUndoSteps(), undoSteps);
    EXPECT_EQ(tooltipAt(pane, 10), QStringLiteral("Esta línea mide 11 caracteres; el límite es 10."));
    QTest::keyClick(pane, Qt::Key_Backspace);
    h.tick();
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("Espadachín"));
    EXPECT_EQ(marks(pane), QString());

    // In pixels with the width table beside the project: W 12, i 2, others 6.
    h.workspace.settings.textBoxLimits.widthTablePath = "anchos.txt";
    h.workspace.settings.textBoxLimits.lineLength = 40;
    const Case pixels[] = {
        {QStringLiteral("WWWi"), ""},             // 38
        {QStringLiteral("WWWab"), "u3-5"},        // a ends at 42, past 40
        {QStringLiteral("iiiiiiiiiiiiiiii"), ""}, // 32
        {QStringLiteral("a<02>b"), "u5-6"},       // 6 + 30 + 6
    };
    for (const Case& c : pixels) {
        pane->setPlainText(c.text);
        h.tick();
        EXPECT_EQ(marks(pane), QString::fromUtf8(c.expected)) << c.text.toStdString();
    }
    EXPECT_EQ(tooltipAt(pane, 5), QStringLiteral("Esta línea mide 42 píxeles; el límite es 40."));
}

TEST(WorkingDay, EachLineInSightIsMarkedAsTheWholeTextMarksItAndThePaneShowsIt) {
    FixtureProject project("Cajas ñ");
    project.script("00[80].txt", "Original");
    WindowHarness h;
    openWithBoxLimits(project, h);
    auto* pane = static_cast<TextPane*>(h.translationPane());
    const auto* limits = pane->findChild<LimitMarks*>();
    pane->setPlainText(
        QStringLiteral("Uno\nDos\n\nTres<01>Cuatro\ncinco\nseis\n<01>\nUna línea demasiado larga\nsiete"));
    h.tick();
    ASSERT_EQ(marks(pane), QStringLiteral("b2 b3 b5 u50-65"));
    // The pane checks only the lines in sight, with the boxes they are part of.
    const QTextDocument* document = pane->document();
    const auto all = limits->marksBetween(document->firstBlock(), document->lastBlock());
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        std::vector<PaneMark> own;
        std::copy_if(all.begin(), all.end(), std::back_inserter(own),
                     [&](const PaneMark& m) { return m.block == block.blockNumber(); });
        EXPECT_EQ(limits->marksBetween(block, block), own) << block.blockNumber();
    }

    // Painted: the band under the text of a box's extra line, the dotted
    // underline below the characters past the limit.
    const QImage image = pane->viewport()->grab().toImage();
    const auto holds = [&](int blockNumber, int fromColumn, int toColumn, QColor colour) {
        const QTextBlock block = document->findBlockByNumber(blockNumber);
        const QRect rect = pane->blockRect(block).toRect();
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + fromColumn);
        const int from = pane->cursorRect(cursor).left();
        cursor.setPosition(block.position() + toColumn);
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = from; x < pane->cursorRect(cursor).left(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    const QColor band(240, 225, 250), underline(140, 40, 190);
    EXPECT_TRUE(holds(5, 0, 3, band));
    EXPECT_FALSE(holds(1, 0, 3, band));
    EXPECT_TRUE(holds(7, 10, 25, underline));
    EXPECT_FALSE(holds(7, 0, 9, underline));

    // A break typed in the middle splits the box of two lines below it; the
    // marks after it move with the text.
    QTextCursor cursor(document->findBlockByNumber(4));
    cursor.setPosition(cursor.position() + 2);
    pane->setTextCursor(cursor);
    h.type(QStringLiteral("<01>"));
    h.tick();
    EXPECT_EQ(marks(pane), QStringLiteral("b2 b3 u54-69"));
}

TEST(WorkingDay, TheGlossaryListsFlagsAndAddsTerms) {
    FixtureProject project("Glosario ñ");
    project.script("00[80].txt", "The Sword of Mana rests in Ironforge.\r\nA sword, not a <0A>Mana<0B>.");
    project.writeProjectFile();
    Glossary glossary;
    glossary.load(project.projectFile);
    ASSERT_EQ(glossary.save(
                  {{"Ironforge", "Forjahierro"}, {"Sword of Mana", "Espada de Maná"}, {"Dragón", "Drake"}}),
              0);
    WindowHarness h;
    h.openProject(project.projectFile);
    h.clickScript(0);
    h.tick();
    auto* list = h.find<QTreeWidget>("lstGlosario");
    const auto rows = [&] {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            out << item->text(0) + QLatin1Char('=') + item->text(1) +
                       (item->toolTip(1).isEmpty() ? "" : " !");
        }
        return out.join(QStringLiteral(", "));
    };
    EXPECT_TRUE(h.find<QDockWidget>("fraGlosario")->isVisible());
    // In order of appearance; both are missing from an empty translation.
    EXPECT_EQ(rows(), QStringLiteral("Sword of Mana=Espada de Maná !, Ironforge=Forjahierro !"));
    h.type(QStringLiteral("La espada de maná descansa en Forjahierro."));
    h.tick();
    EXPECT_EQ(rows(), QStringLiteral("Sword of Mana=Espada de Maná, Ironforge=Forjahierro"));
    h.translationPane()->setPlainText(QStringLiteral("La espada de maná descansa en Forja."));
    h.tick();
    EXPECT_EQ(rows(), QStringLiteral("Sword of Mana=Espada de Maná, Ironforge=Forjahierro !"));
    // Lines taken away and brought back by one edit each.
    h.translationPane()->setPlainText(QStringLiteral("En Forjahierro\n\nla espada de maná\ndescansa."));
    h.tick();
    EXPECT_EQ(rows(), QStringLiteral("Sword of Mana=Espada de Maná, Ironforge=Forjahierro"));
    QTextCursor lines(h.translationPane()->document());
    lines.setPosition(3);
    lines.setPosition(26, QTextCursor::KeepAnchor); // "Forjahierro\n\nla espada d"
    lines.removeSelectedText();
    h.tick();
    EXPECT_EQ(rows(), QStringLiteral("Sword of Mana=Espada de Maná !, Ironforge=Forjahierro !"));
    h.translationPane()->undo();
    h.tick();
    EXPECT_EQ(rows(), QStringLiteral("Sword of Mana=Espada de Maná, Ironforge=Forjahierro"));
    h.translationPane()->setPlainText(QStringLiteral("La espada de maná descansa en Forja."));
    h.tick();

    // "Añadir al glosario" with "rests" selected in the original and "descansa" in the translation.
    const auto select = [](QPlainTextEdit* pane, const QString& word) {
        QTextCursor cursor(pane->document());
        cursor.setPosition(pane->toPlainText().indexOf(word));
        cursor.setPosition(cursor.position() + word.size(), QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
    };
    select(h.originalPane(), QStringLiteral("rests"));
    select(h.translationPane(), QStringLiteral("descansa"));
    h.action("mnuAñadirGlosario")->trigger();
    EXPECT_EQ(rows(),
              QStringLiteral("Sword of Mana=Espada de Maná, rests=descansa, Ironforge=Forjahierro !"));
    EXPECT_EQ(readBytes(glossaryPathFor(project.projectFile)),
              "Ironforge=Forjahierro\r\nSword of Mana=Espada de Maná\r\nDragón=Drake\r\nrests=descansa\r\n");
    EXPECT_TRUE(h.messages().empty());

    // Nothing selected in the original: the translator is told how.
    h.originalPane()->moveCursor(QTextCursor::Start);
    h.action("mnuAñadirGlosario")->trigger();
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_TRUE(h.messages()[0].text.startsWith(QStringLiteral("Seleccione el término")));
}

} // namespace
} // namespace tradumar::testsupport
