// The journal's file format: the CRC-32 it is checked with, the encoding of
// its entries and the reading that tells whole entries from a torn tail or
// damage. The commands that write and settle the journal are in
// insertion_journal.cpp.
#include "insertion/insertion_journal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace tradumar {

std::int64_t JournalRecord::romSizeAfter() const {
    return std::max(romSizeBefore, offset + static_cast<std::int64_t>(newBytes.size()));
}

namespace {

constexpr char kInsertion = 'I';
constexpr char kUndoMarker = 'U';
constexpr char kOriginal = 'O';
constexpr std::size_t kEntryHead = 10; // kind, state, body length, CRC

// CRC-32 (the polynomial of zip and PNG), eight bytes at a time: a large
// step's journal is checked whole on every undo.
std::uint32_t crc32(std::string_view data) {
    using Tables = std::array<std::array<std::uint32_t, 256>, 8>;
    static const Tables t = [] {
        Tables tables{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            tables[0][i] = c;
        }
        for (std::size_t k = 1; k < 8; ++k)
            for (std::size_t i = 0; i < 256; ++i)
                tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
        return tables;
    }();
    const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
    std::size_t size = data.size();
    std::uint32_t c = 0xFFFFFFFFu;
    const auto word = [](const std::uint8_t* q) {
        return std::uint32_t{q[0]} | std::uint32_t{q[1]} << 8 | std::uint32_t{q[2]} << 16 |
               std::uint32_t{q[3]} << 24;
    };
    for (; size >= 8; p += 8, size -= 8) {
        const std::uint32_t one = word(p) ^ c, two = word(p + 4);
        c = t[7][one & 0xFF] ^ t[6][(one >> 8) & 0xFF] ^ t[5][(one >> 16) & 0xFF] ^ t[4][one >> 24] ^
            t[3][two & 0xFF] ^ t[2][(two >> 8) & 0xFF] ^ t[1][(two >> 16) & 0xFF] ^ t[0][two >> 24];
    }
    for (; size > 0; ++p, --size)
        c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putNumber(std::string& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

template <typename Range> void putBlock(std::string& out, const Range& data) {
    putNumber(out, data.size(), 4);
    out.append(data.begin(), data.end());
}

std::string entry(char kind, char state, const std::string& body) {
    std::string out{kind, state};
    putNumber(out, body.size(), 4);
    putNumber(out, crc32(body), 4);
    return out + body;
}

// Reads the numbers and blocks of a body; any read past its end fails it.
class BodyReader {
public:
    explicit BodyReader(std::string_view body) : m_body(body) {}

    std::uint64_t number(int size) {
        if (!take(static_cast<std::size_t>(size)))
            return 0;
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<std::uint8_t>(m_body[m_at - static_cast<std::size_t>(size) + i]);
        return value;
    }
    std::string_view block() {
        const std::size_t size = number(4);
        return take(size) ? m_body.substr(m_at - size, size) : std::string_view{};
    }
    bool complete() const { return m_ok && m_at == m_body.size(); }
    bool ok() const { return m_ok; }
    std::size_t at() const { return m_at; }

private:
    bool take(std::size_t size) {
        if (!m_ok || size > m_body.size() - m_at)
            return m_ok = false;
        m_at += size;
        return true;
    }
    std::string_view m_body;
    std::size_t m_at = 0;
    bool m_ok = true;
};

Bytes toBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// The length of the old bytes a write at `offset` of `size` bytes replaces in
// a ROM of `romSize` bytes: the part of the range inside the ROM.
std::int64_t replacedLength(std::int64_t offset, std::int64_t size, std::int64_t romSize) {
    return std::clamp<std::int64_t>(romSize - offset, 0, size);
}

} // namespace

std::uint32_t journalCrc32(std::string_view data) {
    return crc32(data);
}

std::string encodeRecord(const JournalRecord& record) {
    std::string body;
    putNumber(body, record.step, 8);
    putNumber(body, static_cast<std::uint64_t>(record.time), 8);
    putNumber(body, static_cast<std::uint64_t>(record.offset), 8);
    putNumber(body, static_cast<std::uint64_t>(record.romSizeBefore), 8);
    putBlock(body, record.romPath);
    putBlock(body, record.scriptName);
    putBlock(body, record.oldBytes);
    putBlock(body, record.newBytes);
    return entry(kInsertion, static_cast<char>(record.state), body);
}

std::string encodeUndoMarker(std::uint64_t step) {
    std::string body;
    putNumber(body, step, 8);
    return entry(kUndoMarker, 'P', body);
}

std::string encodeOriginalCopy(const OriginalCopy& copy) {
    std::string body;
    putNumber(body, copy.size, 8);
    putNumber(body, copy.crc, 4);
    putBlock(body, copy.romPath);
    return entry(kOriginal, 'P', body);
}

namespace {

// The body length an entry's own fields give, read from what the file
// holds; nothing when the fields themselves run past its end.
std::optional<std::size_t> innerLength(char kind, std::string_view rest) {
    if (kind == kUndoMarker)
        return 8;
    BodyReader reader(rest);
    if (kind == kInsertion) {
        reader.number(8), reader.number(8), reader.number(8), reader.number(8);
        for (int i = 0; i < 4; ++i)
            reader.block();
    } else if (kind == kOriginal) {
        reader.number(8), reader.number(4);
        reader.block();
    } else {
        return std::nullopt;
    }
    return reader.ok() ? std::optional(reader.at()) : std::nullopt;
}

} // namespace

JournalContents parseJournal(std::string_view bytes) {
    using Condition = JournalContents::Condition;
    JournalContents contents;
    if (bytes.empty())
        return contents;
    const std::string_view head = bytes.substr(0, kJournalHeader.size());
    if (head == kJournalHeader || head == kJournalHeaderV1) {
        contents.version = head == kJournalHeader ? 2 : 1;
    } else if (bytes.size() < kJournalHeader.size() && kJournalHeader.substr(0, bytes.size()) == bytes) {
        contents.condition = Condition::Torn; // a header cut short when the file was made
        return contents;
    } else {
        contents.condition =
            bytes.substr(0, 6) == kJournalHeader.substr(0, 6) ? Condition::UnknownFormat : Condition::Damaged;
        return contents;
    }
    std::size_t at = kJournalHeader.size();
    contents.validLength = at;
    // An entry that cannot be read is a torn append only when nothing whole
    // can follow it: its own fields run to the end of the file.
    const auto stop = [&](bool tornIfLast) {
        contents.condition = tornIfLast ? Condition::Torn : Condition::Damaged;
        return contents;
    };
    while (at < bytes.size()) {
        const std::string_view rest = bytes.substr(at);
        if (rest.size() < kEntryHead)
            return stop(true);
        const char kind = rest[0];
        const char state = rest[1];
        BodyReader headReader(rest.substr(2, 8));
        const std::size_t length = headReader.number(4);
        const std::uint32_t crc = static_cast<std::uint32_t>(headReader.number(4));
        const std::string_view available = rest.substr(kEntryHead);
        const std::optional<std::size_t> inner = innerLength(kind, available);
        if (length > available.size())
            return stop(!inner || *inner > available.size() || *inner == length);
        const std::string_view body = available.substr(0, length);
        const bool last = length == available.size();
        if (crc32(body) != crc)
            return stop(last);
        BodyReader reader(body);
        if (kind == kUndoMarker && state == 'P') {
            const std::uint64_t step = reader.number(8);
            if (!reader.complete())
                return stop(false);
            contents.undoing = step;
        } else if (kind == kOriginal && state == 'P' && contents.version >= 2) {
            OriginalCopy copy;
            copy.size = reader.number(8);
            copy.crc = static_cast<std::uint32_t>(reader.number(4));
            copy.romPath = reader.block();
            if (!reader.complete())
                return stop(false);
            contents.originals.push_back(std::move(copy));
        } else if (kind == kInsertion && (state == 'P' || state == 'D')) {
            JournalRecord record;
            record.state = static_cast<JournalRecord::State>(state);
            record.step = reader.number(8);
            record.time = static_cast<std::int64_t>(reader.number(8));
            record.offset = static_cast<std::int64_t>(reader.number(8));
            record.romSizeBefore = static_cast<std::int64_t>(reader.number(8));
            record.romPath = reader.block();
            record.scriptName = reader.block();
            record.oldBytes = toBytes(reader.block());
            record.newBytes = toBytes(reader.block());
            // The fields agree: the old bytes are the part of the range that
            // lay inside the ROM, and the steps only grow.
            const bool sane =
                reader.complete() && record.offset >= 0 && record.romSizeBefore >= 0 &&
                record.offset <= std::numeric_limits<std::int32_t>::max() &&
                record.romSizeBefore <= std::numeric_limits<std::int32_t>::max() && !record.romPath.empty() &&
                static_cast<std::int64_t>(record.oldBytes.size()) ==
                    replacedLength(record.offset, static_cast<std::int64_t>(record.newBytes.size()),
                                   record.romSizeBefore) &&
                (contents.records.empty() || record.step >= contents.records.back().step);
            if (!sane)
                return stop(false);
            contents.records.push_back(std::move(record));
            contents.positions.push_back(at);
        } else {
            return stop(false);
        }
        if (kind != kUndoMarker)
            contents.undoing.reset(); // the marker counts only while it is the last entry
        at += kEntryHead + length;
        contents.validLength = at;
    }
    return contents;
}

} // namespace tradumar
