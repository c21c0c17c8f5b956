#include "workspace/status_refresh.h"

#include <functional>

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>

#include "common/file_io.h"
#include "encoding/script_codec.h"
#include "encoding/unicode_text.h"
#include "platform/qt_text.h"
#include "pointers/placement_report.h"
#include "pointers/script_places.h"
#include "project/workspace.h"
#include "workspace/line_status.h"

namespace tradumar {

std::int64_t labelNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 0x80; ++i) {
        if (value < (std::int64_t{1} << 58))
            value = value * 10 + (text.at(i).unicode() - u'0');
    }
    return negative ? -value : value;
}

std::string paneText(const QPlainTextEdit* pane) {
    // The raw text keeps no-break blanks and separates blocks with U+2029,
    // which the conversion turns into CR LF.
    return fromQString(pane->document()->toRawText());
}

namespace {

// Shows the label's tooltip from a function, at the moment it is asked for.
class LazyTip : public QObject {
public:
    LazyTip(QLabel* label, std::function<QString()> text) : QObject(label), m_text(std::move(text)) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        const QString text = m_text();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text,
                               static_cast<QWidget*>(watched));
        return true;
    }

private:
    std::function<QString()> m_text;
};

} // namespace

StatusRefresh::StatusRefresh(const Workspace& workspace, QPlainTextEdit* pane, StatusLabels labels)
    : m_workspace(workspace), m_pane(pane), m_labels(labels) {
    QObject::connect(pane->document(), &QTextDocument::contentsChanged, pane,
                     [this] { m_textChanged = true; });
    new LazyTip(labels.realesT, [this] { return realBytesTip(); });
    new LazyTip(labels.realesD, [this] { return placeTip(); });
}

QString StatusRefresh::placeTip() const {
    // Where the open script lives now comes from its pointers in the ROM:
    // read only when asked, and only for a script that has pointers.
    const std::string& script = m_workspace.openScriptFile;
    if (script.empty())
        return {};
    const PointerFileLoad load = loadPointerFile(pointerFilePathFor(m_workspace.settings.projectFilePath));
    if (!load.ok())
        return {};
    Bytes rom;
    if (!load.file.pointersOf(script).empty())
        if (const std::optional<std::string> bytes = readWholeFile(m_workspace.settings.romPath))
            rom.assign(bytes->begin(), bytes->end());
    const std::optional<ScriptLocation> location = locateScript(script, load.file, rom);
    if (!location)
        return {};
    const std::string text = locationText(*location);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString StatusRefresh::realBytesTip() const {
    // The live count takes a raw block for one byte; the encoder writes what
    // the block holds. When the two differ the tooltip gives the real figure.
    // With the optimal encoding it also says what that choice saves against
    // the longest match first.
    const std::string text = paneText(m_pane);
    const auto goOn = [](auto&&...) { return MissingAnswer::GoOn; };
    const CodecContext context = m_workspace.encoderContext();
    const EncodeResult encoded = encodeScript(text, context, goOn, goOn);
    if (encoded.error != FailureCode::None)
        return {};
    const auto real = static_cast<std::int64_t>(encoded.bytes.size());
    QString tip;
    if (real != countTranslatedBytes(text, m_workspace.counterContext()))
        tip = QStringLiteral("Bytes reales al insertar: %1").arg(real);
    if (context.fewestBytes) {
        CodecContext longestFirst = context;
        longestFirst.fewestBytes = false;
        const EncodeResult plain = encodeScript(text, longestFirst, goOn, goOn);
        if (plain.error == FailureCode::None)
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) +
                   QStringLiteral("La codificación óptima ahorra %1 byte(s) en este script.")
                       .arg(static_cast<std::int64_t>(plain.bytes.size()) - real);
    }
    return tip;
}

void StatusRefresh::tick() {
    const int caret = m_pane->textCursor().selectionStart();
    const std::string enclosures = m_workspace.settings.leftEnclosure() +
                                   m_workspace.settings.rightEnclosure() +
                                   (m_workspace.settings.optimalEncoding ? "*" : "");
    const QString original = m_labels.realesO->text();
    if (m_valid && !m_textChanged && caret == m_caret && enclosures == m_enclosures &&
        original == m_original && m_labels.realesT->text() == m_wroteT &&
        m_labels.realesD->text() == m_wroteD)
        return;

    m_textChanged = false;
    m_caret = caret;
    m_enclosures = enclosures;
    m_original = original;
    recompute();
    m_wroteT = m_labels.realesT->text();
    m_wroteD = m_labels.realesD->text();
    m_valid = true;
}

void StatusRefresh::recompute() {
    const std::string text = paneText(m_pane);
    const CodecContext context = m_workspace.counterContext();
    const std::int64_t translated = countTranslatedBytes(text, context);
    m_labels.realesT->setText(QString::number(translated));
    // No size, no budget: nothing is left to show.
    m_labels.realesD->setText(m_labels.realesO->text().isEmpty()
                                  ? QString()
                                  : QString::number(labelNumber(m_labels.realesO->text()) - translated));

    if (text.empty()) {
        m_labels.linea->setText(QStringLiteral("0"));
        m_labels.lineas->setText(QStringLiteral("0"));
        return;
    }
    // Lines are the pane's blocks: the panes never wrap, so a block is a line
    // of the game's text box.
    const QTextDocument* document = m_pane->document();
    const QTextBlock line = document->findBlock(m_pane->textCursor().selectionStart());
    const std::string lineText = fromQString(line.text());
    m_labels.linea->setText(QString::number(
        characterCount(stripRawBlocks(lineText, context.leftEnclosure, context.rightEnclosure))));
    m_labels.lineas->setText(QString::number(document->blockCount()));
}

} // namespace tradumar
