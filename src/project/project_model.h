#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "encoding/thingy_table.h"
#include "project/workspace.h"

namespace tradumar {

// The script files of a folder as the script list shows them: names ending
// in ".txt" in any letter case, sorted without regard to case (then with it).
std::vector<std::string> scriptFileNames(const std::string& folder);

// What stopped a project from opening, as a value; openFailureText words it.
struct OpenFailure {
    enum class Kind {
        None,
        Unreadable,           // the project file cannot be read (error: errno)
        NotAProject,          // nothing in it makes it a project
        BadIndex,             // the stored script index is no 16-bit number
        Undecodable,          // the project file is neither UTF-8 nor in its legacy code page
        NoScriptsFolder,      // the project names no scripts folder
        ScriptsFolderMissing, // the scripts folder does not exist or cannot be read
        TableMissing,
        TableUnreadable,
        TableUndecodable,
        TableOverflow, // the translated table holds more than 5000 entries
        RomMissing,
    };
    Kind kind = Kind::None;
    std::string path;  // the file or folder concerned
    std::string which; // "original" or "traducida", for a table
    std::string index; // the stored index text, for BadIndex
    int error = 0;     // errno, for Unreadable
    LegacyCodePage legacy = LegacyCodePage::Windows1252;
    std::size_t badOffset = 0; // for the undecodable kinds
    unsigned char badByte = 0;

    explicit operator bool() const { return kind != Kind::None; }
    // A path the project dialog can correct (the file is a project).
    bool correctable() const { return kind >= Kind::NoScriptsFolder; }
};

// Both tables of the workspace's project, loaded with every check into the
// workspace (with their longest texts), or the first failure; the lines kept
// whose codes cannot be used are listed. A table is never created.
struct TablesLoad {
    OpenFailure failure;
    std::vector<UnusableLine> unusableOriginal;
    std::vector<UnusableLine> unusableTranslated;
};
TablesLoad loadProjectTables(Workspace& workspace);

// Reads the project file into the workspace's settings and checks the
// scripts folder; the window and the command line both start here.
OpenFailure readProjectFile(const std::string& projectFile, Workspace& workspace);

// The whole opening for a program without windows: the project file, the
// scripts folder, both tables, the ROM, and the progress of every script.
struct OpenedProject {
    OpenFailure failure;
    TablesLoad tables;
    std::vector<std::string> scripts; // in list order
};
OpenedProject openProject(const std::string& projectFile, Workspace& workspace);

} // namespace tradumar
