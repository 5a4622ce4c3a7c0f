#pragma once

namespace lnk {
// Temperatures travel in whole degrees Fahrenheit; Celsius exists only on the screen.
// Both conversions truncate toward zero, as the controller's own panel always did.

inline constexpr int FahrenheitToCelsius(int f) { return 5 * (f - 32) / 9; }
inline constexpr int CelsiusToFahrenheit(int c) { return 9 * c / 5 + 32; }

// A difference of temperatures has no 32-degree offset.
inline constexpr int FahrenheitDeltaToCelsius(int df) { return 5 * df / 9; }

// What the screen shows for a Fahrenheit value in the display unit.
inline constexpr int DisplayTemperature(int f, bool celsius) {
  return celsius ? FahrenheitToCelsius(f) : f;
}

inline constexpr char kDegreeSign = static_cast<char>(176);

}  // namespace lnk
