// Scratch folders and files for tests: a folder per test process and name, removed again with the
// test, reading a file whole, and a copy of the shipped catalogue to damage.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace kesmora::test {

class TempDir {
  public:
    explicit TempDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("kesmora-" + name + "-" + std::to_string(getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A file's bytes, as they are on disk; empty when it cannot be read.
inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

#ifdef KESMORA_DATA_DIR
// The four catalogue files as shipped, copied into `to`.
inline void copyShippedData(const std::filesystem::path& to) {
    std::filesystem::create_directories(to);
    for (const char* f : {"catalogue.txt", "excluded.txt", "coordinates.txt", "faces.txt"})
        std::filesystem::copy_file(std::filesystem::path(KESMORA_DATA_DIR) / f, to / f);
}
#endif

} // namespace kesmora::test
