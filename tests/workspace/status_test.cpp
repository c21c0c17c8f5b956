#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

// Largo de línea, Total de líneas, and the translated, original and available bytes.
QString figures(const WindowHarness& h) {
    QStringList out;
    for (const char* name : {"lblLinea", "lblLineas", "lblRealesT", "lblRealesO", "lblRealesD"})
        out << h.label(name);
    return out.join(QLatin1Char(' '));
}

void setText(WindowHarness& h, const QString& text, int caret, int selectTo = -1) {
    h.translationPane()->setPlainText(text);
    QTextCursor cursor = h.translationPane()->textCursor();
    cursor.setPosition(caret);
    if (selectTo >= 0)
        cursor.setPosition(selectTo, QTextCursor::KeepAnchor);
    h.translationPane()->setTextCursor(cursor);
    h.tick();
}

TEST(Status, FiguresFollowTheTextTheCaretAndTheEnclosures) {
    FixtureProject project;
    project.script("00[20].txt", "Original");
    WindowHarness h;
    h.openProject(project);
    struct Case {
        QString text;
        int caret, selectTo;
        const char* expected;
    };
    const Case cases[] = {
        {QStringLiteral("Hola<0A>mundo"), 0, -1, "9 1 10 20 10"}, // a raw block: one byte, no characters
        {QStringLiteral("ab<cd"), 2, -1, "4 1 3 20 17"},          // unclosed: one byte, and the count ends
        {QStringLiteral("uno\ndos tres"), 5, -1, "8 2 12 20 8"},  // a line break is one byte
        {QStringLiteral("uno\n\ntres"), 4, -1, "0 3 9 20 11"},
        {QStringLiteral("uno\n"), 0, -1, "3 2 4 20 16"},
        {QStringLiteral("a\nbbb\ncc"), 2, 7, "3 3 8 20 12"}, // a selection's line is where it starts
        {QStringLiteral("abcdefghijklmnopqrstuvw"), 0, -1, "23 1 23 20 -3"},
        {QStringLiteral("¿Qué?"), 3, -1, "5 1 5 20 15"},
        // The codes' texts inside words are letters to the counter: the
        // translated table's longest text, codes left out, is 1.
        {QStringLiteral("LINEAS FINALES TENDRÁ"), 0, -1, "21 1 20 20 0"},
        {QString(40000, QLatin1Char('x')), 0, -1, "40000 1 40000 20 -39980"},
        {QString(), 0, -1, "0 0 0 20 20"},
    };
    for (const auto& c : cases) {
        setText(h, c.text, c.caret, c.selectTo);
        EXPECT_EQ(figures(h), QString::fromUtf8(c.expected)) << c.text.left(20).toStdString();
    }

    // Changes outside the pane are seen too: "[" and "]" are in no table...
    setText(h, QStringLiteral("a[1]b<22>"), 0);
    EXPECT_EQ(figures(h), QStringLiteral("5 1 4 20 16"));
    // ...until they are the enclosures.
    h.workspace.settings.setLeftEnclosure("[");
    h.workspace.settings.setRightEnclosure("]");
    h.tick();
    EXPECT_EQ(figures(h), QStringLiteral("6 1 5 20 15"));
    // A new original size, and a label overwritten by opening a script.
    h.find<QLabel>("lblRealesO")->setText(QStringLiteral("3"));
    h.find<QLabel>("lblRealesT")->setText(QStringLiteral("0"));
    h.tick();
    EXPECT_EQ(figures(h), QStringLiteral("6 1 5 3 -2"));
}

TEST(Status, TheRunningTimerShowsTypingAndCountsAgainstZeroWithoutAProject) {
    WindowHarness h;
    h.translationPane()->setFocus();
    h.type(QStringLiteral("ab"));
    QTest::keyClick(h.translationPane(), Qt::Key_Return, Qt::ShiftModifier); // breaks the line like Enter
    h.type(QStringLiteral("cd<01>"));
    // With both tables empty only line breaks and raw blocks count.
    EXPECT_EQ(h.paneText(), QStringLiteral("ab\ncd<01>"));
    fire(h.find<QTimer>("Timer2"));
    EXPECT_EQ(figures(h), QStringLiteral("2 2 2 0 -2"));
    QTest::keyClick(h.translationPane(), Qt::Key_Up);
    fire(h.find<QTimer>("Timer2"));
    EXPECT_EQ(h.label("lblLinea"), QStringLiteral("2"));
}

} // namespace
} // namespace tradumar::testsupport
