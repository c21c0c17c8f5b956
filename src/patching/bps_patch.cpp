// BPS patches, as the format's published description defines them.
#include <zlib.h>

#include <algorithm>

#include "patching/patch_formats.h"

namespace tradumar {
namespace {

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Seven bits a byte, lowest first; the top bit marks the last byte. Each
// further byte also stands for one more than it says, so no number has two
// spellings.
void writeNumber(std::string& out, std::uint64_t value) {
    for (;;) {
        const auto low = static_cast<char>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(static_cast<char>(0x80 | low));
            return;
        }
        out.push_back(low);
        --value;
    }
}

void writeUint32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

class Reader {
public:
    Reader(std::string_view bytes, std::size_t end) : m_bytes(bytes), m_end(end) {}

    std::size_t position() const { return m_position; }
    bool atEnd() const { return m_position >= m_end; }
    std::size_t left() const { return m_end - m_position; }

    // The number, or an error for a number that ends past the actions or
    // would not fit 64 bits.
    PatchError number(std::uint64_t& value) {
        value = 0;
        std::uint64_t shift = 1;
        for (;;) {
            if (atEnd())
                return PatchError::Truncated;
            const auto byte = static_cast<std::uint8_t>(m_bytes[m_position++]);
            value += (byte & 0x7Fu) * shift;
            if (byte & 0x80u)
                return PatchError::None;
            if (shift >= (std::uint64_t{1} << 56))
                return PatchError::OutOfRange;
            shift <<= 7;
            value += shift;
        }
    }
    std::string_view take(std::size_t count) {
        const std::string_view taken = m_bytes.substr(m_position, count);
        m_position += count;
        return taken;
    }

private:
    std::string_view m_bytes;
    std::size_t m_end;
    std::size_t m_position = 0;
};

std::uint32_t readUint32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    return value;
}

// A relative copy offset: the low bit is the sign, the rest the distance.
// The new position must lie within [0, limit].
bool moveBy(std::uint64_t encoded, std::uint64_t& position, std::uint64_t limit) {
    const std::uint64_t distance = encoded >> 1;
    if (encoded & 1) {
        if (distance > position)
            return false;
        position -= distance;
    } else {
        if (distance > limit - position)
            return false;
        position += distance;
    }
    return true;
}

} // namespace

std::uint32_t crc32Of(std::string_view bytes) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    std::size_t left = bytes.size();
    // zlib takes the length as a 32-bit count.
    while (left > 0) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        crc = ::crc32(crc, data, chunk);
        data += chunk;
        left -= chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

std::string makeBpsPatch(std::string_view source, std::string_view target) {
    std::string patch = "BPS1";
    writeNumber(patch, source.size());
    writeNumber(patch, target.size());
    writeNumber(patch, 0); // no metadata
    const std::size_t common = std::min(source.size(), target.size());
    const auto same = [&](std::size_t i) { return i < common && source[i] == target[i]; };
    std::size_t i = 0;
    while (i < target.size()) {
        const bool unchanged = same(i);
        std::size_t end = i + 1;
        while (end < target.size() && same(end) == unchanged)
            ++end;
        // A changed run takes in a gap of one or two unchanged bytes before
        // more changes: carrying them costs less than a SourceRead and a new
        // TargetRead.
        while (!unchanged) {
            std::size_t next = end;
            while (next < target.size() && same(next) && next - end < 2)
                ++next;
            if (next == end || next == target.size() || same(next))
                break;
            end = next;
            while (end < target.size() && !same(end))
                ++end;
        }
        writeNumber(patch, ((end - i - 1) << 2) | (unchanged ? SourceRead : TargetRead));
        if (!unchanged)
            patch.append(target.substr(i, end - i));
        i = end;
    }
    writeUint32(patch, crc32Of(source));
    writeUint32(patch, crc32Of(target));
    writeUint32(patch, crc32Of(patch));
    return patch;
}

AppliedPatch applyBpsPatch(std::string_view patch, std::string_view source, std::size_t maxTargetSize) {
    AppliedPatch result;
    const auto fail = [&result](PatchError error) {
        result.target.clear();
        result.error = error;
        return result;
    };
    if (patch.substr(0, 4) != "BPS1")
        return fail(PatchError::NotAPatch);
    if (patch.size() < 4 + 3 + 12)
        return fail(PatchError::Truncated);
    const std::size_t actionsEnd = patch.size() - 12;
    Reader in(patch, actionsEnd);
    in.take(4);
    std::uint64_t sourceSize = 0, targetSize = 0, metadataSize = 0;
    for (std::uint64_t* field : {&sourceSize, &targetSize, &metadataSize})
        if (const PatchError error = in.number(*field); error != PatchError::None)
            return fail(error);
    if (metadataSize > in.left())
        return fail(PatchError::Truncated);
    in.take(static_cast<std::size_t>(metadataSize));
    if (sourceSize != source.size())
        return fail(PatchError::WrongSource);
    if (targetSize > maxTargetSize)
        return fail(PatchError::TooLarge);

    std::string& target = result.target;
    target.resize(static_cast<std::size_t>(targetSize));
    std::uint64_t output = 0, sourceRelative = 0, targetRelative = 0;
    while (!in.atEnd()) {
        std::uint64_t command = 0;
        if (const PatchError error = in.number(command); error != PatchError::None)
            return fail(error);
        const std::uint64_t length = (command >> 2) + 1;
        if (length > targetSize - output)
            return fail(PatchError::OutOfRange);
        char* out = target.data() + output;
        switch (command & 3) {
        case SourceRead:
            if (output + length > source.size())
                return fail(PatchError::OutOfRange);
            std::copy_n(source.data() + output, length, out);
            break;
        case TargetRead:
            if (length > in.left())
                return fail(PatchError::Truncated);
            std::copy_n(in.take(static_cast<std::size_t>(length)).data(), length, out);
            break;
        case SourceCopy: {
            std::uint64_t offset = 0;
            if (const PatchError error = in.number(offset); error != PatchError::None)
                return fail(error);
            if (!moveBy(offset, sourceRelative, source.size()) || length > source.size() - sourceRelative)
                return fail(PatchError::OutOfRange);
            std::copy_n(source.data() + sourceRelative, length, out);
            sourceRelative += length;
            break;
        }
        case TargetCopy: {
            std::uint64_t offset = 0;
            if (const PatchError error = in.number(offset); error != PatchError::None)
                return fail(error);
            // Copies from what is already written; the ranges may overlap,
            // so byte by byte, front to back.
            if (!moveBy(offset, targetRelative, targetSize) || targetRelative >= output)
                return fail(PatchError::OutOfRange);
            for (std::uint64_t k = 0; k < length; ++k)
                out[k] = target[static_cast<std::size_t>(targetRelative + k)];
            targetRelative += length;
            break;
        }
        }
        output += length;
    }
    if (output != targetSize)
        return fail(PatchError::Truncated);
    const std::string_view footer = patch.substr(actionsEnd);
    if (crc32Of(source) != readUint32(footer.substr(0, 4)))
        return fail(PatchError::WrongSource);
    if (crc32Of(target) != readUint32(footer.substr(4, 4)) ||
        crc32Of(patch.substr(0, patch.size() - 4)) != readUint32(footer.substr(8, 4)))
        return fail(PatchError::BadChecksum);
    return result;
}

} // namespace tradumar
