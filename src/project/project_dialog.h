#pragma once

#include <string>

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tradumar {

class Dialogs;
class ProjectDialogHost;
class ProjectSettings;

// The dialog "frmNuevo" that creates a project file or rewrites the open
// project's one. The file pickers store their choice into the settings at
// once, so cancelling the dialog afterwards does not undo a pick; the name,
// the project folder and the enclosures reach the settings only on
// "Aceptar", which then writes the whole project file and puts the main
// window into its working state through the host.
class ProjectDialog : public QDialog {
    Q_OBJECT
public:
    // startFolder is the folder the program was started from; every file
    // picker opens there.
    ProjectDialog(ProjectSettings& settings, Dialogs& dialogs, ProjectDialogHost& host, QString startFolder,
                  QWidget* parent = nullptr);

    // The configure entry: the caption "Configurar proyecto" and every field
    // filled from the settings.
    void fillFromSettings();

    // The ROM picker's filter, "Description|pattern|..." as handed to the picker.
    static QString romFilter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QLineEdit* addField(const char* labelName, const QString& label, const char* fieldName,
                        const char* buttonName, int top, void (ProjectDialog::*pick)());

    void pickProjectFolder();
    void pickScriptsFolder();
    void pickRom();
    void pickOriginalTable();
    void pickTranslatedTable();
    void pickEmulator();
    void pickFile(QLineEdit* field, std::string& target, const QString& title, const QString& filter,
                  int filterIndex);

    bool validate();
    // Refuses what the project file cannot hold: a line break in any value,
    // a character outside Windows-1252 in the name or an enclosure.
    bool storable();
    void acceptProject();

    ProjectSettings& m_settings;
    Dialogs& m_dialogs;
    ProjectDialogHost& m_host;
    QString m_startFolder;

    QLineEdit* m_txtNombre = nullptr;
    QLineEdit* m_txtDirPrj = nullptr;
    QLineEdit* m_txtROM = nullptr;
    QLineEdit* m_txtDirScripts = nullptr;
    QLineEdit* m_txtOTBL = nullptr;
    QLineEdit* m_txtTTBL = nullptr;
    QLineEdit* m_txtEmu = nullptr;
    QLineEdit* m_txtCierreI = nullptr;
    QLineEdit* m_txtCierreD = nullptr;
    QComboBox* m_cboCodificacion = nullptr;
    QCheckBox* m_chkOptima = nullptr;
    class LimitsGroup* m_limits = nullptr;
};

// mnuNuevo: the dialog for a new project, modal, with no owner window. True
// when "Aceptar" wrote the project file.
bool runNewProjectDialog(ProjectSettings& settings, Dialogs& dialogs, ProjectDialogHost& host,
                         const QString& startFolder);

// mnuConfig: the dialog filled from the open project, modal, owned by the
// main window. True when "Aceptar" wrote the project file.
bool runConfigureProjectDialog(ProjectSettings& settings, Dialogs& dialogs, ProjectDialogHost& host,
                               const QString& startFolder, QWidget* owner);

} // namespace tradumar
