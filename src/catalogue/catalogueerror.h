// The error the catalogue readers raise: it names the file, the block and the line concerned, so
// the message box can tell the user exactly what is damaged.
#pragma once

#include <stdexcept>
#include <string>

namespace kesmora {

class CatalogueError : public std::runtime_error {
  public:
    CatalogueError(const std::string& file, const std::string& block, int line, const std::string& what)
        : std::runtime_error(compose(file, block, line, what)), file_(file), block_(block), line_(line) {}

    const std::string& file() const { return file_; }
    const std::string& block() const { return block_; }
    int line() const { return line_; } // 1-based line in the file, 0 when not tied to a line

  private:
    static std::string compose(const std::string& file, const std::string& block, int line,
                               const std::string& what) {
        std::string s = what;
        if (!file.empty()) s += " (Datei " + file;
        if (!block.empty()) s += ", Block " + block;
        if (line > 0) s += ", Zeile " + std::to_string(line);
        if (!file.empty()) s += ")";
        return s;
    }

    std::string file_;
    std::string block_;
    int line_;
};

} // namespace kesmora
