#include "pointers/pointer_search.h"

#include <algorithm>
#include <cstring>

namespace tradumar {

namespace {

constexpr std::size_t kNeighbours = 8;

// The values that lead to the target: every mirror the map allows.
std::vector<std::uint64_t> valuesLeadingTo(const PointerFormat& format, std::int64_t target) {
    std::vector<std::uint64_t> values;
    for (const std::uint64_t like : {0x000000ull, 0x400000ull, 0x800000ull, 0xC00000ull}) {
        const std::int64_t shifted = static_cast<std::int64_t>(like) - format.displacement;
        const std::optional<std::uint64_t> v = format.valueOf(
            target,
            shifted >= 0 ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(shifted)) : std::nullopt);
        if (v && format.offsetOf(*v) == target && std::find(values.begin(), values.end(), *v) == values.end())
            values.push_back(*v);
    }
    return values;
}

bool leadsIntoRom(std::span<const std::uint8_t> rom, const PointerFormat& format, std::int64_t at) {
    if (at < 0 || at + format.size > static_cast<std::int64_t>(rom.size()))
        return false;
    const std::optional<std::int64_t> offset = format.offsetOf(
        format.read(rom.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(format.size))));
    return offset && *offset < static_cast<std::int64_t>(rom.size());
}

} // namespace

std::vector<PointerCandidate> findPointerCandidates(std::span<const std::uint8_t> rom,
                                                    const PointerFormat& format, std::int64_t target) {
    std::vector<PointerCandidate> out;
    const auto size = static_cast<std::size_t>(format.size);
    if (!format.valid() || rom.size() < size)
        return out;
    for (const std::uint64_t value : valuesLeadingTo(format, target)) {
        const Bytes pattern = format.write(value);
        const auto* begin = rom.data();
        const auto* end = rom.data() + rom.size();
        for (const std::uint8_t* at = begin; at + size <= end;) {
            const void* found = ::memmem(at, static_cast<std::size_t>(end - at), pattern.data(), size);
            if (!found)
                break;
            const auto* hit = static_cast<const std::uint8_t*>(found);
            const auto offset = hit - begin;
            PointerCandidate c;
            c.offset = offset;
            c.value = value;
            const auto from = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset - kNeighbours));
            c.before.assign(begin + from, hit);
            c.after.assign(hit + size, std::min(end, hit + size + kNeighbours));
            c.inTable = leadsIntoRom(rom, format, offset - format.size) ||
                        leadsIntoRom(rom, format, offset + format.size);
            out.push_back(std::move(c));
            at = hit + 1;
        }
    }
    std::sort(out.begin(), out.end(),
              [](const PointerCandidate& a, const PointerCandidate& b) { return a.offset < b.offset; });
    return out;
}

std::string hexBytesText(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const std::uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

} // namespace tradumar
