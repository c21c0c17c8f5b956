#include "platform/qt_text.h"

#include <QFile>

#include "encoding/unicode_text.h"

namespace tradumar {
namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;

} // namespace

QString toQString(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            text += '\n';
            ++i;
        } else if (c == '\n') {
            text += "\xE2\x80\xA8"; // U+2028
        } else {
            text += c;
        }
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQString(const QString& text) {
    const QString nfc = text.normalized(QString::NormalizationForm_C);
    std::string out;
    out.reserve(static_cast<std::size_t>(nfc.size()) + 16);
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        if (end > start)
            out += QStringView(nfc).mid(start, end - start).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < nfc.size(); ++i) {
        const char16_t c = nfc.at(i).unicode();
        if (c != u'\n' && c != kParagraphSeparator && c != kLineSeparator)
            continue;
        flush(i);
        out += c == kLineSeparator ? "\n" : "\r\n";
        start = i + 1;
    }
    flush(nfc.size());
    return out;
}

qsizetype qtOffsetOf(std::string_view utf8, std::size_t byteOffset) {
    qsizetype units = 0;
    for (std::size_t i = 0; i < byteOffset && i < utf8.size();) {
        const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return units;
}

std::size_t utf8OffsetOf(const QString& text, qsizetype qtOffset) {
    return static_cast<std::size_t>(QStringView(text).left(qtOffset).toUtf8().size());
}

QString pathToQString(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string pathFromQString(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace tradumar
