#include "encoding/unicode_text.h"

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

namespace tradumar {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first byte or character it cannot convert,
// instead of putting in a substitute.
Converter strictConverter(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// Windows-1252 both ways, worked out once from ICU's own table: every byte
// stands for one character, so a byte walk is all the conversion needs.
struct Windows1252 {
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode; // the characters above 0x7F

    Windows1252() {
        Converter converter = strictConverter("windows-1252");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            UChar out[2] = {};
            UErrorCode status = U_ZERO_ERROR;
            if (converter)
                ucnv_reset(converter.get());
            const int32_t n = converter ? ucnv_toUChars(converter.get(), out, 2, &byte, 1, &status) : 0;
            const char32_t c = (U_SUCCESS(status) && n == 1) ? out[0] : static_cast<char32_t>(b);
            toUnicode[static_cast<std::size_t>(b)] = c;
            if (b >= 0x80)
                fromUnicode.emplace(c, static_cast<unsigned char>(b));
        }
    }
};

const Windows1252& windows1252() {
    static const Windows1252 table;
    return table;
}

const char* icuName(LegacyCodePage page) {
    return page == LegacyCodePage::ShiftJis ? "windows-31j" : "windows-1252";
}

bool isAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::optional<std::u16string> utf16Of(std::string_view utf8) {
    std::u16string out(utf8.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length,
                  utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string utf8OfUtf16(const UChar* text, int32_t length) {
    std::string out;
    out.reserve(static_cast<std::size_t>(length) * 3);
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U16_NEXT(text, i, length, c);
        appendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

} // namespace

std::string_view legacyCodePageName(LegacyCodePage page) {
    return page == LegacyCodePage::ShiftJis ? "Shift-JIS" : "Windows-1252";
}

std::optional<LegacyCodePage> legacyCodePageNamed(std::string_view name) {
    const auto same = [&](std::string_view other) {
        if (name.size() != other.size())
            return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto lower = [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            };
            if (lower(name[i]) != lower(other[i]))
                return false;
        }
        return true;
    };
    if (same("Windows-1252"))
        return LegacyCodePage::Windows1252;
    if (same("Shift-JIS"))
        return LegacyCodePage::ShiftJis;
    return std::nullopt;
}

std::optional<std::pair<char32_t, std::size_t>> decodeUtf8At(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return std::pair<char32_t, std::size_t>{lead, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + length > bytes.size())
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return std::pair<char32_t, std::size_t>{c, length};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf8Of(char32_t c) {
    std::string out;
    appendUtf8(out, c);
    return out;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const auto decoded = decodeUtf8At(bytes, at);
        if (!decoded)
            return at;
        at += decoded->second;
    }
    return std::nullopt;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

char32_t characterAt(std::string_view utf8, std::size_t at) {
    const auto decoded = decodeUtf8At(utf8, at);
    return decoded ? decoded->first : char32_t{0xFFFD};
}

std::string toNfc(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::StringPiece piece(utf8.data(), static_cast<int32_t>(utf8.size()));
    if (U_FAILURE(status) || nfc->isNormalizedUTF8(piece, status) || U_FAILURE(status))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    icu::StringByteSink<std::string> sink(&out);
    nfc->normalizeUTF8(0, piece, sink, nullptr, status);
    return U_SUCCESS(status) ? out : std::string(utf8);
}

std::optional<unsigned char> windows1252ByteOf(char32_t c) {
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    const auto& table = windows1252().fromUnicode;
    const auto it = table.find(c);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> toWindows1252(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto decoded = decodeUtf8At(utf8, at);
        if (!decoded)
            return std::nullopt;
        const std::optional<unsigned char> byte = windows1252ByteOf(decoded->first);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        at += decoded->second;
    }
    return out;
}

LegacyDecoding decodeLegacy(std::string_view bytes, LegacyCodePage page) {
    if (page == LegacyCodePage::Windows1252) {
        const auto& table = windows1252().toUnicode;
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 2);
        for (const char b : bytes)
            appendUtf8(out, table[static_cast<unsigned char>(b)]);
        return {std::move(out), 0};
    }
    Converter converter = strictConverter(icuName(page));
    if (!converter)
        return {std::nullopt, 0};
    std::vector<UChar> target(bytes.size() + 1);
    UChar* out = target.data();
    const char* source = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &out, target.data() + target.size(), &source, bytes.data() + bytes.size(),
                   nullptr, true, &status);
    if (U_FAILURE(status)) {
        char invalid[32];
        int8_t invalidLength = sizeof invalid;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter.get(), invalid, &invalidLength, &ignored);
        const auto consumed = static_cast<std::size_t>(source - bytes.data());
        const auto back = U_SUCCESS(ignored) ? static_cast<std::size_t>(invalidLength) : 0;
        return {std::nullopt, consumed >= back ? consumed - back : 0};
    }
    return {utf8OfUtf16(target.data(), static_cast<int32_t>(out - target.data())), 0};
}

std::optional<std::string> utf8FromEncoding(std::string_view bytes, const std::string& encoding) {
    Converter converter = strictConverter(encoding.c_str());
    if (!converter)
        return std::nullopt;
    std::vector<UChar> target(bytes.size() * 2 + 2);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter.get(), target.data(), static_cast<int32_t>(target.size()),
                                         bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    return utf8OfUtf16(target.data(), length);
}

std::optional<std::string> utf8ToEncoding(std::string_view utf8, const std::string& encoding) {
    const std::optional<std::u16string> text = utf16Of(utf8);
    Converter converter = strictConverter(encoding.c_str());
    if (!text || !converter)
        return std::nullopt;
    std::string out(text->size() * 4 + 4, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                           reinterpret_cast<const UChar*>(text->data()),
                                           static_cast<int32_t>(text->size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string_view trimmedBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace tradumar
