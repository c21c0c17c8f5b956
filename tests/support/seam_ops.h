#pragma once

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <string>
#include <vector>

#include "insertion/insertion_journal.h"

namespace tradumar::testsupport {

// Logs which file each change goes to; can refuse to open the ROM for
// writing, fail its Nth write, or kill the process at its Nth change.
class SeamOps : public FileOps {
public:
    std::string rom;
    std::vector<std::string> log; // "write rom", "sync journal", ...
    bool romReadOnly = false;
    // The Nth write to the ROM fails, and every later one while failRomWrites.
    int failRomWrite = 0, killAt = 0, changes = 0;
    bool failRomWrites = false;
    int failJournalWrite = 0, failJournalSync = 0, syncError = EIO; // the Nth of each fails
    std::map<int, std::string> names;

    int open(const std::string& path, int flags) override {
        if (romReadOnly && path == rom && (flags & O_RDWR))
            return errno = EACCES, -1;
        const int fd = FileOps::open(path, flags);
        names[fd] = path == rom ? "rom" : "journal";
        return fd;
    }
    ssize_t pwrite(int fd, const void* data, std::size_t size, off_t offset) override {
        change("write", fd);
        if (names[fd] == "rom" && (--failRomWrite == 0 || (failRomWrites && failRomWrite < 0)))
            return errno = EIO, -1;
        if (names[fd] == "journal" && --failJournalWrite == 0)
            return errno = ENOSPC, -1;
        return FileOps::pwrite(fd, data, size, offset);
    }
    int ftruncate(int fd, off_t size) override { return change("cut", fd), FileOps::ftruncate(fd, size); }
    int fsync(int fd) override {
        change("sync", fd);
        if (names[fd] == "journal" && --failJournalSync == 0)
            return errno = syncError, -1;
        return FileOps::fsync(fd);
    }
    int writeNewFile(const std::string& path, std::string_view content) override {
        return change("copy", -1), FileOps::writeNewFile(path, content);
    }
    int syncFolderOf(const std::string& path) override {
        return change("sync", -2), FileOps::syncFolderOf(path);
    }

private:
    void change(const char* what, int fd) {
        if (++changes == killAt)
            std::raise(SIGKILL);
        log.push_back(std::string(what) + " " + (fd == -2 ? "folder" : fd < 0 ? "original" : names[fd]));
    }
};

} // namespace tradumar::testsupport
