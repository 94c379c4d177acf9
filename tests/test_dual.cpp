#include "geometry/dual.h"

#include <gtest/gtest.h>

TEST(Dual, Placeholder) { SUCCEED(); }
