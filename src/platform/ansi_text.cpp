#include "platform/ansi_text.h"

#include <array>
#include <unordered_map>

#include <QFile>
#include <QStringDecoder>

namespace tradumar {
namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;

struct CodePage {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, char> fromUnicode; // only the characters above 0x7F

    CodePage() {
        QStringDecoder decoder("windows-1252");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString ch = decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            // Qt without ICU has no Windows-1252; Latin-1 then stands in for
            // the bytes 80 to 9F.
            toUnicode[static_cast<std::size_t>(b)] =
                ch.size() == 1 ? ch.at(0).unicode() : static_cast<char16_t>(b);
            if (b >= 0x80)
                fromUnicode.emplace(toUnicode[static_cast<std::size_t>(b)], byte);
        }
    }
};

const CodePage& codePage() {
    static const CodePage page;
    return page;
}

} // namespace

QString toQString(std::string_view bytes) {
    const CodePage& page = codePage();
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out.append(QChar(u'\n'));
            ++i;
        } else if (b == '\n') {
            out.append(QChar(kLineSeparator));
        } else {
            out.append(QChar(page.toUnicode[b]));
        }
    }
    return out;
}

std::string fromQString(const QString& text) {
    const CodePage& page = codePage();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) + 16);
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\n' || c == kParagraphSeparator) {
            out += "\r\n";
        } else if (c == kLineSeparator) {
            out += '\n';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const auto it = page.fromUnicode.find(c); it != page.fromUnicode.end()) {
            out += it->second;
        } else {
            out += '?';
        }
    }
    return out;
}

QString pathToQString(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string pathFromQString(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace tradumar
