#include "project/project_dialog.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/xp_button.h"
#include "project/project_dialog_host.h"
#include "project/project_settings.h"
#include "support/scripted_platform.h"
#include "support/temp_dir.h"

// Readable texts in failure messages.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tradumar {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;
using testsupport::info;
using testsupport::ScriptedDialogs;

// Stands for the main window: records what the dialog does to it, and lists
// "*.txt" files of a real folder the way the script list does.
class RecordingHost : public ProjectDialogHost {
public:
    std::vector<std::string> calls;
    int count = 0;

    bool pointScriptList(const QString& folder) override {
        calls.push_back("pointScriptList " + folder.toStdString());
        const QDir dir(folder);
        if (!dir.exists() || !dir.isReadable())
            return false;
        count = static_cast<int>(dir.entryList({QStringLiteral("*.txt")}, QDir::Files).size());
        return true;
    }
    int scriptListCount() const override { return count; }
    void habilitar() override { calls.push_back("habilitar"); }
    void habilitarMenus() override { calls.push_back("habilitarMenus"); }
    void disableMnuAbrir() override { calls.push_back("disableMnuAbrir"); }
    void disableMnuNuevo() override { calls.push_back("disableMnuNuevo"); }
    void showScriptList() override { calls.push_back("showScriptList"); }
};

const std::vector<std::string> kAcceptedCalls = {"habilitar", "habilitarMenus", "disableMnuAbrir",
                                                 "disableMnuNuevo", "showScriptList"};

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

class ProjectDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(temp.path() / "scripts");
        writeBytes(temp.file("scripts/1A2B3C[120].txt"), "Hola\r\n");
        std::filesystem::create_directory(temp.path() / "empty");
        writeBytes(temp.file("empty/notes.doc"), "x");
        open();
    }

    void open() { dialog = std::make_unique<ProjectDialog>(settings, dialogs, host, kStartFolder); }

    // Focus only moves inside an active window.
    void showActive() {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QLineEdit* field(const char* name) const {
        auto* found = dialog->findChild<QLineEdit*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPushButton* button(const char* name) const {
        auto* found = dialog->findChild<QPushButton*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    void pickFile(const char* buttonName, const QString& answer) {
        dialogs.fileAnswers.push_back(answer);
        click(buttonName);
    }
    void pickFolder(const char* buttonName, const QString& answer) {
        dialogs.folderAnswers.push_back(answer);
        click(buttonName);
    }
    void typeName(const QString& name) {
        field("txtNombre")->clear();
        QTest::keyClicks(field("txtNombre"), name);
    }

    // Every field filled the way a user fills them.
    void fillAll(const QString& name, const QString& projectFolder) {
        typeName(name);
        pickFolder("cmdPatchPrj", projectFolder);
        pickFile("cmdROM", q(temp.file("game.smc")));
        pickFolder("cmdDirScripts", scriptsFolder());
        pickFile("cmdOTBL", q(temp.file("orig.tbl")));
        pickFile("cmdTTBL", q(temp.file("trad.tbl")));
        pickFile("cmdEmu", QStringLiteral("/usr/games/snes9x"));
    }

    QString scriptsFolder() const { return q(temp.file("scripts")); }

    std::vector<std::string> projectFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.path()))
            if (entry.path().extension() == ".tpr")
                names.push_back(entry.path().filename().string());
        return names;
    }

    const QString kStartFolder = QStringLiteral("/opt/tradumar");
    TempDir temp;
    ProjectSettings settings;
    ScriptedDialogs dialogs;
    RecordingHost host;
    std::unique_ptr<ProjectDialog> dialog;
};

TEST_F(ProjectDialogTest, OpensAsDesignedForANewProject) {
    EXPECT_EQ(dialog->objectName(), "frmNuevo");
    EXPECT_EQ(dialog->windowTitle(), "Nuevo archivo de proyecto Tradumar");
    // 10080 x 6120 twips at 15 twips to the pixel.
    EXPECT_EQ(dialog->size(), QSize(672, 408));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());

    struct LabelCase {
        const char* name;
        const char* text;
    };
    const LabelCase labels[] = {
        {"lblInstrucciones", "Por favor  complete todos los campos a continuación:"},
        {"lblNombre", "Nombre del proyecto:"},
        {"lblDirPrj", "Localización para el archivo de proyecto:"},
        {"lblROM", "ROM en la que se insertarán los scripts:"},
        {"lblDirScripts", "Localización del directorio que contiene los scripts extraidos con Escarbol*:"},
        {"lblOTBL", "Tabla Thingy original con las que se extrajeron los scripts(sin traducir):"},
        {"lblTTBL", "Tabla Thingy que será utilizada para insertar los scripts(traducida):"},
        {"lblEmu", "Ruta del Emulador (ejecutable)"},
        {"lblCierreI", "Cierre Izquierdo"},
        {"lblCierreD", "Cierre Derecho"},
        {"lblTradumar", "Tradumar"},
    };
    for (const auto& c : labels) {
        auto* label = dialog->findChild<QLabel*>(QLatin1String(c.name));
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(c.text)) << c.name;
    }
    auto* frame = dialog->findChild<QGroupBox*>(QStringLiteral("fraFormato"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Formato de separación de bytes utilizado");
    EXPECT_EQ(field("txtCierreI")->parent(), frame);
    EXPECT_EQ(field("txtCierreD")->parent(), frame);

    struct FieldCase {
        const char* name;
        const char* picker; // nullptr: typed into
    };
    const FieldCase fields[] = {{"txtNombre", nullptr}, {"txtDirPrj", "cmdPatchPrj"},
                                {"txtROM", "cmdROM"},   {"txtDirScripts", "cmdDirScripts"},
                                {"txtOTBL", "cmdOTBL"}, {"txtTTBL", "cmdTTBL"},
                                {"txtEmu", "cmdEmu"}};
    for (const auto& c : fields) {
        EXPECT_EQ(field(c.name)->text(), "") << c.name;
        EXPECT_EQ(field(c.name)->isReadOnly(), c.picker != nullptr) << c.name;
        if (c.picker) {
            EXPECT_EQ(button(c.picker)->text(), "...") << c.picker;
        }
    }
    for (const char* name : {"txtCierreI", "txtCierreD"}) {
        EXPECT_FALSE(field(name)->isReadOnly()) << name;
        EXPECT_EQ(field(name)->maxLength(), 1) << name;
        EXPECT_EQ(field(name)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter) << name;
    }
    EXPECT_EQ(field("txtCierreI")->text(), "<");
    EXPECT_EQ(field("txtCierreD")->text(), ">");
    EXPECT_EQ(button("cmdAceptar")->text(), "Aceptar");
    EXPECT_EQ(button("cmdCancelar")->text(), "Cancelar");
    EXPECT_EQ(ProjectDialog::romFilter().count('|'), 21);
}

TEST_F(ProjectDialogTest, TheSelfDrawnButtonIsRestoredAndTriggersNothing) {
    auto* xp = dialog->findChild<XpButton*>(QStringLiteral("XP_button1"));
    ASSERT_NE(xp, nullptr);
    EXPECT_EQ(xp->caption(), "...");
    EXPECT_EQ(xp->backColor(), 0xFFFFFFu);
    EXPECT_EQ(xp->buttonFont().name, "MS Sans Serif");
    EXPECT_DOUBLE_EQ(xp->buttonFont().size, 8.25);
    EXPECT_TRUE(xp->buttonEnabled());
    // The size it was laid out with: 661 x 450 hundredths of a millimetre.
    EXPECT_EQ(xp->size(), QSize(25, 17));

    showActive();
    int clicks = 0;
    QObject::connect(xp, &XpButton::click, [&clicks] { ++clicks; });
    QTest::mouseClick(xp, Qt::LeftButton);
    EXPECT_EQ(clicks, 1); // it is clicked, and nothing answers
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.fileRequests.empty());
    EXPECT_TRUE(dialogs.folderRequests.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.projectFilePath, "");
}

TEST_F(ProjectDialogTest, ValidationStopsAtTheFirstEmptyFieldInItsOwnOrder) {
    struct Case {
        const char* what;
        std::vector<const char*> filled; // fields given a text before "Aceptar"
        std::vector<const char*> emptied;
        const char* message;
        const char* focus;
    };
    const std::vector<const char*> paths = {"txtNombre", "txtDirPrj", "txtDirScripts", "txtROM",
                                            "txtOTBL",   "txtTTBL",   "txtEmu"};
    const Case cases[] = {
        {"all empty", {}, {}, "Debe especificar un nombre para el proyecto", "txtNombre"},
        {"name only",
         {"txtNombre"},
         {},
         "Debe indicar dónde se guardará el archivo de proyecto",
         "txtDirPrj"},
        {"name and folder: the scripts folder comes before the ROM",
         {"txtNombre", "txtDirPrj"},
         {},
         "Debe indicar la ubicación de los scripts",
         "txtDirScripts"},
        {"no ROM", {"txtNombre", "txtDirPrj", "txtDirScripts"}, {}, "Debe especificar la ROM", "txtROM"},
        {"no original table",
         {"txtNombre", "txtDirPrj", "txtDirScripts", "txtROM"},
         {},
         "Debe especificar la tabla original",
         "txtOTBL"},
        {"no translated table",
         {"txtNombre", "txtDirPrj", "txtDirScripts", "txtROM", "txtOTBL"},
         {},
         "Debe especificar la tabla traducida",
         "txtTTBL"},
        {"right enclosure empty",
         paths,
         {"txtCierreD"},
         "Debe especificar el formato de cierre de bytes",
         "txtCierreI"},
        {"left enclosure empty",
         paths,
         {"txtCierreI"},
         "Debe especificar el formato de cierre de bytes",
         "txtCierreI"},
        {"no emulator, enclosures kept",
         {"txtNombre", "txtDirPrj", "txtDirScripts", "txtROM", "txtOTBL", "txtTTBL"},
         {},
         "Debe especificar la ruta del Emulador",
         "txtEmu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        showActive();
        dialogs.clearRecords();
        for (const char* name : c.filled)
            field(name)->setText(q(temp.file("x")));
        for (const char* name : c.emptied)
            field(name)->clear();
        field("txtNombre")->setFocus(); // focus starts elsewhere than where it must go
        if (std::string(c.focus) == "txtNombre")
            field("txtEmu")->setFocus();

        click("cmdAceptar");

        EXPECT_EQ(dialogs.messages, std::vector{info(QString::fromUtf8(c.message))});
        EXPECT_EQ(QApplication::focusWidget(), field(c.focus));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(host.calls.empty());
        EXPECT_TRUE(projectFiles().empty());
        EXPECT_EQ(settings.projectFilePath, "");
    }
}

TEST_F(ProjectDialogTest, BlanksCountAsFilled) {
    fillAll(QStringLiteral("Demo"), q(temp.path().string()));
    field("txtCierreI")->setText(QStringLiteral(" "));
    field("txtCierreD")->setText(QStringLiteral(" "));
    dialogs.clearRecords();
    click("cmdAceptar");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(settings.leftEnclosure(), " ");
    EXPECT_EQ(settings.rightEnclosure(), " ");
    // The writer drops blanks before a value; reading gives a blank back.
    const std::string content = readBytes(temp.file("Demo.tpr"));
    EXPECT_NE(content.find("[Enclosures]\r\nRIGHT=\r\nLEFT=\r\n"), std::string::npos) << content;
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ProjectDialogTest, ComposesTheProjectFilePathFromFolderAndName) {
    struct Case {
        const char* what;
        std::string folder;
        QString name;
        std::string expected;
    };
    const std::string base = temp.path().string();
    const Case cases[] = {
        {"folder without separator", base, QStringLiteral("Demo"), base + "/Demo.tpr"},
        {"folder ending in a separator", base + "/", QStringLiteral("Demo"), base + "/Demo.tpr"},
        {"a name of blanks", base, QStringLiteral("   "), base + "/   .tpr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(c.expected);
        open();
        fillAll(c.name, q(c.folder));
        dialogs.clearRecords();
        click("cmdAceptar");
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(settings.projectFilePath, c.expected);
        EXPECT_EQ(settings.projectFolder, c.folder);
        EXPECT_EQ(settings.projectName, c.name.toStdString());
        EXPECT_TRUE(std::filesystem::exists(c.expected));
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    }
}

TEST_F(ProjectDialogTest, AcceptWritesTheWholeProjectFileInOrderAndEnablesTheMainWindow) {
    settings.scriptIndex = 9;
    showActive();
    fillAll(QStringLiteral("Demo"), q(temp.path().string()));
    field("txtCierreI")->setText(QStringLiteral("{"));
    field("txtCierreD")->setText(QStringLiteral("}"));
    host.calls.clear();
    dialogs.clearRecords();

    click("cmdAceptar");

    EXPECT_TRUE(dialogs.messages.empty());
    const std::string t = temp.path().string();
    EXPECT_EQ(readBytes(t + "/Demo.tpr"), "[Project]\r\nNAME=Demo\r\nPATCH=" + t +
                                              "\r\n"
                                              "[ROM]\r\nPATCH=" +
                                              t + "/game.smc\r\n[Scripts]\r\nPATCH=" + t +
                                              "/scripts\r\n"
                                              "[Tables]\r\nORIGINAL=" +
                                              t + "/orig.tbl\r\nTRANSLATED=" + t +
                                              "/trad.tbl\r\n"
                                              "[Enclosures]\r\nRIGHT=}\r\nLEFT={\r\n"
                                              "[Index]\r\nVALUE=0\r\n"
                                              "[Emulator]\r\nPATCH=/usr/games/snes9x\r\n");
    EXPECT_EQ(host.calls, kAcceptedCalls);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.projectName, "Demo");
    EXPECT_EQ(settings.leftEnclosure(), "{");
    EXPECT_EQ(settings.rightEnclosure(), "}");
    EXPECT_EQ(settings.scriptIndex, 9); // only the file gets "0"
}

TEST_F(ProjectDialogTest, TheWrittenFileReadsBackAsTheProjectThatWasCreated) {
    fillAll(QStringLiteral("Demo"), q(temp.path().string() + "/"));
    click("cmdAceptar");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);

    ProjectSettings opened;
    ASSERT_TRUE(opened.readFrom(settings.projectFilePath));
    EXPECT_EQ(opened.projectName, settings.projectName);
    EXPECT_EQ(opened.projectFolder, settings.projectFolder);
    EXPECT_EQ(opened.romPath, settings.romPath);
    EXPECT_EQ(opened.scriptsFolder, settings.scriptsFolder);
    EXPECT_EQ(opened.originalTablePath, settings.originalTablePath);
    EXPECT_EQ(opened.translatedTablePath, settings.translatedTablePath);
    EXPECT_EQ(opened.leftEnclosure(), "<");
    EXPECT_EQ(opened.rightEnclosure(), ">");
    EXPECT_EQ(opened.emulatorPath, settings.emulatorPath);
    EXPECT_EQ(opened.scriptIndex, 0);
}

TEST_F(ProjectDialogTest, ANewProjectKeepsTheDesignedEnclosures) {
    fillAll(QStringLiteral("Demo"), q(temp.path().string()));
    click("cmdAceptar");
    const std::string content = readBytes(temp.file("Demo.tpr"));
    EXPECT_NE(content.find("[Enclosures]\r\nRIGHT=>\r\nLEFT=<\r\n"), std::string::npos) << content;
}

TEST_F(ProjectDialogTest, ConfigureFillsTheFieldsAndRewritesTheFileWithIndexZero) {
    const std::string t = temp.path().string();
    settings.projectName = "Viejo";
    settings.projectFolder = t;
    settings.romPath = t + "/old.smc";
    settings.scriptsFolder = t + "/scripts";
    settings.originalTablePath = t + "/o.tbl";
    settings.translatedTablePath = t + "/t.tbl";
    settings.setLeftEnclosure("[");
    settings.setRightEnclosure("]");
    settings.emulatorPath = "/usr/bin/zsnes";
    settings.scriptIndex = 4;
    settings.projectFilePath = t + "/Viejo.tpr";
    writeBytes(settings.projectFilePath, "[Index]\r\nValue=4\r\n");

    dialog->fillFromSettings();

    EXPECT_EQ(dialog->windowTitle(), "Configurar proyecto");
    EXPECT_EQ(field("txtNombre")->text(), "Viejo");
    EXPECT_EQ(field("txtDirPrj")->text(), q(t));
    EXPECT_EQ(field("txtROM")->text(), q(t + "/old.smc"));
    EXPECT_EQ(field("txtDirScripts")->text(), q(t + "/scripts"));
    EXPECT_EQ(field("txtOTBL")->text(), q(t + "/o.tbl"));
    EXPECT_EQ(field("txtTTBL")->text(), q(t + "/t.tbl"));
    EXPECT_EQ(field("txtCierreI")->text(), "[");
    EXPECT_EQ(field("txtCierreD")->text(), "]");
    EXPECT_EQ(field("txtEmu")->text(), "/usr/bin/zsnes");

    // A new name gives a complete new file; the old one stays as it was.
    typeName(QStringLiteral("Nuevo"));
    click("cmdAceptar");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(readBytes(t + "/Viejo.tpr"), "[Index]\r\nValue=4\r\n");
    EXPECT_EQ(readBytes(t + "/Nuevo.tpr"),
              "[Project]\r\nNAME=Nuevo\r\nPATCH=" + t + "\r\n[ROM]\r\nPATCH=" + t +
                  "/old.smc\r\n[Scripts]\r\nPATCH=" + t + "/scripts\r\n[Tables]\r\nORIGINAL=" + t +
                  "/o.tbl\r\nTRANSLATED=" + t +
                  "/t.tbl\r\n[Enclosures]\r\nRIGHT=]\r\nLEFT=[\r\n"
                  "[Index]\r\nVALUE=0\r\n[Emulator]\r\nPATCH=/usr/bin/zsnes\r\n");
    EXPECT_EQ(settings.projectFilePath, t + "/Nuevo.tpr");
    EXPECT_EQ(settings.scriptIndex, 4);
    EXPECT_EQ(host.calls, kAcceptedCalls);
}

TEST_F(ProjectDialogTest, ConfiguringTheSameFileRewritesItsIndexAsZero) {
    const std::string t = temp.path().string();
    settings.projectName = "Demo";
    settings.projectFolder = t;
    settings.romPath = "r";
    settings.scriptsFolder = "s";
    settings.originalTablePath = "o";
    settings.translatedTablePath = "t";
    settings.emulatorPath = "e";
    writeBytes(t + "/Demo.tpr", "[project]\r\nname=Demo\r\n[Index]\r\nvalue=12\r\n");
    dialog->fillFromSettings();
    click("cmdAceptar");
    const std::string content = readBytes(t + "/Demo.tpr");
    EXPECT_NE(content.find("value=0\r\n"), std::string::npos) << content;
    EXPECT_EQ(content.find("12"), std::string::npos) << content;
    EXPECT_EQ(host.calls, kAcceptedCalls);
}

TEST_F(ProjectDialogTest, FilePickersAskWithTheirTitlesAndFilters) {
    struct Case {
        const char* button;
        const char* field;
        const char* title;
        QString filter;
        std::string ProjectSettings::*target;
        int filterIndex = 1;
    };
    const Case cases[] = {
        {"cmdROM", "txtROM", "Abrir ROM", ProjectDialog::romFilter(), &ProjectSettings::romPath},
        {"cmdOTBL", "txtOTBL", "Abrir tabla thingy original", "Tablas thingy (*.tbl)|*.tbl",
         &ProjectSettings::originalTablePath},
        {"cmdTTBL", "txtTTBL", "Abrir tabla thingy traducida", "Tablas thingy (*.tbl)|*.tbl",
         &ProjectSettings::translatedTablePath},
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
        EXPECT_EQ(r.initialFolder, kStartFolder);
        EXPECT_FALSE(r.mustExist);
        // Stored at once, before "Aceptar".
        EXPECT_EQ(settings.*c.target, chosen.toStdString());
        EXPECT_EQ(field(c.field)->text(), chosen);

        // A click into the field opens the same picker; cancelling it changes nothing.
        dialogs.fileAnswers.push_back(QString());
        QTest::mouseClick(field(c.field), Qt::LeftButton);
        ASSERT_EQ(dialogs.fileRequests.size(), 2u);
        EXPECT_EQ(dialogs.fileRequests.back().title, QString::fromUtf8(c.title));
        EXPECT_EQ(settings.*c.target, chosen.toStdString());
        EXPECT_EQ(field(c.field)->text(), chosen);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProjectDialogTest, TheRomFilterOffersElevenEntriesWithTheirOddSpacing) {
    const QStringList parts = ProjectDialog::romFilter().split(QLatin1Char('|'));
    ASSERT_EQ(parts.size(), 22);
    const std::pair<const char*, const char*> entries[] = {
        {"SNES SMC (*.smc)", "*.smc"},
        {"SNES SWC (*.swc)", "*.swc"},
        {"SNES FIG (*.fig)", "*.fig"},
        {"SNES GD7 (*.078)", "*.078"},
        {"NES (*.nes)", "*.nes"},
        {"Genesis BIN (*.bin)", "*.bin"},
        {"Genesis SMD (*.smd)", "*.smd"},
        {"Gameboy GB(*.gb)", "*.gb"},
        {"Gameboy GBC (*.gbc*)", "*.gbc"},
        {"Game Gear GG  (*.gg)", "*.gg "},
        {"Todos los archivos (*.*)", "*.*"},
    };
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(parts[2 * i], entries[i].first) << i + 1;
        EXPECT_EQ(parts[2 * i + 1], entries[i].second) << i + 1;
    }
}

TEST_F(ProjectDialogTest, CancellingAFilePickerLeavesAnEarlierValueAlone) {
    settings.romPath = "/roms/old.smc";
    dialog->fillFromSettings();
    pickFile("cmdROM", QString());
    EXPECT_EQ(settings.romPath, "/roms/old.smc");
    EXPECT_EQ(field("txtROM")->text(), "/roms/old.smc");
}

TEST_F(ProjectDialogTest, CancellingTheDialogKeepsEveryPickInMemoryAndWritesNothing) {
    pickFile("cmdROM", QStringLiteral("/roms/new.smc"));
    pickFolder("cmdDirScripts", scriptsFolder());
    pickFile("cmdEmu", QStringLiteral("/usr/games/emu"));
    typeName(QStringLiteral("Demo"));
    pickFolder("cmdPatchPrj", q(temp.path().string()));
    host.calls.clear();

    click("cmdCancelar");

    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(settings.romPath, "/roms/new.smc");
    EXPECT_EQ(settings.scriptsFolder, scriptsFolder().toStdString());
    EXPECT_EQ(settings.emulatorPath, "/usr/games/emu");
    // Name and folder reach the settings only on "Aceptar".
    EXPECT_EQ(settings.projectName, "");
    EXPECT_EQ(settings.projectFolder, "");
    EXPECT_EQ(settings.projectFilePath, "");
    EXPECT_TRUE(projectFiles().empty());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ProjectDialogTest, TheCloseBoxWritesNothing) {
    fillAll(QStringLiteral("Demo"), q(temp.path().string()));
    host.calls.clear();
    dialog->show();
    dialog->close();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(projectFiles().empty());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ProjectDialogTest, TheProjectFolderPickerFillsOnlyItsField) {
    pickFolder("cmdPatchPrj", q(temp.path().string()));
    EXPECT_EQ(dialogs.folderRequests, std::vector<QString>{QString()});
    EXPECT_EQ(field("txtDirPrj")->text(), q(temp.path().string()));
    EXPECT_EQ(settings.projectFolder, "");

    // Cancelling empties the field; a click in it opens the picker too.
    dialogs.folderAnswers.push_back(QString());
    QTest::mouseClick(field("txtDirPrj"), Qt::LeftButton);
    EXPECT_EQ(dialogs.folderRequests.size(), 2u);
    EXPECT_EQ(field("txtDirPrj")->text(), "");
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ProjectDialogTest, TheScriptsFolderPickerChecksForScripts) {
    // A folder with scripts: stored, shown trimmed, and the script list points there.
    pickFolder("cmdDirScripts", scriptsFolder());
    EXPECT_EQ(dialogs.folderRequests, std::vector<QString>{QString()});
    EXPECT_EQ(field("txtDirScripts")->text(), scriptsFolder());
    EXPECT_EQ(settings.scriptsFolder, scriptsFolder().toStdString());
    EXPECT_EQ(host.calls, std::vector<std::string>{"pointScriptList " + scriptsFolder().toStdString()});
    EXPECT_TRUE(dialogs.messages.empty());

    // A folder without "*.txt" files: the message, an empty field, but the
    // settings keep the folder.
    host.calls.clear();
    const QString empty = q(temp.file("empty"));
    pickFolder("cmdDirScripts", empty);
    EXPECT_EQ(host.calls, std::vector<std::string>{"pointScriptList " + empty.toStdString()});
    EXPECT_EQ(dialogs.messages, std::vector{info(QStringLiteral(
                                    "Al parecer ese directorio no contiene scripts, verifique por favor."))});
    EXPECT_EQ(field("txtDirScripts")->text(), "");
    EXPECT_EQ(settings.scriptsFolder, empty.toStdString());

    // ... and "Aceptar" then stops at the scripts folder.
    typeName(QStringLiteral("Demo"));
    pickFolder("cmdPatchPrj", q(temp.path().string()));
    pickFile("cmdROM", QStringLiteral("/r.smc"));
    dialogs.clearRecords();
    click("cmdAceptar");
    EXPECT_EQ(dialogs.messages,
              std::vector{info(QStringLiteral("Debe indicar la ubicación de los scripts"))});
    EXPECT_TRUE(projectFiles().empty());

    // A folder that cannot be listed.
    dialogs.clearRecords();
    host.calls.clear();
    const QString missing = q(temp.file("missing"));
    pickFolder("cmdDirScripts", missing);
    EXPECT_EQ(dialogs.messages, std::vector{info(QStringLiteral("Directorio no válido"))});
    EXPECT_EQ(field("txtDirScripts")->text(), "");
    EXPECT_EQ(settings.scriptsFolder, missing.toStdString());

    // Cancelling the picker empties both the field and the stored folder.
    dialogs.clearRecords();
    host.calls.clear();
    pickFolder("cmdDirScripts", scriptsFolder());
    dialogs.folderAnswers.push_back(QString());
    QTest::mouseClick(field("txtDirScripts"), Qt::LeftButton);
    EXPECT_EQ(field("txtDirScripts")->text(), "");
    EXPECT_EQ(settings.scriptsFolder, "");
    EXPECT_EQ(host.calls.size(), 1u); // only the first pick pointed the list
    EXPECT_TRUE(dialogs.messages.empty());

    // Blanks around a chosen folder are dropped from the field only: the
    // settings and the script list keep the folder's real name.
    host.calls.clear();
    const QString padded = q(temp.file("scripts "));
    std::filesystem::create_directory(padded.toStdString());
    writeBytes(padded.toStdString() + "/000010[5].txt", "x\r\n");
    pickFolder("cmdDirScripts", padded);
    EXPECT_EQ(field("txtDirScripts")->text(), scriptsFolder());
    EXPECT_EQ(settings.scriptsFolder, padded.toStdString());
    EXPECT_EQ(host.calls, std::vector<std::string>{"pointScriptList " + padded.toStdString()});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProjectDialogTest, AProjectFileThatCannotBeWrittenKeepsTheDialogOpen) {
    const std::string missingFolder = temp.file("no/such/folder");
    fillAll(QStringLiteral("Demo"), q(missingFolder));
    settings.projectFilePath = "/before.tpr";
    host.calls.clear();
    dialogs.clearRecords();
    dialog->show();

    click("cmdAceptar");

    EXPECT_EQ(dialogs.messages,
              std::vector{info(QStringLiteral("No se pudo escribir el archivo de proyecto ") +
                               q(missingFolder + "/Demo.tpr"))});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(settings.projectFilePath, "/before.tpr");
    EXPECT_EQ(settings.projectName, "");
    EXPECT_EQ(settings.projectFolder, "");
}

} // namespace
} // namespace tradumar
