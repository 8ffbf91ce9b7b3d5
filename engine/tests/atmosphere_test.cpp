// Air density ratio and speed of sound against hand-computed figures.
#include "atmosphere.h"

#include <gtest/gtest.h>

namespace kavrino_engine::atmosphere {
namespace {

TEST(Atmosphere, DensityRatio) {
    // Standard dry air: the two Rankine temperatures are the same sum, so exactly 1.
    EXPECT_EQ(air_density_ratio(59.0, 29.92, 0.0), 1.0);
    // 50 % at 59 °F: vapour pressure 10^(112.5/252.7)·0.02953 = 0.082301 inHg;
    // (29.92 − 0.5·0.082301·0.3783) / 29.92 = 0.9994796.
    EXPECT_NEAR(air_density_ratio(59.0, 29.92, 50.0), 0.9994796445224, 1e-13);
    // Cold, thin and humid.
    EXPECT_NEAR(air_density_ratio(10.0, 25.5, 90.0), 0.9410435990286882, 1e-13);
}

TEST(Atmosphere, SpeedOfSound) {
    EXPECT_NEAR(speed_of_sound(59.0), 1116.4499224539381, 1e-10);  // 49.0223·√518.67
    EXPECT_NEAR(speed_of_sound(-40.0), 1004.2634243641926, 1e-10);
}

}  // namespace
}  // namespace kavrino_engine::atmosphere
