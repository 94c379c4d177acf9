// Reading recipes, counting their results and building them.
#include "recipe.h"

#include <algorithm>
#include <string>

namespace kesmora {

const std::vector<OperatorInfo>& operatorList() {
    static const std::vector<OperatorInfo> list = {
        {'d', "Dualer Körper"},       {'a', "Kantenmitten"},    {'t', "Abstumpfen"},
        {'k', "Pyramiden aufsetzen"}, {'j', "Verbinden"},       {'e', "Expandieren"},
        {'o', "Ortho"},               {'g', "Gyro"},            {'s', "Abschrägen"},
        {'b', "Abkanten"},            {'m', "Meta"},            {'c', "Anfasen"},
        {'n', "Nadel"},               {'z', "Reißverschluss"},  {'p', "Propeller"},
        {'w', "Wirbel"},
    };
    return list;
}

namespace {

bool isLetter(char c) {
    const auto& list = operatorList();
    return std::any_of(list.begin(), list.end(), [c](const OperatorInfo& o) { return o.letter == c; });
}

// The length in bytes of the UTF-8 character starting at s[i] (1 for a broken one).
std::size_t characterLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    n = std::min(n, s.size() - i);
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return n;
}

[[noreturn]] void refuse(std::string_view recipe, std::size_t byte, int position, const std::string& why) {
    const std::string character(recipe.substr(byte, characterLength(recipe, byte)));
    const std::string shown = character == " " ? "Leerzeichen" : "»" + character + "«";
    throw RecipeError("Rezept „" + std::string(recipe) + "“: " + shown + " an Stelle " + std::to_string(position) +
                          " " + why,
                      position, character);
}

void add(std::map<int, long long>& to, const std::map<int, long long>& from, int factor = 1) {
    for (const auto& [key, count] : from)
        to[key * factor] += count;
}

long long countOf(const std::map<int, long long>& m, int key) {
    const auto it = m.find(key);
    return it == m.end() ? 0 : it->second;
}

std::string grouped(long long n) {
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    return out;
}

} // namespace

std::vector<Operation> parseRecipe(std::string_view recipe) {
    std::vector<Operation> written;
    std::size_t i = 0;
    int position = 0;
    while (i < recipe.size()) {
        ++position;
        const char c = recipe[i];
        if (!isLetter(c)) {
            if (c >= '0' && c <= '9')
                refuse(recipe, i, position, "ist eine Zahl ohne k oder t davor (nur k und t nehmen einen Grad).");
            refuse(recipe, i, position, "ist keine Operation (erlaubt: d a t k j e o g s b m c n z p w).");
        }
        Operation op{c, 0};
        ++i;
        const std::size_t digitsAt = i;
        const int degreePosition = position + 1;
        while (i < recipe.size() && recipe[i] >= '0' && recipe[i] <= '9') {
            if (c != 'k' && c != 't')
                refuse(recipe, i, position + 1, "folgt auf »" + std::string(1, c) + "«; nur k und t nehmen einen Grad.");
            if (op.degree > 1000) refuse(recipe, i, position + 1, "macht den Grad zu groß.");
            op.degree = op.degree * 10 + (recipe[i] - '0');
            ++i;
            ++position;
        }
        if (i > digitsAt && op.degree < 3)
            refuse(recipe, digitsAt, degreePosition, "ist kein Grad: Ecken und Flächen haben mindestens den Grad 3.");
        written.push_back(op);
    }
    std::reverse(written.begin(), written.end());
    return written;
}

std::vector<Operation> directOperations(const std::vector<Operation>& operations) {
    std::vector<Operation> out;
    for (const Operation& op : operations) {
        // Written as recipes, read right to left.
        std::string_view expansion;
        switch (op.letter) {
        case 'j': expansion = "dad"; break;
        case 'e': expansion = "aa"; break;
        case 'o': expansion = "daddad"; break;
        case 's': expansion = "dgd"; break;
        case 'b': expansion = "ta"; break;
        case 'm': expansion = "kdad"; break;
        case 'n': expansion = "kd"; break;
        case 'z': expansion = "dk"; break;
        default: out.push_back(op); continue;
        }
        for (auto it = expansion.rbegin(); it != expansion.rend(); ++it)
            out.push_back({*it, 0});
    }
    return out;
}

MeshCounts countsOf(const PolyMesh& mesh) {
    MeshCounts c;
    c.vertices = static_cast<long long>(mesh.vertices.size());
    c.faces = static_cast<long long>(mesh.faces.size());
    std::vector<long long> degree(mesh.vertices.size());
    long long sides = 0;
    for (const auto& face : mesh.faces) {
        ++c.faceSizes[static_cast<int>(face.size())];
        sides += static_cast<long long>(face.size());
        for (int v : face)
            if (v >= 0 && static_cast<std::size_t>(v) < degree.size()) ++degree[static_cast<std::size_t>(v)];
    }
    // On a closed surface a vertex has as many edges as faces.
    for (long long d : degree)
        ++c.vertexDegrees[static_cast<int>(d)];
    c.edges = sides / 2;
    return c;
}

namespace {

MeshCounts afterDirect(const MeshCounts& c, const Operation& op) {
    const long long V = c.vertices, E = c.edges, F = c.faces;
    MeshCounts n;
    n.exact = c.exact;
    switch (op.letter) {
    case 'd':
        n.vertices = F, n.edges = E, n.faces = V;
        n.vertexDegrees = c.faceSizes;
        n.faceSizes = c.vertexDegrees;
        n.degreesKnown = c.sizesKnown, n.sizesKnown = c.degreesKnown;
        return n;
    case 'a':
        n.vertices = E, n.edges = 2 * E, n.faces = V + F;
        n.vertexDegrees[4] = E;
        add(n.faceSizes, c.faceSizes);
        add(n.faceSizes, c.vertexDegrees);
        n.sizesKnown = c.sizesKnown && c.degreesKnown;
        return n;
    case 'g':
        n.vertices = V + 2 * E + F, n.edges = 5 * E, n.faces = 2 * E;
        add(n.vertexDegrees, c.vertexDegrees);
        add(n.vertexDegrees, c.faceSizes);
        n.vertexDegrees[3] += 2 * E;
        n.faceSizes[5] = 2 * E;
        n.degreesKnown = c.degreesKnown && c.sizesKnown;
        return n;
    case 'c':
        n.vertices = V + 2 * E, n.edges = 4 * E, n.faces = F + E;
        n.vertexDegrees = c.vertexDegrees;
        n.vertexDegrees[3] += 2 * E;
        n.faceSizes = c.faceSizes;
        n.faceSizes[6] += E;
        n.degreesKnown = c.degreesKnown, n.sizesKnown = c.sizesKnown;
        return n;
    case 'p':
        n.vertices = V + 2 * E, n.edges = 5 * E, n.faces = F + 2 * E;
        n.vertexDegrees = c.vertexDegrees;
        n.vertexDegrees[4] += 2 * E;
        n.faceSizes = c.faceSizes;
        n.faceSizes[4] += 2 * E;
        n.degreesKnown = c.degreesKnown, n.sizesKnown = c.sizesKnown;
        return n;
    case 'w':
        n.vertices = V + 4 * E, n.edges = 7 * E, n.faces = F + 2 * E;
        n.vertexDegrees = c.vertexDegrees;
        n.vertexDegrees[3] += 4 * E;
        n.faceSizes = c.faceSizes;
        n.faceSizes[6] += 2 * E;
        n.degreesKnown = c.degreesKnown, n.sizesKnown = c.sizesKnown;
        return n;
    default: break;
    }
    if (op.letter == 'k') {
        const bool all = op.degree == 0 || (c.sizesKnown && countOf(c.faceSizes, op.degree) == F);
        if (all) {
            n.vertices = V + F, n.edges = 3 * E, n.faces = 2 * E;
            add(n.vertexDegrees, c.vertexDegrees, 2);
            add(n.vertexDegrees, c.faceSizes);
            n.faceSizes[3] = 2 * E;
            n.degreesKnown = c.degreesKnown && c.sizesKnown;
            return n;
        }
        if (!c.sizesKnown) {
            // Counted as acting on every face: an upper bound.
            n = afterDirect(c, {'k', 0});
            n.exact = false;
            return n;
        }
        const long long N = op.degree, FN = countOf(c.faceSizes, op.degree);
        n.vertices = V + FN, n.edges = E + N * FN, n.faces = F + (N - 1) * FN;
        n.faceSizes = c.faceSizes;
        n.faceSizes.erase(op.degree);
        if (FN > 0) n.faceSizes[3] += N * FN;
        n.vertexDegrees = c.vertexDegrees;
        n.degreesKnown = c.degreesKnown && FN == 0;
        return n;
    }
    if (op.letter == 't') {
        const bool all = op.degree == 0 || (c.degreesKnown && countOf(c.vertexDegrees, op.degree) == V);
        if (all) {
            n.vertices = 2 * E, n.edges = 3 * E, n.faces = V + F;
            n.vertexDegrees[3] = 2 * E;
            add(n.faceSizes, c.faceSizes, 2);
            add(n.faceSizes, c.vertexDegrees);
            n.sizesKnown = c.sizesKnown && c.degreesKnown;
            return n;
        }
        if (!c.degreesKnown) {
            n = afterDirect(c, {'t', 0});
            n.exact = false;
            return n;
        }
        const long long N = op.degree, VN = countOf(c.vertexDegrees, op.degree);
        n.vertices = V + (N - 1) * VN, n.edges = E + N * VN, n.faces = F + VN;
        n.vertexDegrees = c.vertexDegrees;
        n.vertexDegrees.erase(op.degree);
        if (VN > 0) n.vertexDegrees[3] += N * VN;
        n.faceSizes = c.faceSizes;
        if (VN > 0) n.faceSizes[op.degree] += VN;
        n.sizesKnown = c.sizesKnown && VN == 0;
        return n;
    }
    return c;
}

} // namespace

MeshCounts predictCounts(const MeshCounts& counts, const std::vector<Operation>& operations) {
    MeshCounts c = counts;
    for (const Operation& op : directOperations(operations)) {
        c = afterDirect(c, op);
        if (!c.degreesKnown) c.vertexDegrees.clear();
        if (!c.sizesKnown) c.faceSizes.clear();
    }
    return c;
}

std::string sizeRefusal(const MeshCounts& counts) {
    if (counts.faces <= kMaxResultFaces) return {};
    return "Das Ergebnis hätte " + std::string(counts.exact ? "" : "bis zu ") + grouped(counts.faces) +
           " Flächen; mehr als " + grouped(kMaxResultFaces) + " Flächen werden nicht gebaut.";
}

RecipeResult applyRecipe(const PolyMesh& seed, std::string_view recipe, const RecipeOptions& options) {
    const std::vector<Operation> written = parseRecipe(recipe);
    const PolyMesh prepared = preparedSeed(seed);
    const std::string refusal = sizeRefusal(predictCounts(countsOf(prepared), written));
    if (!refusal.empty()) throw ResultTooLarge(refusal);
    const std::vector<Operation> steps = directOperations(written);

    RecipeResult result;
    result.mesh = prepared;
    // Each operation (with its canonical form) is one share of the work, the seed's canonical form
    // one more.
    const double total = options.canonical ? static_cast<double>(steps.size()) + 1 : static_cast<double>(steps.size());
    double done = 0;
    bool cancelled = false;
    auto canonicalise = [&](PolyMesh& mesh) {
        CanonicalOptions co = options.canonicalOptions;
        co.progress = [&](double share) {
            if (options.progress && !options.progress(std::min(1.0, (done + share) / std::max(total, 1.0)))) {
                cancelled = true;
                return false;
            }
            return true;
        };
        CanonicalResult c = canonicalForm(mesh, co);
        mesh = std::move(c.mesh);
        done += 1;
        if (c.converged) return true;
        if (!cancelled)
            result.note = "Die kanonische Form wurde nach " + std::to_string(c.steps) +
                          " Schritten nicht erreicht; der Körper ist so gezeigt, wie die Operationen ihn "
                          "bauen, die Flächen so eben wie möglich.";
        return false;
    };

    bool canonical = options.canonical && canonicalise(result.mesh);
    for (const Operation& op : steps) {
        if (cancelled) break;
        if (options.progress && !options.progress(std::min(1.0, done / std::max(total, 1.0)))) {
            cancelled = true;
            break;
        }
        if (canonical && op.letter == 'd') {
            result.mesh = canonicalDual(result.mesh);
            done += 1;
            continue;
        }
        if (canonical && op.letter == 't') {
            // Truncation is dkd: the canonical form is found for the kis of the canonical dual,
            // which starts much nearer to it than the cut corners do.
            PolyMesh kissed = applyDirect(canonicalDual(result.mesh), {'k', op.degree}, true);
            if (canonicalise(kissed)) {
                result.mesh = canonicalDual(kissed);
            } else {
                result.mesh = applyDirect(result.mesh, op);
                canonical = false;
            }
            continue;
        }
        result.mesh = applyDirect(result.mesh, op, canonical);
        if (canonical) {
            canonical = canonicalise(result.mesh);
        } else {
            done += 1;
        }
    }
    if (options.canonical && !canonical && !cancelled) result.mesh = planarised(result.mesh);
    if (cancelled) {
        result = RecipeResult{};
        result.mesh = prepared;
        result.cancelled = true;
    }
    result.canonical = canonical && !cancelled;
    result.counts = countsOf(result.mesh);
    return result;
}

} // namespace kesmora
