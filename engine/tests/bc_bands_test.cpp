// The BC band lookup against the scan that defines it: the first band, in list order, starting
// at or below the speed, else the last band; the single BC without bands.
#include "bc_bands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace kavrino_engine {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

double scan(const std::vector<BcBand>& bands, double flatBc, double speed) {
    if (bands.empty()) return flatBc;
    for (const BcBand& band : bands) {
        if (band.velocity <= speed) return band.bc;
    }
    return bands.back().bc;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(BcBands, FirstQualifyingBandInListOrderElseTheLast) {
    const BcBands bands({{3000.0, 0.5}, {2000.0, 0.45}}, 0.9);
    EXPECT_EQ(bands.bc(3500.0), 0.5);
    EXPECT_EQ(bands.bc(3000.0), 0.5);
    EXPECT_EQ(bands.bc(2999.0), 0.45);
    EXPECT_EQ(bands.bc(1000.0), 0.45);  // none qualifies: the last band
    // A band listed after a lower one never comes first.
    const BcBands shadowed({{1000.0, 0.3}, {2000.0, 0.4}, {500.0, 0.2}}, 0.9);
    EXPECT_EQ(shadowed.bc(2500.0), 0.3);
    EXPECT_EQ(shadowed.bc(700.0), 0.2);
    EXPECT_EQ(shadowed.bc(100.0), 0.2);
    EXPECT_EQ(BcBands({}, 0.9).bc(2500.0), 0.9);
}

// Random lists of every order, with repeats, infinities, NaN and signed zeros, asked at random
// speeds, at each band's speed and its neighbours; every stretch handed out holds throughout.
TEST(BcBands, MatchTheScanAndHoldThroughoutTheirStretch) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> anySpeed(-500.0, 5000.0);
    std::uniform_real_distribution<double> anyBc(0.1, 0.8);
    const double odd[] = {inf, -inf, std::nan(""), 0.0, -0.0, 1e308};
    for (int list = 0; list < 300; ++list) {
        std::vector<BcBand> bands;
        const int size = list % 10 == 0 ? 3000 : list % 7;
        for (int i = 0; i < size; ++i) {
            double velocity = anySpeed(random);
            if (list % 3 == 0) velocity = std::round(velocity / 500.0) * 500.0;  // repeats
            if (random() % 20 == 0) velocity = odd[random() % 6];
            bands.push_back({velocity, random() % 50 == 0 ? -0.0 : anyBc(random)});
        }
        const BcBands index(bands, 0.462);
        std::vector<double> speeds = {inf, -inf, std::nan(""), 0.0, -0.0};
        for (int i = 0; i < 200; ++i) speeds.push_back(anySpeed(random));
        for (const BcBand& band : bands) {
            speeds.push_back(band.velocity);
            speeds.push_back(std::nextafter(band.velocity, inf));
            speeds.push_back(std::nextafter(band.velocity, -inf));
        }
        for (double speed : speeds) {
            const BcStretch stretch = index.find(speed);
            ASSERT_TRUE(sameBits(stretch.bc, scan(bands, 0.462, speed))) << "list " << list << " at " << speed;
            if (!(stretch.from < stretch.to)) continue;
            for (double inside : {stretch.from, std::nextafter(stretch.to, stretch.from)}) {
                if (!stretch.holds(inside)) continue;
                ASSERT_TRUE(sameBits(stretch.bc, scan(bands, 0.462, inside)))
                    << "list " << list << " at " << inside << " in the stretch found at " << speed;
            }
        }
    }
}

}  // namespace
}  // namespace kavrino_engine
