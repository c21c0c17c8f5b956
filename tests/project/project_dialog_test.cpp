#include "project/project_dialog.h"

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/button_looks.h"
#include "controls/xp_button.h"
#include "project/project_dialog_host.h"
#include "project/project_settings.h"
#include "support/scripted_platform.h"
#include "support/shown_text.h"
#include "support/temp_dir.h"
#include "support/widgets.h"

namespace tradumar::testsupport {
namespace {

using Calls = std::vector<std::string>;

// Stands for the main window: records what the dialog does to it, and lists
// "*.txt" files of a real folder the way the script list does.
class RecordingHost : public ProjectDialogHost {
public:
    Calls calls;
    int count = 0;

    bool pointScriptList(const QString& folder) override {
        calls.push_back("point " + folder.toStdString());
        const QDir dir(folder);
        count = static_cast<int>(dir.entryList({QStringLiteral("*.txt")}, QDir::Files).size());
        return dir.exists() && dir.isReadable();
    }
    int scriptListCount() const override { return count; }
    void habilitar() override { calls.push_back("habilitar"); }
    void habilitarMenus() override { calls.push_back("habilitarMenus"); }
    void disableMnuAbrir() override { calls.push_back("disableMnuAbrir"); }
    void disableMnuNuevo() override { calls.push_back("disableMnuNuevo"); }
    void showScriptList() override { calls.push_back("showScriptList"); }
};

const Calls kAccepted = {"habilitar", "habilitarMenus", "disableMnuAbrir", "disableMnuNuevo",
                         "showScriptList"};
const QString kStart = QStringLiteral("/opt/tradumar");

const auto q = [](const std::string& s) { return QString::fromStdString(s); };

class ProjectDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(temp.path() / "scripts");
        writeBytes(temp.file("scripts/1A2B3C[120].txt"), "Hola\r\n");
        std::filesystem::create_directory(temp.path() / "empty");
        writeBytes(temp.file("empty/notes.doc"), "x");
        open();
    }
    void open() { dialog = std::make_unique<ProjectDialog>(settings, dialogs, host, kStart); }
    void showActive() { // focus only moves inside an active window
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <typename T = QLineEdit> T* find(const char* name) const { return child<T>(*dialog, name); }
    void click(const char* name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void pickFile(const char* button, const QString& answer) {
        dialogs.fileAnswers.push_back(answer);
        click(button);
    }
    void pickFolder(const char* button, const QString& answer) {
        dialogs.folderAnswers.push_back(answer);
        click(button);
    }
    void typeName(const QString& name) {
        find("txtNombre")->clear();
        QTest::keyClicks(find("txtNombre"), name);
    }
    // Every field filled the way a user fills them.
    void fillAll(const QString& name, const std::string& projectFolder) {
        typeName(name);
        pickFolder("cmdPatchPrj", q(projectFolder));
        pickFile("cmdROM", q(t + "/game.smc"));
        pickFolder("cmdDirScripts", q(t + "/scripts"));
        pickFile("cmdOTBL", q(t + "/orig.tbl"));
        pickFile("cmdTTBL", q(t + "/trad.tbl"));
        pickFile("cmdEmu", QStringLiteral("/usr/games/snes9x"));
        host.calls.clear();
        dialogs.clearRecords();
    }
    // The project file fillAll leads to.
    std::string filled(const std::string& name, const std::string& folder,
                       const std::string& enclosures) const {
        return "[Project]\r\nNAME=" + name + "\r\nPATCH=" + folder + "\r\n[ROM]\r\nPATCH=" + t +
               "/game.smc\r\n[Scripts]\r\nPATCH=" + t + "/scripts\r\n[Tables]\r\nORIGINAL=" + t +
               "/orig.tbl\r\nTRANSLATED=" + t + "/trad.tbl\r\n[Enclosures]\r\n" + enclosures +
               "[Index]\r\nVALUE=0\r\n[Emulator]\r\nPATCH=/usr/games/snes9x\r\n";
    }
    bool anyProjectFile() const {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.path()))
            if (entry.path().extension() == ".tpr")
                return true;
        return false;
    }

    TempDir temp;
    const std::string t = temp.path().string();
    ProjectSettings settings;
    ScriptedDialogs dialogs;
    RecordingHost host;
    std::unique_ptr<ProjectDialog> dialog;
};

TEST_F(ProjectDialogTest, ShowsItsTexts) {
    expectTexts(
        *dialog,
        {{"frmNuevo", "Nuevo archivo de proyecto Tradumar"},
         {"lblInstrucciones", "Por favor  complete todos los campos a continuación:"},
         {"lblNombre", "Nombre del proyecto:"},
         {"lblDirPrj", "Localización para el archivo de proyecto:"},
         {"lblROM", "ROM en la que se insertarán los scripts:"},
         {"lblDirScripts", "Localización del directorio que contiene los scripts extraidos con Escarbol*:"},
         {"lblOTBL", "Tabla Thingy original con las que se extrajeron los scripts(sin traducir):"},
         {"lblTTBL", "Tabla Thingy que será utilizada para insertar los scripts(traducida):"},
         {"lblEmu", "Ruta del Emulador (ejecutable)"},
         {"fraFormato", "Formato de separación de bytes utilizado"},
         {"lblCierreI", "Cierre Izquierdo"},
         {"lblCierreD", "Cierre Derecho"},
         {"txtCierreI", "<"},
         {"txtCierreD", ">"},
         {"cmdAceptar", "Aceptar"},
         {"cmdCancelar", "Cancelar"}});
    EXPECT_EQ(find("txtCierreI")->maxLength(), 1);
    showActive(); // the self-drawn button, restored from its stored values
    EXPECT_TRUE(find<XpButton>("XP_button1")->surface() == storedLook(1, ButtonLook::Normal));
}

TEST_F(ProjectDialogTest, ValidationStopsAtTheFirstEmptyFieldInItsOwnOrder) {
    const char* const order[] = {"txtNombre", "txtDirPrj", "txtDirScripts", "txtROM",
                                 "txtOTBL",   "txtTTBL",   "txtEmu"};
    // How many of `order` get a text, a field emptied again, the message, the field focused.
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, nullptr, "Debe especificar un nombre para el proyecto", "txtNombre"},
        {1, nullptr, "Debe indicar dónde se guardará el archivo de proyecto", "txtDirPrj"},
        {2, nullptr, "Debe indicar la ubicación de los scripts", "txtDirScripts"}, // before the ROM
        {3, nullptr, "Debe especificar la ROM", "txtROM"},
        {4, nullptr, "Debe especificar la tabla original", "txtOTBL"},
        {5, nullptr, "Debe especificar la tabla traducida", "txtTTBL"},
        {7, "txtCierreD", "Debe especificar el formato de cierre de bytes", "txtCierreI"},
        {7, "txtCierreI", "Debe especificar el formato de cierre de bytes", "txtCierreI"},
        {6, nullptr, "Debe especificar la ruta del Emulador", "txtEmu"}, // enclosures checked before it
    };
    for (const auto& [filled, emptied, message, focus] : cases) {
        SCOPED_TRACE(message);
        open();
        showActive();
        dialogs.clearRecords();
        for (int i = 0; i < filled; ++i)
            find(order[i])->setText(q(temp.file("x")));
        if (emptied)
            find(emptied)->clear();
        find(std::string(focus) == "txtNombre" ? "txtEmu" : "txtNombre")->setFocus();
        click("cmdAceptar");
        EXPECT_EQ(dialogs.messages, std::vector{info(QString::fromUtf8(message))});
        EXPECT_EQ(QApplication::focusWidget(), find(focus));
        EXPECT_TRUE(dialog->isVisible() && host.calls.empty() && !anyProjectFile());
    }
}

TEST_F(ProjectDialogTest, AcceptWritesTheProjectFileAndPutsTheMainWindowToWork) {
    // The folder as picked, the name and enclosures as typed, the file, its NAME and its enclosures.
    const std::tuple<std::string, QString, QString, std::string, std::string, std::string> cases[] = {
        {t, "Demo", "<>", t + "/Demo.tpr", "Demo", "RIGHT=>\r\nLEFT=<\r\n"},
        {t + "/", "Demo", "{}", t + "/Demo.tpr", "Demo", "RIGHT=}\r\nLEFT={\r\n"},
        // Blanks count as filled; the writer drops blanks before a value.
        {t, "   ", "  ", t + "/   .tpr", "", "RIGHT=\r\nLEFT=\r\n"},
    };
    for (const auto& [folder, name, enclosures, file, nameValue, stored] : cases) {
        SCOPED_TRACE(file + " " + folder);
        std::filesystem::remove(file);
        open();
        fillAll(name, folder);
        find("txtCierreI")->setText(enclosures.left(1));
        find("txtCierreD")->setText(enclosures.right(1));
        click("cmdAceptar");
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(readBytes(file), filled(nameValue, folder, stored));
        EXPECT_EQ(host.calls, kAccepted);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(settings.projectFilePath + "|" + settings.projectFolder + "|" + settings.projectName + "|" +
                      settings.leftEnclosure() + settings.rightEnclosure(),
                  file + "|" + folder + "|" + name.toStdString() + "|" + enclosures.toStdString());
    }
}

TEST_F(ProjectDialogTest, ConfigureFillsTheFieldsAndRewritesTheProjectFile) {
    // A project file as fillAll leads to, its index section in its own spelling.
    std::string old = filled("Viejo", t, "RIGHT=]\r\nLEFT=[\r\n");
    old.replace(old.find("[Index]\r\nVALUE=0"), 16, "[index]\r\nvalue=4");
    writeBytes(t + "/Viejo.tpr", old);
    ASSERT_TRUE(settings.readFrom(t + "/Viejo.tpr"));
    dialog->fillFromSettings();
    EXPECT_EQ(dialog->windowTitle(), "Configurar proyecto");
    QStringList shown;
    for (const char* name : {"txtNombre", "txtDirPrj", "txtROM", "txtDirScripts", "txtOTBL", "txtTTBL",
                             "txtCierreI", "txtCierreD", "txtEmu"})
        shown << find(name)->text();
    EXPECT_EQ(shown.join('|'), q("Viejo|" + t + "|" + t + "/game.smc|" + t + "/scripts|" + t + "/orig.tbl|" +
                                 t + "/trad.tbl|[|]|/usr/games/snes9x"));
    // The same name rewrites the file in place, its index back to 0.
    click("cmdAceptar");
    const std::string rewritten = old.replace(old.find("value=4"), 7, "value=0");
    EXPECT_EQ(readBytes(t + "/Viejo.tpr"), rewritten);
    EXPECT_EQ(host.calls, kAccepted);

    // A new name gives a complete new file; the old one stays as it was.
    open();
    dialog->fillFromSettings();
    typeName(QStringLiteral("Nuevo"));
    click("cmdAceptar");
    EXPECT_EQ(readBytes(t + "/Viejo.tpr"), rewritten);
    EXPECT_EQ(readBytes(t + "/Nuevo.tpr"), filled("Nuevo", t, "RIGHT=]\r\nLEFT=[\r\n"));
    EXPECT_EQ(settings.projectFilePath, t + "/Nuevo.tpr");
    EXPECT_EQ(settings.scriptIndex, 4); // only the file gets "0"
}

TEST_F(ProjectDialogTest, FilePickersAskWithTheirTitlesAndFiltersAndStoreAtOnce) {
    struct Case {
        const char* button;
        const char* field;
        const char* title;
        QString filter;
        std::string ProjectSettings::*target;
        int filterIndex = 1;
    };
    const QString tables = QStringLiteral("Tablas thingy (*.tbl)|*.tbl");
    const Case cases[] = {
        {"cmdROM", "txtROM", "Abrir ROM",
         "ROM de consola (*.sfc;*.smc;*.nes;*.gb;*.gbc;*.gba;*.md;*.gen;*.gg;*.sms)|"
         "*.sfc;*.smc;*.nes;*.gb;*.gbc;*.gba;*.md;*.gen;*.gg;*.sms|SNES SMC (*.smc)|*.smc|SNES SWC "
         "(*.swc)|*.swc|SNES FIG (*.fig)|*.fig|SNES GD7 (*.078)|*.078|NES "
         "(*.nes)|*.nes|Genesis BIN (*.bin)|*.bin|Genesis SMD (*.smd)|*.smd|Gameboy GB(*.gb)|*.gb|Gameboy "
         "GBC "
         "(*.gbc*)|*.gbc|Game Gear GG  (*.gg)|*.gg |Todos los archivos (*.*)|*.*",
         &ProjectSettings::romPath},
        {"cmdOTBL", "txtOTBL", "Abrir tabla thingy original", tables, &ProjectSettings::originalTablePath},
        {"cmdTTBL", "txtTTBL", "Abrir tabla thingy traducida", tables, &ProjectSettings::translatedTablePath},
        // Every file, preselected: emulators on Linux have no ".exe".
        {"cmdEmu", "txtEmu", "Localizar emulador", "Emulador (*.exe)|*.exe|Todos los archivos (*)|*",
         &ProjectSettings::emulatorPath, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        dialogs.clearRecords();
        const QString chosen = q(temp.file(std::string(c.button) + ".bin"));
        pickFile(c.button, chosen);
        ASSERT_EQ(dialogs.fileRequests.size(), 1u);
        const FileRequest& r = dialogs.fileRequests.front();
        EXPECT_EQ(r.title, QString::fromUtf8(c.title));
        EXPECT_EQ(r.filter, c.filter);
        EXPECT_EQ(r.filterIndex, c.filterIndex);
        EXPECT_EQ(r.initialFolder, kStart);
        EXPECT_FALSE(r.mustExist);
        EXPECT_EQ(settings.*c.target, chosen.toStdString());
        EXPECT_EQ(find(c.field)->text(), chosen);
        EXPECT_TRUE(find(c.field)->isReadOnly());

        // A click into the field opens the same picker; cancelling it changes nothing.
        dialogs.fileAnswers.push_back(QString());
        QTest::mouseClick(find(c.field), Qt::LeftButton);
        ASSERT_EQ(dialogs.fileRequests.size(), 2u);
        EXPECT_EQ(dialogs.fileRequests.back().title, QString::fromUtf8(c.title));
        EXPECT_EQ(settings.*c.target, chosen.toStdString());
        EXPECT_EQ(find(c.field)->text(), chosen);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProjectDialogTest, CancellingKeepsEveryPickButTheProjectFolderAndNameReachTheSettingsOnlyOnAceptar) {
    fillAll(QStringLiteral("Demo"), t);
    EXPECT_EQ(find("txtDirPrj")->text(), q(t));
    click("cmdCancelar");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(settings.romPath + settings.emulatorPath, t + "/game.smc/usr/games/snes9x");
    EXPECT_EQ(settings.projectName + settings.projectFolder + settings.projectFilePath, "");
    EXPECT_TRUE(!anyProjectFile() && host.calls.empty());
    // A click in the folder field opens its picker (untitled); cancelling it empties the field.
    dialogs.folderAnswers.push_back(QString());
    QTest::mouseClick(find("txtDirPrj"), Qt::LeftButton);
    EXPECT_EQ(dialogs.folderRequests, std::vector<QString>{QString()});
    EXPECT_EQ(find("txtDirPrj")->text(), "");
}

TEST_F(ProjectDialogTest, TheScriptsFolderPickerChecksForScriptsAndKeepsAnEmptyOne) {
    std::filesystem::create_directory(t + "/scripts ");
    writeBytes(t + "/scripts /000010[5].txt", "x\r\n");
    struct Case {
        std::string picked; // empty: the picker is cancelled
        const char* message;
        std::string shown;
        std::string stored;
    };
    const Case cases[] = {
        {t + "/scripts", nullptr, t + "/scripts", t + "/scripts"},
        {t + "/empty",
         "Al parecer ese directorio no contiene scripts, verifique por favor.\r\nSi la carpeta es la de un "
         "proyecto nuevo, al aceptarlo se le ofrecerá extraerlos de la ROM.",
         t + "/empty", t + "/empty"},
        {t + "/missing", "Directorio no válido", "", t + "/missing"},
        {"", nullptr, "", ""},
        // Blanks around the name are dropped from the field only.
        {t + "/scripts ", nullptr, t + "/scripts", t + "/scripts "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picked);
        dialogs.clearRecords();
        host.calls.clear();
        pickFolder("cmdDirScripts", q(c.picked));
        EXPECT_EQ(dialogs.texts(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        EXPECT_EQ(find("txtDirScripts")->text(), q(c.shown));
        EXPECT_EQ(settings.scriptsFolder, c.stored);
        EXPECT_EQ(host.calls, c.picked.empty() ? Calls{} : Calls{"point " + c.picked});
    }
}

TEST_F(ProjectDialogTest, AProjectFileThatCannotBeWrittenKeepsTheDialogOpen) {
    const std::string missing = t + "/no/such/folder";
    fillAll(QStringLiteral("Demo"), missing);
    settings.projectFilePath = "/before.tpr";
    dialog->show();
    click("cmdAceptar");
    EXPECT_EQ(dialogs.messages,
              std::vector{info(QStringLiteral("No se pudo escribir el archivo de proyecto ") +
                               q(missing + "/Demo.tpr"))});
    EXPECT_TRUE(dialog->isVisible() && host.calls.empty());
    EXPECT_EQ(settings.projectFilePath, "/before.tpr");
    EXPECT_EQ(settings.projectName + settings.projectFolder, "");
}

TEST_F(ProjectDialogTest, TheLimitsAndTheChecksumAreWrittenAndShownAgain) {
    fillAll(QStringLiteral("Limites"), t);
    find("txtNombre")->setText(QStringLiteral("Límites ñ")); // keyClicks types ASCII only
    find<QSpinBox>("txtLargo")->setValue(28);
    find<QSpinBox>("txtLineasCaja")->setValue(3);
    find("txtFinCaja")->setText(QStringLiteral("<01>, <0C>"));
    pickFile("cmdAnchos", q(t + "/anchos de fuente.txt"));
    find<QCheckBox>("chkSumaControl")->setChecked(true);
    click("cmdAceptar");
    const std::string file = readBytes(t + "/Límites ñ.tpr");
    EXPECT_NE(file.find("[Limits]\r\nLINE=28\r\nLINES=3\r\nBREAKS=<01>,<0C>\r\nWIDTHS=" + t +
                        "/anchos de fuente.txt\r\n[Checksum]\r\nFIX=1\r\n"),
              std::string::npos)
        << file;

    open();
    dialog->fillFromSettings();
    EXPECT_EQ(find<QSpinBox>("txtLargo")->value(), 28);
    EXPECT_EQ(find("txtFinCaja")->text(), QStringLiteral("<01>,<0C>"));
    EXPECT_TRUE(find<QCheckBox>("chkSumaControl")->isChecked());
}

} // namespace
} // namespace tradumar::testsupport
