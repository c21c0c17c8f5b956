// From a key press in the translation pane to updated labels: the main
// window's own key handling (the change tracking copies the whole text), then
// one tick of the status refresh, on a 32767-character script and a
// 5000-entry translated table. One tick is 10 ms; the whole path must fit,
// with the misspelled words underlined (argument 1) or not (0). Argument 2
// adds, with the underline, what a working day has on: the text-box limits
// (28 characters a line, 3 lines a box ending at <0A>) marked in the pane and
// a glossary of 200 terms, a dozen of them in the original, flagged as typed.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "bench_application.h"
#include "glossary/glossary.h"
#include "platform/qt_platform.h"
#include "platform/qt_text.h"
#include "project/workspace.h"
#include "workspace/limit_marks.h"
#include "workspace/main_window.h"

namespace {

using namespace tradumar;

std::string hexByte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

// 5000 entries: single letters first, then pairs and triples of letters
// (DTE and MTE entries), each with its own one- or two-byte code.
void fillTable(ThingyTable& table) {
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ,.";
    int position = 1;
    for (const char c : letters) {
        table.set(position, {hexByte(position), std::string(1, c)});
        ++position;
    }
    for (std::size_t a = 0; a < letters.size() && position <= ThingyTable::kCapacity; ++a)
        for (std::size_t b = 0; b < letters.size() && position <= ThingyTable::kCapacity; ++b)
            for (std::size_t c = 0; c <= letters.size() && position <= ThingyTable::kCapacity; ++c) {
                std::string text{letters[a], letters[b]};
                if (c < letters.size())
                    text += letters[c];
                table.set(position, {hexByte(position >> 8) + hexByte(position & 255), text});
                ++position;
            }
}

// 32767 characters of text in lines of 30, with a raw block now and then.
QString script() {
    std::string text;
    const std::string words = "the quick brown fox jumps over a lazy dog ";
    for (std::size_t i = 0; text.size() < 32767; ++i) {
        if (i % 30 == 29)
            text += "\r\n";
        else if (i % 97 == 0)
            text += "<0A>";
        else
            text += words[i % words.size()];
    }
    text.resize(32767);
    return toQString(text);
}

void KeyPressToLabels(benchmark::State& state) {
    benchApplication();
    Workspace workspace;
    fillTable(workspace.translatedTable);
    workspace.translatedLongest = workspace.translatedTable.longestTextLength(false);
    QtPlatform desktop; // no box is ever shown on this path
    MainWindow window(workspace, desktop.platform(), QString());
    window.show();
    const bool workingDay = state.range(0) == 2;
    std::string folder;
    if (workingDay) {
        char name[] = "/tmp/tradumar-bench-XXXXXX";
        folder = ::mkdtemp(name);
        workspace.settings.projectFilePath = folder + "/Demo.tpr";
        workspace.settings.textBoxLimits = {28, 3, {"<0A>"}, {}};
        std::vector<GlossaryPair> pairs;
        for (int i = 0; i < 200; ++i)
            pairs.push_back({"término" + std::to_string(i), "term" + std::to_string(i)});
        for (const char* word : {"quick", "brown", "fox", "lazy", "dog"})
            pairs.push_back({word, std::string(word) + "ísimo"});
        Glossary glossary;
        glossary.load(workspace.settings.projectFilePath);
        glossary.save(pairs);
        window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtOriginal"))->setPlainText(script());
    }

    auto* pane = window.findChild<QPlainTextEdit*>(QStringLiteral("rtxtTraducido"));
    auto* realesT = window.findChild<QLabel*>(QStringLiteral("lblRealesT"));
    window.findChild<QAction*>(QStringLiteral("mnuSubrayar"))->setChecked(state.range(0) >= 1);
    state.SetLabel(workingDay            ? "underlining, limits and glossary on"
                   : state.range(0) == 1 ? "underlining on"
                                         : "underlining off");
    pane->setPlainText(script());
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(16000);
    pane->setTextCursor(cursor);
    window.refreshStatus();

    // Typing a letter and taking it back again keeps the text at its size;
    // each is one key press followed by the tick that shows it.
    bool type = true;
    for (auto _ : state) {
        if (type)
            QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_X, QStringLiteral("x"), Qt::NoModifier);
        else
            QTest::keyClick(pane, Qt::Key_Backspace);
        window.refreshStatus();
        benchmark::DoNotOptimize(realesT->text());
        type = !type;
    }
    state.counters["bytes"] = realesT->text().toDouble();
    state.counters["characters"] = static_cast<double>(pane->document()->characterCount() - 1);
    // The limit marks of the lines in sight, which the pane paints.
    const QTextBlock first = pane->document()->findBlock(pane->cursorForPosition(QPoint(0, 0)).position());
    const QTextBlock last = pane->document()->findBlock(
        pane->cursorForPosition(QPoint(0, pane->viewport()->height() - 1)).position());
    state.counters["marks"] =
        static_cast<double>(pane->findChild<LimitMarks*>()->marksBetween(first, last).size());
    if (workingDay)
        std::filesystem::remove_all(folder);
}
BENCHMARK(KeyPressToLabels)->Arg(1)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
