#include "import/pixel_order.h"

#include <algorithm>

namespace fxt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Coordinate(const Pixel& pixel, char axis) {
  return axis == 'X' ? pixel.x : axis == 'Y' ? pixel.y : pixel.z;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const size_t aStart = i;
      const size_t bStart = j;
      while (i < a.size() && IsDigit(a[i])) ++i;
      while (j < b.size() && IsDigit(b[j])) ++j;
      std::string_view aNumber = a.substr(aStart, i - aStart);
      std::string_view bNumber = b.substr(bStart, j - bStart);
      while (aNumber.size() > 1 && aNumber[0] == '0') aNumber.remove_prefix(1);
      while (bNumber.size() > 1 && bNumber[0] == '0') bNumber.remove_prefix(1);
      if (aNumber.size() != bNumber.size()) return aNumber.size() < bNumber.size();
      if (aNumber != bNumber) return aNumber < bNumber;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

std::vector<std::string> PixelOrder(const Matrix& matrix, std::string_view repeatFor) {
  if (repeatFor == "eachPixelGroup") return matrix.groups;
  std::vector<const Pixel*> pixels;
  pixels.reserve(matrix.pixels.size());
  for (const Pixel& pixel : matrix.pixels) pixels.push_back(&pixel);
  if (repeatFor == "eachPixelABC") {
    std::stable_sort(pixels.begin(), pixels.end(),
                     [](const Pixel* a, const Pixel* b) { return NaturalLess(a->key, b->key); });
  } else {
    // "eachPixelXYZ": X changes fastest, Z slowest.
    const std::string_view axes = repeatFor.substr(repeatFor.size() - 3);
    std::stable_sort(pixels.begin(), pixels.end(), [axes](const Pixel* a, const Pixel* b) {
      for (size_t i = 3; i-- > 0;) {
        const int ca = Coordinate(*a, axes[i]);
        const int cb = Coordinate(*b, axes[i]);
        if (ca != cb) return ca < cb;
      }
      return false;
    });
  }
  std::vector<std::string> keys;
  keys.reserve(pixels.size());
  for (const Pixel* pixel : pixels) keys.push_back(pixel->key);
  return keys;
}

}  // namespace fxt
