// Scaling of layout pixels, given for 96 dots per inch (100 %), to another display scale.
// Standard library only, so the window arithmetic that uses it builds natively too.
#pragma once

namespace dpi {

constexpr int kDefault = 96;

// `value` pixels at 96 DPI as pixels at `dpi`, rounded half away from zero as MulDiv does.
constexpr int Scale(int value, int dpi) {
  const long long product = static_cast<long long>(value) * dpi;
  return static_cast<int>(product >= 0 ? (product + kDefault / 2) / kDefault : -((-product + kDefault / 2) / kDefault));
}

// Pixels at `dpi` back to pixels at 96 DPI.
constexpr int Unscale(int value, int dpi) {
  if (dpi <= 0) return value;
  const long long product = static_cast<long long>(value) * kDefault;
  return static_cast<int>(product >= 0 ? (product + dpi / 2) / dpi : -((-product + dpi / 2) / dpi));
}

}  // namespace dpi
