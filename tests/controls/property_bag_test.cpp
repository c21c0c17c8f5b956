#include "controls/property_bag.h"

#include <gtest/gtest.h>

namespace tradumar {
namespace {

QStringList namesOf(const PropertyBag& bag) {
    QStringList names;
    for (const auto& [name, value] : bag.entries())
        names << name;
    return names;
}

TEST(PropertyBag, NamesMatchWithoutCaseAndAreKeptInLowerCase) {
    PropertyBag bag;
    bag.setProperty(QStringLiteral("BackColor"), 0xFFFFFF);
    EXPECT_TRUE(bag.contains(QStringLiteral("backcolor")));
    EXPECT_TRUE(bag.contains(QStringLiteral("BACKCOLOR")));
    EXPECT_EQ(bag.readProperty(QStringLiteral("bAcKcOlOr")).toInt(), 0xFFFFFF);
    EXPECT_EQ(namesOf(bag), QStringList{QStringLiteral("backcolor")});
}

TEST(PropertyBag, MissingValuesGiveTheDefault) {
    PropertyBag bag;
    EXPECT_EQ(bag.readProperty(QStringLiteral("Caption"), QStringLiteral("XP_button1")).toString(),
              QStringLiteral("XP_button1"));
    EXPECT_FALSE(bag.readProperty(QStringLiteral("Caption")).isValid());
}

TEST(PropertyBag, EntriesKeepTheOrderOfTheirFirstWriting) {
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("Caption"), QStringLiteral("a"));
    bag.writeProperty(QStringLiteral("Enabled"), false, true);
    bag.writeProperty(QStringLiteral("caption"), QStringLiteral("b"));
    EXPECT_EQ(namesOf(bag), (QStringList{QStringLiteral("caption"), QStringLiteral("enabled")}));
    EXPECT_EQ(bag.readProperty(QStringLiteral("Caption")).toString(), QStringLiteral("b"));
}

TEST(PropertyBag, ValuesEqualToTheirDefaultAreLeftOutAndOlderOnesRemoved) {
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("Enabled"), true, true);
    EXPECT_TRUE(bag.isEmpty());
    bag.writeProperty(QStringLiteral("Enabled"), false, true);
    EXPECT_TRUE(bag.contains(QStringLiteral("enabled")));
    bag.writeProperty(QStringLiteral("Enabled"), true, true);
    EXPECT_FALSE(bag.contains(QStringLiteral("enabled")));
    // Without a default a value is always stored.
    bag.writeProperty(QStringLiteral("BackColor"), 0xFFFFFF);
    EXPECT_TRUE(bag.contains(QStringLiteral("backcolor")));
}

TEST(PropertyBag, SameValueComparesNumbersByValueAndTextExactly) {
    struct Case {
        QVariant a;
        QVariant b;
        bool same;
    };
    const Case cases[] = {
        {8.0, QStringLiteral("8"), true},
        {8.25, QStringLiteral("8"), false},
        {8, 8.0, true},
        {0u, 0, true},
        {false, false, true},
        {true, false, false},
        {QStringLiteral("MS Sans Serif"), QStringLiteral("ms sans serif"), false},
        {QStringLiteral("ms sans serif"), QStringLiteral("ms sans serif"), true},
        {QStringLiteral("abc"), 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PropertyBag::sameValue(c.a, c.b), c.same)
            << c.a.toString().toStdString() << " / " << c.b.toString().toStdString();
}

} // namespace
} // namespace tradumar
