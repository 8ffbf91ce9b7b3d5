// Written straight from the solve's definition, sharing only the standalone atmosphere, drag
// scan, stability and zone functions with the library.
#include "plain_solver.h"

#include "atmosphere.h"
#include "drag.h"

#include <cmath>
#include <memory>

namespace kavrino_engine::plain {
namespace {

using solver::Solution;
using solver::TrajectoryPoint;
using solver::Zone;

constexpr double kDegrees = 0.017453292519943295;
constexpr double kDt = 0.0005;

struct State {
    double x, y, vx, vy;
};

double roundTo(double value, double scale) { return std::round(value * scale) / scale; }

// Drag coefficient by a scan from the start of the rows.
struct ScanDrag {
    std::span<const DragRow> rows;
    double operator()(double mach) { return drag::cd(rows, mach); }
};

// Drag coefficient by the library's lookup that keeps the segment it found last (the fastest
// lookup for one run); the index sits on the heap so the lookup's view of it survives moves.
struct RememberedDrag {
    explicit RememberedDrag(std::span<const DragRow> rows)
        : index(std::make_shared<const drag::Index>(rows)), lookup(*index) {}
    std::shared_ptr<const drag::Index> index;
    drag::Lookup lookup;
    double operator()(double mach) { return lookup.cd(mach); }
};

template <typename Drag> class Model {
public:
    Model(const SolverInput& in, Drag drag)
        : m_in(in),
          m_drag(std::move(drag)),
          m_rho(atmosphere::air_density_ratio(in.temperature, in.pressure, in.humidity)),
          m_c(atmosphere::speed_of_sound(in.temperature)),
          m_g(-32.174 * std::cos(in.shootingAngle * kDegrees)) {}

    double speedOfSound() const { return m_c; }

    double bc(double v) const {
        if (m_in.bcBands.empty()) return m_in.ballisticCoefficient;
        for (const BcBand& band : m_in.bcBands) {
            if (band.velocity <= v) return band.bc;
        }
        return m_in.bcBands.back().bc;
    }

    State accel(const State& s) {
        const double v = std::sqrt(s.vx * s.vx + s.vy * s.vy);
        if (v < 1.0) return {s.vx, s.vy, 0.0, m_g};
        const double b = bc(v);
        const double cd = m_drag(v / m_c);
        const double a = -0.000208554 * (v * v) * cd * m_rho / b;
        return {s.vx, s.vy, a * s.vx / v, m_g + a * s.vy / v};
    }

    void step(State& s) {
        const State k1 = accel(s);
        const State k2 = accel(advance(s, k1, kDt / 2.0));
        const State k3 = accel(advance(s, k2, kDt / 2.0));
        const State k4 = accel(advance(s, k3, kDt));
        s.x = s.x + (k1.x + 2.0 * k2.x + 2.0 * k3.x + k4.x) * kDt / 6.0;
        s.y = s.y + (k1.y + 2.0 * k2.y + 2.0 * k3.y + k4.y) * kDt / 6.0;
        s.vx = s.vx + (k1.vx + 2.0 * k2.vx + 2.0 * k3.vx + k4.vx) * kDt / 6.0;
        s.vy = s.vy + (k1.vy + 2.0 * k2.vy + 2.0 * k3.vy + k4.vy) * kDt / 6.0;
    }

private:
    static State advance(const State& s, const State& k, double h) {
        return {s.x + k.x * h, s.y + k.y * h, s.vx + k.vx * h, s.vy + k.vy * h};
    }

    const SolverInput& m_in;
    Drag m_drag;
    double m_rho;
    double m_c;
    double m_g;
};

double correctedVelocity(const SolverInput& in) {
    double mv = in.muzzleVelocity;
    if (in.mvTempSensitivity != 0.0) mv += in.mvTempSensitivity * (in.temperature - in.mvReferenceTemp);
    return mv;
}

double speed(const State& s) { return std::sqrt(s.vx * s.vx + s.vy * s.vy); }

template <typename Drag> double bisect(const SolverInput& in, Model<Drag>& model) {
    const double mv = correctedVelocity(in);
    const double h0 = -in.sightHeight / 12.0;
    const double zero = in.zeroRange * 3.0;
    double lo = 0.0;
    double hi = 0.1;
    for (int round = 0; round < 50; ++round) {
        const double theta = (lo + hi) * 0.5;
        State s{0.0, h0, mv * std::cos(theta), mv * std::sin(theta)};
        double t = 0.0;
        if (zero > 0.0) {
            while (s.x < zero && !(speed(s) < 100.0) && !(t > solver::kMaxFlightTime)) {
                model.step(s);
                t += kDt;
            }
        }
        if (s.y > 0.0) hi = theta;
        else lo = theta;
    }
    return (lo + hi) * 0.5;
}

template <typename Drag> void fly(const SolverInput& in, Model<Drag>& model, double theta, Solution& out) {
    const double mv = correctedVelocity(in);
    SolverInput corrected = in;
    corrected.muzzleVelocity = mv;
    const double sg = solver::miller_sg(corrected);
    out.stability = {roundTo(sg, 100.0), solver::ratingOf(sg)};
    const double stop = in.maxRange * 3.0 + 1.0;
    if (stop <= 0.0) return;

    const double c = model.speedOfSound();
    const double wind = in.windSpeed * 1.46667 * std::sin(in.windDirection * kDegrees);
    const double lat = in.latitude * kDegrees;
    const double az = in.targetAzimuth * kDegrees;
    State s{0.0, -in.sightHeight / 12.0, mv * std::cos(theta), mv * std::sin(theta)};
    double t = 0.0;
    double next = in.rangeStep * 3.0;
    while (!(s.x >= stop || speed(s) < 100.0 || t > solver::kMaxFlightTime)) {
        model.step(s);
        t += kDt;
        if (!(s.x >= next)) continue;
        next = next + in.rangeStep * 3.0;
        const double r = s.x / 3.0;
        const double v = speed(s);
        double drop = -12.0 * s.y;
        if (in.includeAeroJump) {
            const double jump = (sg + 1.2) * (wind / mv) * 12.0;
            drop = in.twistRate > 0.0 ? drop - r / 1000.0 * jump : drop + r / 1000.0 * jump;
        }
        if (in.includeCoriolis) drop += -12.0 * 7.2921e-5 * std::cos(lat) * std::sin(az) * s.x * t;
        double drift = wind * (t - s.x / mv) * 12.0;
        if (in.includeSpinDrift) {
            const double spin = 1.25 * (sg + 1.2) * std::pow(t, 1.83);
            drift = in.twistRate <= 0.0 ? drift - spin : drift + spin;
        }
        if (in.includeCoriolis) drift += 12.0 * 7.2921e-5 * std::sin(lat) * std::sin(az) * s.x * t;
        const double mach = v / c;
        const double f = r > 0.0 ? r / 100.0 : 1.0;
        TrajectoryPoint p;
        p.range = roundTo(r, 10.0);
        p.velocity = roundTo(v, 10.0);
        p.mach = roundTo(mach, 1000.0);
        p.time = roundTo(t, 10000.0);
        p.energy = roundTo(v * v * in.bulletWeight / 450436.0, 10.0);
        p.dropInches = roundTo(drop, 100.0);
        p.dropMoa = roundTo(drop / (1.047 * f), 100.0);
        p.dropMil = roundTo(drop / (3.6 * f), 100.0);
        p.windInches = roundTo(drift, 100.0);
        p.windMoa = roundTo(drift / (1.047 * f), 100.0);
        p.windMil = roundTo(drift / (3.6 * f), 100.0);
        p.zone = solver::zoneOf(mach);
        if (p.zone == Zone::Transonic && !out.transonicRange) out.transonicRange = p.range;
        if (p.zone == Zone::Subsonic && !out.subsonicRange) out.subsonicRange = p.range;
        out.points.push_back(p);
    }
}

}  // namespace

Solution solve(const SolverInput& input) {
    Model model(input, ScanDrag{drag::rows(input.dragCurve)});
    Solution out;
    // Without a main run the angle changes nothing in the reply; the zeroing is skipped.
    const double theta = input.maxRange * 3.0 + 1.0 > 0.0 ? bisect(input, model) : 0.0;
    fly(input, model, theta, out);
    return out;
}

double zeroAngle(const SolverInput& input) {
    Model model(input, ScanDrag{drag::rows(input.dragCurve)});
    return bisect(input, model);
}

Solution mainRun(const SolverInput& input, double theta) {
    Model model(input, RememberedDrag(drag::rows(input.dragCurve)));
    Solution out;
    fly(input, model, theta, out);
    return out;
}

}  // namespace kavrino_engine::plain
