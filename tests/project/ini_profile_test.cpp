#include "project/ini_profile.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tradumar::testsupport {
namespace {

namespace fs = std::filesystem;

class IniProfileTest : public ::testing::Test {
protected:
    void put(const std::string& content) const { writeBytes(m_path, content); }
    std::string get() const { return readBytes(m_path); }

    TempDir m_temp;
    std::string m_path = m_temp.file("project.tpr");
};

struct ReadCase {
    const char* label;
    std::string content, section, key, expected;
};

TEST_F(IniProfileTest, ReadsByTheProfileRules) {
    const std::vector<ReadCase> cases = {
        {"first of two sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", "k", "1"},
        {"key only in a later duplicate section", "[A]\r\nx=1\r\n[a]\r\nk=2\r\n", "A", "k", ""},
        {"first of two keys", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        {"key without = comes first", "[A]\r\nk\r\nk=2\r\n", "A", "k", ""},
        {"header with blanks", "[ Project ]\r\nk=v\r\n", "Project", "k", "v"},
        {"header up to the last ]", "[a]b] tail\r\nk=v\r\n", "a]b", "k", "v"},
        {"unclosed bracket stays in its section", "[S]\r\n[abc\r\nk=v\r\n", "S", "k", "v"},
        {"unclosed bracket is a key", "[S]\r\n[abc=1\r\n", "S", "[abc", "1"},
        {"split at the first =", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"no comments", "[A]\r\n;k=v\r\n", "A", ";k", "v"},
        {"blanks and tabs around names and value", "\t[\tA ]\t\r\n  k\t =  v w\t \r\n", "A", "k", "v w"},
        {"quotes removed once", "[A]\r\nk=\"\"v\"\"\r\n", "A", "k", "\"v\""},
        {"quotes inside blanks", "[A]\r\nk=  \" v \"  \r\n", "A", "k", " v "},
        {"two quotes give empty", "[A]\r\nk=''\r\n", "A", "k", ""},
        {"unmatched quotes kept", "[A]\r\nk=\"v'\r\n", "A", "k", "\"v'"},
        {"lone quote kept", "[A]\r\nk=\"\r\n", "A", "k", "\""},
        {"quotes removed before the cut", "[A]\r\nk=\"" + std::string(800, 'x') + "\"\r\n", "A", "k",
         std::string(749, 'x')},
        {"CR only", "[A]\rj=w\rk=v\r[B]\rk=z", "A", "k", "v"},
        {"LF only", "[A]\nj=w\nk=v\n[B]\nk=z", "B", "k", "z"},
        {"mixed and repeated breaks", "\r\n\n[A]\n\r\r\nk=v\r\r\n\n[B]\rk=z\n", "A", "k", "v"},
        {"key before every section", "k=v\r\n[A]\r\n", "A", "k", ""},
        {"missing section", "[A]\r\nk=v\r\n", "B", "k", ""},
        {"missing key", "[A]\r\nk=v\r\n", "A", "j", ""},
        {"Windows-1252 read as text", "[A\xF1o]\r\nk=C:\\Traducci\xF3n\\\xC1rbol\r\n", "añO", "K",
         "C:\\Traducción\\Árbol"},
        {"UTF-8 behind a byte-order mark", "\xEF\xBB\xBF[Ruta]\r\nk=/home/ana/日本語\r\n", "Ruta", "K",
         "/home/ana/日本語"},
    };
    for (const ReadCase& c : cases) {
        put(c.content);
        EXPECT_EQ(readIniValue(c.section, c.key, m_path), c.expected) << c.label;
    }
}

struct WriteCase {
    const char* label;
    std::string before, section, key, value, after;
};

TEST_F(IniProfileTest, WritesByTheProfileRules) {
    const std::vector<WriteCase> cases = {
        {"new section, last line unbroken", "[A]\r\nX=1", "B", "k", "v", "[A]\r\nX=1\r\n[B]\r\nK=v\r\n"},
        {"new section after an LF", "[A]\nX=1\n", "B", "k", "v", "[A]\nX=1\n[B]\r\nK=v\r\n"},
        {"after blank lines", "[A]\r\nX=1\r\n\r\n", "B", "k", "v", "[A]\r\nX=1\r\n\r\n[B]\r\nK=v\r\n"},
        {"new section in an empty file", "", "B", "k", "v", "[B]\r\nK=v\r\n"},
        {"section in any case", "[project]\r\n", "Project", "name", "v", "[project]\r\nNAME=v\r\n"},
        {"new key before blank lines and the next section", "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n", "A", "k", "v",
         "[A]\r\nX=1\r\nK=v\r\n\r\n[B]\r\nY=2\r\n"},
        {"new key before a line of blanks", "[A]\r\nX=1\r\n \t \r\n\r\n[B]\r\n", "A", "k", "v",
         "[A]\r\nX=1\r\nK=v\r\n \t \r\n\r\n[B]\r\n"},
        {"new key right after the header", "[A]\r\n\r\n[B]\r\n", "A", "k", "v", "[A]\r\nK=v\r\n\r\n[B]\r\n"},
        {"new key after a last line without a break", "[A]\r\nX=1", "A", "k", "v", "[A]\r\nX=1\r\nK=v\r\n"},
        {"new key in a CR-only file", "[A]\rX=1\r\r[B]\r", "A", "k", "v", "[A]\rX=1\rK=v\r\n\r[B]\r"},
        {"dup [a]", "[A]\r\nX=1\r\n[a]\r\nY=2\r\n", "A", "k", "v", "[A]\r\nX=1\r\nK=v\r\n[a]\r\nY=2\r\n"},
        {"own case", "[A]\r\n  Name = old  \r\nY=2\r\n", "A", "name", "new", "[A]\r\nName=new\r\nY=2\r\n"},
        {"first of two keys changes", "[A]\r\nk=1\r\nK=2\r\n[A]\r\nk=3\r\n", "a", "K", "9",
         "[A]\r\nk=9\r\nK=2\r\n[A]\r\nk=3\r\n"},
        {"key without = set to empty", "[A]\r\nk\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
        {"leading blanks dropped, trailing kept", "[A]\r\n", "A", "k", " \t v w  ", "[A]\r\nK=v w  \r\n"},
        {"quotes count when comparing", "[A]\r\nk=\"v\"\r\n", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"quoted value stored as given", "[A]\r\nk=v\r\n", "A", "k", "\"v\"", "[A]\r\nk=\"v\"\r\n"},
        {"other lines untouched", "\t; note \r\n[A]  x\r\n\tX = 1 \n\r\n\rY =\t2\r[B]\r\nZ=3", "A", "y", "4",
         "\t; note \r\n[A]  x\r\n\tX = 1 \n\r\n\rY=4\r[B]\r\nZ=3"},
        {"Windows-1252 when it fits", "[A]\r\n", "Añ", "k", "árbolÿ", "[A]\r\n[A\xF1]\r\nK=\xE1rbol\xFF\r\n"},
        {"UTF-8 otherwise", "[A]\r\n", "A", "k", "♪", "\xEF\xBB\xBF[A]\r\nK=♪\r\n"},
    };
    for (const WriteCase& c : cases) {
        put(c.before);
        writeIniValue(c.section, c.key, c.value, m_path);
        EXPECT_EQ(get(), c.after) << c.label;
    }
}

TEST_F(IniProfileTest, AnUnchangedValueLeavesTheFileUntouched) {
    const std::string content = "[A]\r\n\t Name =  v \t\r\n\r\nOther = \"q\"";
    for (const auto& [key, value] : {std::pair{"name", "v"}, {"NAME", "  v"}, {"other", "\"q\""}}) {
        put(content);
        const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
        fs::last_write_time(m_path, old);
        EXPECT_TRUE(writeIniValue("a", key, value, m_path)) << key;
        EXPECT_EQ(get(), content) << key;
        EXPECT_EQ(fs::last_write_time(m_path), old) << key;
    }
}

// A missing file is created: the test projects are written that way.
TEST_F(IniProfileTest, MissingFoldersAndWhatCannotBeReadAreNotWritten) {
    EXPECT_FALSE(writeIniValue("A", "k", "1", m_temp.file("absent/project.tpr")));
    const std::string folder = m_temp.file("folder.tpr");
    fs::create_directory(folder);
    EXPECT_FALSE(writeIniValue("A", "k", "1", folder));
    EXPECT_TRUE(fs::is_empty(folder));
}

} // namespace
} // namespace tradumar::testsupport
