#include "simulator/SimulatedDeployment.h"

#include "common/Angles.h"

#include <cmath>

namespace mvx::sim {

namespace {

constexpr double kDeg = kPi / 180.0;
constexpr double kTidePeriod = 12.42 * 3600.0; // semi-diurnal
constexpr double kDriftPeriod = 3600.0;

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

int DaysInMonth(int y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

} // namespace

uint64_t SimRandom::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double SimRandom::Uniform() {
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double SimRandom::Normal(double sigma) {
    // The sum of four uniforms has variance 4/12; scale it to sigma.
    const double s = Uniform() + Uniform() + Uniform() + Uniform() - 2.0;
    return s * sigma * std::sqrt(3.0);
}

int SimRandom::Below(int n) {
    return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n));
}

uint8_t SimRandom::NoiseByte() {
    for (;;) {
        const auto b = static_cast<uint8_t>(Next() >> 56);
        if (b != 0x7F && b != 0x3F) return b;
    }
}

bool ValidCivilTime(const CivilTime& t) {
    if (t.Year < 1900 || t.Year > 2099 || t.Month < 1 || t.Month > 12) return false;
    if (t.Day < 1 || t.Day > DaysInMonth(t.Year, t.Month)) return false;
    return t.Hour >= 0 && t.Hour < 24 && t.Minute >= 0 && t.Minute < 60 && t.Second >= 0 && t.Second < 60 &&
           t.Hundredths >= 0 && t.Hundredths < 100;
}

CivilTime AddHundredths(const CivilTime& start, int64_t hundredths) {
    const int64_t perDay = 8640000;
    int64_t total = DaysFromCivil(start.Year, start.Month, start.Day) * perDay +
                    ((start.Hour * 60 + start.Minute) * 60 + start.Second) * 100 + start.Hundredths +
                    hundredths;
    int64_t days = total / perDay;
    int64_t rest = total % perDay;
    if (rest < 0) {
        rest += perDay;
        --days;
    }
    CivilTime t;
    CivilFromDays(days, t.Year, t.Month, t.Day);
    t.Hundredths = static_cast<int>(rest % 100);
    rest /= 100;
    t.Second = static_cast<int>(rest % 60);
    rest /= 60;
    t.Minute = static_cast<int>(rest % 60);
    t.Hour = static_cast<int>(rest / 60);
    return t;
}

Rotation::Rotation(const Attitude& a) {
    const double h = a.Heading * kDeg, r = a.Roll * kDeg;
    const double sr = std::sin(r), cr = std::cos(r);
    double p = a.Pitch * kDeg;
    const double sp0 = std::sin(p);
    const double t = 1.0 - (sr * sp0) * (sr * sp0);
    if (t > 0) p = std::asin(cr * sp0 / std::sqrt(t));
    const double sp = std::sin(p), cp = std::cos(p), sh = std::sin(h), ch = std::cos(h);
    m_[0][0] = ch * cr + sh * sr * sp;
    m_[0][1] = sh * cp;
    m_[0][2] = ch * sr - sh * cr * sp;
    m_[1][0] = ch * sr * sp - sh * cr;
    m_[1][1] = ch * cp;
    m_[1][2] = -(sh * sr + ch * sp * cr);
    m_[2][0] = -sr * cp;
    m_[2][1] = sp;
    m_[2][2] = cr * cp;
}

Vec3 Rotation::ToEarth(const Vec3& v) const {
    return {m_[0][0] * v.x + m_[0][1] * v.y + m_[0][2] * v.z,
            m_[1][0] * v.x + m_[1][1] * v.y + m_[1][2] * v.z,
            m_[2][0] * v.x + m_[2][1] * v.y + m_[2][2] * v.z};
}

Vec3 Rotation::ToInstrument(const Vec3& v) const {
    return {m_[0][0] * v.x + m_[1][0] * v.y + m_[2][0] * v.z,
            m_[0][1] * v.x + m_[1][1] * v.y + m_[2][1] * v.z,
            m_[0][2] * v.x + m_[1][2] * v.y + m_[2][2] * v.z};
}

BeamGeometry::BeamGeometry(double beamAngleDeg, bool upLooking) : angleDeg_(beamAngleDeg) {
    const double s = std::sin(beamAngleDeg * kDeg);
    cos_ = std::cos(beamAngleDeg * kDeg);
    // Horizontal signs of a convex head: beam 1 looks towards -x and beam 3 towards +y when the head
    // looks down; turned over about the y axis to look up, beam 1 looks towards +x and beam 3 still
    // towards +y. The vertical sign makes water moving towards the head positive.
    const double v = upLooking ? -cos_ : cos_;
    const double sx1 = upLooking ? -1.0 : 1.0;
    toward_[0] = {sx1 * s, 0, v};
    toward_[1] = {-sx1 * s, 0, v};
    toward_[2] = {0, -s, v};
    toward_[3] = {0, s, v};
}

double BeamGeometry::BeamVelocity(int beam, const Vec3& rel) const {
    const Vec3& n = toward_[beam];
    return n.x * rel.x + n.y * rel.y + n.z * rel.z;
}

double BeamGeometry::VerticalFactor(int beam, const Rotation& rotation) const {
    const Vec3& n = toward_[beam];
    // The beam points away from the head, opposite to its sensitivity.
    return std::fabs(rotation.Up({-n.x, -n.y, -n.z})) / cos_;
}

double Deployment::WaterDepth(double t) const {
    return 25.0 + 3.0 * std::sin(2 * kPi * t / kTidePeriod + 0.4);
}

double Deployment::TransducerDepth(double t) const {
    // Down-looking: under a surface platform; up-looking: in a frame 0.5 m above the bottom.
    return up_ ? WaterDepth(t) - 0.5 : 0.5;
}

double Deployment::BoundaryRange(double t) const {
    return WaterDepth(t) - 0.5;
}

Vec3 Deployment::Current(double t, double depth) const {
    const double h = WaterDepth(t);
    const double above = std::fmax(h - depth, 0.0); // height above the bottom
    const double phase = 2 * kPi * t / kTidePeriod;
    // Along-channel flow with a one-sixth power law towards the bottom; a weak cross flow and a veer
    // near the bottom.
    const double shape = above <= 0 ? 0.0 : std::pow(above / h, 1.0 / 6.0);
    const double along = (0.9 * std::cos(phase) + 0.05) * shape;
    const double cross = 0.08 * std::sin(phase) * (above / h);
    const double axis = (40.0 + 12.0 * (1.0 - above / h)) * kDeg;
    const double east = along * std::sin(axis) + cross * std::cos(axis);
    const double north = along * std::cos(axis) - cross * std::sin(axis);
    const double up = 0.004 * std::sin(phase * 3.0) * (above / h);
    return {east, north, up};
}

Vec3 Deployment::PlatformVelocity(double t) const {
    if (up_) return {};
    const double w = 2 * kPi / kDriftPeriod;
    return {0.04 + 0.05 * std::sin(w * t), 0.02 + 0.05 * std::cos(w * t), 0};
}

Vec3 Deployment::PlatformDisplacement(double t) const {
    if (up_) return {};
    const double w = 2 * kPi / kDriftPeriod;
    return {0.04 * t + 0.05 / w * (1.0 - std::cos(w * t)), 0.02 * t + 0.05 / w * std::sin(w * t), 0};
}

Attitude Deployment::SmoothAttitude(double t) const {
    const double phase = 2 * kPi * t / kTidePeriod;
    Attitude a;
    if (up_) {
        a.Heading = 123.4 + 0.5 * std::sin(phase);
        a.Pitch = 1.2 + 0.1 * std::sin(phase);
        a.Roll = -2.1 + 0.1 * std::cos(phase);
    } else {
        // A moored platform swings with the tide and rocks in the waves.
        a.Heading = 300.0 + 80.0 * std::sin(phase) + 4.0 * std::sin(2 * kPi * t / 600.0);
        a.Pitch = 1.8 * std::sin(2 * kPi * t / 420.0 + 0.3);
        a.Roll = -0.5 + 3.0 * std::sin(2 * kPi * t / 290.0);
    }
    a.Heading = std::fmod(a.Heading + 360.0, 360.0);
    return a;
}

double Deployment::Temperature(double t) const {
    return 12.5 + 0.8 * t / 86400.0 + 0.4 * std::sin(2 * kPi * t / kTidePeriod + 1.1);
}

double Deployment::SoundSpeed(double temperature, double depth) const {
    const double tc = temperature;
    return 1449.2 + 4.6 * tc - 0.055 * tc * tc + 0.00029 * tc * tc * tc +
           (1.34 - 0.01 * tc) * (Salinity() - 35.0) + 0.016 * depth;
}

} // namespace mvx::sim
