#pragma once
// The world of the simulated instrument: a tidal site with a sheared current, a platform that drifts and
// rolls, a clock, and the beam geometry of a convex four-beam head. Everything here is a smooth
// function of time; the random parts come from SimRandom so that a seed fixes the whole file.
#include <array>
#include <cstdint>

namespace mvx::sim {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// A small deterministic generator (splitmix64), the same on every platform.
class SimRandom {
  public:
    explicit SimRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t Next();
    double Uniform();            // [0, 1)
    double Normal(double sigma); // approximately normal, mean 0 (sum of four uniforms)
    int Below(int n);            // 0 .. n-1
    // A noise byte that is neither sync value (0x7F broadband, 0x3F narrowband).
    uint8_t NoiseByte();

  private:
    uint64_t state_;
};

// Civil (proleptic Gregorian) date and time with hundredths of a second.
struct CivilTime {
    int Year = 2026, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0, Hundredths = 0;
};
bool ValidCivilTime(const CivilTime& t);
CivilTime AddHundredths(const CivilTime& start, int64_t hundredths);

// Attitude in degrees: heading clockwise from north, pitch and roll as the tilt sensors report them.
struct Attitude {
    double Heading = 0, Pitch = 0, Roll = 0;
};

// Rotation between the instrument frame (x, y, z) and earth (east, north, up). The pitch sensor hangs
// in the roll gimbal, so the rotation uses the pitch seen in the tilted frame:
// sin P' = cos R sin P / sqrt(1 - (sin R sin P)^2).
class Rotation {
  public:
    explicit Rotation(const Attitude& attitude);
    Vec3 ToEarth(const Vec3& v) const;
    Vec3 ToInstrument(const Vec3& v) const; // the transpose
    // The earth-up component of an instrument-frame direction.
    double Up(const Vec3& v) const { return m_[2][0] * v.x + m_[2][1] * v.y + m_[2][2] * v.z; }

  private:
    double m_[3][3];
};

// A convex four-beam head: beams 1 and 2 in the x-z plane, 3 and 4 in the y-z plane, at the beam angle
// from the axis. A beam measures the water velocity along the beam, positive towards the transducer.
class BeamGeometry {
  public:
    BeamGeometry(double beamAngleDeg, bool upLooking);
    // Velocity measured by beam b (0..3) for a water velocity relative to the instrument (instrument
    // frame).
    double BeamVelocity(int beam, const Vec3& relative) const;
    // Vertical distance covered per unit of "slant range x cos(beam angle)" along beam b for the
    // rotation: 1 for a level head, different per beam when tilted.
    double VerticalFactor(int beam, const Rotation& rotation) const;
    double BeamAngle() const { return angleDeg_; }

  private:
    double angleDeg_;
    double cos_;
    std::array<Vec3, 4> toward_; // unit sensitivity of each beam (towards the transducer)
};

// The site: water depth and current by time and depth, the platform's motion and the sensors.
class Deployment {
  public:
    explicit Deployment(bool upLooking) : up_(upLooking) {}
    double WaterDepth(double t) const;      // m, surface to bottom
    double TransducerDepth(double t) const; // m below the surface
    // Vertical distance from the transducer to the bottom (down-looking) or the surface (up-looking).
    double BoundaryRange(double t) const;
    // Earth velocity of the water (m/s, east, north, up) at a depth below the surface.
    Vec3 Current(double t, double depth) const;
    Vec3 PlatformVelocity(double t) const;     // m/s
    Vec3 PlatformDisplacement(double t) const; // m east and north of the start
    Attitude SmoothAttitude(double t) const;   // without sensor noise
    double Temperature(double t) const;        // deg C
    double Salinity() const { return 35.0; }
    // Speed of sound (m/s) at a temperature, the site's salinity and a depth.
    double SoundSpeed(double temperature, double depth) const;

  private:
    bool up_;
};

} // namespace mvx::sim
