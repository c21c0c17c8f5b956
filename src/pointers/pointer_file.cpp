#include "pointers/pointer_file.h"

#include <algorithm>

#include "encoding/text_file.h"
#include "insertion/insertion_journal.h"
#include "project/script_files.h"

namespace tradumar {

namespace {

constexpr std::string_view kVersionLine = "tradumar-punteros 1";
constexpr int kMaxAlignment = 65536;
constexpr int kMaxCount = 1 << 20;
constexpr int kMaxStep = 256;

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

// Reads one line into the file; the Spanish reason when it is wrong.
std::string readLine(std::string_view line, PointerFile& file) {
    // A script's name follows " = " and keeps its blanks.
    std::string_view head = line;
    std::string name;
    if (const std::size_t equals = line.find(" = "); equals != std::string_view::npos) {
        head = line.substr(0, equals);
        name = std::string(line.substr(equals + 3));
    }
    const std::vector<std::string_view> w = words(head);
    if (w.empty())
        return "línea desconocida";
    const std::string_view key = w.front();
    const auto needsName = [&](std::size_t fields) -> std::string {
        if (name.empty())
            return "falta \" = \" y el nombre del script";
        if (w.size() < fields)
            return "faltan datos";
        return {};
    };
    if (key != "punteros" && key != "lugar" && !name.empty())
        return "un nombre de script no va en esta línea";

    if (key == "formato" || key == "relleno" || key == "alineacion") {
        if (w.size() != 2)
            return "se espera un solo valor";
        if (key == "formato") {
            const std::optional<PointerFormat> format = PointerFormat::parse(w[1]);
            if (!format)
                return "formato de puntero no válido";
            file.format = *format;
        } else if (key == "relleno") {
            const std::optional<std::int64_t> byte = parseHexNumber(w[1]);
            if (!byte || w[1].size() != 2)
                return "el relleno es un byte en hexadecimal";
            file.filler = static_cast<std::uint8_t>(*byte);
        } else {
            const std::optional<std::int64_t> alignment = parseDecimalNumber(w[1]);
            if (!alignment || *alignment < 1 || *alignment > kMaxAlignment)
                return "la alineación va de 1 a 65536";
            file.alignment = static_cast<int>(*alignment);
        }
        return {};
    }
    if (key == "libre") {
        if (w.size() != 2)
            return "se espera un rango inicio-fin";
        const std::optional<ByteRange> range = parseByteRange(w[1]);
        if (!range)
            return "rango no válido (inicio-fin en hexadecimal)";
        file.freeRanges.push_back(*range);
        return {};
    }
    if (key == "tabla") {
        if (w.size() != 5)
            return "se espera inicio, cuenta, paso y formato";
        const std::optional<std::int64_t> start = parseHexNumber(w[1]);
        const std::optional<std::int64_t> count = parseDecimalNumber(w[2]);
        const std::optional<std::int64_t> step = parseDecimalNumber(w[3]);
        const std::optional<PointerFormat> format = PointerFormat::parse(w[4]);
        if (!start || !count || *count < 1 || *count > kMaxCount)
            return "inicio o cuenta no válidos";
        if (!step || *step < 1 || *step > kMaxStep)
            return "el paso va de 1 a 256";
        if (!format)
            return "formato de puntero no válido";
        file.tables.push_back({*start, static_cast<int>(*count), static_cast<int>(*step), *format});
        return {};
    }
    if (key == "punteros") {
        if (std::string e = needsName(3); !e.empty())
            return e;
        const std::optional<PointerFormat> format = PointerFormat::parse(w[1]);
        if (!format)
            return "formato de puntero no válido";
        std::vector<ScriptPointer> pointers;
        for (std::size_t i = 2; i < w.size(); ++i) {
            const std::optional<std::int64_t> offset = parseHexNumber(w[i]);
            if (!offset)
                return "dirección de puntero no válida";
            pointers.push_back({*offset, *format});
        }
        file.addPointers(name, pointers);
        return {};
    }
    if (key == "lugar") {
        if (std::string e = needsName(3); !e.empty())
            return e;
        const std::optional<std::int64_t> offset = parseHexNumber(w[1]);
        const std::optional<std::int64_t> room = parseDecimalNumber(w[2]);
        if (w.size() != 3 || !offset || !room || *room < 1 || *room > 0x7FFFFFFF)
            return "se espera dirección y espacio";
        file.recordPlace({name, *offset, static_cast<std::int32_t>(*room)});
        return {};
    }
    return "línea desconocida";
}

} // namespace

std::vector<ScriptPointer> PointerFile::pointersOf(std::string_view script) const {
    for (const ScriptPointers& s : scripts)
        if (s.script == script)
            return s.pointers;
    return {};
}

void PointerFile::addPointers(const std::string& script, const std::vector<ScriptPointer>& pointers) {
    auto it = std::find_if(scripts.begin(), scripts.end(),
                           [&](const ScriptPointers& s) { return s.script == script; });
    if (it == scripts.end()) {
        if (pointers.empty())
            return;
        scripts.push_back({script, {}});
        it = scripts.end() - 1;
    }
    for (const ScriptPointer& p : pointers)
        if (std::none_of(it->pointers.begin(), it->pointers.end(),
                         [&](const ScriptPointer& q) { return q.offset == p.offset; }))
            it->pointers.push_back(p);
}

void PointerFile::recordPlace(const RecordedPlace& place) {
    if (std::find(places.begin(), places.end(), place) == places.end())
        places.push_back(place);
}

std::int32_t PointerFile::recordedRoom(std::string_view script, std::int64_t offset) const {
    std::int32_t room = 0;
    for (const RecordedPlace& p : places)
        if (p.offset == offset && p.script == script)
            room = std::max(room, p.room);
    return room;
}

std::string pointerFilePathFor(const std::string& projectFilePath) {
    return projectFilePath.empty() ? std::string() : projectFilePath + ".punteros";
}

std::optional<ByteRange> parseByteRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::optional<std::int64_t> first = parseHexNumber(text.substr(0, dash));
    const std::optional<std::int64_t> last = parseHexNumber(text.substr(dash + 1));
    if (!first || !last || *first > *last)
        return std::nullopt;
    return ByteRange{*first, *last};
}

std::string byteRangeText(const ByteRange& range) {
    return hexNumber(range.first) + "-" + hexNumber(range.last);
}

PointerFileLoad parsePointerFile(std::string_view text) {
    PointerFileLoad load;
    bool versioned = false;
    int number = 0;
    for (const std::string_view line : splitTextLines(text)) {
        ++number;
        if (words(line).empty() || line.front() == '#')
            continue;
        std::string reason;
        if (!versioned) {
            versioned = line == kVersionLine;
            if (!versioned)
                reason = "no es un archivo de punteros de Tradumar (falta \"tradumar-punteros 1\")";
        } else {
            reason = readLine(line, load.file);
        }
        if (!reason.empty()) {
            load.status = PointerFileLoad::Status::Invalid;
            load.line = number;
            load.reason = std::move(reason);
            return load;
        }
    }
    return load;
}

PointerFileLoad loadPointerFile(const std::string& path) {
    if (!pathExists(path)) {
        PointerFileLoad load;
        load.status = PointerFileLoad::Status::Missing;
        return load;
    }
    const DecodedText read = readTextFile(path, LegacyCodePage::Windows1252);
    if (read.status != TextFileStatus::Read) {
        PointerFileLoad load;
        load.status = read.status == TextFileStatus::Unreadable ? PointerFileLoad::Status::Unreadable
                                                                : PointerFileLoad::Status::Undecodable;
        return load;
    }
    return parsePointerFile(read.text);
}

std::string formatPointerFile(const PointerFile& file) {
    std::string out = "# Punteros y espacio libre de un proyecto de Tradumar\r\n";
    out += std::string(kVersionLine) + "\r\n";
    out += "formato " + file.format.text() + "\r\n";
    const char digits[] = "0123456789ABCDEF";
    out += std::string("relleno ") + digits[file.filler >> 4] + digits[file.filler & 15] + "\r\n";
    out += "alineacion " + std::to_string(file.alignment) + "\r\n";
    for (const ByteRange& r : file.freeRanges)
        out += "libre " + byteRangeText(r) + "\r\n";
    for (const PointerTable& t : file.tables)
        out += "tabla " + hexNumber(t.start) + " " + std::to_string(t.count) + " " + std::to_string(t.step) +
               " " + t.format.text() + "\r\n";
    for (const ScriptPointers& s : file.scripts) {
        // One line per run of pointers of one format, so they read back in order.
        for (std::size_t i = 0; i < s.pointers.size();) {
            out += "punteros " + s.pointers[i].format.text();
            std::size_t j = i;
            for (; j < s.pointers.size() && s.pointers[j].format == s.pointers[i].format; ++j)
                out += " " + hexNumber(s.pointers[j].offset);
            out += " = " + s.script + "\r\n";
            i = j;
        }
    }
    for (const RecordedPlace& p : file.places)
        out += "lugar " + hexNumber(p.offset) + " " + std::to_string(p.room) + " = " + p.script + "\r\n";
    return out;
}

int savePointerFile(const std::string& path, const PointerFile& file, FileOps& ops) {
    return ops.writeNewFile(path, formatPointerFile(file));
}

int savePointerFile(const std::string& path, const PointerFile& file) {
    FileOps ops;
    return savePointerFile(path, file, ops);
}

std::string pointerFileFailureText(const std::string& path, const PointerFileLoad& load) {
    std::string text = "No se pudo leer el archivo de punteros " + path;
    if (load.status == PointerFileLoad::Status::Invalid)
        text += ": línea " + std::to_string(load.line) + ": " + load.reason;
    return text + ".";
}

std::string pointerFileSaveFailureText(const std::string& path, int error) {
    return "No se pudo guardar el archivo de punteros " + path + " (" + describeError(error) + ").";
}

} // namespace tradumar
