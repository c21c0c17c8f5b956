#pragma once

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include <memory>
#include <string>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "platform/platform.h"
#include "project/project_dialog_host.h"

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStyle;
class QTimer;

namespace tradumar {

class FileList;
class ProgressMarks;
class SearchWindow;
class SpellingTools;
class PaneText;
class LimitMarks;
class GlossaryPanel;
class StatusRefresh;
struct RomCheck;
struct Workspace;

// frmMain: the translator's workspace. The script list, the translation pane
// over the original one, the byte and line figures, six buttons and the menu
// bar. Every command of the window is a public routine so the menus, the
// buttons, the project dialog and the tests all run the same code.
//
// Every widget carries its control name as objectName (rtxtTraducido,
// lblRealesT, mnuAbrir, Scripts, ...).
class MainWindow : public QMainWindow, public ProjectDialogHost {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Tradumar 1.0 Beta";
    // Said by "Guardar" and "Insertar Script" when there is no script to act on.
    static constexpr const char* kNoScriptOpen =
        "No hay ningún script abierto: abra un proyecto y elija un script de la lista.";

    // startFolder is the folder the program was started from: "Abrir" and
    // the project dialog's pickers open there.
    MainWindow(Workspace& workspace, Platform platform, QString startFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // ProjectDialogHost
    bool pointScriptList(const QString& folder) override;
    int scriptListCount() const override;
    void habilitar() override;
    void habilitarMenus() override;
    void disableMnuAbrir() override;
    void disableMnuNuevo() override;
    void showScriptList() override;

    // Disables mnuCerrar, mnuConfig, mnuGuardar, mnuEdición and mnuHerramientas.
    void deshabilitarMenus();

    // Menu Proyecto.
    void newProject();       // mnuNuevo
    void openProject();      // mnuAbrir: OpenProject
    void closeProject();     // mnuCerrar: CloseProject
    void configureProject(); // mnuConfig: ConfigureProject
    void leave();            // mnuSalir: ends without storing the script index

    // Opens the project of that file: what "Abrir" does after its picker, and
    // what a project given on the command line gets. When a step fails, says
    // which file or folder and what is wrong, leaves the window as "Cerrar"
    // does and returns false.
    bool openProjectFile(const std::string& path);

    // Stores the selected position of Scripts in the project file.
    void saveScriptIndex();

    // Scripts.
    void openSelectedScript();
    void saveTranslation();        // cmdGuardar, mnuGuardar
    void nextScript();             // cmdSiguiente
    void previousScript();         // cmdAnterior
    void nextUntranslatedScript(); // mnuSinTraducir: "Siguiente sin traducir"

    // cboFiltro: which scripts the list shows. Hidden rows keep their names
    // and positions; "<< Anterior" and "Siguiente >>" move among the shown.
    void applyScriptFilter();

    // "Proyecto > Recientes": the projects last opened, kept in the
    // program's settings.
    QStringList recentProjects() const;
    void fillRecentMenu();

    void showManual(); // mnuManual: the user's manual, in a window of its own

    void insertScript(); // cmdInsertar, mnuInsertar

    // frmBuscar over this window's script lists, not yet shown. cmdBuscar
    // shows it modally owned by this window, mnuBuscar modally with no owner.
    std::unique_ptr<SearchWindow> createSearchWindow(QWidget* owner);
    void showSearch(QWidget* owner);
    void showAbout();     // mnuAcerca: frmAcerca, modal, owned by this window
    void runEmulator();   // mnuEmulador
    void checkSpelling(); // cmdOrtog, mnuCorrector

    // The translation's progress: every script's mark and the summary are
    // recomputed from the files (when a project opens), or one script's
    // (after it is saved or inserted).
    void refreshProgress();
    void remeasureScript(const std::string& fileName);
    void showProgress(); // mnuProgreso: the progress window
    void createPatch();  // mnuParche: "Crear parche..."

    // Starting from the ROM: the extraction dialog (mnuExtraer), after which
    // the script list and the progress are read again; the progress window
    // with each translation's state in the ROM (mnuComprobar).
    void extractFromRom();
    void checkRom();

    // Both tables from the project's files, with every check; a failure in
    // words for the user, or empty text. Lines whose codes cannot be used are
    // reported once.
    QString loadTables();
    void reloadTables();        // mnuRecargar, and after "Configurar"
    void reloadChangedTables(); // when the window is activated

    // One tick of Timer2: RefreshStatus.
    void refreshStatus();

    // Puts the caret at the start of the 1-based line, nothing selected.
    static void goToLine(QPlainTextEdit* pane, int line);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildProgressControls();
    void buildTableControls();
    void showProgressSummary();
    void forgetProgress();

    // Saves text as the translation of the named script: creates the
    // Traducidos folder when needed (and says so), writes the file and says
    // "¡Traducción guardada!". Failures are reported; false then.
    bool writeTranslation(const std::string& fileName, const std::string& text);

    // The steps of opening a project; what went wrong, in words for the
    // user, or empty text.
    QString openProjectSteps(const std::string& path);

    // What "Cerrar" does after storing the script index: no project, no
    // script, empty panes and tables.
    void resetToClosed();

    // A script of an open project is open and still selected in the list:
    // saving and inserting have a file name and an address to go by.
    bool scriptIsOpen() const;

    // Asks about an unsaved translation before the project or the program
    // is left. True when leaving may go on.
    bool offerToSaveBeforeLeaving();

    // The user edited the translation: its text is kept, and it counts as
    // changed while it differs from the text last loaded or saved.
    void noteTranslationEdited();

    // The caption: the project's name, with "*" while the translation has
    // unsaved changes, before the program's.
    void showChangeMark();

    void buildNavigationControls();
    void buildRomControls();
    // A new project's empty scripts folder: the offer to extract at once.
    void offerExtraction();
    void reloadScriptList();
    bool currentFilterIsPending() const;
    // One flag per script of the progress: its translation can be inserted
    // and the ROM does not hold its bytes. Worked out from the files each time.
    std::vector<bool> pendingScripts();
    void showProgressWith(const RomCheck& check);
    // The list after opening the project of that file (or failing to).
    void rememberProject(const std::string& path, bool opened);
    // The shown rows, in list order.
    std::vector<std::size_t> shownScripts() const;
    void moveInView(int step);

    Workspace& m_workspace;
    Platform m_platform;
    QString m_startFolder;
    std::unique_ptr<QStyle> m_frameStyle; // the frames' captions on their lines
    bool m_leavingWithoutIndex = false;
    bool m_openFailureCorrectable = false; // the opening failed on a path the project dialog can correct
    bool m_loadingPane = false;            // the program, not the user, is changing the translation pane
    QString m_projectCaption;              // the open project's name; empty with none

    QGroupBox* m_fraEdicion = nullptr;
    QLabel* m_lblLinea = nullptr;
    QLabel* m_lblLineas = nullptr;
    QPlainTextEdit* m_rtxtTraducido = nullptr;
    QPlainTextEdit* m_rtxtOriginal = nullptr;
    QGroupBox* m_fraInfo = nullptr;
    FileList* m_scripts = nullptr;
    QFrame* m_shape1 = nullptr;
    QLabel* m_lblRealesT = nullptr;
    QLabel* m_lblRealesO = nullptr;
    QLabel* m_lblRealesD = nullptr;
    QPushButton* m_cmdAnterior = nullptr;
    QPushButton* m_cmdSiguiente = nullptr;
    QPushButton* m_cmdBuscar = nullptr;
    QPushButton* m_cmdOrtog = nullptr;
    QPushButton* m_cmdInsertar = nullptr;
    QPushButton* m_cmdGuardar = nullptr;
    FileList* m_ori = nullptr;
    FileList* m_trans = nullptr;
    QTimer* m_timer2 = nullptr;

    QMenu* m_mnuProyecto = nullptr;
    QMenu* m_mnuEdicion = nullptr;
    QMenu* m_mnuHerramientas = nullptr;
    QMenu* m_mnuAyuda = nullptr;
    QAction* m_mnuNuevo = nullptr;
    QAction* m_mnuAbrir = nullptr;
    QAction* m_mnuCerrar = nullptr;
    QAction* m_mnuConfig = nullptr;
    QAction* m_mnuSalir = nullptr;
    QAction* m_mnuGuardar = nullptr;
    QAction* m_mnuInsertar = nullptr;
    QAction* m_mnuBuscar = nullptr;
    QAction* m_mnuCorrector = nullptr;
    QAction* m_mnuEmulador = nullptr;
    QAction* m_mnuManual = nullptr;
    QAction* m_mnuAcerca = nullptr;
    QAction* m_mnuSinTraducir = nullptr;
    QMenu* m_mnuRecientes = nullptr;
    QComboBox* m_cboFiltro = nullptr;

    QAction* m_mnuParche = nullptr;
    QAction* m_mnuExtraer = nullptr;
    QAction* m_mnuComprobar = nullptr;
    QAction* m_mnuProgreso = nullptr;
    QAction* m_mnuRecargar = nullptr;
    // The tables' files as last loaded, to notice an outside edit.
    std::pair<std::optional<std::filesystem::file_time_type>, std::optional<std::filesystem::file_time_type>>
        m_tableTimes;
    QLabel* m_lblProgreso = nullptr; // the summary in the status bar
    std::unique_ptr<ProgressMarks> m_marks;

    std::unique_ptr<StatusRefresh> m_status;
    SpellingTools* m_spelling = nullptr;
    PaneText* m_paneText = nullptr;
    LimitMarks* m_limitMarks = nullptr;
    GlossaryPanel* m_glossary = nullptr;
};

} // namespace tradumar
