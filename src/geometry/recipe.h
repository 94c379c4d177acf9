// Recipes of operations: a string of letters read right to left ("tk" is t applied to k of the
// solid), the counts of the result known before anything is built, and the result itself, in
// canonical form or as the operations place it.
#pragma once

#include "canonical.h"
#include "conway.h"
#include "geometryerror.h"
#include "polymesh.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kesmora {

// A recipe that cannot be read. The German text names the offending character and its position
// (counted in characters from 1, left to right); both are kept for the caller as well.
class RecipeError : public GeometryError {
  public:
    RecipeError(const std::string& what, int position, std::string character)
        : GeometryError(what), position_(position), character_(std::move(character)) {}
    int position() const { return position_; }
    const std::string& character() const { return character_; }

  private:
    int position_;
    std::string character_;
};

// A recipe whose result would be larger than the program builds; the German text names the count.
class ResultTooLarge : public GeometryError {
  public:
    using GeometryError::GeometryError;
};

// The most faces a result may have.
inline constexpr long long kMaxResultFaces = 100000;

// Every letter a recipe may hold, in the order the menus and help list them, with its German name.
struct OperatorInfo {
    char letter;
    const char* name;
};
const std::vector<OperatorInfo>& operatorList();

// The operations of a recipe in the order they are applied (the rightmost letter first). Letters
// d a t k j e o g s b m c n z p w; k and t may be followed by a degree of 3 or more ("k5": pyramids
// on the pentagons only). Spaces are not allowed. The empty recipe applies nothing. Throws
// RecipeError.
std::vector<Operation> parseRecipe(std::string_view recipe);

// The same operations as direct ones (isDirectLetter), composed letters written out:
// j = dad, e = aa, o = jj, s = dgd, b = ta, m = kj, n = kd, z = dk.
std::vector<Operation> directOperations(const std::vector<Operation>& operations);

// Counts of a surface: vertices, edges and faces, and how many vertices have each degree and faces
// each number of corners (while these are known: a k or t restricted to a degree loses one of them).
struct MeshCounts {
    long long vertices = 0;
    long long edges = 0;
    long long faces = 0;
    std::map<int, long long> vertexDegrees;
    std::map<int, long long> faceSizes;
    bool degreesKnown = true;
    bool sizesKnown = true;
    // False where a restricted k or t met an unknown distribution and was counted as acting on
    // every face or vertex: the counts are then an upper bound.
    bool exact = true;
};

MeshCounts countsOf(const PolyMesh& mesh);

// The counts after the operations, from the counts alone.
MeshCounts predictCounts(const MeshCounts& counts, const std::vector<Operation>& operations);

// A German refusal naming the number of faces when the counts exceed kMaxResultFaces, else "".
std::string sizeRefusal(const MeshCounts& counts);

struct RecipeOptions {
    bool canonical = true;
    CanonicalOptions canonicalOptions; // its progress is ignored: the recipe's own reports it
    ProgressCallback progress;         // the share of the whole recipe done; false cancels
};

struct RecipeResult {
    PolyMesh mesh;
    MeshCounts counts;       // of the result as built
    bool canonical = false;  // the result is in canonical form
    bool cancelled = false;  // the caller cancelled: mesh is then the seed
    std::string note;        // German, for the user: why the canonical form was not reached; or ""
};

// Applies the recipe to a closed surface. With canonical form the seed is made canonical first,
// every operation's result after it (a d then takes the polar reciprocal about the unit sphere,
// which stays canonical, and a t is found as the canonical dkd); once a canonical form is not reached the rest is built plainly, and the
// result has its faces made planar where that works, with a note saying so. Throws RecipeError,
// ResultTooLarge (before building anything) and OperationRefused.
RecipeResult applyRecipe(const PolyMesh& seed, std::string_view recipe, const RecipeOptions& options = {});

} // namespace kesmora
