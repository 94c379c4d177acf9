// Locating the catalogue files.
#include "datadir.h"

#include "tables.h"

namespace kesmora {

std::vector<std::filesystem::path> dataDirCandidates(const std::filesystem::path& executableDir) {
    return {(executableDir / "data").lexically_normal(),
            (executableDir / ".." / "share" / "kesmora").lexically_normal()};
}

std::optional<std::filesystem::path> findDataDir(const std::filesystem::path& executableDir) {
    for (const auto& candidate : dataDirCandidates(executableDir)) {
        bool all = true;
        for (const char* file : {kCoordFile, kFaceFile, kExcludedFile, kCatalogueFile})
            all = all && dataFileState(candidate / file) == DataFileState::Present;
        if (all) return candidate;
    }
    return std::nullopt;
}

DataFileState dataFileState(const std::filesystem::path& file) noexcept {
    // The error_code overload: the throwing one turns a link loop in the data folder into an
    // exception that nothing up the start-up path expects.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found) return DataFileState::Missing;
    if (ec == std::errc::too_many_symbolic_link_levels) return DataFileState::LinkLoop;
    if (ec == std::errc::not_a_directory) return DataFileState::Missing; // a file where a folder was
    if (ec) return DataFileState::Inaccessible;
    if (status.type() != std::filesystem::file_type::regular) return DataFileState::NotAFile;
    return DataFileState::Present;
}

std::string describeDataFileState(DataFileState state) {
    switch (state) {
    case DataFileState::Present:
        return {};
    case DataFileState::Missing:
        return "fehlt";
    case DataFileState::NotAFile:
        return "keine Datei";
    case DataFileState::LinkLoop:
        return "Schleife symbolischer Verknüpfungen";
    case DataFileState::Inaccessible:
        return "nicht zugänglich";
    }
    return {};
}

} // namespace kesmora
