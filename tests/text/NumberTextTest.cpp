#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TextTestSupport.h"
#include "text/TextOps.h"

namespace tarvolin {
namespace {

using testing::B;

TEST(TextToInt, ReadsDecimalAfterFoldingFullWidth) {
    struct Case {
        Text text;
        int expected;
    } cases[] = {
        {B("\xA3\xB1\xA3\xB2"), 12},  // full-width one, two
        {Text(), 0},
        {B("42abc"), 42},
        {B(" \t\n-17"), -17},
        {B("+3"), 3},
        {B("\xA3\xAB"
           "5"),
         5},                          // full-width plus
        {B("\xA3\xAD\xA3\xB5"), -5},  // full-width minus, five
        {B("\xA1\xA1"
           "7"),
         7},  // full-width space is skipped
        {B("\xD6\xD0"
           "7"),
         0},  // another two-byte character is no space
        {B("abc"), 0},
        {B("- 5"), 0},
        {B("3.9"), 3},
        {B("12\xA3"), 12},  // truncated character dropped
        {B("99999999999"), std::numeric_limits<int>::max()},
        {B("-99999999999"), std::numeric_limits<int>::min()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TextToInt(cases[i].text), cases[i].expected);
    }
}

TEST(TextToFloat, ReadsCLocaleDecimalInSinglePrecision) {
    struct Case {
        Text text;
        float expected;
    } cases[] = {
        {B("1.3"), 1.3f},
        {B("  -2.5e2x"), -250.0f},
        {B("\xA3\xB1\xA3\xAE\xA3\xB5"), 1.5f},  // full-width 1.5
        {B(".5"), 0.5f},
        {B("7."), 7.0f},
        {B("3,5"), 3.0f},  // the point, never the comma, separates decimals
        {Text(), 0.0f},
        {B("abc"), 0.0f},
        {B("--1"), 0.0f},
        {B("+-1"), 0.0f},
        {B("1e-5000"), 0.0f},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TextToFloat(cases[i].text), cases[i].expected);
    }
    // Two texts "1.3" compare equal after widening, which a double reading would not promise.
    EXPECT_EQ(static_cast<double>(TextToFloat(B("1.3"))), static_cast<double>(1.3f));
    EXPECT_NE(static_cast<double>(TextToFloat(B("1.3"))), 1.3);
    EXPECT_TRUE(std::isinf(TextToFloat(B("1e400"))));
    EXPECT_TRUE(std::isinf(TextToFloat(B("1e99999"))));
}

}  // namespace
}  // namespace tarvolin
