#pragma once

#include <functional>
#include <vector>

#include <QDialog>
#include <QString>

#include "project/translation_progress.h"

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

private:
    std::vector<ScriptProgress> m_scripts;
    Clipboard& m_clipboard;
    std::function<void(const QString&)> m_open;
    QTableWidget* m_table = nullptr;
};

} // namespace tradumar
