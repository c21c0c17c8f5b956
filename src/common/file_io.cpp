#include "common/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

namespace tradumar {

std::optional<std::string> readWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) { // a folder, or an input/output error
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

namespace {

std::string temporaryNameFor(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(generator()));
    return folder + "." + name + "." + suffix + ".tmp";
}

int writeAll(int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// The file a symbolic link names, so that saving through the link changes
// its target and keeps the link. Any other path is returned as it is.
int resolveLink(const std::string& path, std::string& target) {
    target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return 0;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
        return 0;
    }
    if (errno != ENOENT)
        return errno;
    // A link to a file not made yet: the file it names, relative to the link's folder.
    char buffer[4096];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n < 0)
        return errno;
    target.assign(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = path.find_last_of('/');
    if (target.front() != '/' && slash != std::string::npos)
        target = path.substr(0, slash + 1) + target;
    return 0;
}

} // namespace

int writeFileAtomically(const std::string& requested, std::string_view content) {
    std::string path;
    if (const int error = resolveLink(requested, path); error != 0)
        return error;
    // Keep the permissions of the file being replaced; new files get the usual ones.
    mode_t mode = 0666;
    bool replacing = false;
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return EISDIR;
        // A read-only file is refused, not replaced: the rename would succeed
        // in a writable folder. Its permission bits count too, as they do not
        // for a user whom the system lets write anything.
        if ((existing.st_mode & 0222) == 0)
            return EACCES;
        if (::access(path.c_str(), W_OK) != 0)
            return errno;
        mode = existing.st_mode & 07777;
        replacing = true;
    }

    const std::string temporary = temporaryNameFor(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return errno;

    int error = replacing && ::fchmod(fd, mode) != 0 ? errno : 0;
    if (error == 0)
        error = writeAll(fd, content);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename is saved only once the folder that holds the name is flushed.
    return syncFolderHolding(path);
}

int syncFolderHolding(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // Some file systems cannot flush a folder (EINVAL): nothing is lost there
    // that a flush would have kept.
    const int error = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
    ::close(fd);
    return error;
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

} // namespace tradumar
