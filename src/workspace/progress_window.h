#pragma once

#include <functional>
#include <vector>

#include <QDialog>
#include <QString>

#include "pointers/verification.h"
#include "project/translation_progress.h"

class QLabel;
class QTableWidget;

namespace tradumar {

class Clipboard;

// "Progreso de la traducción": every script with its translated bytes, its
// budget, the difference and its state, sortable by each column. A double
// click on a row hands its file name to `open` and closes the window;
// "Copiar tabla" puts the rows, in the order shown, on the clipboard.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(std::vector<ScriptProgress> scripts, const ProgressSummary& summary, Clipboard& clipboard,
                   std::function<void(const QString& fileName)> open, QWidget* parent = nullptr);

    void copyTable();

    // Adds the column "En la ROM" with each translation's state in the ROM
    // ("insertada", "pendiente", "no se puede insertar"; empty for a script
    // without one) and its count under the summary, or the reason the ROM
    // could not be checked.
    void showRomStates(const RomCheck& check);

private:
    std::vector<ScriptProgress> m_scripts;
    Clipboard& m_clipboard;
    std::function<void(const QString&)> m_open;
    QTableWidget* m_table = nullptr;
    QLabel* m_heading = nullptr;
};

} // namespace tradumar
