#include "workspace/line_status.h"

#include <gtest/gtest.h>

namespace tradumar::testsupport {
namespace {

TEST(StripRawBlocks, LeavesOutEveryClosedBlockAndEveryUnclosedLeftEnclosure) {
    struct Case {
        std::string line;
        char left, right;
        std::string expected;
    };
    const Case cases[] = {
        {"Hola<0A>mundo", '<', '>', "Holamundo"},
        {"<0A><0B>", '<', '>', ""},
        {"a>b", '<', '>', "a>b"},   // a lone right enclosure is an ordinary character
        {"x<<y>z", '<', '>', "xz"}, // the first left enclosure's block runs to the first right one
        {"a<b<c", '<', '>', "abc"}, // two unclosed ones: each left out alone
        {"a[01]b<c>", '[', ']', "ab<c>"},
        {"a|01|b", '|', '|', "a01b"}, // the same character closes itself
        {"Ab<ab>", 'a', 'b', "Ab<>"}, // letters compare exactly: "A" opens nothing
        {std::string(40000, 'a') + "<FF>b", '<', '>', std::string(40000, 'a') + "b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stripRawBlocks(c.line, c.left, c.right), c.expected) << c.line.substr(0, 20);
}

} // namespace
} // namespace tradumar::testsupport
