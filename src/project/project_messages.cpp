#include "project/project_messages.h"

#include <cstdio>

#include "project/script_files.h"

namespace tradumar {
namespace {

std::string tableLines(const char* which, const std::string& path, const std::vector<UnusableLine>& lines) {
    std::string text =
        std::string("Tabla ") + which + " " + path + " (" + std::to_string(lines.size()) + "):";
    const std::size_t shown = std::min<std::size_t>(lines.size(), 10);
    for (std::size_t i = 0; i < shown; ++i)
        text += "\r\n  línea " + std::to_string(lines[i].number) + ": " + lines[i].text;
    if (lines.size() > shown)
        text += "\r\n  y " + std::to_string(lines.size() - shown) + " más";
    return text;
}

} // namespace

std::string undecodableText(LegacyCodePage legacy, std::size_t offset, unsigned char byte) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    return "no está en UTF-8 ni en " + std::string(legacyCodePageName(legacy)) + " (byte 0x" + hex +
           " en la posición " + std::to_string(offset) + ")";
}

std::string openFailureText(const OpenFailure& f) {
    using Kind = OpenFailure::Kind;
    const std::string table = "la tabla " + f.which + " " + f.path;
    switch (f.kind) {
    case Kind::None:
        return {};
    case Kind::Unreadable:
        return "no se puede leer el archivo (" + describeError(f.error) + ")";
    case Kind::NotAProject:
        return "el archivo no es un proyecto de Tradumar";
    case Kind::BadIndex:
        return "el índice de script guardado \"" + f.index + "\" no es un número entre -32768 y 32767";
    case Kind::Undecodable:
        return "el archivo " + undecodableText(f.legacy, f.badOffset, f.badByte);
    case Kind::NoScriptsFolder:
        return "el archivo no indica la carpeta de scripts";
    case Kind::ScriptsFolderMissing:
        return "no existe la carpeta de scripts " + f.path;
    case Kind::TableMissing:
        return "no existe " + table;
    case Kind::TableUnreadable:
        return "no se pudo leer " + table;
    case Kind::TableUndecodable:
        return table + " " + undecodableText(f.legacy, f.badOffset, f.badByte);
    case Kind::TableOverflow:
        return table + " tiene más de 5000 entradas";
    case Kind::RomMissing:
        return "no existe la ROM " + f.path;
    }
    return {};
}

std::string unusableLinesText(const TablesLoad& tables, const ProjectSettings& settings) {
    if (tables.unusableOriginal.empty() && tables.unusableTranslated.empty())
        return {};
    std::string text = "Estas líneas de las tablas no se pueden usar: su código no son pares de dígitos "
                       "hexadecimales.";
    if (!tables.unusableOriginal.empty())
        text += "\r\n" + tableLines("original", settings.originalTablePath, tables.unusableOriginal);
    if (!tables.unusableTranslated.empty())
        text += "\r\n" + tableLines("traducida", settings.translatedTablePath, tables.unusableTranslated);
    return text;
}

} // namespace tradumar
