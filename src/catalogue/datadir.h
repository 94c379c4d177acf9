// Where the program and the inspector find the four catalogue files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kesmora {

// The folders looked in, in order: "data" next to the executable (the build tree), then
// "../share/kesmora" relative to it (an installation under a prefix such as /usr).
std::vector<std::filesystem::path> dataDirCandidates(const std::filesystem::path& executableDir);

// The first candidate that holds all four files, or nothing. Never throws: a folder the file
// system refuses to look into (a symbolic link loop, no permission) counts as not holding them.
std::optional<std::filesystem::path> findDataDir(const std::filesystem::path& executableDir);

// What keeps a catalogue file from being read where it was looked for.
enum class DataFileState { Present, Missing, NotAFile, LinkLoop, Inaccessible };

DataFileState dataFileState(const std::filesystem::path& file) noexcept;

// The German wording of a state for the start-up message ("fehlt", ...); empty for Present.
std::string describeDataFileState(DataFileState state);

} // namespace kesmora
