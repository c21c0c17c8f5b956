#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tradumar::cli {

// Exit statuses: everything asked was done; the command ran but something
// could not be done; a usage error or a project that cannot be opened.
constexpr int kDone = 0;
constexpr int kNotAll = 1;
constexpr int kUsage = 2;

// Where a command writes: results to `out`, messages to `err`; `progress`
// when a long run may show a progress line (standard error is a terminal).
struct Streams {
    std::ostream& out;
    std::ostream& err;
    bool progress = false;
};

int status(const std::string& projectFile, bool tsv, Streams io);
int check(const std::string& projectFile, Streams io);
struct InsertOptions {
    bool overBudget = false; // scripts longer than their room are written in place all the same
    bool relocate = false;   // scripts longer than their room move to free space when they have pointers
};
int insert(const std::string& projectFile, const InsertOptions& options,
           const std::vector<std::string>& scripts, Streams io);
int undo(const std::string& projectFile, Streams io);
int patch(const std::string& projectFile, const std::string& output, const std::string& original, Streams io);

// Where extraer looks for scripts: a pointer table ("DIRECCIÓN:CUENTA" and
// its format) and ranges ("INICIO-FIN"), numbers in hexadecimal with "0x"
// or in decimal, as the user typed them.
struct ExtractOptions {
    std::string table;
    int size = 2;
    std::string order = "le";
    std::string map = "lineal";
    std::string displacement = "0";
    int header = 0;
    std::string step; // the pointer's size when empty
    std::vector<std::string> ranges;
};
int extract(const std::string& projectFile, const ExtractOptions& options, Streams io);
int verify(const std::string& projectFile, Streams io);
int freeSpaceCommand(const std::string& projectFile, const std::vector<std::string>& ranges,
                     const std::string& filler, Streams io);
int pointers(const std::string& projectFile, const std::string& script,
             const std::vector<std::string>& confirm, Streams io);

} // namespace tradumar::cli
