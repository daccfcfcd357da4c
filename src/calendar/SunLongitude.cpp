#include "calendar/SunLongitude.h"

#include <array>
#include <cmath>
#include <numbers>

#include "foundation/Dates.h"

namespace kzm {
namespace {

struct TPeriodicTerm {
  double amplitude;
  double phase;
  double rate;  // degrees per year of the time argument
};

constexpr std::array<TPeriodicTerm, 18> kTerms{{
    {0.0200, 353.06, 719.981},  {-0.0048, 248.64, -19.341}, {0.0020, 285.0, 329.64},
    {0.0018, 334.2, -4452.67},  {0.0018, 293.7, -0.20},     {0.0015, 242.4, 450.37},
    {0.0013, 211.1, 225.18},    {0.0008, 208.0, 659.29},    {0.0007, 53.5, 90.38},
    {0.0007, 12.1, -30.35},     {0.0006, 239.1, 337.18},    {0.0005, 10.1, -1.50},
    {0.0005, 99.1, -22.81},     {0.0004, 264.8, 315.56},    {0.0004, 233.8, 299.30},
    {-0.0004, 198.1, 720.02},   {0.0003, 349.6, 1079.97},   {0.0003, 241.2, -44.43},
}};

constexpr double kRadian = std::numbers::pi / 180.0;
// Japan is nine hours ahead of universal time.
constexpr double kJapanOffset = 0.375;

double NormalizeDegrees(double degrees) {
  double result = std::fmod(degrees, 360.0);
  if (result < 0) result += 360.0;
  return result >= 360.0 ? 0.0 : result;
}

// Into (-180, 180].
double SignedAngle(double degrees) {
  double result = std::fmod(degrees, 360.0);
  if (result > 180.0) result -= 360.0;
  if (result <= -180.0) result += 360.0;
  return result;
}

}  // namespace

double TimeArgument(double localDate) {
  const double universal = localDate - kJapanOffset;
  const double dayStart = std::floor(universal);
  const int hour = static_cast<int>((universal - dayStart) * 24.0 + 1e-9);
  const auto dayOfUniversal = static_cast<TDayNumber>(dayStart);
  const TDayNumber days = dayOfUniversal - EncodeDate(1974, 12, 31);
  return (days + hour / 24.0) / 365.25;
}

double SunLongitude(double localDate) {
  const double t = TimeArgument(localDate);
  double radians = kRadian * (279.0358 + 360.00769 * t);
  radians += kRadian * (1.9159 - 0.00005 * t) * std::sin(kRadian * (356.531 + 359.991 * t));
  for (const TPeriodicTerm& term : kTerms) {
    radians += kRadian * term.amplitude * std::sin(kRadian * (term.phase + term.rate * t));
  }
  return NormalizeDegrees(radians / kRadian);
}

double CrossingDay(double longitude, TDayNumber dayNumber) {
  const double atMidnight = SunLongitude(dayNumber);
  const double nextMidnight = SunLongitude(dayNumber + 1.0);
  return dayNumber + SignedAngle(longitude - atMidnight) / SignedAngle(nextMidnight - atMidnight);
}

}  // namespace kzm
