// Reading OFF and OBJ files line by line, so that every message can name its line.
#include "polyhedronfile.h"

#include "catalogue/latin1.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <optional>

namespace kesmora {

namespace {

std::string compose(const std::string& file, int line, const std::string& what) {
    std::string s = what + " (Datei " + file;
    if (line > 0) s += ", Zeile " + std::to_string(line);
    return s + ")";
}

// A line with its comment cut off, split at blanks and tabs; lines with no word are left out.
struct Line {
    int number = 0;
    std::vector<std::string_view> words;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Lines end with LF, CRLF or a lone CR; '#' starts a comment in both formats.
std::vector<Line> meaningfulLines(std::string_view text) {
    std::vector<Line> lines;
    int number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        ++number;
        std::size_t end = at;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        std::string_view content = text.substr(at, end - at);
        if (const std::size_t hash = content.find('#'); hash != std::string_view::npos)
            content = content.substr(0, hash);
        Line line{number, {}};
        std::size_t i = 0;
        while (i < content.size()) {
            while (i < content.size() && isBlank(content[i]))
                ++i;
            const std::size_t start = i;
            while (i < content.size() && !isBlank(content[i]))
                ++i;
            if (i > start) line.words.push_back(content.substr(start, i - start));
        }
        if (!line.words.empty()) lines.push_back(std::move(line));
        at = end;
        if (at < text.size() && text[at] == '\r') {
            ++at;
            if (at < text.size() && text[at] == '\n') ++at;
        } else if (at < text.size()) {
            ++at; // the LF
        }
    }
    return lines;
}

// The word as it may appear in a message: invisible bytes would confuse more than help.
std::string shown(std::string_view bytes) {
    // A file written in Latin-1 shows its umlauts as such.
    const std::string text = utf8OrLatin1(bytes);
    const std::string_view word = text;
    constexpr std::size_t kLongest = 40;
    std::size_t cut = std::min(word.size(), kLongest);
    // Not inside a UTF-8 character.
    while (cut < word.size() && cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80)
        --cut;
    std::string s;
    for (char c : word.substr(0, cut)) {
        const auto u = static_cast<unsigned char>(c);
        s += (u < 0x20 || u == 0x7F) ? '?' : c;
    }
    if (cut < word.size()) s += "…";
    return "„" + s + "“";
}

class Reader {
  public:
    Reader(std::string_view text, const std::string& name) : text_(text), name_(name) {}

    PolyhedronFile read() {
        result_.name = name_;
        if (text_.empty()) fail(0, "Die Datei ist leer");
        // A byte-order mark from an editor is no part of the first word.
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
        lines_ = meaningfulLines(text_);
        if (lines_.empty()) fail(0, "Die Datei enthält nur Leerzeilen und Kommentare, keinen Körper");
        const std::string_view first = lines_.front().words.front();
        if (first.size() >= 3 && first.substr(first.size() - 3) == "OFF")
            readOff();
        else if (endsWithOff(name_))
            fail(lines_.front().number,
                 "Die Datei beginnt nicht mit der Kopfzeile „OFF“; sie ist keine OFF-Datei");
        else
            readObj();
        return std::move(result_);
    }

  private:
    [[noreturn]] void fail(int line, const std::string& what) const {
        throw PolyhedronFileError(name_, line, what);
    }

    static bool endsWithOff(const std::string& name) {
        if (name.size() < 4) return false;
        std::string suffix = name.substr(name.size() - 4);
        for (char& c : suffix)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return suffix == ".off";
    }

    // A sign may stand once, before the digits: "+-1.0" or "++1" is no number.
    static std::string_view withoutPlus(std::string_view word) {
        if (word.size() > 1 && word.front() == '+' && word[1] != '+' && word[1] != '-') word.remove_prefix(1);
        return word;
    }

    double number(const Line& line, std::string_view word) const {
        const std::string_view digits = withoutPlus(word);
        double value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        const bool whole = end == digits.data() + digits.size() && !digits.empty();
        if (ec == std::errc::result_out_of_range && whole) {
            // Below the smallest subnormal is zero; beyond the largest double is no finite number.
            const std::size_t e = digits.find_first_of("eE");
            if (e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-') return 0.0;
            fail(line.number, "Die Zahl " + shown(word) + " ist keine endliche Zahl");
        }
        if (ec != std::errc{} || !whole) fail(line.number, shown(word) + " ist keine Zahl");
        if (!std::isfinite(value)) fail(line.number, "Die Zahl " + shown(word) + " ist keine endliche Zahl");
        return value;
    }

    long long integer(const Line& line, std::string_view word, const char* what) const {
        const std::string_view digits = withoutPlus(word);
        long long value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc{} || end != digits.data() + digits.size() || digits.empty())
            fail(line.number, std::string(what) + " " + shown(word) + " ist keine ganze Zahl");
        return value;
    }

    Point3D point(const Line& line, std::size_t from) const {
        if (line.words.size() < from + 3)
            fail(line.number, "Eine Ecke braucht drei Koordinaten; die Zeile hat nur " +
                                  std::to_string(line.words.size() - from));
        return {number(line, line.words[from]), number(line, line.words[from + 1]),
                number(line, line.words[from + 2])};
    }

    void addVertex(const Line& line, const Point3D& p) {
        if (static_cast<int>(result_.vertices.size()) >= kMaxFileVertices)
            fail(line.number, "Die Datei hat mehr als " + std::to_string(kMaxFileVertices) +
                                  " Ecken; so viele kann das Programm nicht zeichnen");
        result_.vertices.push_back(p);
        result_.vertexLines.push_back(line.number);
    }

    void addFace(const Line& line, std::vector<int> face) {
        if (static_cast<int>(result_.faces.size()) >= kMaxFileFaces)
            fail(line.number, "Die Datei hat mehr als " + std::to_string(kMaxFileFaces) +
                                  " Flächen; so viele kann das Programm nicht zeichnen");
        if (face.size() < 3)
            fail(line.number,
                 "Eine Fläche braucht mindestens drei Ecken; diese hat " + std::to_string(face.size()));
        result_.faces.push_back(std::move(face));
        result_.faceLines.push_back(line.number);
    }

    // "OFF", possibly with letters before it for colours, normals or texture coordinates after
    // each vertex (which are left aside), then the counts (on the same line or the next), the
    // vertices and the faces "n i0 ... in-1", each face possibly followed by a colour.
    void readOff() {
        const Line& header = lines_.front();
        const std::string_view kind = header.words.front();
        for (char c : kind.substr(0, kind.size() - 3))
            if (c != 'S' && c != 'T' && c != 'C' && c != 'N')
                fail(header.number, "Eine OFF-Datei der Art " + shown(kind) +
                                        " kann das Programm nicht lesen; es liest Körper im Raum (OFF)");
        std::size_t next = 1;
        const Line* counts = &header;
        std::size_t countFrom = 1;
        if (header.words.size() > 1 && header.words[1] == "BINARY")
            fail(header.number, "Binäre OFF-Dateien kann das Programm nicht lesen; nur OFF als Text");
        if (header.words.size() == 1) {
            if (lines_.size() < 2)
                fail(header.number, "Nach der Kopfzeile „OFF“ fehlen die Anzahlen der Ecken und Flächen");
            counts = &lines_[1];
            countFrom = 0;
            next = 2;
        }
        const std::size_t given = counts->words.size() - countFrom;
        if (given < 2 || given > 3)
            fail(counts->number,
                 "Die Zeile soll die Anzahlen der Ecken, Flächen und Kanten nennen, nennt aber " +
                     std::to_string(given) + " Werte");
        const long long vertexCount = integer(*counts, counts->words[countFrom], "Die Anzahl der Ecken");
        const long long faceCount = integer(*counts, counts->words[countFrom + 1], "Die Anzahl der Flächen");
        if (given == 3) integer(*counts, counts->words[countFrom + 2], "Die Anzahl der Kanten");
        if (vertexCount < 0 || faceCount < 0) fail(counts->number, "Eine Anzahl ist negativ");
        if (vertexCount > kMaxFileVertices)
            fail(counts->number, "Die Datei hat " + std::to_string(vertexCount) +
                                     " Ecken; das Programm zeichnet höchstens " +
                                     std::to_string(kMaxFileVertices));
        if (faceCount > kMaxFileFaces)
            fail(counts->number, "Die Datei hat " + std::to_string(faceCount) +
                                     " Flächen; das Programm zeichnet höchstens " +
                                     std::to_string(kMaxFileFaces));

        for (long long i = 0; i < vertexCount; ++i, ++next) {
            if (next >= lines_.size())
                fail(counts->number, "Die Datei endet nach " + std::to_string(i) + " der " +
                                         std::to_string(vertexCount) + " Ecken, die sie ankündigt");
            addVertex(lines_[next], point(lines_[next], 0));
        }
        for (long long i = 0; i < faceCount; ++i, ++next) {
            if (next >= lines_.size())
                fail(counts->number, "Die Datei endet nach " + std::to_string(i) + " der " +
                                         std::to_string(faceCount) + " Flächen, die sie ankündigt");
            const Line& line = lines_[next];
            const long long n = integer(line, line.words[0], "Die Eckenzahl der Fläche");
            if (n < 3)
                fail(line.number,
                     "Eine Fläche braucht mindestens drei Ecken; diese hat " + std::to_string(n));
            if (static_cast<long long>(line.words.size()) - 1 < n)
                fail(line.number, "Die Fläche soll " + std::to_string(n) +
                                      " Ecken haben, die Zeile nennt aber nur " +
                                      std::to_string(line.words.size() - 1));
            std::vector<int> face;
            for (long long k = 1; k <= n; ++k) {
                const long long v = integer(line, line.words[static_cast<std::size_t>(k)], "Die Ecke");
                if (v < 0 || v >= vertexCount)
                    fail(line.number, "Die Fläche nennt die Ecke " + std::to_string(v) +
                                          "; die Datei hat nur die Ecken 0 bis " +
                                          std::to_string(vertexCount - 1));
                face.push_back(static_cast<int>(v));
            }
            addFace(line, std::move(face)); // what follows the corners is the face's colour
        }
        if (next < lines_.size())
            fail(lines_[next].number,
                 "Nach den " + std::to_string(faceCount) +
                     " Flächen, die die Datei ankündigt, folgt noch eine Zeile; die Anzahlen stimmen nicht");
    }

    // "v x y z" and "f a b c ..." with corners written "a", "a/t", "a//n" or "a/t/n", counted
    // from 1, or from the end of the vertices read so far when negative; other lines are left aside.
    void readObj() {
        result_.firstNumber = 1;
        std::vector<std::pair<const Line*, std::vector<long long>>>
            pending; // faces, checked once all vertices are known
        for (const Line& line : lines_) {
            const std::string_view key = line.words.front();
            if (key == "v") {
                addVertex(line, point(line, 1));
            } else if (key == "f") {
                std::vector<long long> corners;
                for (std::size_t k = 1; k < line.words.size(); ++k) {
                    const std::string_view word = line.words[k];
                    const long long i = integer(line, word.substr(0, word.find('/')), "Die Ecke");
                    if (i == 0) fail(line.number, "Die Fläche nennt die Ecke 0; Ecken werden ab 1 gezählt");
                    const long long size = static_cast<long long>(result_.vertices.size());
                    if (i < 0 && -i > size)
                        fail(line.number, "Die Fläche nennt die Ecke " + std::to_string(i) +
                                              "; bis hier hat die Datei nur " + std::to_string(size) +
                                              " Ecken");
                    corners.push_back(i < 0 ? size + i : i - 1);
                }
                if (corners.size() < 3)
                    fail(line.number, "Eine Fläche braucht mindestens drei Ecken; diese hat " +
                                          std::to_string(corners.size()));
                pending.emplace_back(&line, std::move(corners));
            }
        }
        if (result_.vertices.empty() && pending.empty())
            fail(0, "Die Datei ist keine Polyederdatei: sie hat weder die Kopfzeile „OFF“ noch Zeilen „v“ "
                    "und „f“ "
                    "einer OBJ-Datei");
        if (pending.empty()) fail(0, "Die Datei nennt Ecken, aber keine Flächen (Zeilen „f“)");
        if (pending.size() > static_cast<std::size_t>(kMaxFileFaces))
            fail(pending[static_cast<std::size_t>(kMaxFileFaces)].first->number,
                 "Die Datei hat " + std::to_string(pending.size()) + " Flächen; das Programm zeichnet höchstens " +
                     std::to_string(kMaxFileFaces));
        const long long size = static_cast<long long>(result_.vertices.size());
        for (const auto& [line, corners] : pending) {
            std::vector<int> face;
            for (long long v : corners) {
                if (v >= size)
                    fail(line->number, "Die Fläche nennt die Ecke " + std::to_string(v + 1) +
                                           "; die Datei hat nur " + std::to_string(size) + " Ecken");
                face.push_back(static_cast<int>(v));
            }
            addFace(*line, std::move(face));
        }
    }

    std::string_view text_;
    std::string name_;
    std::vector<Line> lines_;
    PolyhedronFile result_;
};

} // namespace

PolyhedronFileError::PolyhedronFileError(const std::string& file, int line, const std::string& what)
    : std::runtime_error(compose(file, line, what)), file_(file), line_(line), reason_(what) {}

PolyhedronFile parsePolyhedronText(std::string_view text, const std::string& name) {
    return Reader(text, name).read();
}

PolyhedronFile readPolyhedronFile(const QString& path) {
    return readPolyhedronFile(QFile::encodeName(path));
}

PolyhedronFile readPolyhedronFile(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray bytes = slash < 0 ? path : path.mid(slash + 1);
    const std::string name = escapedForDisplay(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    auto fail = [&](const std::string& what) { throw PolyhedronFileError(name, 0, what); };
    // By the name's bytes, which need not be UTF-8: a path made a QString could not be found again.
    struct stat before {};
    if (::stat(path.constData(), &before) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) fail("Die Datei gibt es nicht");
        fail("Die Datei kann nicht gelesen werden");
    }
    if (S_ISDIR(before.st_mode)) fail("Das ist ein Ordner, keine Datei");
    // A pipe or a device could keep the read waiting or never end.
    if (!S_ISREG(before.st_mode)) fail("Das ist keine gewöhnliche Datei");
    const auto tooLarge = [&](long long bytes, bool atLeast) {
        fail("Die Datei ist größer als " + std::to_string(kMaxPolyhedronFileBytes / (1024 * 1024)) + " MB (sie hat " +
             (atLeast ? "mindestens " : "") + std::to_string(bytes) +
             " Bytes); so große Polyederdateien liest das Programm nicht");
    };
    if (before.st_size > kMaxPolyhedronFileBytes) tooLarge(static_cast<long long>(before.st_size), false);
    // Non-blocking, and checked again once open: the name may have been given to a pipe meanwhile.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat opened {};
    if (fd < 0) fail("Die Datei kann nicht gelesen werden");
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        fail("Die Datei kann nicht gelesen werden");
    }
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) fail("Das ist keine gewöhnliche Datei");
    // No more than the limit and one byte, whatever the file has grown to since.
    const QByteArray text = file.read(kMaxPolyhedronFileBytes + 1);
    if (file.error() != QFileDevice::NoError) fail("Die Datei kann nicht gelesen werden");
    if (text.size() > kMaxPolyhedronFileBytes) tooLarge(static_cast<long long>(text.size()), true);
    return parsePolyhedronText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), name);
}

} // namespace kesmora
