#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tradumar::testsupport {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes. Its name is the process and a running count, so
// two runs never share a folder and no test meets a name chosen by chance; a
// folder left behind by a killed run of the same number is emptied first.
class TempDir {
public:
    TempDir() {
        static std::atomic<unsigned> count{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("tradumar-test-" + std::to_string(::getpid()) + "-" + std::to_string(count++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directory(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(std::string_view name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline void writeBytes(const std::string& path, std::string_view content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tradumar::testsupport
