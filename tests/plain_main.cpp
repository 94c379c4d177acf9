// main() of the test programs without a window. The programs take the locale from the
// environment (their Qt application object sets it), so the tests do too: the suite also runs
// under the German locale, where printf and strtod would use a decimal comma.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
