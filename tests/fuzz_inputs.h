// The fuzzers' seed and regression folders as test parameters: the files of fuzz/FOLDER in name
// order, each test named after its file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace kesmora::test {

inline std::vector<std::filesystem::path> fuzzInputs(const char* folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(KESMORA_SOURCE_DIR) / "fuzz" / folder))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

inline std::string fuzzInputName(const testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = info.param.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

} // namespace kesmora::test
