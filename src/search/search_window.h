#pragma once

#include <memory>

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace tradumar {

class Dialogs;
class FileList;
class ScriptSearch;
struct ProjectSettings;

// The parts of the main window the search reads and drives: the hidden
// lists of the original and translated scripts, the script list a hit is
// opened through, and the original pane that tells whether a project is
// shown.
struct SearchSources {
    FileList* ori = nullptr;
    FileList* trans = nullptr;
    FileList* scripts = nullptr;
    QPlainTextEdit* original = nullptr;
};

// frmBuscar: finds every original or translated script whose text holds a
// word and lists it, last file first. The search runs in the window's own
// thread in short slices of files, so the window and the main window behind
// it stay responsive and "Cancelar" or "Salir" stop it between two files;
// a stopped search has ended, so a new one never runs inside it.
//
// Every widget carries its control name as objectName (txtBuscar, cmbData,
// cmdBuscar, cmdCancelar, cmdSalir, lblMsg, data).
class SearchWindow : public QDialog {
    Q_OBJECT
public:
    SearchWindow(const ProjectSettings& settings, Dialogs& dialogs, SearchSources sources,
                 QWidget* owner = nullptr);
    ~SearchWindow() override;

    void search();                     // cmdBuscar, Enter in txtBuscar
    void cancel();                     // cmdCancelar
    void leave();                      // cmdSalir
    void openHit(int row, int column); // a double-click on the grid
    bool isSearching() const { return m_search != nullptr; }

signals:
    void searchEnded();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

public slots:
    void done(int result) override;

private:
    void buildControls();
    void resetResultGrid();
    void setSearching(bool searching);
    void runSlice();
    void endSearch();
    void stopSearch();
    void closeWithoutProject();

    const ProjectSettings& m_settings;
    Dialogs& m_dialogs;
    SearchSources m_sources;
    std::unique_ptr<ScriptSearch> m_search;
    QTimer* m_sliceTimer = nullptr;
    bool m_closing = false;

    QLineEdit* m_txtBuscar = nullptr;
    QComboBox* m_cmbData = nullptr;
    QPushButton* m_cmdBuscar = nullptr;
    QPushButton* m_cmdCancelar = nullptr;
    QPushButton* m_cmdSalir = nullptr;
    QLabel* m_lblMsg = nullptr;
    QTableWidget* m_data = nullptr;
};

} // namespace tradumar
