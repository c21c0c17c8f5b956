#include "pointers/placement_report.h"

namespace tradumar {

namespace {

std::string hexAddress(std::int64_t offset) {
    return "0x" + hexNumber(offset);
}

} // namespace

std::string stayReasonText(Placement::Kind kind) {
    switch (kind) {
    case Placement::Kind::NoPointers:
        return "no tiene punteros confirmados";
    case Placement::Kind::NoRoom:
        return "no hay espacio libre donde quepa";
    case Placement::Kind::Astray:
        return "sus punteros no llevan a él";
    case Placement::Kind::InPlace:
    case Placement::Kind::Move:
        break;
    }
    return {};
}

PlacementLine placementLine(const Placement& p) {
    const auto bytes = static_cast<std::int64_t>(p.bytes);
    if (p.kind == Placement::Kind::Move)
        return {true, (p.to.offset == p.from.offset ? "vuelve a " : "se reubica en ") +
                          hexAddress(p.to.offset) + " (" + std::to_string(bytes) + " bytes, " +
                          std::to_string(p.pointers) + " puntero(s))"};
    if (p.kind == Placement::Kind::InPlace && bytes <= p.to.size)
        return {true, "se insertan " + std::to_string(bytes) + " bytes en " + hexAddress(p.to.offset)};
    std::string text = "excede en " + std::to_string(bytes - p.from.size) + " byte(s)";
    if (p.kind != Placement::Kind::InPlace)
        text += " y no se puede reubicar: " + stayReasonText(p.kind);
    return {false, text};
}

void acceptInPlace(Placement& p, const Bytes& bytes) {
    p.kind = Placement::Kind::InPlace;
    p.to = p.from;
    p.pointers = 0;
    p.writes = {{p.script, p.from.offset, bytes}};
}

std::string locationText(const ScriptLocation& l) {
    const std::string room = ", con sitio para " + std::to_string(l.current.size) + " bytes.";
    switch (l.status) {
    case ScriptLocation::Status::Moved:
        return "Reubicado en " + hexAddress(l.current.offset) + " (su lugar original es " +
               hexAddress(l.home.offset) + ")" + room;
    case ScriptLocation::Status::Astray:
        return "En " + hexAddress(l.home.offset) + room + " Sus punteros no llevan a él.";
    case ScriptLocation::Status::Home:
        break;
    }
    return "En " + hexAddress(l.current.offset) + room;
}

std::string relocationDoneText(const Placement& p) {
    const std::optional<ScriptPlace> home = scriptPlace(p.script);
    const bool back = home && home->offset == p.to.offset;
    return "Se han insertado " + std::to_string(p.bytes) + " bytes en la dirección " +
           hexAddress(p.to.offset) +
           (back ? ", el lugar original del script" : ", adonde se ha reubicado el script") +
           "; se han reescrito " + std::to_string(p.pointers) + " puntero(s).";
}

} // namespace tradumar
