// Where the program and the inspector find the four catalogue files.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace kesmora {

// The folders looked in, in order: "data" next to the executable (the build tree), then
// "../share/kesmora" relative to it (an installation under a prefix such as /usr).
std::vector<std::filesystem::path> dataDirCandidates(const std::filesystem::path& executableDir);

// The first candidate that holds all four files, or nothing.
std::optional<std::filesystem::path> findDataDir(const std::filesystem::path& executableDir);

} // namespace kesmora
