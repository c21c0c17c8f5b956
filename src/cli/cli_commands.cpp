// The subcommands of tradumar-cli: each opens the project through the same
// model as the window and reports in the same Spanish sentences.
#include "cli/cli_commands.h"
#include "cli/cli_shared.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <set>

#include "checksum/rom_checksum.h"
#include "common/file_io.h"
#include "encoding/conversions.h"
#include "insertion/insert_all.h"
#include "insertion/insertion_journal.h"
#include "insertion/journal_messages.h"
#include "patching/patch_export.h"
#include "pointers/placement_report.h"
#include "pointers/relocation.h"
#include "pointers/verification.h"
#include "project/project_messages.h"
#include "project/project_model.h"
#include "project/script_files.h"

namespace tradumar::cli {

std::string hexOffset(std::int64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

Bytes romBytesOf(const std::string& romPath) {
    const std::optional<std::string> rom = readWholeFile(romPath);
    return rom ? Bytes(rom->begin(), rom->end()) : Bytes();
}

std::optional<PointerFile> loadPointersOrSay(const std::string& path, Streams io) {
    PointerFileLoad load = loadPointerFile(path);
    if (load.ok())
        return std::move(load.file);
    io.err << pointerFileFailureText(path, load) << '\n';
    return std::nullopt;
}

namespace {

const char* stateWord(ScriptState state) {
    switch (state) {
    case ScriptState::NotTranslated:
        return "sin traducir";
    case ScriptState::WithinBudget:
        return "cabe";
    case ScriptState::OverBudget:
        return "excede";
    case ScriptState::CannotInsert:
        return "no se puede insertar";
    }
    return "";
}

} // namespace

bool openOrSay(const std::string& projectFile, Workspace& workspace, OpenedProject& opened, Streams io,
               bool tablesNeeded) {
    opened = openProject(projectFile, workspace);
    const bool failed =
        opened.failure && (tablesNeeded || opened.failure.kind != OpenFailure::Kind::RomMissing);
    if (failed)
        io.err << "No se pudo abrir el proyecto " << projectFile << ": " << openFailureText(opened.failure)
               << "\n";
    return !failed;
}

KeepGoing progressLine(Streams io, const char* what) {
    if (!io.progress)
        return {};
    return [&err = io.err, what](std::size_t done, std::size_t total) {
        if (done % 64 == 0 || done + 1 == total)
            err << "\r" << what << " " << done + 1 << " de " << total << std::flush;
        return true;
    };
}

void endProgressLine(Streams io) {
    if (io.progress)
        io.err << "\r\033[K" << std::flush;
}

int status(const std::string& projectFile, bool tsv, Streams io) {
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    const auto& rows = workspace.progress.scripts();
    if (tsv)
        io.out << "script\tdirección\ttamaño\tbytes\testado\n";
    std::size_t width = 6;
    for (const ScriptProgress& row : rows)
        width = std::max(width, row.fileName.size());
    // The table also says what the ROM holds of each translation.
    const std::map<std::string, std::string> rom =
        tsv ? std::map<std::string, std::string>() : romStates(workspace, io);
    if (!tsv)
        io.out << std::left << std::setw(static_cast<int>(width) + 2) << "script" << std::setw(12)
               << "dirección " << std::setw(8) << "tamaño " << std::setw(8) << "bytes" << std::setw(22)
               << "estado"
               << "rom\n";
    for (const ScriptProgress& row : rows) {
        const std::optional<ScriptPlace> place = scriptPlace(row.fileName);
        const std::string offset = place ? hexOffset(place->offset) : "";
        const std::string size = place ? std::to_string(place->size) : "";
        const std::string bytes =
            row.state == ScriptState::NotTranslated ? "" : std::to_string(row.translatedBytes);
        if (tsv)
            io.out << row.fileName << '\t' << offset << '\t' << size << '\t' << bytes << '\t'
                   << stateWord(row.state) << '\n';
        else {
            const auto inRom = rom.find(row.fileName);
            io.out << std::left << std::setw(static_cast<int>(width) + 2) << row.fileName << std::setw(11)
                   << offset << std::setw(7) << size << std::setw(8) << bytes;
            if (inRom == rom.end())
                io.out << stateWord(row.state) << '\n';
            else
                io.out << std::setw(22) << stateWord(row.state) << inRom->second << '\n';
        }
    }
    if (!tsv)
        io.out << summaryText(workspace.progress.summary()) << '\n';
    return kDone;
}

int check(const std::string& projectFile, Streams io) {
    Workspace workspace;
    OpenedProject opened = openProject(projectFile, workspace);
    if (opened.failure && !opened.failure.correctable()) {
        io.err << "No se pudo abrir el proyecto " << projectFile << ": " << openFailureText(opened.failure)
               << "\n";
        return kUsage;
    }
    int problems = 0;
    const auto say = [&](const std::string& text) {
        io.out << text << '\n';
        ++problems;
    };
    if (opened.failure) {
        say(openFailureText(opened.failure));
        return kNotAll;
    }
    if (const std::string unusable = unusableLinesText(opened.tables, workspace.settings); !unusable.empty())
        say(unusable);
    const std::optional<std::string> rom = readWholeFile(workspace.settings.romPath);
    const std::string translations = translationFolderOf(workspace.settings.scriptsFolder);
    for (const std::string& name : opened.scripts) {
        const std::optional<ScriptPlace> place = scriptPlace(name);
        if (!place) {
            say(name + ": el nombre no indica dirección y tamaño (DIRECCIÓN[TAMAÑO].txt)");
            continue;
        }
        if (rom && place->offset + place->size > static_cast<std::int64_t>(rom->size()))
            say(name + ": " + hexOffset(place->offset) + " queda fuera de la ROM (" +
                std::to_string(rom->size()) + " bytes)");
        const std::optional<std::string> text =
            readJoinedText(translations + name, workspace.settings.legacyCodePage);
        if (!text)
            continue;
        const EncodeResult encoded = encodeScript(
            *text, workspace.encoderContext(),
            [&](char32_t character, int position, int code) {
                say(name + ": el carácter \"" + utf8Of(character) + "\" (" + std::to_string(code) +
                    ") no existe en la tabla, en la posición " + std::to_string(position));
                return MissingAnswer::GoOn;
            },
            [&](std::string_view block, int position) {
                say(name + ": el bloque \"" + std::string(block) + "\" no es válido, en la posición " +
                    std::to_string(position));
                return MissingAnswer::GoOn;
            });
        if (encoded.error != FailureCode::None)
            say(name + (encoded.errorAt > 0
                            ? ": bloque sin cerrar en la posición " + std::to_string(encoded.errorAt)
                            : std::string(": el texto pasa de 32767 caracteres")));
    }
    if (problems == 0)
        io.err << "No se encontraron problemas.\n";
    return problems == 0 ? kDone : kNotAll;
}

namespace {

// The report line of a script that cannot be inserted at all.
std::string notInsertableText(const PlannedScript& s) {
    std::string reasons;
    switch (s.status) {
    case PlannedScript::Status::MissingCharacters:
    case PlannedScript::Status::InvalidBlocks:
        for (const MissingCharacter& m : s.missing)
            reasons += (reasons.empty() ? "" : ", ") +
                       ("\"" + utf8Of(m.character) + "\" en la posición " + std::to_string(m.position));
        for (const InvalidBlock& b : s.invalidBlocks)
            reasons += (reasons.empty() ? "" : ", ") +
                       ("bloque \"" + b.block + "\" en la posición " + std::to_string(b.position));
        return "no se puede insertar: " + reasons;
    case PlannedScript::Status::EncodeFailed:
        return "no se puede insertar: " +
               (s.error == FailureCode::PathFileAccess ? std::string("no se pudo leer la traducción")
                : s.errorAt > 0 ? "bloque sin cerrar en la posición " + std::to_string(s.errorAt)
                                : std::string("el texto pasa de 32767 caracteres"));
    case PlannedScript::Status::NoBudget:
        return "no se puede insertar: el nombre no indica dirección y tamaño";
    case PlannedScript::Status::Fits:
    case PlannedScript::Status::OverBudget:
        break;
    }
    return {};
}

} // namespace

int insert(const std::string& projectFile, const InsertOptions& options,
           const std::vector<std::string>& scripts, Streams io) {
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    const ProjectSettings& settings = workspace.settings;
    const std::string pointerPath = pointerFilePathFor(settings.projectFilePath);
    std::optional<PointerFile> pointers = loadPointersOrSay(pointerPath, io);
    if (!pointers)
        return kUsage;
    InsertAllPlan plan =
        planInsertAll(settings.scriptsFolder, settings.legacyCodePage, workspace.encoderContext(),
                      progressLine(io, "Codificando"), ProjectTextBoxes(settings));
    endProgressLine(io);
    if (!scripts.empty()) {
        const std::set<std::string> wanted(scripts.begin(), scripts.end());
        std::set<std::string> found;
        std::erase_if(plan.scripts, [&](const PlannedScript& s) {
            const bool keep = wanted.count(s.fileName) > 0;
            if (keep)
                found.insert(s.fileName);
            return !keep;
        });
        for (const std::string& name : scripts)
            if (found.count(name) == 0) {
                io.err << name << ": no hay traducción guardada de ese script\n";
                return kUsage;
            }
    }
    // Every script is written where it lives now (a moved script at its new
    // place); with relocation, the long ones with pointers move.
    const Bytes rom = romBytesOf(settings.romPath);
    std::vector<Placement> placements =
        planPlacements(plan, *pointers, rom, opened.scripts, options.relocate);
    std::vector<Placement> chosen;
    std::size_t moved = 0, rewritten = 0, bytes = 0;
    bool all = true;
    auto next = placements.begin();
    int overBoxes = 0;
    for (const PlannedScript& s : plan.scripts) {
        io.out << s.fileName << ": ";
        // Lines and boxes past the limits are said, and insert all the same.
        const std::string boxes = s.boxes.fits() ? std::string() : "; " + textBoxCountsText(s.boxes);
        overBoxes += !s.boxes.fits();
        if (!s.insertable(true) || next == placements.end() || next->script != s.fileName) {
            io.out << notInsertableText(s) << boxes << '\n';
            all = false;
            continue;
        }
        Placement& p = *next++;
        const PlacementLine line = placementLine(p);
        io.out << line.text;
        if (p.kind == Placement::Kind::Move) {
            ++moved;
            rewritten += p.pointers;
        } else if (!line.fits) {
            io.out << ": " << (options.overBudget ? "se inserta" : "no se inserta (use --excedidos)");
            all = all && options.overBudget;
            if (!options.overBudget) {
                io.out << boxes << '\n';
                continue;
            }
            // Accepted over its room: written where it lives, as without pointers.
            acceptInPlace(p, s.bytes);
        }
        io.out << boxes << '\n';
        bytes += s.bytes.size();
        chosen.push_back(std::move(p));
    }
    if (overBoxes > 0)
        io.err << boxesSummaryText(overBoxes) << ".\n";
    if (chosen.empty()) {
        io.err << "No hay nada que insertar.\n";
        return all && plan.scripts.empty() ? kDone : kNotAll;
    }
    FileOps ops;
    const PlacementOutcome step = writePlacements(projectFilesFor(settings), pointerPath, *pointers, chosen,
                                                  progressLine(io, "Insertando"), ops, std::time(nullptr));
    endProgressLine(io);
    if (step.pointerFileError != 0) {
        io.err << pointerFileSaveFailureText(pointerPath, step.pointerFileError) << " No se ha insertado nada.\n";
        return kNotAll;
    }
    if (const std::string notice = journalNoticeText(step); !notice.empty())
        io.err << notice << '\n';
    if (step.checksumUnrecognised)
        io.err << unrecognisedChecksumText() << '\n';
    if (step.error != FailureCode::None) {
        io.err << step.error << ": No se pudo insertar el script\n" << journalFailureText(step) << '\n';
        return kNotAll;
    }
    io.err << "Se han insertado " << chosen.size() << " scripts (" << bytes << " bytes).\n";
    if (moved > 0)
        io.err << "Se han reubicado " << moved << " scripts y reescrito " << rewritten << " punteros.\n";
    return all ? kDone : kNotAll;
}

int undo(const std::string& projectFile, Streams io) {
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io, false))
        return kUsage;
    FileOps ops;
    const UndoOutcome outcome = undoLastStep(projectFilesFor(workspace.settings), ops);
    if (const std::string notice = journalNoticeText(outcome); !notice.empty())
        io.err << notice << '\n';
    if (outcome.kind == UndoOutcome::Kind::Failed) {
        io.err << outcome.error << ": No se pudo deshacer la inserción\n"
               << journalFailureText(outcome) << '\n';
        return kNotAll;
    }
    io.out << undoOutcomeText(outcome) << '\n';
    return outcome.kind == UndoOutcome::Kind::RomChanged ? kNotAll : kDone;
}

int patch(const std::string& projectFile, const std::string& output, const std::string& original,
          Streams io) {
    if (!patchFormatOf(output)) {
        io.err << "El nombre del parche debe terminar en .bps o en .ips.\n";
        return kUsage;
    }
    Workspace workspace;
    OpenedProject opened;
    if (!openOrSay(projectFile, workspace, opened, io))
        return kUsage;
    const ProjectFiles files = projectFilesFor(workspace.settings);
    FileOps ops;
    if (const SettleOutcome settled = settleJournal(files, ops); !settled.contents) {
        io.err << settled.error << ": No se pudo crear el parche\n" << journalFailureText(settled) << '\n';
        return kNotAll;
    }
    const std::string source = original.empty() ? originalRomPathOf(workspace.settings.romPath) : original;
    const PatchExport outcome = exportPatch(source, workspace.settings.romPath, output);
    switch (outcome.status) {
    case PatchExport::Status::Written: {
        char crc[16];
        std::snprintf(crc, sizeof crc, "%08X", outcome.sourceCrc);
        io.out << "Se ha creado el parche " << output << " (" << outcome.patchSize << " bytes) con "
               << outcome.changedBytes << " bytes cambiados.\nOrigen: " << source << " ("
               << outcome.sourceSize << " bytes, CRC32 " << crc << ").\n";
        if (outcome.copierHeader)
            io.err << copierHeaderReminderText() << '\n';
        return kDone;
    }
    case PatchExport::Status::UnknownFormat:
        io.err << "El nombre del parche debe terminar en .bps o en .ips.\n";
        return kUsage;
    case PatchExport::Status::SourceUnreadable:
        io.err << "No se pudo leer la ROM original " << source
               << (original.empty() ? ". Indíquela con --original ROM.\n" : ".\n");
        return kNotAll;
    case PatchExport::Status::TargetUnreadable:
        io.err << "No se pudo leer la ROM " << workspace.settings.romPath << ".\n";
        return kNotAll;
    case PatchExport::Status::TooLargeForIps:
        io.err << "La ROM pasa de 16 MB: IPS no puede describirla. Use un parche .bps.\n";
        return kNotAll;
    case PatchExport::Status::WriteFailed:
        io.err << "No se pudo escribir el parche " << output << " (" << describeError(outcome.error)
               << ").\n";
        return kNotAll;
    }
    return kNotAll;
}

} // namespace tradumar::cli
