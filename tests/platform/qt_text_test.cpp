#include "platform/qt_text.h"

#include <gtest/gtest.h>

namespace tradumar::testsupport {
namespace {

TEST(QtText, TheCoresTextAndTheTextAPaneShows) {
    struct Case {
        std::string utf8;
        QString text;
        bool both = true; // false: only the text turns into the core's
    };
    const Case cases[] = {
        {"éñ¿¡€œ\u00A0\u0081", QStringLiteral("éñ¿¡€œ\u00A0\u0081")},
        {"あ　ヴ♪①α└▶𝄞", QStringLiteral("あ　ヴ♪①α└▶𝄞")},
        {"a\r\nb", QStringLiteral("a\nb")},
        {"a\nb", QStringLiteral("a\u2028b")}, // a lone LF stays apart from a line break
        {"a\rb", QStringLiteral("a\rb")},
        {"a\r\r\nb", QStringLiteral("a\r\nb")},
        {"", QString()},
        {"uno\r\ndos", QStringLiteral("uno\u2029dos"), false}, // a document's paragraph separator
        {"é Å", QStringLiteral("e\u0301 A\u030A"), false},     // typed or pasted decomposed: composed
    };
    for (const auto& c : cases) {
        if (c.both) {
            EXPECT_EQ(toQString(c.utf8), c.text) << c.utf8;
        }
        EXPECT_EQ(fromQString(c.text), c.utf8) << c.utf8;
    }
}

TEST(QtText, PositionsAndPathsCarryOver) {
    // A character beyond U+FFFF takes one place in the core and two in a QString.
    const std::string line = "a𝄞é♪b";
    const QString text = toQString(line);
    for (const auto& [bytes, units] : {std::pair{0, 0}, {1, 1}, {5, 3}, {7, 4}, {10, 5}, {11, 6}}) {
        EXPECT_EQ(qtOffsetOf(line, static_cast<std::size_t>(bytes)), units) << bytes;
        EXPECT_EQ(utf8OffsetOf(text, units), static_cast<std::size_t>(bytes)) << units;
    }
    const std::string path = "/tmp/Traducción/日本語/rom file.smc";
    EXPECT_EQ(pathToQString(path), QString::fromUtf8("/tmp/Traducción/日本語/rom file.smc"));
    EXPECT_EQ(pathFromQString(pathToQString(path)), path);
}

} // namespace
} // namespace tradumar::testsupport
