// The BPS and IPS appliers on arbitrary patches, and both writers on
// arbitrary files: a patch made from a source to a target must give that
// target back.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "patching/patch_formats.h"

namespace {

using namespace tradumar;

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "patch", what);
}

constexpr std::size_t kLimit = 1 << 20;

// Input: one byte giving the source's length, the source, then the rest:
// read as a patch, and also taken as a target to make patches for.
int fuzzPatch(const std::uint8_t* data, std::size_t size, bool bps) {
    if (size < 1)
        return 0;
    const std::string_view all(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = std::min<std::size_t>(data[0], all.size());
    const std::string_view source = all.substr(0, split);
    const std::string_view rest = all.substr(split);

    const AppliedPatch applied =
        bps ? applyBpsPatch(rest, source, kLimit) : applyIpsPatch(rest, source, kLimit);
    check(applied.ok() || applied.target.empty(), "a failed patch gives no target");
    check(applied.target.size() <= kLimit, "the target stays within the limit");

    const std::string patch = bps ? makeBpsPatch(source, rest) : makeIpsPatch(source, rest);
    const AppliedPatch back =
        bps ? applyBpsPatch(patch, source, kLimit) : applyIpsPatch(patch, source, kLimit);
    check(back.ok() && back.target == rest, "a patch made here gives its target back");
    return 0;
}

} // namespace

int fuzzBpsPatch(const std::uint8_t* data, std::size_t size) {
    return fuzzPatch(data, size, true);
}

int fuzzIpsPatch(const std::uint8_t* data, std::size_t size) {
    return fuzzPatch(data, size, false);
}
