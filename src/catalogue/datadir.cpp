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
        for (const char* file : {kCoordFile, kFaceFile, kExcludedFile, kCatalogueFile}) {
            std::error_code ec;
            all = all && std::filesystem::is_regular_file(candidate / file, ec);
        }
        if (all) return candidate;
    }
    return std::nullopt;
}

} // namespace kesmora
