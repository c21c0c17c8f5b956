#include "insertion/journal_messages.h"

#include <cstdio>

#include "common/system_error.h"

namespace tradumar {

std::string journalFailureText(const JournalReport& r) {
    switch (r.error) {
    case FailureCode::None:
        return {};
    case FailureCode::RomNotFound:
        return "La ROM " + r.file + " no existe. No se ha escrito nada.";
    case FailureCode::RomTooSmall: {
        if (r.end == 0)
            return "Un script llega más allá del final de la ROM " + r.file + ". No se ha escrito nada.";
        char where[64];
        if (r.offset >= r.actualSize)
            std::snprintf(where, sizeof where, "la dirección 0x%llX está fuera de la ROM",
                          static_cast<unsigned long long>(r.offset));
        else
            std::snprintf(where, sizeof where, "el script llega hasta 0x%llX",
                          static_cast<unsigned long long>(r.end));
        return "La ROM " + r.file + " mide " + std::to_string(r.actualSize) + " bytes: " + where +
               ". No se ha escrito nada.";
    }
    case FailureCode::ProjectInUse:
        return "El proyecto está en uso en otra ventana o programa. No se ha cambiado nada.";
    case FailureCode::JournalDamaged:
        return "El registro de inserciones " + r.file + " está dañado a partir del byte " +
               std::to_string(r.damagedAt) + ", o es de un formato que no se conoce. No se ha cambiado nada.";
    case FailureCode::ForeignRom:
        return "La última inserción del registro se hizo en " + r.file +
               ", que no es la ROM del proyecto. No se ha cambiado nada.";
    case FailureCode::RomSizeChanged:
        return "La ROM mide " + std::to_string(r.actualSize) + " bytes y la última inserción la dejó con " +
               std::to_string(r.expectedSize) + ". No se ha cambiado nada.";
    case FailureCode::RomReplaced:
        return "La ROM " + r.file +
               " no se puede leer o ya no es la que se estaba cambiando cuando se interrumpió la última "
               "operación. El registro se conserva tal como está y no se ha escrito nada en la ROM.";
    case FailureCode::StaleOriginal:
        return "La copia sin traducir " + r.file +
               " no coincide con la ROM que se va a cambiar. Apártela si ya no sirve. No se ha escrito nada.";
    case FailureCode::PartialStep: {
        std::string scripts;
        for (const std::string& name : r.partialScripts)
            scripts += (scripts.empty() ? "" : ", ") + name;
        return "La ROM " + r.file + " contiene una parte de esta inserción (" + scripts +
               ") y no se pudo devolver a su estado anterior. Use «Deshacer última inserción» cuando la ROM "
               "se pueda escribir.";
    }
    default:
        if (r.systemError != 0)
            return (r.file.empty() ? std::string() : r.file + ": ") + systemErrorText(r.systemError) + ".";
        return r.file.empty() ? std::string() : "Archivo: " + r.file + ".";
    }
}

std::string scriptPlaceText(std::int64_t offset, const std::string& fileName) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(offset));
    std::string label = fileName;
    if (label.size() > 4) {
        std::string extension = label.substr(label.size() - 4);
        for (char& c : extension)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (extension == ".txt")
            label.resize(label.size() - 4);
    }
    return std::string(hex) + " (" + label + ")";
}

std::string undoOutcomeText(const UndoOutcome& o) {
    const std::string restored =
        o.scripts == 1 ? std::to_string(o.bytes) + " bytes en " + scriptPlaceText(o.offset, o.scriptName)
                       : std::to_string(o.bytes) + " bytes en " + std::to_string(o.scripts) + " scripts";
    switch (o.kind) {
    case UndoOutcome::Kind::Nothing:
        return "No hay inserciones que deshacer.";
    case UndoOutcome::Kind::Undone:
        return "Se restauraron " + restored + ".";
    case UndoOutcome::Kind::Finished:
        return (o.scripts > 0
                    ? "Se terminó de devolver una operación interrumpida: se restauraron " + restored + "."
                    : std::string("Se terminó de devolver una operación interrumpida.")) +
               " No se ha deshecho ninguna otra inserción.";
    case UndoOutcome::Kind::RomChanged:
        return "La ROM cambió fuera de Tradumar: en " + scriptPlaceText(o.offset, o.scriptName) +
               " ya no está lo que se insertó. No se ha cambiado nada.";
    case UndoOutcome::Kind::Failed:
        break;
    }
    return {};
}

std::string journalNoticeText(const JournalReport& r) {
    if (!r.unfinished)
        return {};
    return std::string("Quedó sin terminar ") + (r.unfinished->undo ? "un deshacer" : "una inserción") +
           " en " + r.unfinished->romPath +
           ", que ya no es la ROM del proyecto. Se ha dejado en el registro tal como estaba.";
}

} // namespace tradumar
