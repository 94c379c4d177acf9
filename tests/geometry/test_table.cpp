// The growable tables of a figure: their count follows every change, an index outside it is refused
// instead of reading a stale or foreign entry, and the face list keeps every face's corners apart.
#include "geometry/solidmodel.h"
#include "geometry/table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

std::vector<std::vector<int>> plain(const FaceList& faces) {
    std::vector<std::vector<int>> out;
    for (const FaceView face : faces)
        out.push_back(face.toVector());
    return out;
}

TEST(CheckedTable, SizeFollowsPushBackResizeAndClearAndIndicesBeyondItAreRefused) {
    CheckedTable<std::string> t;
    EXPECT_TRUE(t.empty());
    EXPECT_THROW(t[0], std::out_of_range);
    t.push_back("a");
    t.push_back("b");
    EXPECT_EQ(t.size(), 2);
    EXPECT_EQ(t[1], "b");
    EXPECT_THROW(t[2], std::out_of_range);
    EXPECT_THROW(t[-1], std::out_of_range);
    t.resize(1);
    t.resize(3);
    EXPECT_EQ(t[1], ""); // a fresh entry, not what an earlier fill left there
    EXPECT_THROW(t.resize(-1), std::out_of_range);
    EXPECT_EQ(t.size(), 3);
    for (int i = 0; i < 1000; ++i) // far beyond any fixed capacity the tables once had
        t.push_back(std::to_string(i));
    EXPECT_EQ(t[1002], "999");
    t.clear();
    EXPECT_EQ(t.begin(), t.end());
}

TEST(FaceList, FacesKeepTheirCornersThroughReplaceResizeAndWritesAndWrongIndicesAreRefused) {
    FaceList f;
    EXPECT_TRUE(f.empty());
    EXPECT_THROW(f[0], std::out_of_range);
    f.push_back({0, 1, 2});
    f.push_back({2, 3, 4, 5});
    f.push_back({5, 6, 7});
    EXPECT_EQ(f.size(), 3);
    EXPECT_EQ(f.indexCount(), 10);
    EXPECT_EQ(f.longestFace(), 4);
    EXPECT_EQ(f[1][3], 5);
    EXPECT_THROW(f[1][4], std::out_of_range); // the next face's first corner is not this face's
    EXPECT_THROW(f[1][-1], std::out_of_range);
    EXPECT_THROW(f[3], std::out_of_range);

    f.replace(1, {9, 8}); // shorter: the faces after it move up
    EXPECT_EQ(plain(f), (std::vector<std::vector<int>>{{0, 1, 2}, {9, 8}, {5, 6, 7}}));
    f.replace(0, {1, 2, 3, 4, 5}); // longer
    EXPECT_EQ(plain(f), (std::vector<std::vector<int>>{{1, 2, 3, 4, 5}, {9, 8}, {5, 6, 7}}));
    const std::span<int> last = f.writable(2);
    std::reverse(last.begin(), last.end());
    EXPECT_EQ(f[2].toVector(), (std::vector<int>{7, 6, 5}));
    EXPECT_EQ(f[0].front(), 1);
    EXPECT_EQ(f[0].back(), 5);

    // A face of the list itself pushed again or put in place of another, however the list grows.
    for (int k = 0; k < 50; ++k)
        f.push_back(f[0]);
    f.replace(1, f[0].span());
    EXPECT_EQ(f[52].toVector(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(f[1].toVector(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(f[2].toVector(), (std::vector<int>{7, 6, 5}));

    f.resize(1);
    EXPECT_EQ(plain(f), (std::vector<std::vector<int>>{{1, 2, 3, 4, 5}}));
    EXPECT_EQ(f.indexCount(), 5);
    f.resize(3); // new faces are empty
    EXPECT_TRUE(f[2].empty());
    f.push_back({4, 4, 4});
    EXPECT_EQ(f[3].size(), 3);
    f.clear();
    EXPECT_EQ(f.size(), 0);
    EXPECT_EQ(f.indexCount(), 0);
}

TEST(Figure, AddFaceFillsTheFaceAndItsRecordTogether) {
    Figure fig;
    for (const Point3D p : {Point3D{0, 0, 0}, Point3D{3, 0, 0}, Point3D{0, 3, 0}, Point3D{0, 0, 3}})
        fig.vertices.push_back(p);
    for (int k = 0; k < 25; ++k)
        fig.addFace({k % 4, (k + 1) % 4, (k + 2) % 4});
    EXPECT_EQ(fig.faces.size(), 25);
    EXPECT_EQ(fig.faceRecords.size(), 25);
    EXPECT_EQ(fig.faceRecords[0].colour, 1);
    EXPECT_EQ(fig.faceRecords[22].colour, 23);
    EXPECT_EQ(fig.faceRecords[23].colour, 1); // the colours repeat after 23 faces
    EXPECT_EQ(fig.faceRecords[1].centroid.x, 1.0);
    EXPECT_EQ(fig.faceRecords[1].centroid.y, 1.0);
    EXPECT_EQ(fig.faceRecords[1].centroid.z, 1.0);
    // A corner that is not loaded is refused, and the tables stay in step.
    EXPECT_THROW(fig.addFace({0, 1, 4}), std::out_of_range);
    EXPECT_EQ(fig.faces.size(), 25);
    EXPECT_EQ(fig.faceRecords.size(), 25);
}

// The model's figures are its solid and its dual, in that order, so loops over both read each one.
TEST(Figure, ModelFiguresAreTheSolidAndTheDual) {
    SolidModel m;
    m.solid.vertices.push_back({1, 2, 3});
    m.dual.faces.push_back({0, 1, 2});
    const auto figures = m.figures();
    EXPECT_EQ(figures[0], &m.solid);
    EXPECT_EQ(figures[1], &m.dual);
    EXPECT_EQ(figures[0]->vertices.size(), 1);
    EXPECT_EQ(figures[1]->faces.size(), 1);
    EXPECT_THROW(m.solid.vertices[1], std::out_of_range);
}

} // namespace
