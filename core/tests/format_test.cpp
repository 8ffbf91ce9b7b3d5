#include "core/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

// The helper must print a full stop even when the C locale uses a comma, as it does once Qt
// has set the locale from a German or French environment.
TEST(Format, UsesFullStopWhateverTheCLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(kavrino::cformat("%.1f", 1234.56), "1234.6");
    EXPECT_EQ(kavrino::qformat("%.2f MOA", -0.125), QString("-0.12 MOA"));
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched) GTEST_LOG_(INFO) << "de_DE locale not installed; checked the C locale only";
}

TEST(Format, RoundsAsPrintfDoes) {
    char expected[64];
    for (double v : {0.05, 0.15, 0.25, 2.675, 1116.35, -0.005, 1e-7}) {
        std::snprintf(expected, sizeof expected, "%.1f|%.2f|%6.3f", v, v, v);
        EXPECT_EQ(kavrino::cformat("%.1f|%.2f|%6.3f", v, v, v), expected) << v;
    }
    EXPECT_EQ(kavrino::cformat("%s at %d yd", std::string("drop"), 100), "drop at 100 yd");
}

// A NaN prints "nan" whatever its sign bit, so a NaN computed on x86 (sign set) never shows
// as "-nan"; infinities keep their sign.
TEST(Format, NotANumberHasNoSign) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(kavrino::cformat("%.1f|%.1f", nan, -nan), "nan|nan");
    EXPECT_EQ(kavrino::qformat("%.0f yd", std::copysign(nan, -1.0)), QString("nan yd"));
    EXPECT_EQ(kavrino::cformat("%.2f|%.2f", -std::numeric_limits<double>::infinity(), -0.0), "-inf|-0.00");
}
