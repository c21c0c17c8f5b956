// The subcommands of tradumar-cli that work with pointers: extracting the
// scripts from the ROM, checking what it holds, the free space and the
// pointers of a script.
#include <algorithm>
#include <charconv>
#include <cstdio>

#include "cli/cli_shared.h"
#include "pointers/pointer_search.h"
#include "pointers/script_extraction.h"
#include "pointers/verification.h"
#include "project/script_files.h"

namespace tradumar::cli {
namespace {

// A number as the user types it: hexadecimal after "0x", decimal otherwise,
// with an optional minus sign in front.
std::optional<std::int64_t> parseNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty() || text.size() > 15)
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

// "INICIO-FIN" with numbers as parseNumber reads them, first <= last.
std::optional<ByteRange> parseRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const auto first = parseNumber(text.substr(0, dash)), last = parseNumber(text.substr(dash + 1));
    if (!first || !last || *first < 0 || *first > *last)
        return std::nullopt;
    return ByteRange{*first, *last};
}

// A hexadecimal number with an optional "0x" in front, as the free ranges
// and the filler are written.
std::string_view withoutHexPrefix(std::string_view text) {
    return text.starts_with("0x") || text.starts_with("0X") ? text.substr(2) : text;
}

std::optional<ByteRange> parseHexRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::string bare = std::string(withoutHexPrefix(text.substr(0, dash))) + "-" +
                             std::string(withoutHexPrefix(text.substr(dash + 1)));
    return parseByteRange(bare);
}

std::string rangeText(const ByteRange& range) {
    return byteRangeText(range) + " (" + std::to_string(range.size()) + " bytes)";
}

int usage(Streams io, const std::string& what) {
    io.err << "Error de uso: " << what << "\n";
    return kUsage;
}

// The request of extraer, or nothing when the command line is wrong (said on err).
std::optional<ExtractionRequest> extractionRequest(const ExtractOptions& options, Streams io) {
    ExtractionRequest request;
    if (!options.table.empty()) {
        const std::size_t colon = options.table.find(':');
        const auto start = parseNumber(std::string_view(options.table).substr(0, colon));
        const std::int64_t count =
            colon == std::string::npos
                ? 0
                : parseNumber(std::string_view(options.table).substr(colon + 1)).value_or(0);
        const auto displacement = parseNumber(options.displacement);
        const std::int64_t step = options.step.empty() ? options.size : parseNumber(options.step).value_or(0);
        if (!start || *start < 0 || count < 1 || count > 1000000) {
            usage(io, "--punteros espera DIRECCIÓN:CUENTA, por ejemplo 0x1A000:200.");
            return std::nullopt;
        }
        if (!displacement || step < 1 || step > 65536) {
            usage(io, "--desplazamiento y --paso esperan números (hexadecimales con 0x, o decimales).");
            return std::nullopt;
        }
        const std::optional<PointerFormat> format =
            PointerFormat::parse(std::to_string(options.size) + ":" + options.order + ":" + options.map +
                                 ":" + hexNumber(*displacement) + ":" + std::to_string(options.header));
        if (!format) {
            usage(io, "el formato de los punteros no es válido.");
            return std::nullopt;
        }
        request.tables.push_back({*start, static_cast<int>(count), static_cast<int>(step), *format});
    }
    for (const std::string& text : options.ranges) {
        const std::optional<ByteRange> range = parseRange(text);
        if (!range) {
            usage(io, "«" + text + "» no es un rango INICIO-FIN.");
            return std::nullopt;
        }
        request.ranges.push_back(*range);
    }
    if (request.tables.empty() && request.ranges.empty()) {
        usage(io, "indique --punteros DIRECCIÓN:CUENTA o --rango INICIO-FIN.");
        return std::nullopt;
    }
    return request;
}

// The ROM's state of every saved translation, or nothing when the pointer
// file or the ROM cannot be read (said on err).
std::optional<std::vector<TranslationCheck>> checkTranslations(const Workspace& workspace, Streams io) {
    RomCheck check = checkProjectRom(workspace.settings, workspace.encoderContext());
    if (!check.failure.empty()) {
        io.err << check.failure << '\n';
        return std::nullopt;
    }
    return std::move(check.checks);
}

} // namespace

std::map<std::string, std::string> romStates(const Workspace& workspace, Streams io) {
    std::map<std::string, std::string> states;
    if (const auto checks = checkTranslations(workspace, io))
        for (const TranslationCheck& c : *checks)
            states[c.script] = std::string(translationStateText(c.state));
    return states;
}

int extract(const std::string& projectFile, const ExtractOptions& options, Streams io) {
    const std::optional<ExtractionRequest> request = extractionRequest(options, io);
    if (!request)
        return kUsage;
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    const ProjectSettings& settings = workspace.settings;
    const std::string pointerPath = pointerFilePathFor(settings.projectFilePath);
    const std::optional<PointerFile> before = loadPointersOrSay(pointerPath, io);
    if (!before)
        return kUsage;
    const Bytes rom = romBytesOf(settings.romPath);
    if (rom.empty()) {
        io.err << "No se pudo leer la ROM " << settings.romPath << ".\n";
        return kNotAll;
    }
    const Extraction found = extractScripts(rom, workspace.originalTable, *request, settings.leftCharacter(),
                                            settings.rightCharacter());
    const ExtractionWrite written =
        writeExtractedScripts(settings.scriptsFolder, pointerPath, found, *request, settings.legacyCodePage);
    const int pointerFileError = written.pointerFileError;

    bool all = true;
    for (const ExtractedScript& script : found.scripts) {
        const std::string name = script.fileName();
        io.out << name << ": ";
        const auto failed = std::find_if(written.failed.begin(), written.failed.end(),
                                         [&](const auto& f) { return f.first == name; });
        if (failed != written.failed.end()) {
            io.out << "no se pudo escribir (" << describeError(failed->second) << ")";
            all = false;
        } else if (std::find(written.skipped.begin(), written.skipped.end(), name) != written.skipped.end()) {
            io.out << "ya existe; se conserva";
        } else {
            io.out << "escrito";
        }
        if (!script.pointers.empty())
            io.out << ", " << script.pointers.size() << " puntero(s)";
        if (!script.reencodes)
            io.out << "; su texto no vuelve a dar los mismos bytes al insertarlo";
        io.out << '\n';
    }
    for (const ScriptPointer& stray : found.strayPointers) {
        io.err << "El puntero de " << hexOffset(stray.offset) << " no lleva a ningún lugar de la ROM.\n";
        all = false;
    }
    if (pointerFileError != 0) {
        io.err << pointerFileSaveFailureText(pointerPath, pointerFileError) << '\n';
        all = false;
    }
    if (found.scripts.empty()) {
        io.err << "No se encontró ningún script.\n";
        return kNotAll;
    }
    io.err << "Se escribieron " << written.written.size() << " scripts; " << written.skipped.size()
           << " ya existían.\n";
    return all ? kDone : kNotAll;
}

int verify(const std::string& projectFile, Streams io) {
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    const std::optional<std::vector<TranslationCheck>> checks = checkTranslations(workspace, io);
    if (!checks)
        return kUsage;
    std::size_t inserted = 0;
    for (const TranslationCheck& c : *checks) {
        io.out << c.script << ": " << translationStateText(c.state);
        if (c.state != TranslationCheck::State::Impossible)
            io.out << " en " << hexOffset(c.offset);
        io.out << '\n';
        inserted += c.state == TranslationCheck::State::Inserted ? 1 : 0;
    }
    io.err << "Insertadas: " << inserted << " de " << checks->size() << ".\n";
    return inserted == checks->size() ? kDone : kNotAll;
}

int freeSpaceCommand(const std::string& projectFile, const std::vector<std::string>& ranges,
                     const std::string& filler, Streams io) {
    std::vector<ByteRange> declared;
    for (const std::string& text : ranges) {
        const std::optional<ByteRange> range = parseHexRange(text);
        if (!range)
            return usage(io, "«" + text + "» no es un rango INICIO-FIN en hexadecimal.");
        declared.push_back(*range);
    }
    // The filler byte, or -1 when none is given.
    const std::int64_t fillerByte =
        filler.empty() ? -1 : parseHexNumber(withoutHexPrefix(filler)).value_or(0x100);
    if (fillerByte > 0xFF)
        return usage(io, "--relleno espera un byte en hexadecimal, de 00 a FF.");
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    const std::string pointerPath = pointerFilePathFor(workspace.settings.projectFilePath);
    std::optional<PointerFile> file = loadPointersOrSay(pointerPath, io);
    if (!file)
        return kUsage;
    if (!declared.empty() || fillerByte >= 0) {
        if (!declared.empty())
            file->freeRanges = mergeRanges(declared);
        if (fillerByte >= 0)
            file->filler = static_cast<std::uint8_t>(fillerByte);
        if (const int error = savePointerFile(pointerPath, *file); error != 0) {
            io.err << pointerFileSaveFailureText(pointerPath, error) << '\n';
            return kNotAll;
        }
    }
    const Bytes rom = romBytesOf(workspace.settings.romPath);
    io.out << "relleno " << hexBytesText({file->filler}) << '\n';
    for (const ByteRange& range : file->freeRanges)
        io.out << "libre " << rangeText(range) << '\n';
    for (const ByteRange& range : freeSpace(*file, locateScripts(opened.scripts, *file, rom)))
        io.out << "queda " << rangeText(range) << '\n';
    if (file->freeRanges.empty())
        io.err << "No hay espacio libre declarado.\n";
    return kDone;
}

int pointers(const std::string& projectFile, const std::string& script,
             const std::vector<std::string>& confirm, Streams io) {
    std::vector<std::int64_t> offsets;
    for (const std::string& text : confirm) {
        const std::optional<std::int64_t> offset = parseNumber(text);
        if (!offset || *offset < 0)
            return usage(io, "«" + text + "» no es una dirección (hexadecimal con 0x, o decimal).");
        offsets.push_back(*offset);
    }
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    if (std::find(opened.scripts.begin(), opened.scripts.end(), script) == opened.scripts.end()) {
        io.err << script << ": no existe ese script en el proyecto.\n";
        return kUsage;
    }
    const std::string pointerPath = pointerFilePathFor(workspace.settings.projectFilePath);
    std::optional<PointerFile> file = loadPointersOrSay(pointerPath, io);
    if (!file)
        return kUsage;
    const Bytes rom = romBytesOf(workspace.settings.romPath);
    const std::optional<ScriptLocation> location = locateScript(script, *file, rom);
    if (!location) {
        io.err << script << ": el nombre no indica dirección y tamaño (DIRECCIÓN[TAMAÑO].txt).\n";
        return kUsage;
    }
    const std::vector<PointerCandidate> candidates =
        findPointerCandidates(rom, file->format, location->current.offset);
    const auto isCandidate = [&](std::int64_t offset) {
        return std::any_of(candidates.begin(), candidates.end(),
                           [&](const PointerCandidate& c) { return c.offset == offset; });
    };
    bool all = true;
    std::vector<ScriptPointer> confirmed;
    for (const std::int64_t offset : offsets) {
        if (isCandidate(offset)) {
            confirmed.push_back({offset, file->format});
            continue;
        }
        io.err << hexOffset(offset) << " no es un candidato: no apunta a "
               << hexOffset(location->current.offset) << " con el formato " << file->format.text() << ".\n";
        all = false;
    }
    if (!confirmed.empty()) {
        file->addPointers(script, confirmed);
        if (const int error = savePointerFile(pointerPath, *file); error != 0) {
            io.err << pointerFileSaveFailureText(pointerPath, error) << '\n';
            return kNotAll;
        }
    }

    const std::vector<ScriptPointer> known = file->pointersOf(script);
    const auto isConfirmed = [&](std::int64_t offset) {
        return std::any_of(known.begin(), known.end(),
                           [&](const ScriptPointer& p) { return p.offset == offset; });
    };
    io.err << script << " está en " << hexOffset(location->current.offset) << "; formato "
           << file->format.text() << ".\n";
    for (const PointerCandidate& c : candidates) {
        const auto at = rom.begin() + c.offset;
        io.out << hexOffset(c.offset) << "  valor " << hexOffset(static_cast<std::int64_t>(c.value)) << "  "
               << hexBytesText(c.before) << " [" << hexBytesText(Bytes(at, at + file->format.size)) << "] "
               << hexBytesText(c.after) << (c.inTable ? "  en tabla" : "")
               << (isConfirmed(c.offset) ? "  confirmado" : "") << '\n';
    }
    for (const ScriptPointer& p : known)
        if (!isCandidate(p.offset))
            io.out << hexOffset(p.offset) << "  confirmado (" << p.format.text() << ")\n";
    if (candidates.empty())
        io.err << "No se encontraron candidatos.\n";
    return all ? kDone : kNotAll;
}

} // namespace tradumar::cli
