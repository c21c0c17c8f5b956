#include "platform/ansi_text.h"

#include <gtest/gtest.h>

namespace tradumar {
namespace {

TEST(AnsiText, EveryByteValueRoundTripsAsOneCharacter) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const QString text = toQString(byte);
        ASSERT_EQ(text.size(), 1) << "byte " << b;
        EXPECT_EQ(fromQString(text), byte) << "byte " << b;
    }
}

TEST(AnsiText, AllBytesInOneStringRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    // The run holds a lone LF (0A) and a lone CR (0D); add a real line break.
    all += "\r\n";
    const QString text = toQString(all);
    EXPECT_EQ(text.size(), 257);
    EXPECT_EQ(fromQString(text), all);
}

TEST(AnsiText, WesternLettersMapToTheirUnicodeCharacters) {
    struct Case {
        unsigned char byte;
        char16_t unicode;
    };
    const Case cases[] = {
        {0xE9, u'é'}, {0xF1, u'ñ'},      {0xBF, u'¿'},      {0xA1, u'¡'}, {0x80, u'€'},
        {0x9C, u'œ'}, {0xA0, u'\u00A0'}, {0x81, u'\u0081'}, {0x41, u'A'},
    };
    for (const auto& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(toQString(byte), QString(QChar(c.unicode))) << int(c.byte);
        EXPECT_EQ(fromQString(QString(QChar(c.unicode))), byte) << int(c.byte);
    }
}

TEST(AnsiText, LineBreaks) {
    struct Case {
        std::string bytes;
        QString text;
    };
    const Case cases[] = {
        {"a\r\nb", QStringLiteral("a\nb")},     {"a\nb", QStringLiteral("a\u2028b")}, // a lone LF stays apart
                                                                                      // from a line break
        {"a\rb", QStringLiteral("a\rb")},                                             // so does a lone CR
        {"a\r\r\nb", QStringLiteral("a\r\nb")}, {"\r\n\r\n", QStringLiteral("\n\n")}, {"", QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toQString(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(fromQString(c.text), c.bytes) << c.bytes;
    }
}

TEST(AnsiText, ParagraphSeparatorOfADocumentIsALineBreak) {
    EXPECT_EQ(fromQString(QStringLiteral("uno\u2029dos")), "uno\r\ndos");
}

TEST(AnsiText, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    // One byte per QChar keeps byte positions equal to character positions.
    EXPECT_EQ(fromQString(QStringLiteral("a\u0101b")), "a?b");
    EXPECT_EQ(fromQString(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x??y");
}

TEST(AnsiText, PathsKeepTheFileSystemsBytes) {
    const std::string path = "/tmp/Traducción/rom file.smc";
    EXPECT_EQ(pathToQString(path), QString::fromUtf8("/tmp/Traducción/rom file.smc"));
    EXPECT_EQ(pathFromQString(pathToQString(path)), path);
}

} // namespace
} // namespace tradumar
