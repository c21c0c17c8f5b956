// The number and script file name readers on arbitrary text.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/conversions.h"

namespace {

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "number", what);
}

} // namespace

int fuzzNumbers(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const Result<std::int32_t> value = hexToLong(text);
    check(value.ok() || value.error == FailureCode::Overflow, "hexToLong fails only by overflow");
    check(!value.ok() || value.value >= 0, "hexToLong is never negative");

    std::size_t digits = 0;
    for (char c : text)
        digits += c != ' ';
    const Bytes bytes = hexToBytes(text);
    check(bytes.size() == (digits % 2 == 0 ? digits / 2 : 0), "hexToBytes takes pairs or nothing");

    if (const auto number = parseInt16(text)) {
        // A number read once reads the same when written back in decimal.
        check(parseInt16(std::to_string(*number)) == number, "decimal round trip");
    }

    const Result<std::int32_t> address = scriptAddress(text);
    const bool hasBracket = text.find('[') != std::string_view::npos;
    check(hasBracket || address.error == FailureCode::InvalidCall, "no bracket, no address");
    check(scriptAddressText(text).size() <= text.size(), "address text is a prefix");
    originalByteCount(text);
    return 0;
}
