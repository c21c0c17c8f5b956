// The pointer file reader, the pointer maps, the script decoder, the
// shortest encoding and the extraction dialog's fields on arbitrary input.

#include "../fuzz_targets.h"
#include "../fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

#include "encoding/optimal_codec.h"
#include "encoding/script_decoder.h"
#include "pointers/extraction_input.h"
#include "pointers/pointer_file.h"

namespace {

void check(bool condition, const char* what) {
    tradumar::fuzz::require(condition, "pointer", what);
}

} // namespace

// A file read, written and read again is the same file; a wrong line is named.
int fuzzPointerFile(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    const std::string text = tradumar::fuzz::asText(std::string_view(reinterpret_cast<const char*>(data), size));
    const PointerFileLoad load = parsePointerFile(text);
    if (load.status != PointerFileLoad::Status::Read) {
        check(load.line >= 1 && !load.reason.empty(), "a wrong line is named with its reason");
        return 0;
    }
    const PointerFileLoad again = parsePointerFile(formatPointerFile(load.file));
    check(again.status == PointerFileLoad::Status::Read, "what is written reads");
    check(again.file == load.file, "what is written reads back the same");
    return 0;
}

// Input: a format byte and four value bytes, then a table's content, a NUL,
// and ROM bytes. Values map to offsets and back; decoded bytes re-encode
// within the same table's bytes count; the shortest encoding of the decoded
// text is never longer than the longest-first one.
int fuzzPointerCodec(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    if (size < 5)
        return 0;
    PointerFormat format;
    format.size = 2 + data[0] % 3;
    format.order = data[0] & 4 ? ByteOrder::Big : ByteOrder::Little;
    format.map = static_cast<AddressMap>((data[0] >> 3) % 3);
    format.header = data[0] & 0x20 ? 512 : 0;
    format.displacement = data[0] & 0x40 ? -0x8000 : data[0] & 0x80 ? 0x800000 : 0;
    const Bytes stored(data + 1, data + 1 + format.size);
    const std::uint64_t value = format.read(stored);
    check(format.write(value) == stored, "a value writes back its bytes");
    if (const std::optional<std::int64_t> offset = format.offsetOf(value)) {
        const std::optional<std::uint64_t> back = format.valueOf(*offset, value);
        check(back.has_value(), "an offset a value reaches has a value");
        check(format.offsetOf(*back) == offset, "the value found leads to the offset");
        check(*back == value || format.map != AddressMap::Linear, "a linear map has one value per offset");
    }

    const std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos)
        return 0;
    ThingyTable table;
    parseThingyTable(tradumar::fuzz::asText(rest.substr(0, nul)), table, TableOverflow::Drop);
    const std::string_view rom = rest.substr(nul + 1);
    const ScriptDecoder decoder(table);
    const DecodedScript decoded =
        decoder.decode({reinterpret_cast<const std::uint8_t*>(rom.data()), rom.size()}, rom.size());
    check(decoded.size <= rom.size() && (decoded.size > 0 || rom.empty()), "the decoder moves on");
    check(!firstInvalidUtf8(decoded.text), "decoded text is UTF-8");

    const CodecContext context{table, table.longestTextLength(true)};
    int droppedFirst = 0, droppedFewest = 0;
    const EncodeResult first = encodeScript(decoded.text, context, [&](char32_t, int, int) {
        ++droppedFirst;
        return MissingAnswer::GoOn;
    });
    const EncodeResult fewest = encodeOptimal(decoded.text, context, [&](char32_t, int, int) {
        ++droppedFewest;
        return MissingAnswer::GoOn;
    });
    if (first.ok() && fewest.ok()) {
        check(std::tuple(droppedFewest, fewest.bytes.size()) <= std::tuple(droppedFirst, first.bytes.size()),
              "the shortest encoding is never longer");
        check(countOptimalBytes(decoded.text, context) == static_cast<std::int64_t>(fewest.bytes.size()),
              "the counter agrees with the shortest encoder");
    }
    return 0;
}

// Input: a format byte, two bytes of ROM size (in KB), then the fields of the
// extraction dialog separated by NULs (start, count, step, displacement,
// ranges). A request that passes the check lies wholly inside the ROM;
// one that does not says why.
int fuzzExtractionInput(const std::uint8_t* data, std::size_t size) {
    using namespace tradumar;
    if (size < 3)
        return 0;
    ExtractionInput input;
    input.byTable = !(data[0] & 1);
    input.format.size = 2 + (data[0] >> 1) % 3;
    input.format.order = data[0] & 8 ? ByteOrder::Big : ByteOrder::Little;
    input.format.map = static_cast<AddressMap>((data[0] >> 4) % 3);
    input.format.header = data[0] & 0x80 ? 512 : 0;
    const std::int64_t romSize = (std::int64_t{data[1]} << 8 | data[2]) * 1024;
    std::string* fields[] = {&input.start, &input.count, &input.step, &input.displacement, &input.ranges};
    std::size_t field = 0;
    for (std::size_t i = 3; i < size && field < std::size(fields); ++i) {
        if (data[i] == 0)
            ++field;
        else
            fields[field]->push_back(static_cast<char>(data[i]));
    }
    const ExtractionInputCheck checked = parseExtractionInput(input, romSize);
    if (!checked.ok())
        return 0;
    const ExtractionRequest& request = checked.request;
    check(!request.tables.empty() || !request.ranges.empty(), "a request that runs asks for something");
    for (const PointerTable& table : request.tables) {
        check(table.count > 0 && table.step > 0, "a table has pointers");
        check(table.start >= 0, "a table starts inside the ROM");
        const std::int64_t last = table.start + std::int64_t{table.count - 1} * table.step + table.format.size;
        check(last <= romSize, "every pointer of a table lies inside the ROM");
    }
    for (const ByteRange& range : request.ranges)
        check(range.first >= 0 && range.first <= range.last && range.last < romSize,
              "a range lies inside the ROM");
    return 0;
}
