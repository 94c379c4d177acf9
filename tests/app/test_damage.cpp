// Damaged catalogue files, one case each: the tables as loaded and built by the core, and the same
// damage met through the real window, which must report it, keep the shown solid and stay usable.
#include "fakedialogs.h"
#include "section_category.h"
#include "app/mainwindow.h"
#include "bodies/build.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/geometryerror.h"
#include "stripcontrols.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "tempdir.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

using namespace kesmora;
namespace fs = std::filesystem;

using kesmora::test::readAll;

namespace {

// The four data files of one case, as text, and what is done to them as files.
struct DataFiles {
    std::map<std::string, std::string> text; // by file name
    std::set<std::string> missing, directory, unreadable;
};

const DataFiles& shippedFiles() {
    static const DataFiles files = [] {
        DataFiles f;
        for (const char* name : {kCoordFile, kFaceFile, kExcludedFile, kCatalogueFile})
            f.text[name] = readAll(fs::path(KESMORA_DATA_DIR) / name);
        return f;
    }();
    return files;
}

std::vector<std::string> linesOf(const std::string& text) {
    return splitLines(text);
}
std::string joinLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines)
        s += l + "\n";
    return s;
}

// 0-based index of the first line equal to `line`; a damage that cannot find its place is a
// broken test, not a passing one.
int indexOf(const std::vector<std::string>& lines, const std::string& line) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) return static_cast<int>(i);
    throw std::runtime_error("line \"" + line + "\" not in the data");
}

// Applies `edit` to the lines of one file.
template <typename F> void editLines(DataFiles& f, const std::string& file, F edit) {
    auto lines = linesOf(f.text[file]);
    edit(lines);
    f.text[file] = joinLines(lines);
}

// The n-th content line of block `header` (0 = first vertex or face).
void setContentLine(DataFiles& f, const std::string& file, const std::string& header, int n,
                    const std::string& value) {
    editLines(f, file,
              [&](auto& lines) { lines[static_cast<std::size_t>(indexOf(lines, header) + 2 + n)] = value; });
}

// Replaces the count and content of block `header` by `count` and `content`.
void replaceBlock(DataFiles& f, const std::string& file, const std::string& header, const std::string& count,
                  const std::vector<std::string>& content) {
    editLines(f, file, [&](auto& lines) {
        const int at = indexOf(lines, header);
        const int old = std::stoi(lines[static_cast<std::size_t>(at + 1)]);
        std::vector<std::string> block{header, count};
        block.insert(block.end(), content.begin(), content.end());
        lines.erase(lines.begin() + at, lines.begin() + at + 2 + old);
        lines.insert(lines.begin() + at, block.begin(), block.end());
    });
}

std::vector<std::string> repeated(const std::string& line, int n) {
    return std::vector<std::string>(static_cast<std::size_t>(n), line);
}

// Removes `count` lines starting at the first line equal to `from`, plus `skip` lines after it.
void eraseLines(DataFiles& f, const std::string& file, const std::string& from, int skip, int count) {
    editLines(f, file, [&](auto& lines) {
        const int at = indexOf(lines, from) + skip;
        lines.erase(lines.begin() + at, lines.begin() + at + count);
    });
}

enum class Expect {
    StartFails, // the window cannot be created: one message, a clean exit
    Error,      // the action that meets the damage reports it; the shown solid stays
    Works,      // the program behaves as if the damage were ordinary data
};

struct Case {
    const char* name;
    void (*damage)(DataFiles&);
    Expect expect;
    // The body whose selection meets the damage (category, UTF-8 name).
    int category;
    const char* body;
    // Where the message must point: file, block, and the line as an anchor line plus an offset
    // (1-based line = index of the anchor in the damaged file + 1 + offset); no anchor: no line.
    const char* file = nullptr;
    const char* block = nullptr;
    const char* anchor = nullptr;
    int offset = 0;
    // A body of category 0 that builds afterwards, or none when the damage leaves none.
    const char* goodBody = "Tetraeder";
    // Extra checks of a case that works, at the level of the tables.
    void (*check)(const CatalogueTables& damaged, const CatalogueTables& shipped) = nullptr;
    // Whether the body shown at the start (the cube) still builds.
    bool startBuilds = true;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// A coordinate field that is not a number counts as 0, the other two fields keep their values.
void firstOctahedronVertexHasZeroX(const CatalogueTables& damaged, const CatalogueTables& shipped) {
    SolidModel a, b;
    punkteladen(a, damaged, 3);
    punkteladen(b, shipped, 3);
    ASSERT_EQ(a.solid.vertices.size(), b.solid.vertices.size());
    EXPECT_EQ(a.solid.vertices[0].x, 0.0);
    EXPECT_EQ(a.solid.vertices[0].y, b.solid.vertices[0].y);
    EXPECT_EQ(a.solid.vertices[0].z, b.solid.vertices[0].z);
    for (int i = 1; i < a.solid.vertices.size(); ++i)
        EXPECT_EQ(a.solid.vertices[i].x, b.solid.vertices[i].x);
}

void sameTablesAsShipped(const CatalogueTables& damaged, const CatalogueTables& shipped) {
    EXPECT_EQ(damaged.coordTable.lines, shipped.coordTable.lines);
    EXPECT_EQ(damaged.faceTable.lines, shipped.faceTable.lines);
    EXPECT_EQ(damaged.excludedNames.lines, shipped.excludedNames.lines);
    EXPECT_EQ(damaged.catalogueTable.lines, shipped.catalogueTable.lines);
}

void excludedStillLeftOut(const CatalogueTables& damaged, const CatalogueTables& shipped) {
    const auto names = fillBodyList(damaged, Category::Polyeder);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Tetraederstern"), 0);
    EXPECT_EQ(names, fillBodyList(shipped, Category::Polyeder));
}

void everyNameListed(const CatalogueTables& damaged, const CatalogueTables& shipped) {
    // Nothing excluded: the list shows every name of the section.
    EXPECT_GT(fillBodyList(damaged, Category::Polyeder).size(), fillBodyList(shipped, Category::Polyeder).size());
}

std::string vertexLine(const DataFiles& f, int n) {
    const auto lines = linesOf(f.text.at(kCoordFile));
    return lines[static_cast<std::size_t>(indexOf(lines, "[3]") + 2 + n)];
}

// The octahedron's first vertex line with its x field replaced.
void badX(DataFiles& f, const std::string& x) {
    const std::string line = vertexLine(f, 0);
    setContentLine(f, kCoordFile, "[3]", 0, x + line.substr(line.find(' ')));
}

// The lines of all four files end in CR alone, as old Mac editors write them; here faces.txt only.
void crOnly(DataFiles& f, const std::string& file) {
    std::replace(f.text[file].begin(), f.text[file].end(), '\n', '\r');
}

// A copy of block `header` put in front of it, so the first copy is the one a careless reader uses.
void blockTwice(DataFiles& f, const std::string& file, const std::string& header) {
    editLines(f, file, [&](auto& lines) {
        const int at = indexOf(lines, header);
        const int n = std::stoi(lines[static_cast<std::size_t>(at + 1)]);
        const std::vector<std::string> block(lines.begin() + at, lines.begin() + at + 2 + n);
        lines.insert(lines.begin() + at, block.begin(), block.end());
    });
}

const Case kCases[] = {
    // Files.
    {"FileMissing", [](DataFiles& f) { f.missing.insert(kFaceFile); }, Expect::StartFails, 0, "", kFaceFile},
    {"FileIsADirectory", [](DataFiles& f) { f.directory.insert(kCoordFile); }, Expect::StartFails, 0, "",
     kCoordFile},
    {"FileUnreadable", [](DataFiles& f) { f.unreadable.insert(kExcludedFile); }, Expect::StartFails, 0, "",
     kExcludedFile},
    {"CatalogueEmpty", [](DataFiles& f) { f.text[kCatalogueFile].clear(); }, Expect::StartFails, 0, "",
     kCatalogueFile, "{0"},
    {"CoordinatesEmpty", [](DataFiles& f) { f.text[kCoordFile].clear(); }, Expect::Error, 0, "Oktaeder",
     kCoordFile, "[3]", nullptr, 0, "Quader", nullptr, false},
    {"FacesEmpty", [](DataFiles& f) { f.text[kFaceFile].clear(); }, Expect::Error, 0, "Oktaeder", kFaceFile,
     "[3]", nullptr, 0, nullptr, nullptr, false},
    // Entry 17 of the longer list, selected at the start, may be a body without blocks.
    {"ExcludedEmpty", [](DataFiles& f) { f.text[kExcludedFile].clear(); }, Expect::Works, 0, "Oktaeder",
     nullptr, nullptr, nullptr, 0, "Tetraeder", everyNameListed, false},

    // Block headers and count lines.
    // The first block, so that no block before it runs into the headless lines.
    {"HeaderMissing", [](DataFiles& f) { eraseLines(f, kCoordFile, "[1]", 0, 1); }, Expect::Error, 0,
     "Tetraeder", kCoordFile, "[1]", nullptr, 0, "Oktaeder"},
    // A header lost in the middle leaves the block before it running into the lost block's lines.
    {"HeaderMissingAfterABlock", [](DataFiles& f) { eraseLines(f, kCoordFile, "[4]", 0, 1); }, Expect::Error,
     0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},
    {"CountNotAnInteger",
     [](DataFiles& f) { editLines(f, kCoordFile, [](auto& l) { l[indexOf(l, "[3]") + 1u] = "sechs"; }); },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},
    {"CountNegative",
     [](DataFiles& f) { editLines(f, kCoordFile, [](auto& l) { l[indexOf(l, "[3]") + 1u] = "-6"; }); },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},
    {"CountZero",
     [](DataFiles& f) { editLines(f, kFaceFile, [](auto& l) { l[indexOf(l, "[3]") + 1u] = "0"; }); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 1},
    {"CountLargerThanTheBlock",
     [](DataFiles& f) {
         editLines(f, kCoordFile, [](auto& l) {
             l[indexOf(l, "[3]") + 1u] = std::to_string(std::stoi(l[indexOf(l, "[3]") + 1u]) + 1);
         });
     },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},
    {"CountSmallerThanTheBlock",
     [](DataFiles& f) {
         editLines(f, kFaceFile, [](auto& l) {
             l[indexOf(l, "[3]") + 1u] = std::to_string(std::stoi(l[indexOf(l, "[3]") + 1u]) - 1);
         });
     },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 1},
    {"MoreThan261Vertices",
     [](DataFiles& f) { replaceBlock(f, kCoordFile, "[3]", "262", repeated("1 2 3", 262)); }, Expect::Error,
     0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},
    // Room in the vertex table, but not for one dual face per vertex.
    {"MoreThan201Vertices",
     [](DataFiles& f) { replaceBlock(f, kCoordFile, "[3]", "230", repeated("1 2 3", 230)); }, Expect::Error,
     0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},
    {"MoreThan201Faces", [](DataFiles& f) { replaceBlock(f, kFaceFile, "[3]", "202", repeated("012", 202)); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 1},
    {"BlockRunsPastTheEnd",
     [](DataFiles& f) {
         // The octahedron's block moved to the end, cut short, and the end line gone.
         editLines(f, kCoordFile, [](auto& l) {
             const int at = indexOf(l, "[3]");
             const int n = std::stoi(l[at + 1u]);
             std::vector<std::string> block(l.begin() + at, l.begin() + at + 4);
             l.erase(l.begin() + at, l.begin() + at + 2 + n);
             l.erase(l.begin() + indexOf(l, "[#]"), l.end());
             l.insert(l.end(), block.begin(), block.end());
         });
     },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 1},

    // Face lines.
    {"FaceLineEmpty", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 0, ""); }, Expect::Error, 0,
     "Oktaeder", kFaceFile, "[3]", "[3]", 2},
    {"FaceLineOneCharacter", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 1, "0"); }, Expect::Error,
     0, "Oktaeder", kFaceFile, "[3]", "[3]", 3},
    {"FaceLineTwoCharacters", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 2, "04"); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 4},
    {"FaceCodeBelowZero", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 0, "04/"); }, Expect::Error,
     0, "Oktaeder", kFaceFile, "[3]", "[3]", 2},
    {"FaceCodeOfAVertexNotLoaded", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 7, "047"); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 9},
    {"FaceCodeOfTheLastNameableVertex",
     [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 0, "04\xFF"); }, Expect::Error, 0, "Oktaeder",
     kFaceFile, "[3]", "[3]", 2},

    // Faces without area, and corners that are not corners: the previous solid stays.
    {"FaceNamesAVertexTwice", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 0, "0410"); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 2},
    {"FaceOfOneVertexThreeTimes", [](DataFiles& f) { setContentLine(f, kFaceFile, "[3]", 3, "000"); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 5},
    // Vertex 4 moved between vertices 2 and 3: the face 243 (third line) lies on a line.
    {"FaceCornersOnALine", [](DataFiles& f) { setContentLine(f, kCoordFile, "[3]", 4, "0 1 0"); },
     Expect::Error, 0, "Oktaeder", kFaceFile, "[3]", "[3]", 4},
    {"TwoVerticesOnOnePoint", [](DataFiles& f) { setContentLine(f, kCoordFile, "[3]", 1, vertexLine(f, 0)); },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 3},
    {"AllVerticesOnOnePoint",
     [](DataFiles& f) {
         for (int v = 0; v < 6; ++v)
             setContentLine(f, kCoordFile, "[3]", v, "0 0 0");
     },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 3},
    // Half the octahedron's faces: every vertex on two faces or fewer, no dual to be made.
    {"VertexOnTwoFacesOnly",
     [](DataFiles& f) { replaceBlock(f, kFaceFile, "[3]", "4", {"041", "150", "243", "352"}); }, Expect::Error,
     0, "Oktaeder", kFaceFile, "[3]"},
    // A cuboid without width: its generated vertices fall together in pairs.
    {"ParameterZero",
     [](DataFiles& f) { editLines(f, kCatalogueFile, [](auto& l) { l[indexOf(l, "[5") + 5u] = "0"; }); },
     Expect::Error, 0, "Quader", kCatalogueFile, "[5"},
    {"BlockTwice", [](DataFiles& f) { blockTwice(f, kFaceFile, "[3]"); }, Expect::Error, 0, "Oktaeder",
     kFaceFile, "[3]", "[3]", 10},

    // Coordinate fields: what does not convert is 0; a number too large to draw is refused.
    {"CoordinateNotANumber", [](DataFiles& f) { badX(f, "x1"); }, Expect::Works, 0, "Oktaeder", nullptr,
     nullptr, nullptr, 0, "Tetraeder", firstOctahedronVertexHasZeroX},
    {"CoordinateNaN", [](DataFiles& f) { badX(f, "nan"); }, Expect::Works, 0, "Oktaeder", nullptr, nullptr,
     nullptr, 0, "Tetraeder", firstOctahedronVertexHasZeroX},
    {"CoordinateInf", [](DataFiles& f) { badX(f, "-inf"); }, Expect::Works, 0, "Oktaeder", nullptr, nullptr,
     nullptr, 0, "Tetraeder", firstOctahedronVertexHasZeroX},
    {"CoordinateDecimalComma", [](DataFiles& f) { badX(f, "1,5"); }, Expect::Works, 0, "Oktaeder", nullptr,
     nullptr, nullptr, 0, "Tetraeder", firstOctahedronVertexHasZeroX},
    {"CoordinateHuge",
     [](DataFiles& f) {
         for (int v : {0, 1})
             setContentLine(f, kCoordFile, "[3]", v, "1e308 1e308 1e308");
     },
     Expect::Error, 0, "Oktaeder", kCoordFile, "[3]", "[3]", 2},
    {"CrLfLineEnds",
     [](DataFiles& f) {
         for (auto& [name, text] : f.text) {
             std::string crlf;
             for (char c : text)
                 crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
             text = crlf;
         }
     },
     Expect::Works, 0, "Oktaeder", nullptr, nullptr, nullptr, 0, "Tetraeder", sameTablesAsShipped},

    // Files saved in another form than the program reads: named at the start, with what is wrong.
    {"CatalogueInUtf8", [](DataFiles& f) { f.text[kCatalogueFile] = latin1ToUtf8(f.text[kCatalogueFile]); },
     Expect::StartFails, 0, "", kCatalogueFile, nullptr, "Hexaeder, W\xC3\xBCrfel"},
    {"ExcludedInUtf8", [](DataFiles& f) { f.text[kExcludedFile] = latin1ToUtf8(f.text[kExcludedFile]); },
     Expect::StartFails, 0, "", kExcludedFile, nullptr, "sechs W\xC3\xBCrfel"},
    {"ByteOrderMark", [](DataFiles& f) { f.text[kCoordFile].insert(0, "\xEF\xBB\xBF"); }, Expect::StartFails,
     0, "", kCoordFile, nullptr, "\xEF\xBB\xBF[1]"},
    {"ByteOrderMarkBeforeUtf8",
     [](DataFiles& f) { f.text[kCatalogueFile] = "\xEF\xBB\xBF" + latin1ToUtf8(f.text[kCatalogueFile]); },
     Expect::StartFails, 0, "", kCatalogueFile, nullptr, "\xEF\xBB\xBF{0"},
    {"CrOnlyLineEnds", [](DataFiles& f) { crOnly(f, kFaceFile); }, Expect::StartFails, 0, "", kFaceFile},
    // Lines added by an editor that ends them with CR alone, after the line "Torus".
    {"CrOnlyAfterSomeLines",
     [](DataFiles& f) {
         std::string& text = f.text[kExcludedFile];
         const std::size_t at = text.find("Torus\n");
         std::replace(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), '\n', '\r');
     },
     Expect::StartFails, 0, "", kExcludedFile, nullptr, "mengerW\xFCrfel", 1},

    // The catalogue table.
    {"FirstSectionWithoutBracketLine", [](DataFiles& f) { eraseLines(f, kCatalogueFile, "{0", 1, 1); },
     Expect::StartFails, 0, "", kCatalogueFile, "{0", "{0", 1},
    {"SectionWithoutBracketLine", [](DataFiles& f) { eraseLines(f, kCatalogueFile, "{2", 1, 1); },
     Expect::Error, 2, "", kCatalogueFile, "{2", "{2", 1},
    {"SectionWithoutRecords",
     [](DataFiles& f) {
         editLines(f, kCatalogueFile, [](auto& l) {
             const int from = indexOf(l, "{2");
             int at = from + 2;
             while (l[static_cast<std::size_t>(at)][0] != '[')
                 ++at;
             const int end = static_cast<int>(std::find(l.begin() + at, l.end(), "[#]") - l.begin());
             l.erase(l.begin() + at, l.begin() + end);
         });
     },
     Expect::Works, 2, "Kuboktaeder"},
    // Without any record the generated bodies have no parameters to be built from.
    {"ParameterRecordsMissing",
     [](DataFiles& f) {
         editLines(f, kCatalogueFile, [](auto& l) {
             const int at = indexOf(l, "[68");
             l.erase(l.begin() + at, l.begin() + indexOf(l, "[#]"));
         });
     },
     Expect::Error, 0, "Quader", kCatalogueFile, "[5"},
    {"SectionWithoutEndLine", [](DataFiles& f) { eraseLines(f, kCatalogueFile, "{3", -1, 1); }, Expect::Error,
     2, "", kCatalogueFile, "{2", "{3", 0},
    {"ParameterNotANumber",
     [](DataFiles& f) { editLines(f, kCatalogueFile, [](auto& l) { l[indexOf(l, "[5") + 5u] = "zwei"; }); },
     Expect::Error, 0, "Quader", kCatalogueFile, "[5", "[5", 5},
    {"ParameterEmpty",
     [](DataFiles& f) { editLines(f, kCatalogueFile, [](auto& l) { l[indexOf(l, "[5") + 7u] = ""; }); },
     Expect::Error, 0, "Quader", kCatalogueFile, "[5", "[5", 7},
    {"ExcludedNameInOtherLetterCase",
     [](DataFiles& f) {
         editLines(f, kExcludedFile, [](auto& l) {
             for (auto& line : l)
                 if (equalsIgnoreCase(line, "Tetraederstern")) line = "TETRAEDERSTERN";
         });
     },
     Expect::Works, 0, "Oktaeder", nullptr, nullptr, nullptr, 0, "Tetraeder", excludedStillLeftOut},
};

std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// A data folder holding the damaged files; removed again with the case.
class DataDir {
  public:
    explicit DataDir(const Case& c) {
        path_ = fs::temp_directory_path() /
                ("kesmora-damage-" + std::string(c.name) + "-" + std::to_string(getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
        DataFiles f = shippedFiles();
        c.damage(f);
        for (const auto& [name, text] : f.text) {
            if (f.missing.count(name)) continue;
            if (f.directory.count(name)) {
                fs::create_directories(path_ / name / "inside");
                continue;
            }
            std::ofstream(path_ / name, std::ios::binary) << text;
            if (f.unreadable.count(name)) fs::permissions(path_ / name, fs::perms::none);
        }
        files_ = f;
    }
    ~DataDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    const DataFiles& files() const { return files_; }

  private:
    fs::path path_;
    DataFiles files_;
};

int expectedLine(const Case& c, const DataFiles& f) {
    if (!c.anchor) return 0;
    return indexOf(linesOf(f.text.at(c.file)), c.anchor) + 1 + c.offset;
}

bool rootReadsAnyway(const Case& c) {
    return std::string(c.name) == "FileUnreadable" && geteuid() == 0;
}
constexpr const char* kRootSkip = "running as root: a file without read permission is read all the same, so "
                                  "the case is covered by FileIsADirectory";

// The message names the file, the block and, where there is one, the line.
void expectMessagePointsAt(const std::string& message, const Case& c, const DataFiles& f) {
    EXPECT_NE(message.find(c.file), std::string::npos) << message;
    if (c.block) {
        EXPECT_NE(message.find(std::string("Block ") + c.block), std::string::npos) << message;
    }
    const int line = expectedLine(c, f);
    if (line > 0) {
        EXPECT_NE(message.find("Zeile " + std::to_string(line) + ")"), std::string::npos) << message;
    } else {
        // No line reference; the word may still occur, as in "Zeilenende".
        EXPECT_EQ(message.find(", Zeile "), std::string::npos) << message;
    }
}

void expectPointsAt(const CatalogueError& e, const Case& c, const DataFiles& f) {
    EXPECT_EQ(e.file(), c.file) << e.what();
    if (c.block) {
        EXPECT_EQ(e.block(), c.block) << e.what();
    }
    EXPECT_EQ(e.line(), expectedLine(c, f)) << e.what();
    expectMessagePointsAt(e.what(), c, f);
}

bool finite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Every count within the catalogue's limits, every face corner a loaded vertex, every coordinate finite.
void expectWholeModel(const SolidModel& m) {
    ASSERT_GT(m.solid.vertices.size(), 0);
    ASSERT_LE(m.solid.vertices.size(), kMaxFaces);
    ASSERT_GT(m.solid.faces.size(), 0);
    ASSERT_LE(m.solid.faces.size(), kMaxFaces);
    ASSERT_EQ(m.dual.vertices.size(), m.solid.faces.size());
    ASSERT_LE(m.dual.faces.size(), kMaxFaces);
    for (int f = 0; f < m.solid.faces.size(); ++f)
        for (const int v : m.solid.faces[f])
            ASSERT_LT(v, m.solid.vertices.size());
    for (int f = 0; f < m.dual.faces.size(); ++f)
        for (const int v : m.dual.faces[f])
            ASSERT_LT(v, m.dual.vertices.size());
    for (int i = 0; i < m.solid.vertices.size(); ++i)
        ASSERT_TRUE(finite(m.solid.vertices[i]));
    for (int i = 0; i < m.dual.vertices.size(); ++i)
        ASSERT_TRUE(finite(m.dual.vertices[i]));
}

bool sameModel(const SolidModel& a, const SolidModel& b) {
    auto samePoint = [](const Point3D& p, const Point3D& q) {
        return p.x == q.x && p.y == q.y && p.z == q.z;
    };
    if (a.solid.vertices.size() != b.solid.vertices.size() || a.solid.faces.size() != b.solid.faces.size() ||
        a.dual.vertices.size() != b.dual.vertices.size() || a.dual.faces.size() != b.dual.faces.size() ||
        a.scale != b.scale)
        return false;
    for (int i = 0; i < a.solid.vertices.size(); ++i)
        if (!samePoint(a.solid.vertices[i], b.solid.vertices[i])) return false;
    for (int i = 0; i < a.dual.vertices.size(); ++i)
        if (!samePoint(a.dual.vertices[i], b.dual.vertices[i])) return false;
    for (int i = 0; i < a.solid.faces.size(); ++i)
        if (a.solid.faces[i] != b.solid.faces[i]) return false;
    for (int i = 0; i < a.dual.faces.size(); ++i)
        if (a.dual.faces[i] != b.dual.faces[i]) return false;
    return true;
}

class Damage : public testing::TestWithParam<Case> {};

// The core: the tables loaded from the damaged folder, the body list, the selection and the build.
TEST_P(Damage, Core) {
    const Case& c = GetParam();
    if (rootReadsAnyway(c)) GTEST_SKIP() << kRootSkip;
    const DataDir dir(c);
    try {
        const CatalogueTables tables = LoadCatalogueTables(dir.path());
        if (c.expect == Expect::StartFails) {
            fillBodyList(tables, Category::Polyeder); // the start fills the first list; nothing else can fail there
            FAIL() << "the damaged tables loaded and filled the first list";
        }
        Selection sel;
        sel.currentCategory = sectionCategory(c.category);
        const auto names = fillBodyList(tables, sectionCategory(c.category));
        const std::string body = *c.body ? utf8ToLatin1(c.body) : names.at(0);
        ASSERT_NE(std::find(names.begin(), names.end(), body), names.end()) << c.body;
        neuwert(sel, tables, body);
        const SolidModel model = buildSolid(tables, sel, body);
        ASSERT_EQ(c.expect, Expect::Works) << "no error for the damage";
        expectWholeModel(model);
        if (c.check) {
            const DataDir clean(Case{"Shipped", [](DataFiles&) {}, Expect::Works, 0, ""});
            c.check(tables, LoadCatalogueTables(clean.path()));
        }
    } catch (const CatalogueError& e) {
        ASSERT_NE(c.expect, Expect::Works) << e.what();
        expectPointsAt(e, c, dir.files());
    } catch (const GeometryError& e) {
        // Sizes the tables cannot hold show up only while building; the message still points at the data.
        ASSERT_EQ(c.expect, Expect::Error) << e.what();
        expectMessagePointsAt(e.what(), c, dir.files());
    }
}

// Selects the body as a user would: the category's radio button, then a click on the name.
void chooseBody(TMainForm& w, int category, const char* body) {
    QAbstractButton* radio = controls::R1Group(w)->button(itemOfCategory(sectionCategory(category)));
    if (!radio->isChecked()) QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, radio->height() / 2));
    QApplication::processEvents();
    if (!*body) return; // the category's first entry is taken over by the category change
    const auto items = controls::LB1(w)->findItems(QString::fromUtf8(body), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << body;
    controls::LB1(w)->scrollToItem(items.first());
    QTest::mouseClick(controls::LB1(w)->viewport(), Qt::LeftButton, {},
                      controls::LB1(w)->visualItemRect(items.first()).center());
    QApplication::processEvents();
}

// The real window on the damaged folder.
TEST_P(Damage, Window) {
    const Case& c = GetParam();
    if (rootReadsAnyway(c)) GTEST_SKIP() << kRootSkip;
    const DataDir dir(c);
    if (c.expect == Expect::StartFails) {
        // main shows this message in a message box and ends with exit code 1.
        try {
            TMainForm w(dir.path());
            FAIL() << "the window opened on damaged tables";
        } catch (const CatalogueError& e) {
            expectPointsAt(e, c, dir.files());
        }
        return;
    }
    auto w = std::make_unique<TMainForm>(dir.path());
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::qWait(20); // a failed first paint reports after the paint
    const SolidModel before = w->model();
    if (c.startBuilds) {
        ASSERT_TRUE(messages.empty()) << messages.front().toStdString();
        ASSERT_EQ(before.solid.vertices.size(), 8); // the cube
    } else {
        // The window opens all the same; the picture stays empty.
        for (const QString& m : messages)
            EXPECT_TRUE(m.contains(QStringLiteral("(Datei "))) << m.toStdString();
        messages.clear();
    }

    chooseBody(*w, c.category, c.body);
    if (c.expect == Expect::Works) {
        EXPECT_TRUE(messages.empty()) << messages.front().toStdString();
        expectWholeModel(w->model());
        if (*c.body) {
            EXPECT_TRUE(controls::P1Caption(*w)->text().startsWith(QString::fromUtf8(c.body)));
        }
    } else {
        ASSERT_FALSE(messages.empty()) << "no message for the damage";
        for (const QString& m : messages)
            expectMessagePointsAt(m.toStdString(), c, dir.files());
        EXPECT_TRUE(sameModel(w->model(), before)) << "the shown solid changed";
    }

    // Still usable: another body of the first category builds, and the buttons redraw.
    if (c.goodBody) {
        const std::size_t seen = messages.size();
        chooseBody(*w, 0, c.goodBody);
        EXPECT_EQ(messages.size(), seen) << messages.back().toStdString();
        EXPECT_TRUE(controls::P1Caption(*w)->text().startsWith(QString::fromUtf8(c.goodBody)));
        expectWholeModel(w->model());
        EXPECT_FALSE(sameModel(w->model(), before));
    }
    const int builds = w->buildCount();
    QTest::mouseClick(controls::modeButtons(*w)[2], Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseClick(controls::S8(*w), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(w->buildCount(), builds); // a mode change and a zoom only redraw
    EXPECT_TRUE(controls::modeButtons(*w)[2]->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, Damage, testing::ValuesIn(kCases), caseName);

} // namespace
