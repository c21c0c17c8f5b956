#pragma once

#include <cstdint>
#include <string>

#include <QString>

class QLabel;
class QPlainTextEdit;

namespace tradumar {

struct Workspace;

// The labels the status refresh reads and writes.
struct StatusLabels {
    QLabel* realesT = nullptr; // real bytes of the translation
    QLabel* realesO = nullptr; // real bytes of the original (read only here)
    QLabel* realesD = nullptr; // bytes still available
    QLabel* linea = nullptr;   // length of the caret's line
    QLabel* lineas = nullptr;  // number of lines
};

// The line and byte figures of the translation pane, recomputed on each tick
// (the live count on the label; the encoder's real bytes in its tooltip when
// they differ)
// of the 10 ms timer. A tick whose inputs (the pane's text, the caret, the
// enclosures and the encoding choice, the original size, the tables and the labels it wrote) are all
// as they were on the last one leaves the labels alone, since they would
// come out the same.
class StatusRefresh {
public:
    StatusRefresh(const Workspace& workspace, QPlainTextEdit* pane, StatusLabels labels);

    // RefreshStatus.
    void tick();

    // The tables changed: the next tick recomputes whatever else holds.
    void invalidate() { m_valid = false; }

    // "Bytes reales al insertar: N" when the encoder's bytes differ from the
    // live count on lblRealesT, empty otherwise. Worked out only when asked
    // (the label's tooltip), so a key press never pays for a second encoding.
    QString realBytesTip() const;
    // Where the open script lives and its room (lblRealesD's tooltip):
    // "Reubicado en 0x300000 (su lugar original es 0x18060), con sitio para 96 bytes."
    QString placeTip() const;

private:
    void recompute();

    const Workspace& m_workspace;
    QPlainTextEdit* m_pane;
    StatusLabels m_labels;

    bool m_valid = false;
    bool m_textChanged = true;
    int m_caret = -1;
    std::string m_enclosures;
    QString m_original;
    QString m_wroteT;
    QString m_wroteD;
};

// The number a label starts with, as the program reads figures back from its
// labels: leading blanks, a sign and decimal digits; 0 when there is none.
std::int64_t labelNumber(const QString& text);

// The pane's whole text as the core holds text (UTF-8, CR LF lines).
std::string paneText(const QPlainTextEdit* pane);

} // namespace tradumar
