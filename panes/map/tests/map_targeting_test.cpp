// The map pane's figures: the distance against Vincenty's ellipsoidal formula (an algorithm
// independent of GeographicLib's), the bearing in the four cardinal directions, the look angle
// from the elevations, their texts, and the model's change signal.
#include "panes/map/map_target_model.h"
#include "panes/map/map_targeting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kavrino {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Vincenty's inverse formula on WGS84 (T. Vincenty, Survey Review 23(176), 1975), in metres;
// agrees with the exact geodesic to a fraction of a millimetre away from antipodal points.
double vincentyMetres(GeoCoordinate p1, GeoCoordinate p2) {
    const double a = 6378137.0, f = 1 / 298.257223563, b = (1 - f) * a;
    const double L = (p2.longitude - p1.longitude) * kDegree;
    const double U1 = std::atan((1 - f) * std::tan(p1.latitude * kDegree));
    const double U2 = std::atan((1 - f) * std::tan(p2.latitude * kDegree));
    const double sinU1 = std::sin(U1), cosU1 = std::cos(U1), sinU2 = std::sin(U2), cosU2 = std::cos(U2);
    double lambda = L, sinSigma = 0, cosSigma = 0, sigma = 0, cos2Alpha = 0, cos2SigmaM = 0;
    for (int i = 0; i < 200; ++i) {
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        sinSigma = std::hypot(cosU2 * sinLambda, cosU1 * sinU2 - sinU1 * cosU2 * cosLambda);
        if (sinSigma == 0) return 0;
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        cos2Alpha = 1 - sinAlpha * sinAlpha;
        cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0;
        const double C = f / 16 * cos2Alpha * (4 + f * (4 - 3 * cos2Alpha));
        const double previous = lambda;
        lambda = L + (1 - C) * f * sinAlpha *
                         (sigma + C * sinSigma * (cos2SigmaM + C * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::fabs(lambda - previous) < 1e-13) break;
    }
    const double u2 = cos2Alpha * (a * a - b * b) / (b * b);
    const double A = 1 + u2 / 16384 * (4096 + u2 * (-768 + u2 * (320 - 175 * u2)));
    const double B = u2 / 1024 * (256 + u2 * (-128 + u2 * (74 - 47 * u2)));
    const double deltaSigma =
        B * sinSigma *
        (cos2SigmaM + B / 4 *
                          (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                           B / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) * (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return b * A * (sigma - deltaSigma);
}

const MapTargetState initial = initialMapTargetState();

TEST(MapTargetingDistance, InitialPositionsLieAboutFifteenHundredYardsApart) {
    const double yards = distanceYards(initial.shooter, initial.target);
    EXPECT_NEAR(yards, vincentyMetres(initial.shooter, initial.target) * 1.09361, 1e-3);
    EXPECT_NEAR(yards, 1499.5, 1.0);
    EXPECT_EQ(distanceText(yards), QStringLiteral("1499 yd"));
}

TEST(MapTargetingDistance, AgreesWithVincentyFarAndNear) {
    const struct {
        const char* name;
        GeoCoordinate from, to;
    } rows[] = {
        {"across a valley", {43.615, -116.2023}, {43.70, -116.05}},
        {"along a meridian", {-33.9, 18.4}, {-34.9, 18.4}},
        {"along the equator", {0, 10}, {0, 10.01}},
        {"across the date line", {51.0, 179.99}, {51.0, -179.99}},
        {"a continent", {40.0, -105.0}, {35.0, -80.0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const double expected = vincentyMetres(row.from, row.to) * kYardsPerMetre;
        EXPECT_NEAR(distanceYards(row.from, row.to), expected, 1e-3 + expected * 1e-9);
    }
}

TEST(MapTargetingDistance, LatitudeBeyondThePoleIsNotADistance) {
    EXPECT_TRUE(std::isnan(distanceYards({91, 0}, {43, 0})));
    EXPECT_TRUE(std::isnan(distanceYards({43, 0}, {std::nan(""), 0})));
    EXPECT_EQ(lookAngleDegrees(std::nan(""), 0, 100), 0);
}

TEST(MapTargetingBearing, InitialTargetLiesNorthNorthWest) {
    const double bearing = bearingDegrees(initial.shooter, initial.target);
    EXPECT_GT(bearing, 332.5);
    EXPECT_LT(bearing, 333.5);
    EXPECT_EQ(bearingText(bearing), QStringLiteral("333\u00b0 T"));
}

TEST(MapTargetingBearing, CardinalDirections) {
    const GeoCoordinate shooter = initial.shooter;
    const double east = bearingDegrees(shooter, {shooter.latitude, shooter.longitude + 0.02});
    EXPECT_LT(east, 90.0);
    EXPECT_GT(east, 89.9);
    EXPECT_EQ(bearingDegrees(shooter, {shooter.latitude - 0.02, shooter.longitude}), 180.0);
    const double west = bearingDegrees(shooter, {shooter.latitude, shooter.longitude - 0.02});
    EXPECT_GT(west, 270.0);
    EXPECT_LT(west, 270.1);
    EXPECT_EQ(bearingDegrees(shooter, {shooter.latitude + 0.02, shooter.longitude}), 0.0);
    // South of the equator the great circle bends the other way.
    const double eastInTheSouth = bearingDegrees({-33.9, 18.4}, {-33.9, 18.5});
    EXPECT_GT(eastInTheSouth, 90.0);
}

TEST(MapTargetingBearing, StaysWithinAFullTurn) {
    for (double degrees = -179.5; degrees <= 180; degrees += 7.25) {
        const double radians = degrees * kDegree;
        const double bearing = bearingDegrees({10, 20}, {10 + std::cos(radians), 20 + std::sin(radians)});
        EXPECT_GE(bearing, 0.0);
        EXPECT_LT(bearing, 360.0);
    }
}

TEST(MapTargetingLookAngle, FollowsTheElevations) {
    const double yards = distanceYards(initial.shooter, initial.target);
    const double up = lookAngleDegrees(yards, 2700, 2760);
    EXPECT_NEAR(up, std::atan(60.0 / (yards * 3)) / kDegree, 1e-12);
    EXPECT_EQ(lookAngleText(up), QStringLiteral("0.8\u00b0"));
    EXPECT_EQ(lookAngleText(lookAngleDegrees(yards, 2760, 2760)), QStringLiteral("0.0\u00b0"));
    EXPECT_EQ(lookAngleDegrees(yards, 2700, 2640), -up);
    EXPECT_EQ(lookAngleText(lookAngleDegrees(yards, 2700, 2640)), QStringLiteral("-0.8\u00b0"));
    // Straight up at no distance is no angle at all: the positions are the same.
    EXPECT_EQ(lookAngleDegrees(0, 2700, 2760), 0);
    EXPECT_EQ(lookAngleDegrees(-5, 2700, 2760), 0);
}

TEST(MapTargetingSamePosition, GivesZeroEverywhere) {
    EXPECT_EQ(distanceYards(initial.shooter, initial.shooter), 0);
    EXPECT_EQ(bearingDegrees(initial.shooter, initial.shooter), 0);
    EXPECT_EQ(distanceText(0), QStringLiteral("0 yd"));
    EXPECT_EQ(bearingText(0), QStringLiteral("0\u00b0 T"));
}

TEST(MapTargetingTexts, RoundAsPrintfDoes) {
    EXPECT_EQ(distanceText(1499.49), QStringLiteral("1499 yd"));
    EXPECT_EQ(distanceText(1499.51), QStringLiteral("1500 yd"));
    EXPECT_EQ(distanceText(123456.7), QStringLiteral("123457 yd"));  // no grouping marks
    EXPECT_EQ(bearingText(359.7), QStringLiteral("360\u00b0 T"));
    EXPECT_EQ(lookAngleText(-0.04), QStringLiteral("-0.0\u00b0"));
    EXPECT_EQ(lookAngleText(std::nan("")), QStringLiteral("nan\u00b0"));
    EXPECT_EQ(coordinateText(initial.shooter), QStringLiteral("43.6150\u00b0 N, 116.2023\u00b0 W"));
    EXPECT_EQ(coordinateText({-33.9, 18.4}), QStringLiteral("33.9000\u00b0 S, 18.4000\u00b0 E"));
}

TEST(MapTargetModel, ElevationEditsEmitOnceAndMoveTheLookAngle) {
    MapTargetModel model(initial);
    int changes = 0;
    QObject::connect(&model, &MapTargetModel::changed, [&] { ++changes; });
    EXPECT_EQ(lookAngleText(model.lookAngleDegrees()), QStringLiteral("0.8\u00b0"));
    model.setShooterElevation(2760);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(model.lookAngleDegrees(), 0.0);
    model.setShooterElevation(2760);
    EXPECT_EQ(changes, 1);
    model.setTargetElevation(2700);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(lookAngleText(model.lookAngleDegrees()), QStringLiteral("-0.8\u00b0"));
    model.setTargetElevation(std::nan(""));
    model.setTargetElevation(std::nan(""));
    EXPECT_EQ(changes, 3);
    // The positions, and with them distance and bearing, stay as given.
    EXPECT_EQ(model.shooter(), initial.shooter);
    EXPECT_EQ(model.target(), initial.target);
    EXPECT_EQ(bearingText(model.bearingDegrees()), QStringLiteral("333\u00b0 T"));
    EXPECT_EQ(model.initialCamera(), initial.camera);
}

}  // namespace
}  // namespace kavrino
