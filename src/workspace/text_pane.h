#pragma once

#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace tradumar {

// Marks drawn with a pane's text, a look only: under the text and over it,
// in the viewport's coordinates, for the part of the viewport being painted.
class PaneLayer {
public:
    virtual ~PaneLayer() = default;
    virtual void paintUnder(QPainter& painter, const QRect& exposed) = 0;
    virtual void paintOver(QPainter& painter, const QRect& exposed) = 0;
};

// A script pane. Pasted text is normalised to NFC on its way in, so a
// decomposed "é" from another program becomes the one character the
// counters and the table see.
class TextPane : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

    void setLayer(PaneLayer* layer) { m_layer = layer; }

    // The first block in sight, and where a block lies in the viewport.
    QTextBlock firstVisible() const { return firstVisibleBlock(); }
    QRectF blockRect(const QTextBlock& block) const {
        return blockBoundingGeometry(block).translated(contentOffset());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (m_layer != nullptr) {
            QPainter painter(viewport());
            m_layer->paintUnder(painter, event->rect());
        }
        QPlainTextEdit::paintEvent(event);
        if (m_layer != nullptr) {
            QPainter painter(viewport());
            m_layer->paintOver(painter, event->rect());
        }
    }

    void insertFromMimeData(const QMimeData* source) override {
        if (!source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        QMimeData normalised;
        normalised.setText(source->text().normalized(QString::NormalizationForm_C));
        QPlainTextEdit::insertFromMimeData(&normalised);
    }

private:
    PaneLayer* m_layer = nullptr;
};

} // namespace tradumar
