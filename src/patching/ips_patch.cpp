// IPS patches: "PATCH", records, "EOF", and the truncation extension (the
// target's size in three bytes after "EOF") for a target shorter than its
// source.
#include <algorithm>

#include "patching/patch_formats.h"

namespace tradumar {
namespace {

// A record at this offset would begin with the bytes "EOF" and end the patch.
constexpr std::size_t kEofOffset = 0x454F46;
constexpr std::size_t kMaxRecord = 0xFFFF;
// An RLE record takes 8 bytes; a shorter run is cheaper left in a plain record.
constexpr std::size_t kShortestRun = 16;

void writeBigEndian(std::string& out, std::size_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::size_t readBigEndian(std::string_view bytes) {
    std::size_t value = 0;
    for (const char c : bytes)
        value = (value << 8) | static_cast<std::uint8_t>(c);
    return value;
}

class IpsWriter {
public:
    explicit IpsWriter(std::string_view target) : m_target(target) {}

    std::string patch = "PATCH";

    // Changed bytes [begin, end): runs of one byte go into RLE records, the
    // rest into plain ones.
    void changedRange(std::size_t begin, std::size_t end) {
        std::size_t plainFrom = begin;
        for (std::size_t run = begin; run < end;) {
            std::size_t runEnd = run + 1;
            while (runEnd < end && m_target[runEnd] == m_target[run])
                ++runEnd;
            if (runEnd - run >= kShortestRun) {
                plain(plainFrom, run);
                repeated(run, runEnd);
                plainFrom = runEnd;
            }
            run = runEnd;
        }
        plain(plainFrom, end);
    }

private:
    void plain(std::size_t begin, std::size_t end) {
        while (begin < end) {
            // Started one byte earlier, the record writes that byte's own
            // target value again: harmless, and its offset is not "EOF".
            if (begin == kEofOffset)
                --begin;
            const std::size_t size = std::min(kMaxRecord, end - begin);
            writeBigEndian(patch, begin, 3);
            writeBigEndian(patch, size, 2);
            patch.append(m_target.substr(begin, size));
            begin += size;
        }
    }

    void repeated(std::size_t begin, std::size_t end) {
        while (begin < end) {
            if (begin == kEofOffset) {
                plain(begin, begin + 1);
                ++begin;
                continue;
            }
            const std::size_t size = std::min(kMaxRecord, end - begin);
            writeBigEndian(patch, begin, 3);
            writeBigEndian(patch, 0, 2);
            writeBigEndian(patch, size, 2);
            patch.push_back(m_target[begin]);
            begin += size;
        }
    }

    std::string_view m_target;
};

} // namespace

bool ipsCanHold(std::size_t sourceSize, std::size_t targetSize) {
    // Offsets have three bytes; so does the size of the truncation extension.
    return targetSize <= kIpsMaxTargetSize && (targetSize >= sourceSize || targetSize < kIpsMaxTargetSize);
}

std::string makeIpsPatch(std::string_view source, std::string_view target) {
    if (!ipsCanHold(source.size(), target.size()))
        return {};
    IpsWriter writer(target);
    const std::size_t common = std::min(source.size(), target.size());
    std::size_t i = 0;
    while (i < common) {
        if (source[i] == target[i]) {
            ++i;
            continue;
        }
        // One record for changes apart by fewer unchanged bytes than a
        // record's header takes.
        std::size_t end = i + 1;
        for (;;) {
            while (end < common && source[end] != target[end])
                ++end;
            std::size_t next = end;
            while (next < common && source[next] == target[next] && next - end < 4)
                ++next;
            if (next == end || next == common || source[next] == target[next])
                break;
            end = next;
        }
        // The bytes past the source's end are all new; one range with them.
        if (end == common)
            end = target.size();
        writer.changedRange(i, end);
        i = end;
    }
    if (i < target.size())
        writer.changedRange(i, target.size());
    writer.patch += "EOF";
    if (target.size() < source.size())
        writeBigEndian(writer.patch, target.size(), 3);
    return std::move(writer.patch);
}

std::size_t countChangedBytes(std::string_view source, std::string_view target) {
    const std::size_t common = std::min(source.size(), target.size());
    std::size_t changed = std::max(source.size(), target.size()) - common;
    for (std::size_t i = 0; i < common; ++i)
        changed += source[i] != target[i];
    return changed;
}

AppliedPatch applyIpsPatch(std::string_view patch, std::string_view source, std::size_t maxTargetSize) {
    AppliedPatch result;
    const auto fail = [&result](PatchError error) {
        result.target.clear();
        result.error = error;
        return result;
    };
    if (patch.substr(0, 5) != "PATCH")
        return fail(PatchError::NotAPatch);
    if (source.size() > maxTargetSize)
        return fail(PatchError::TooLarge);
    std::string& target = result.target;
    target.assign(source);
    std::size_t at = 5;
    const auto take = [&](std::size_t count, std::string_view& bytes) {
        if (patch.size() - at < count)
            return false;
        bytes = patch.substr(at, count);
        at += count;
        return true;
    };
    const auto reach = [&](std::size_t end) {
        if (end > maxTargetSize)
            return false;
        if (end > target.size())
            target.resize(end, '\0');
        return true;
    };
    for (;;) {
        std::string_view offsetBytes, sizeBytes, data;
        if (!take(3, offsetBytes))
            return fail(PatchError::Truncated);
        if (offsetBytes == "EOF") {
            const std::size_t left = patch.size() - at;
            if (left == 3) {
                const std::size_t size = readBigEndian(patch.substr(at, 3));
                if (size < target.size())
                    target.resize(size);
            } else if (left != 0) {
                return fail(PatchError::TrailingBytes);
            }
            return result;
        }
        const std::size_t offset = readBigEndian(offsetBytes);
        if (!take(2, sizeBytes))
            return fail(PatchError::Truncated);
        const std::size_t size = readBigEndian(sizeBytes);
        if (size == 0) {
            std::string_view runBytes;
            if (!take(3, runBytes))
                return fail(PatchError::Truncated);
            const std::size_t run = readBigEndian(runBytes.substr(0, 2));
            if (!reach(offset + run))
                return fail(PatchError::TooLarge);
            std::fill_n(target.begin() + static_cast<std::ptrdiff_t>(offset), run, runBytes[2]);
        } else {
            if (!take(size, data))
                return fail(PatchError::Truncated);
            if (!reach(offset + size))
                return fail(PatchError::TooLarge);
            std::copy(data.begin(), data.end(), target.begin() + static_cast<std::ptrdiff_t>(offset));
        }
    }
}

} // namespace tradumar
