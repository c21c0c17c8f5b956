#include "platform/ansi_text.h"

#include <gtest/gtest.h>

namespace tradumar::testsupport {
namespace {

TEST(AnsiText, EveryByteIsOneCharacterAndComesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = toQString(all);
    EXPECT_EQ(text.size(), 256); // the lone LF and CR in the run stay one character each
    EXPECT_EQ(fromQString(text), all);
}

TEST(AnsiText, BytesAndTheTextAPaneShows) {
    struct Case {
        std::string bytes;
        QString text;
        bool both = true; // false: only the text turns into the bytes
    };
    const Case cases[] = {
        {"\xE9\xF1\xBF\xA1\x80\x9C\xA0\x81", QStringLiteral("éñ¿¡€œ\u00A0\u0081")},
        {"a\r\nb", QStringLiteral("a\nb")},
        {"a\nb", QStringLiteral("a\u2028b")}, // a lone LF stays apart from a line break
        {"a\rb", QStringLiteral("a\rb")},
        {"a\r\r\nb", QStringLiteral("a\r\nb")},
        {"", QString()},
        {"uno\r\ndos", QStringLiteral("uno\u2029dos"), false}, // a document's paragraph separator
        {"a?b", QStringLiteral("a\u0101b"), false},            // outside the code page: one "?" per QChar
        {"x??y", QString::fromUtf8("x\xF0\x9F\x98\x80y"), false},
    };
    for (const auto& c : cases) {
        if (c.both) {
            EXPECT_EQ(toQString(c.bytes), c.text) << c.bytes;
        }
        EXPECT_EQ(fromQString(c.text), c.bytes) << c.bytes;
    }
}

TEST(AnsiText, PathsKeepTheFileSystemsBytes) {
    const std::string path = "/tmp/Traducción/rom file.smc";
    EXPECT_EQ(pathToQString(path), QString::fromUtf8("/tmp/Traducción/rom file.smc"));
    EXPECT_EQ(pathFromQString(pathToQString(path)), path);
}

} // namespace
} // namespace tradumar::testsupport
