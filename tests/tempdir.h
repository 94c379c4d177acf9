// Scratch folders for tests: one per test process and name, removed again with the test, and a
// copy of the shipped catalogue to damage.
#pragma once

#include <unistd.h>

#include <filesystem>
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

#ifdef KESMORA_DATA_DIR
// The four catalogue files as shipped, copied into `to`.
inline void copyShippedData(const std::filesystem::path& to) {
    std::filesystem::create_directories(to);
    for (const char* f : {"catalogue.txt", "excluded.txt", "coordinates.txt", "faces.txt"})
        std::filesystem::copy_file(std::filesystem::path(KESMORA_DATA_DIR) / f, to / f);
}
#endif

} // namespace kesmora::test
