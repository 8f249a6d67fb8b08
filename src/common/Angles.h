#pragma once
// The values of pi the program computes with.
namespace mvx {

// Pi to double precision.
inline constexpr double kPi = 3.14159265358979323846;

// The pi of the attitude correction, beam-to-earth transformation and track rotation: short in its last
// digits, and kept so that processed velocities stay what they have always been.
inline constexpr double kProcessingPi = 3.14159265358973;

} // namespace mvx
