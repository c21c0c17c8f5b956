#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::FixtureProject;
using testsupport::WindowHarness;

struct Figures {
    QString linea, lineas, realesT, realesO, realesD;
    bool operator==(const Figures&) const = default;
};

void PrintTo(const Figures& f, std::ostream* os) {
    *os << "{linea " << f.linea.toStdString() << ", lineas " << f.lineas.toStdString() << ", T "
        << f.realesT.toStdString() << ", O " << f.realesO.toStdString() << ", D " << f.realesD.toStdString()
        << "}";
}

Figures figures(const WindowHarness& h) {
    return {h.label("lblLinea"), h.label("lblLineas"), h.label("lblRealesT"), h.label("lblRealesO"),
            h.label("lblRealesD")};
}

class StatusTest : public ::testing::Test {
protected:
    FixtureProject project;
    WindowHarness h;

    void SetUp() override {
        project.script("00[20].txt", "Original");
        h.openProject(project);
    }

    void setText(const QString& text, int caret) {
        QPlainTextEdit* pane = h.translationPane();
        pane->setPlainText(text);
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition(caret);
        pane->setTextCursor(cursor);
    }
};

TEST_F(StatusTest, FiguresFollowTheTextAndTheCaret) {
    struct Case {
        QString text;
        int caret;
        Figures expected;
    };
    const Case cases[] = {
        // A raw block counts one byte and no characters of the line.
        {QStringLiteral("Hola<0A>mundo"), 0, {"9", "1", "10", "20", "10"}},
        // An unclosed block counts one and ends the count: nothing closes it
        // within 101 characters.
        {QStringLiteral("ab<cd"), 2, {"4", "1", "3", "20", "17"}},
        // Two lines and the line break between them.
        {QStringLiteral("uno\ndos tres"), 5, {"8", "2", "12", "20", "8"}},
        {QStringLiteral("uno\n\ntres"), 4, {"0", "3", "9", "20", "11"}},
        // A translation ending in a line break has one more, empty, line.
        {QStringLiteral("uno\n"), 0, {"3", "2", "4", "20", "16"}},
        // Over the budget: a negative figure.
        {QStringLiteral("abcdefghijklmnopqrstuvw"), 0, {"23", "1", "23", "20", "-3"}},
        // Accented letters of the translated table count like any other.
        {QStringLiteral("¿Qué?"), 3, {"5", "1", "5", "20", "15"}},
        {QString(), 0, {"0", "0", "0", "20", "20"}},
    };
    for (const auto& c : cases) {
        setText(c.text, c.caret);
        h.tick();
        EXPECT_EQ(figures(h), c.expected) << c.text.toStdString();
    }
}

TEST_F(StatusTest, ShiftEnterBreaksTheLineLikeEnter) {
    setText(QString(), 0);
    h.type(QStringLiteral("ab"));
    QTest::keyClick(h.translationPane(), Qt::Key_Return, Qt::ShiftModifier);
    h.type(QStringLiteral("c"));
    h.tick();
    EXPECT_EQ(h.paneText(), QStringLiteral("ab\nc"));
    EXPECT_EQ(figures(h), (Figures{"1", "2", "4", "20", "16"}));
}

TEST_F(StatusTest, TheLineOfASelectionIsTheLineWhereItStarts) {
    setText(QStringLiteral("a\nbbb\ncc"), 2);
    QTextCursor cursor = h.translationPane()->textCursor();
    cursor.setPosition(7, QTextCursor::KeepAnchor); // from line 2 into line 3
    h.translationPane()->setTextCursor(cursor);
    h.tick();
    EXPECT_EQ(h.label("lblLinea"), QStringLiteral("3"));
}

TEST_F(StatusTest, TypingShowsWithinATickOfTheRunningTimer) {
    h.translationPane()->setFocus();
    h.type(QStringLiteral("Hola\nmundo<FF>"));
    QTest::qWait(40);
    EXPECT_EQ(figures(h), (Figures{"5", "2", "11", "20", "9"}));
    QTest::keyClick(h.translationPane(), Qt::Key_Up);
    QTest::qWait(40);
    EXPECT_EQ(h.label("lblLinea"), QStringLiteral("4"));
}

TEST_F(StatusTest, ChangesOutsideThePaneAreSeenToo) {
    // "[" and "]" are in no table: they count nothing.
    setText(QStringLiteral("a[1]b<22>"), 0);
    h.tick();
    EXPECT_EQ(figures(h), (Figures{"5", "1", "4", "20", "16"}));

    // Other enclosures: the same text now holds another raw block.
    h.workspace.settings.setLeftEnclosure("[");
    h.workspace.settings.setRightEnclosure("]");
    h.tick();
    EXPECT_EQ(figures(h), (Figures{"6", "1", "5", "20", "15"}));

    // A new original size, and a label overwritten by opening a script.
    h.find<QLabel>("lblRealesO")->setText(QStringLiteral("3"));
    h.find<QLabel>("lblRealesT")->setText(QStringLiteral("0"));
    h.tick();
    EXPECT_EQ(figures(h), (Figures{"6", "1", "5", "3", "-2"}));
}

TEST(StatusWithoutProject, CountsAgainstZero) {
    WindowHarness h;
    h.tick();
    EXPECT_EQ(figures(h), (Figures{"0", "0", "0", "0", "0"}));
    // With both tables empty only line breaks and raw blocks count.
    h.translationPane()->setPlainText(QStringLiteral("ab\ncd<01>"));
    h.tick();
    EXPECT_EQ(figures(h), (Figures{"2", "2", "2", "0", "-2"}));
}

TEST(StatusWithoutProject, VeryLongLinesAreCountedWhole) {
    WindowHarness h;
    h.translationPane()->setPlainText(QString(40000, QLatin1Char('x')));
    h.tick();
    EXPECT_EQ(h.label("lblLinea"), QStringLiteral("40000"));
}

} // namespace
} // namespace tradumar
