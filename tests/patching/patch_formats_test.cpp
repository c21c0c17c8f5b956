#include <gtest/gtest.h>

#include <random>
#include <string>

#include "patching/patch_formats.h"

namespace tradumar::testsupport {
namespace {

constexpr std::size_t kEof = 0x454F46;

std::string randomBytes(std::size_t size, std::mt19937& random) {
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// The target: the source with `ranges` scattered changes of random length
// (some of them runs of one byte), resized to targetSize, the new bytes random.
std::string changed(const std::string& source, std::size_t targetSize, int ranges, std::mt19937& random) {
    std::string target = source;
    target.resize(std::min(source.size(), targetSize));
    target += randomBytes(targetSize - target.size(), random);
    for (int i = 0; i < ranges && !target.empty(); ++i) {
        const std::size_t at = random() % target.size();
        const std::size_t length = std::min<std::size_t>(1 + random() % 300, target.size() - at);
        const char fill = static_cast<char>(random());
        for (std::size_t k = 0; k < length; ++k)
            target[at + k] = i % 3 == 0 ? fill : static_cast<char>(random());
    }
    return target;
}

struct Case {
    const char* name;
    std::size_t sourceSize;
    std::size_t targetSize;
    int ranges;
    std::size_t forcedChange = std::string::npos; // one more changed byte here
    std::size_t spanFrom = 0, spanTo = 0;         // every byte in [from, to) changed too...
    bool spanIsRun = false;                       // ...to one value, or each to its own
};

TEST(PatchFormats, ApplyingThePatchToTheSourceGivesTheTarget) {
    const Case cases[] = {
        {"both empty", 0, 0, 0},
        {"one byte, changed", 1, 1, 1},
        {"one byte from nothing", 0, 1, 0},
        {"to nothing", 1, 0, 0},
        {"unchanged", 4096, 4096, 0},
        {"scattered", 65536, 65536, 200},
        {"growing", 3000, 70000, 20},
        {"shrinking", 70000, 3000, 20},
        {"change at the EOF offset", kEof + 10, kEof + 10, 0, kEof},
        {"change just before it", kEof + 10, kEof + 10, 0, kEof - 1},
        {"ending at the EOF offset", kEof + 100, kEof + 1, 0, kEof},
        {"growing across it", kEof - 2, kEof + 70000, 3},
        {"truncated to exactly the EOF offset", kEof + 100, kEof, 0},
        {"a run starting at the EOF offset", kEof + 100, kEof + 100, 0, std::string::npos, kEof, kEof + 40,
         true},
        {"a run whose second chunk starts there", kEof + 100, kEof + 100, 0, std::string::npos, kEof - 0xFFFF,
         kEof + 40, true},
        {"a plain record whose second chunk starts there", kEof + 100, kEof + 100, 0, std::string::npos,
         kEof - 0xFFFF, kEof + 40, false},
        {"16 MiB, many ranges", 0x1000000, 0x1000000, 2000},
    };
    std::mt19937 random(1234);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string source = randomBytes(c.sourceSize, random);
        for (std::size_t i = c.spanFrom; i < c.spanTo && c.spanIsRun; ++i)
            source[i] = '\x00'; // so that every byte of the run differs
        std::string target = changed(source, c.targetSize, c.ranges, random);
        if (c.forcedChange < target.size())
            target[c.forcedChange] = static_cast<char>(~source[c.forcedChange]);
        for (std::size_t i = c.spanFrom; i < c.spanTo; ++i)
            target[i] = c.spanIsRun ? '\x01' : static_cast<char>(~source[i]);

        const std::string bps = makeBpsPatch(source, target);
        const AppliedPatch fromBps = applyBpsPatch(bps, source);
        ASSERT_EQ(fromBps.error, PatchError::None);
        EXPECT_TRUE(fromBps.target == target);
        // The footer: the source's, the target's and the patch's own CRC32, little-endian.
        const auto footer = [&bps](int i) { return bps.substr(bps.size() - 12 + 4 * i, 4); };
        const auto le = [](std::uint32_t v) {
            return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        };
        EXPECT_EQ(footer(0), le(crc32Of(source)));
        EXPECT_EQ(footer(1), le(crc32Of(target)));
        EXPECT_EQ(footer(2), le(crc32Of(std::string_view(bps).substr(0, bps.size() - 4))));

        const std::string ips = makeIpsPatch(source, target);
        const AppliedPatch fromIps = applyIpsPatch(ips, source);
        ASSERT_EQ(fromIps.error, PatchError::None);
        // A record at the offset that reads "EOF" would end the patch there.
        EXPECT_TRUE(fromIps.target == target);
    }
}

TEST(PatchFormats, IpsRefusesTargetsItCannotAddress) {
    const std::string big(0x1000001, 'x');
    const std::string limit(0x1000000, 'x');
    EXPECT_TRUE(ipsCanHold(0, limit.size()));
    EXPECT_FALSE(ipsCanHold(0, big.size()));
    // Cut down to 16 MiB, the new size would not fit the extension's three bytes.
    EXPECT_FALSE(ipsCanHold(big.size(), limit.size()));
    EXPECT_EQ(makeIpsPatch(std::string(), big), "");
}

TEST(PatchFormats, AppliersRejectDamagedPatches) {
    const std::string source = "The quick brown fox";
    const std::string target = "The quack brown fix, jumping";
    const std::string bps = makeBpsPatch(source, target);
    const std::string ips = makeIpsPatch(source, target);
    const auto flipped = [](std::string patch, std::size_t at) {
        patch[at] = static_cast<char>(patch[at] ^ 0x01);
        return patch;
    };
    struct Row {
        const char* name;
        AppliedPatch result;
        PatchError expected;
    };
    const Row rows[] = {
        {"bps header", applyBpsPatch(flipped(bps, 0), source), PatchError::NotAPatch},
        {"bps other source", applyBpsPatch(bps, "The quick brown fux"), PatchError::WrongSource},
        {"bps shorter source", applyBpsPatch(bps, "The quick"), PatchError::WrongSource},
        {"bps changed data", applyBpsPatch(flipped(bps, 12), source), PatchError::BadChecksum},
        {"bps cut short", applyBpsPatch(bps.substr(0, 18), source), PatchError::Truncated},
        {"bps target too large", applyBpsPatch(bps, source, 10), PatchError::TooLarge},
        {"ips header", applyIpsPatch(flipped(ips, 1), source), PatchError::NotAPatch},
        {"ips cut short", applyIpsPatch(ips.substr(0, ips.size() - 4), source), PatchError::Truncated},
        {"ips trailing", applyIpsPatch(ips + "xy", source), PatchError::TrailingBytes},
        {"ips too large", applyIpsPatch(ips, source, 20), PatchError::TooLarge},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.result.error, row.expected) << row.name;
        EXPECT_TRUE(row.result.target.empty()) << row.name;
    }
}

TEST(PatchFormats, ChangedBytesCountDifferencesAndLengthChange) {
    EXPECT_EQ(countChangedBytes("", ""), 0u);
    EXPECT_EQ(countChangedBytes("abcd", "abXd"), 1u);
    EXPECT_EQ(countChangedBytes("abcd", "aXcdef"), 3u);
    EXPECT_EQ(countChangedBytes("abcdef", "abc"), 3u);
}

} // namespace
} // namespace tradumar::testsupport
