#include "johnsonnames.h"

#include <QRegularExpression>

#include <array>

namespace kesmora {

namespace {

struct JohnsonName {
    int number;
    const char* english; // Johnson's own name
    const char* german;  // UTF-8, or null where no German list at hand gives one
};

// The 92 Johnson solids by Johnson's numbering and names (N. W. Johnson, "Convex polyhedra with
// regular faces", Canadian Journal of Mathematics 18, 1966). The German names: J3 to J5 from the
// German Wikipedia's article "Kuppel (Geometrie)" (Dreiecks-, Vierecks- und Fünfeckskuppel); J10,
// J11, J28, J48, J51, J63 and J87 from the pages on the Johnson solids in M. Hebisch's "Mathe-Café" at the
// TU Bergakademie Freiberg (www.mathe.tu-freiberg.de/~hebisch/cafe/Johnson/J<n>.html). The others
// keep the English name until a German one is checked against a published list.
constexpr std::array<JohnsonName, 92> kJohnsonNames{{
    {1, "square pyramid", nullptr},
    {2, "pentagonal pyramid", nullptr},
    {3, "triangular cupola", "Dreieckskuppel"},
    {4, "square cupola", "Viereckskuppel"},
    {5, "pentagonal cupola", "Fünfeckskuppel"},
    {6, "pentagonal rotunda", nullptr},
    {7, "elongated triangular pyramid", nullptr},
    {8, "elongated square pyramid", nullptr},
    {9, "elongated pentagonal pyramid", nullptr},
    {10, "gyroelongated square pyramid", "verdreht-verlängerte quadratische Pyramide"},
    {11, "gyroelongated pentagonal pyramid", "verdreht-verlängerte pentagonale Pyramide"},
    {12, "triangular bipyramid", nullptr},
    {13, "pentagonal bipyramid", nullptr},
    {14, "elongated triangular bipyramid", nullptr},
    {15, "elongated square bipyramid", nullptr},
    {16, "elongated pentagonal bipyramid", nullptr},
    {17, "gyroelongated square bipyramid", nullptr},
    {18, "elongated triangular cupola", nullptr},
    {19, "elongated square cupola", nullptr},
    {20, "elongated pentagonal cupola", nullptr},
    {21, "elongated pentagonal rotunda", nullptr},
    {22, "gyroelongated triangular cupola", nullptr},
    {23, "gyroelongated square cupola", nullptr},
    {24, "gyroelongated pentagonal cupola", nullptr},
    {25, "gyroelongated pentagonal rotunda", nullptr},
    {26, "gyrobifastigium", nullptr},
    {27, "triangular orthobicupola", nullptr},
    {28, "square orthobicupola", "gerade quadratische Doppelkuppel"},
    {29, "square gyrobicupola", nullptr},
    {30, "pentagonal orthobicupola", nullptr},
    {31, "pentagonal gyrobicupola", nullptr},
    {32, "pentagonal orthocupolarotunda", nullptr},
    {33, "pentagonal gyrocupolarotunda", nullptr},
    {34, "pentagonal orthobirotunda", nullptr},
    {35, "elongated triangular orthobicupola", nullptr},
    {36, "elongated triangular gyrobicupola", nullptr},
    {37, "elongated square gyrobicupola", nullptr},
    {38, "elongated pentagonal orthobicupola", nullptr},
    {39, "elongated pentagonal gyrobicupola", nullptr},
    {40, "elongated pentagonal orthocupolarotunda", nullptr},
    {41, "elongated pentagonal gyrocupolarotunda", nullptr},
    {42, "elongated pentagonal orthobirotunda", nullptr},
    {43, "elongated pentagonal gyrobirotunda", nullptr},
    {44, "gyroelongated triangular bicupola", nullptr},
    {45, "gyroelongated square bicupola", nullptr},
    {46, "gyroelongated pentagonal bicupola", nullptr},
    {47, "gyroelongated pentagonal cupolarotunda", nullptr},
    {48, "gyroelongated pentagonal birotunda", "verdreht-verlängerte Doppelrotunde"},
    {49, "augmented triangular prism", nullptr},
    {50, "biaugmented triangular prism", nullptr},
    {51, "triaugmented triangular prism", "dreifach erweitertes dreiseitiges Prisma"},
    {52, "augmented pentagonal prism", nullptr},
    {53, "biaugmented pentagonal prism", nullptr},
    {54, "augmented hexagonal prism", nullptr},
    {55, "parabiaugmented hexagonal prism", nullptr},
    {56, "metabiaugmented hexagonal prism", nullptr},
    {57, "triaugmented hexagonal prism", nullptr},
    {58, "augmented dodecahedron", nullptr},
    {59, "parabiaugmented dodecahedron", nullptr},
    {60, "metabiaugmented dodecahedron", nullptr},
    {61, "triaugmented dodecahedron", nullptr},
    {62, "metabidiminished icosahedron", nullptr},
    {63, "tridiminished icosahedron", "dreifach gekapptes Ikosaeder"},
    {64, "augmented tridiminished icosahedron", nullptr},
    {65, "augmented truncated tetrahedron", nullptr},
    {66, "augmented truncated cube", nullptr},
    {67, "biaugmented truncated cube", nullptr},
    {68, "augmented truncated dodecahedron", nullptr},
    {69, "parabiaugmented truncated dodecahedron", nullptr},
    {70, "metabiaugmented truncated dodecahedron", nullptr},
    {71, "triaugmented truncated dodecahedron", nullptr},
    {72, "gyrate rhombicosidodecahedron", nullptr},
    {73, "parabigyrate rhombicosidodecahedron", nullptr},
    {74, "metabigyrate rhombicosidodecahedron", nullptr},
    {75, "trigyrate rhombicosidodecahedron", nullptr},
    {76, "diminished rhombicosidodecahedron", nullptr},
    {77, "paragyrate diminished rhombicosidodecahedron", nullptr},
    {78, "metagyrate diminished rhombicosidodecahedron", nullptr},
    {79, "bigyrate diminished rhombicosidodecahedron", nullptr},
    {80, "parabidiminished rhombicosidodecahedron", nullptr},
    {81, "metabidiminished rhombicosidodecahedron", nullptr},
    {82, "gyrate bidiminished rhombicosidodecahedron", nullptr},
    {83, "tridiminished rhombicosidodecahedron", nullptr},
    {84, "snub disphenoid", nullptr},
    {85, "snub square antiprism", nullptr},
    {86, "sphenocorona", nullptr},
    {87, "augmented sphenocorona", "erweiterte Sphenokorona"},
    {88, "sphenomegacorona", nullptr},
    {89, "hebesphenomegacorona", nullptr},
    {90, "disphenocingulum", nullptr},
    {91, "bilunabirotunda", nullptr},
    {92, "triangular hebesphenorotunda", nullptr},
}};

} // namespace

QString johnsonStandardName(int number) {
    if (number < 1 || number > static_cast<int>(kJohnsonNames.size())) return {};
    const JohnsonName& j = kJohnsonNames[static_cast<std::size_t>(number - 1)];
    return QStringLiteral("J%1 ").arg(number) + QString::fromUtf8(j.german ? j.german : j.english);
}

int johnsonNumber(const QString& catalogueName) {
    static const QRegularExpression entry(QStringLiteral("^Johnson Polyeder 0*([1-9][0-9]?)$"));
    const QRegularExpressionMatch m = entry.match(catalogueName);
    if (!m.hasMatch()) return 0;
    const int number = m.captured(1).toInt();
    return number <= static_cast<int>(kJohnsonNames.size()) ? number : 0;
}

} // namespace kesmora
