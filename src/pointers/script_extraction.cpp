#include "pointers/script_extraction.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <unistd.h>

#include "common/file_io.h"
#include "encoding/script_codec.h"
#include "encoding/script_decoder.h"
#include "encoding/text_file.h"

namespace tradumar {

namespace {

// The text a script file holding `text` reads back as: lines split at any
// line end, empty lines before the first non-empty one dropped, joined by CR LF.
std::string asReadBack(std::string_view text) {
    std::string out;
    for (const std::string_view line : splitTextLines(text)) {
        if (!out.empty())
            out += "\r\n";
        out += line;
    }
    return out;
}

// Writes a file's bytes under a temporary name; 0 or an errno.
int writeTemporary(const std::string& temporary, const std::string& content) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    std::size_t done = 0;
    int error = 0;
    while (done < content.size() && error == 0) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// Flushes every file of the file system holding the folder to the disk at
// once: one wait instead of one per script.
int syncFileSystemOf(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

std::string ExtractedScript::fileName() const {
    return hexNumber(offset) + "[" + std::to_string(size) + "].txt";
}

Extraction extractScripts(std::span<const std::uint8_t> rom, const ThingyTable& table,
                          const ExtractionRequest& request, char32_t left, char32_t right) {
    Extraction out;
    const ScriptDecoder decoder(table, left, right);
    const auto romSize = static_cast<std::int64_t>(rom.size());
    std::map<std::int64_t, ExtractedScript> found;
    const auto decodeAt = [&](std::int64_t offset, std::int64_t limit) -> ExtractedScript& {
        auto [it, inserted] = found.try_emplace(offset);
        if (inserted) {
            const DecodedScript d = decoder.decode(rom.subspan(static_cast<std::size_t>(offset)),
                                                   static_cast<std::size_t>(std::min<std::int64_t>(
                                                       limit, static_cast<std::int64_t>(kMaxScriptSize))));
            it->second.offset = offset;
            it->second.size = d.size;
            it->second.text = asReadBack(d.text);
            it->second.ended = d.ended;
        }
        return it->second;
    };

    for (const PointerTable& t : request.tables) {
        for (int k = 0; k < t.count; ++k) {
            const std::int64_t at = t.start + static_cast<std::int64_t>(k) * t.step;
            const ScriptPointer pointer{at, t.format};
            if (!t.format.valid() || at + t.format.size > romSize) {
                out.strayPointers.push_back(pointer);
                continue;
            }
            const std::uint64_t value = t.format.read(
                rom.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(t.format.size)));
            const std::optional<std::int64_t> offset = t.format.offsetOf(value);
            if (!offset || *offset >= romSize) {
                out.strayPointers.push_back(pointer);
                continue;
            }
            ExtractedScript& script = decodeAt(*offset, romSize - *offset);
            if (std::find(script.pointers.begin(), script.pointers.end(), pointer) == script.pointers.end())
                script.pointers.push_back(pointer);
        }
    }
    for (const ByteRange& r : request.ranges) {
        const std::int64_t last = std::min(r.last, romSize - 1);
        for (std::int64_t at = r.first; at <= last;) {
            const ExtractedScript& script = decodeAt(at, last - at + 1);
            at += std::max<std::int64_t>(1, std::min(static_cast<std::int64_t>(script.size), last - at + 1));
        }
    }

    const CodecContext context{table, table.longestTextLength(true), left, right};
    const auto stop = [](auto&&...) { return MissingAnswer::Stop; };
    for (auto& [offset, script] : found) {
        const EncodeResult encoded = encodeScript(script.text, context, stop, stop);
        const auto from = rom.begin() + static_cast<std::ptrdiff_t>(offset);
        script.reencodes = encoded.ok() && encoded.bytes.size() == script.size &&
                           std::equal(encoded.bytes.begin(), encoded.bytes.end(), from);
        if (script.size > 0)
            out.scripts.push_back(std::move(script));
    }
    return out;
}

ExtractionWrite writeExtractedScripts(const std::string& scriptsFolder, const std::string& pointerFilePath,
                                      const Extraction& extraction, const ExtractionRequest& request,
                                      LegacyCodePage legacy) {
    ExtractionWrite report;
    // Every file is written under a temporary name and flushed (all at
    // once), then linked to its own name, which fails on an existing file:
    // a script file appears whole or not at all, and none is ever replaced.
    std::vector<std::pair<std::string, int>> staged; // name, errno of writing it
    for (const ExtractedScript& script : extraction.scripts) {
        const std::string name = script.fileName();
        const std::string path = scriptsFolder + "/" + name;
        staged.emplace_back(
            name, pathExists(path)
                      ? EEXIST
                      : writeTemporary(path + ".extrayendo", textFileBytes(script.text, legacy) + "\r\n"));
    }
    const int synced = syncFileSystemOf(scriptsFolder);
    for (auto& [name, error] : staged) {
        const std::string path = scriptsFolder + "/" + name;
        const std::string temporary = path + ".extrayendo";
        if (error == 0) {
            error = synced != 0 ? synced : ::link(temporary.c_str(), path.c_str()) == 0 ? 0 : errno;
            ::unlink(temporary.c_str());
        }
        if (error == 0)
            report.written.push_back(name);
        else if (error == EEXIST)
            report.skipped.push_back(name);
        else
            report.failed.emplace_back(name, error);
    }
    if (!report.written.empty())
        syncFolderHolding(scriptsFolder + "/" + report.written.front());

    PointerFileLoad load = loadPointerFile(pointerFilePath);
    if (!load.ok()) {
        report.pointerFileError = EINVAL;
        return report;
    }
    // The first table a project gains gives it its pointer format, the one
    // the pointer search uses.
    if (load.file.tables.empty() && !request.tables.empty())
        load.file.format = request.tables.front().format;
    for (const PointerTable& t : request.tables)
        if (std::find(load.file.tables.begin(), load.file.tables.end(), t) == load.file.tables.end())
            load.file.tables.push_back(t);
    for (const ExtractedScript& script : extraction.scripts)
        load.file.addPointers(script.fileName(), script.pointers);
    report.pointerFileError = savePointerFile(pointerFilePath, load.file);
    return report;
}

} // namespace tradumar
