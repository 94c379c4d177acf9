// The fixed-capacity tables of a figure: their count follows every change, and an index outside it
// is refused instead of reading a stale or foreign entry.
#include "geometry/fixedtable.h"
#include "geometry/solidmodel.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace kesmora;

namespace {

TEST(FixedTable, SizeFollowsPushBackResizeAndClear) {
    FixedTable<int, 4> t;
    EXPECT_TRUE(t.empty());
    t.push_back(5);
    t.push_back(6);
    EXPECT_EQ(t.size(), 2);
    EXPECT_EQ(t[1], 6);
    t.resize(4);
    EXPECT_EQ(t.size(), 4);
    EXPECT_EQ(t[3], 0); // a fresh entry, not what an earlier fill left there
    t.resize(1);
    EXPECT_EQ(t.size(), 1);
    t.resize(2);
    EXPECT_EQ(t[1], 0);
    int sum = 0;
    for (int v : t)
        sum += v;
    EXPECT_EQ(sum, 5);
    t.clear();
    EXPECT_EQ(t.size(), 0);
    EXPECT_EQ(t.begin(), t.end());
}

TEST(FixedTable, IndicesAndSizesOutsideTheTableAreRefused) {
    FixedTable<std::string, 3> t;
    EXPECT_THROW(t[0], std::out_of_range);
    t.push_back("a");
    EXPECT_NO_THROW(t[0]);
    EXPECT_THROW(t[1], std::out_of_range); // within the capacity, beyond the count
    EXPECT_THROW(t[-1], std::out_of_range);
    const FixedTable<std::string, 3>& view = t;
    EXPECT_THROW(view[3], std::out_of_range);

    EXPECT_THROW(t.resize(4), std::out_of_range);
    EXPECT_THROW(t.resize(-1), std::out_of_range);
    EXPECT_EQ(t.size(), 1); // a refused size leaves the table as it was
    t.push_back("b");
    t.push_back("c");
    EXPECT_THROW(t.push_back("d"), std::out_of_range);
    EXPECT_EQ(t.size(), 3);
    EXPECT_EQ(t[2], "c");
}

// The model's figures are its solid and its dual, in that order, so loops over both read each one.
TEST(FixedTable, ModelFiguresAreTheSolidAndTheDual) {
    SolidModel m;
    m.solid.vertices.push_back({1, 2, 3});
    m.dual.faces.push_back("012");
    const auto figures = m.figures();
    EXPECT_EQ(figures[0], &m.solid);
    EXPECT_EQ(figures[1], &m.dual);
    EXPECT_EQ(figures[0]->vertices.size(), 1);
    EXPECT_EQ(figures[1]->faces.size(), 1);
    EXPECT_THROW(m.solid.vertices[kMaxVertices - 1], std::out_of_range);
}

} // namespace
