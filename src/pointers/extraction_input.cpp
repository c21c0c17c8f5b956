#include "pointers/extraction_input.h"

#include <algorithm>

#include "encoding/text_file.h"
#include "project/script_files.h"

namespace tradumar {
namespace {

std::optional<std::int64_t> hexField(std::string_view text, bool signedValue = false) {
    text = trimmedBlanks(text);
    const bool negative = signedValue && text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    if (text.starts_with("0x") || text.starts_with("0X"))
        text.remove_prefix(2);
    const std::optional<std::int64_t> value = parseHexNumber(text);
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

std::string hex(std::int64_t value) {
    return "0x" + hexNumber(value);
}

// "la ROM (32768 bytes)", the size the user can compare an offset with.
std::string romWithSize(std::int64_t romSize) {
    return "la ROM (" + hex(romSize) + " bytes)";
}

// Up to ten names, then how many more.
std::string someNames(const std::vector<std::string>& names) {
    std::string out;
    const std::size_t shown = std::min<std::size_t>(names.size(), 10);
    for (std::size_t k = 0; k < shown; ++k)
        out += (k == 0 ? "" : ", ") + names[k];
    if (names.size() > shown)
        out += " y " + std::to_string(names.size() - shown) + " más";
    return out;
}

} // namespace

ExtractionInputCheck parseExtractionInput(const ExtractionInput& input, std::int64_t romSize) {
    ExtractionInputCheck out;
    if (romSize <= 0) {
        out.problem = "No se pudo leer la ROM.";
        return out;
    }
    if (!input.byTable) {
        int line = 0;
        for (const std::string_view raw : splitTextLines(input.ranges)) {
            ++line;
            const std::string_view text = trimmedBlanks(raw);
            if (text.empty())
                continue;
            const std::size_t dash = text.find('-');
            const auto first = hexField(text.substr(0, dash));
            const auto last = dash == std::string_view::npos ? std::nullopt : hexField(text.substr(dash + 1));
            if (!first || !last || *first > *last) {
                out.problem = "La línea " + std::to_string(line) + " de los rangos, «" + std::string(text) +
                              "», no es un rango inicio-fin en hexadecimal.";
                return out;
            }
            if (*last >= romSize) {
                out.problem =
                    "El rango " + std::string(text) + " pasa del final de " + romWithSize(romSize) + ".";
                return out;
            }
            out.request.ranges.push_back({*first, *last});
        }
        if (out.request.ranges.empty())
            out.problem = "Escriba al menos un rango inicio-fin, uno por línea.";
        return out;
    }

    const auto start = hexField(input.start);
    const auto count = parseDecimalNumber(trimmedBlanks(input.count));
    const auto step = trimmedBlanks(input.step).empty() ? std::optional<std::int64_t>(input.format.size)
                                                  : parseDecimalNumber(trimmedBlanks(input.step));
    const auto displacement = trimmedBlanks(input.displacement).empty() ? std::optional<std::int64_t>(0)
                                                                  : hexField(input.displacement, true);
    PointerFormat format = input.format;
    if (displacement)
        format.displacement = *displacement;
    if (!start)
        out.problem = "La dirección de la tabla debe ser un número hexadecimal, por ejemplo 1A000.";
    else if (!count || *count < 1 || *count > 1000000)
        out.problem = "La cuenta de punteros debe ser un número de 1 a 1000000.";
    else if (!step || *step < 1 || *step > 65536)
        out.problem = "El paso entre punteros debe ser un número de 1 a 65536.";
    else if (!displacement || !format.valid())
        out.problem = "El desplazamiento debe ser un número hexadecimal, con un signo menos si resta.";
    if (!out.ok())
        return out;
    const std::int64_t end = *start + (*count - 1) * *step + format.size;
    if (end > romSize) {
        out.problem = "La tabla de punteros acaba en " + hex(end - 1) + ", pasado el final de " +
                      romWithSize(romSize) + ".";
        return out;
    }
    out.request.tables.push_back({*start, static_cast<int>(*count), static_cast<int>(*step), format});
    return out;
}

std::string extractionTableProblem(const ThingyTable& table) {
    bool any = false;
    for (int position = 1; position <= ThingyTable::kCapacity && !any; ++position)
        any = table.usable(position);
    if (!any)
        return "No hay tabla original cargada: revise la configuración del proyecto.";
    if (table.endCodePosition() == 0)
        return "La tabla original no tiene código de fin (una línea /XX): sin él no se sabe dónde acaba cada "
               "script.";
    return {};
}

ExtractionRequest previewRequest(const ExtractionRequest& request, int scripts) {
    ExtractionRequest out;
    if (!request.tables.empty()) {
        PointerTable table = request.tables.front();
        table.count = std::min(table.count, scripts);
        out.tables.push_back(table);
    } else if (!request.ranges.empty()) {
        ByteRange range = request.ranges.front();
        range.last = std::min<std::int64_t>(range.last, range.first + 64 * scripts - 1);
        out.ranges.push_back(range);
    }
    return out;
}

std::string extractionReportText(const Extraction& extraction, const ExtractionWrite& written,
                                 const std::string& pointerFileName) {
    std::vector<std::string> lines;
    if (extraction.scripts.empty())
        lines.push_back("No se encontró ningún script.");
    else
        lines.push_back("Se encontraron " + std::to_string(extraction.scripts.size()) +
                        " scripts; se escribieron " + std::to_string(written.written.size()) + ".");
    if (!written.skipped.empty())
        lines.push_back("Ya existían y se conservan sin cambios (" + std::to_string(written.skipped.size()) +
                        "): " + someNames(written.skipped) + ".");
    std::vector<std::string> names;
    for (const auto& [name, error] : written.failed)
        names.push_back(name + " (" + describeError(error) + ")");
    if (!names.empty())
        lines.push_back("No se pudieron escribir (" + std::to_string(names.size()) +
                        "): " + someNames(names) + ".");
    names.clear();
    for (const ExtractedScript& script : extraction.scripts)
        if (!script.reencodes)
            names.push_back(script.fileName());
    if (!names.empty())
        lines.push_back("Su texto no vuelve a dar los mismos bytes al insertarlo (" +
                        std::to_string(names.size()) + "): " + someNames(names) +
                        ". La tabla tiene dos códigos para un mismo texto.");
    names.clear();
    for (const ScriptPointer& stray : extraction.strayPointers)
        names.push_back(hex(stray.offset));
    if (!names.empty())
        lines.push_back("Punteros que no llevan a ningún lugar de la ROM (" + std::to_string(names.size()) +
                        "): " + someNames(names) + ".");
    if (written.pointerFileError != 0)
        lines.push_back(pointerFileSaveFailureText(pointerFileName, written.pointerFileError));
    std::string out;
    for (const std::string& line : lines)
        out += (out.empty() ? "" : "\r\n") + line;
    return out;
}

} // namespace tradumar
