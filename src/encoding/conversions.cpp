#include "encoding/conversions.h"

#include <cmath>
#include <limits>

namespace tradumar {

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

Result<std::int32_t> hexToLong(std::string_view text) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    const std::size_t n = text.size();
    double sum = 0.0;
    for (std::size_t k = 1; k <= n; ++k) {
        const int digit = hexDigitValue(text[k - 1]);
        // A non-digit, and a zero, add nothing; the character still takes its place.
        if (digit <= 0)
            continue;
        const double weight = std::pow(16.0, static_cast<double>(n - k));
        sum += digit * weight;
        if (!(sum <= kMax))
            return Result<std::int32_t>::failure(FailureCode::Overflow);
    }
    return {static_cast<std::int32_t>(sum)};
}

Bytes hexToBytes(std::string_view text) {
    std::string digits;
    digits.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            digits += c;
    Bytes bytes;
    if (digits.size() % 2 != 0)
        return bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigitValue(digits[i]);
        const int low = hexDigitValue(digits[i + 1]);
        bytes.push_back(static_cast<std::uint8_t>((high < 0 ? 0 : high) * 16 + (low < 0 ? 0 : low)));
    }
    return bytes;
}

std::optional<std::int16_t> parseInt16(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    std::string_view s = text.substr(begin, end - begin);

    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;

    // Magnitudes are capped well past the 16-bit range so long digit runs cannot overflow.
    constexpr long kCap = 1L << 20;
    long magnitude = 0;

    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        s.remove_prefix(2);
        if (s.empty())
            return std::nullopt;
        for (char c : s) {
            const int digit = hexDigitValue(c);
            if (digit < 0)
                return std::nullopt;
            magnitude = std::min(kCap, magnitude * 16 + digit);
        }
    } else {
        std::size_t i = 0;
        bool anyDigit = false;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            magnitude = std::min(kCap, magnitude * 10 + (s[i] - '0'));
            anyDigit = true;
        }
        if (i < s.size() && s[i] == '.') {
            ++i;
            const std::size_t fractionStart = i;
            for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
                anyDigit = true;
            const std::string_view fraction = s.substr(fractionStart, i - fractionStart);
            // Round half to even on the exact decimal fraction.
            if (!fraction.empty()) {
                const char first = fraction.front();
                const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
                if (first > '5' || (first == '5' && restNonZero) || (first == '5' && magnitude % 2 == 1))
                    magnitude = std::min(kCap, magnitude + 1);
            }
        }
        if (!anyDigit || i != s.size())
            return std::nullopt;
    }

    const long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::optional<Bytes> strictHexBytes(std::string_view text) {
    Bytes bytes;
    int high = -1;
    for (const char c : text) {
        if (c == ' ' || c == '\t')
            continue;
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0 || bytes.empty())
        return std::nullopt;
    return bytes;
}

std::optional<ScriptPlace> scriptPlace(std::string_view fileName) {
    const std::size_t bracket = fileName.find('[');
    const std::size_t close = fileName.find(']');
    if (bracket == std::string_view::npos || close == std::string_view::npos || close < bracket ||
        bracket == 0 || bracket > 8 || close == bracket + 1 || close - bracket - 1 > 5 ||
        fileName.size() != close + 5)
        return std::nullopt;
    const std::string_view extension = fileName.substr(close + 1);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < 4; ++i)
        if (lower(extension[i]) != ".txt"[i])
            return std::nullopt;
    ScriptPlace place;
    for (const char c : fileName.substr(0, bracket)) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        place.offset = place.offset * 16 + digit;
    }
    for (const char c : fileName.substr(bracket + 1, close - bracket - 1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        place.size = place.size * 10 + (c - '0');
    }
    if (place.size < 1 || place.size > 32767)
        return std::nullopt;
    return place;
}

Result<std::int32_t> scriptAddress(std::string_view fileName) {
    const std::size_t bracket = fileName.find('[');
    if (bracket == std::string_view::npos)
        return Result<std::int32_t>::failure(FailureCode::InvalidCall);
    return hexToLong(fileName.substr(0, bracket));
}

std::optional<std::int16_t> originalByteCount(std::string_view fileName) {
    // The number starts right after the first "[" (or at the first character
    // when there is none) and leaves out the last five characters, "].txt".
    const std::size_t bracket = fileName.find('[');
    const long start = bracket == std::string_view::npos ? 0 : static_cast<long>(bracket) + 1;
    const long length = static_cast<long>(fileName.size()) - 5 - start;
    if (length < 0)
        return std::nullopt;
    return parseInt16(fileName.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

std::string scriptAddressText(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.find('[')));
}

} // namespace tradumar
