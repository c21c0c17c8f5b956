#include "project/project_model.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "common/file_io.h"
#include "project/ini_profile.h"

namespace tradumar {
namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

OpenFailure loadTable(const std::string& path, const char* which, ThingyTable& table, TableOverflow overflow,
                      LegacyCodePage legacy, std::vector<UnusableLine>& unusable) {
    OpenFailure failure;
    failure.path = path;
    failure.which = which;
    failure.legacy = legacy;
    // A missing table is never created: an empty one would count every
    // translation as fitting and encode nothing.
    if (!pathExists(path)) {
        failure.kind = OpenFailure::Kind::TableMissing;
        return failure;
    }
    ThingyTable loaded;
    const TableLoad load = loadThingyTable(path, loaded, overflow, legacy);
    switch (load.status) {
    case LoadStatus::Loaded:
        table = loaded;
        unusable = load.unusable;
        return {};
    case LoadStatus::Unreadable:
        failure.kind = OpenFailure::Kind::TableUnreadable;
        break;
    case LoadStatus::Undecodable:
        failure.kind = OpenFailure::Kind::TableUndecodable;
        failure.badOffset = load.badOffset;
        failure.badByte = load.badByte;
        break;
    case LoadStatus::Overflow:
        failure.kind = OpenFailure::Kind::TableOverflow;
        break;
    }
    return failure;
}

} // namespace

std::vector<std::string> scriptFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = file.path().filename().string();
        if (file.is_regular_file(error) && name.size() > 4 && lowered(name.substr(name.size() - 4)) == ".txt")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lowered(a), lb = lowered(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

TablesLoad loadProjectTables(Workspace& w) {
    TablesLoad load;
    const LegacyCodePage legacy = w.settings.legacyCodePage;
    load.failure = loadTable(w.settings.originalTablePath, "original", w.originalTable, TableOverflow::Drop,
                             legacy, load.unusableOriginal);
    if (load.failure)
        return load;
    w.originalLongest = w.originalTable.longestTextLength(true);
    load.failure = loadTable(w.settings.translatedTablePath, "traducida", w.translatedTable,
                             TableOverflow::Fail, legacy, load.unusableTranslated);
    if (!load.failure)
        w.translatedLongest = w.translatedTable.longestTextLength(false);
    return load;
}

OpenFailure readProjectFile(const std::string& projectFile, Workspace& w) {
    OpenFailure failure;
    failure.path = projectFile;
    ProjectSettings& settings = w.settings;
    settings.projectFilePath = projectFile;
    if (!readWholeFile(projectFile)) {
        failure.kind = OpenFailure::Kind::Unreadable;
        failure.error = errno;
        return failure;
    }
    const ProjectSettings::ReadOutcome read = settings.readFrom(projectFile);
    failure.legacy = settings.legacyCodePage;
    if (read.status == ProjectSettings::ReadOutcome::Status::Undecodable) {
        failure.kind = OpenFailure::Kind::Undecodable;
        failure.badOffset = read.badOffset;
        failure.badByte = read.badByte;
        return failure;
    }
    if (!read) {
        failure.index = readIniValue("Index", "Value", projectFile);
        failure.kind = failure.index.empty() && settings.projectName.empty() && settings.scriptsFolder.empty()
                           ? OpenFailure::Kind::NotAProject
                           : OpenFailure::Kind::BadIndex;
        return failure;
    }
    if (settings.scriptsFolder.empty()) {
        failure.kind = OpenFailure::Kind::NoScriptsFolder;
        return failure;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(settings.scriptsFolder, error)) {
        failure.kind = OpenFailure::Kind::ScriptsFolderMissing;
        failure.path = settings.scriptsFolder;
        return failure;
    }
    return {};
}

OpenedProject openProject(const std::string& projectFile, Workspace& w) {
    OpenedProject opened;
    if ((opened.failure = readProjectFile(projectFile, w)))
        return opened;
    opened.scripts = scriptFileNames(w.settings.scriptsFolder);
    opened.tables = loadProjectTables(w);
    if ((opened.failure = opened.tables.failure))
        return opened;
    if (!pathExists(w.settings.romPath)) {
        opened.failure.kind = OpenFailure::Kind::RomMissing;
        opened.failure.path = w.settings.romPath;
        return opened;
    }
    w.progress.followLimits(w.settings);
    w.progress.reset(opened.scripts, w.settings.scriptsFolder, w.settings.legacyCodePage, w.encoderContext());
    return opened;
}

} // namespace tradumar
