#pragma once

#include <QMimeData>
#include <QPlainTextEdit>

namespace tradumar {

// A script pane. Pasted text is normalised to NFC on its way in, so a
// decomposed "é" from another program becomes the one character the
// counters and the table see.
class TextPane : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (!source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        QMimeData normalised;
        normalised.setText(source->text().normalized(QString::NormalizationForm_C));
        QPlainTextEdit::insertFromMimeData(&normalised);
    }
};

} // namespace tradumar
