#pragma once
// A length on the window or the screen: 1/1440 of an inch, 15 to a logical pixel. Every
// place and size the clock computes is one. A number becomes twips, and twips become
// pixels, only by the explicit conversions below, so that a pixel count is never taken for
// twips nor twips for pixels.
//
// Example: Twips::fromPixels(330) == 4950_tw; (4950_tw).toPixels() == 330.0;
// 240_tw * 1.5 == 360_tw; 1995_tw / 15 == 133_tw.

#include <cmath>
#include <compare>
#include <ostream>

namespace tessaron {

class Twips {
 public:
  static constexpr double kPerPixel = 15;

  constexpr Twips() = default;
  constexpr explicit Twips(double twips) : value_(twips) {}
  static constexpr Twips fromPixels(double pixels) { return Twips(pixels * kPerPixel); }

  constexpr double count() const { return value_; }  // in twips
  constexpr double toPixels() const { return value_ / kPerPixel; }

  constexpr Twips operator-() const { return Twips(-value_); }
  constexpr Twips& operator+=(Twips other) {
    value_ += other.value_;
    return *this;
  }
  constexpr Twips& operator-=(Twips other) {
    value_ -= other.value_;
    return *this;
  }
  friend constexpr Twips operator+(Twips a, Twips b) { return Twips(a.value_ + b.value_); }
  friend constexpr Twips operator-(Twips a, Twips b) { return Twips(a.value_ - b.value_); }
  friend constexpr Twips operator*(Twips a, double k) { return Twips(a.value_ * k); }
  friend constexpr Twips operator*(double k, Twips a) { return Twips(k * a.value_); }
  friend constexpr Twips operator/(Twips a, double k) { return Twips(a.value_ / k); }
  friend constexpr double operator/(Twips a, Twips b) { return a.value_ / b.value_; }
  friend constexpr bool operator==(const Twips&, const Twips&) = default;
  friend constexpr auto operator<=>(const Twips&, const Twips&) = default;

 private:
  double value_ = 0;
};

constexpr Twips operator""_tw(unsigned long long twips) {
  return Twips(static_cast<double>(twips));
}
constexpr Twips operator""_tw(long double twips) { return Twips(static_cast<double>(twips)); }

// Rounds to the nearest whole twip, halves to even (1234.5 -> 1234, 1235.5 -> 1236), as
// the window rounds what it measures.
inline Twips roundHalfEven(Twips value) {
  // The default floating-point environment rounds to nearest, ties to even.
  return Twips(std::nearbyint(value.count()));
}

inline std::ostream& operator<<(std::ostream& out, Twips value) { return out << value.count(); }

}  // namespace tessaron
