#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace tradumar {

// The first page of the user's manual: installed beside the program
// (share/tradumar/manual), or in the source tree when it runs from its
// build. Empty text when neither has it.
QString findManualIndex();

// frmManual: the manual's pages in a browser, with a search over the page shown.
class ManualWindow : public QDialog {
    Q_OBJECT
public:
    explicit ManualWindow(const QString& indexFile, QWidget* parent = nullptr);

    // Selects the next occurrence of the words searched in the page shown,
    // going round to its start. False (and said) when there is none.
    bool findNext();

private:
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_txtBuscar = nullptr;
    QLabel* m_lblEstado = nullptr;
};

} // namespace tradumar
