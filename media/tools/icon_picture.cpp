// The window icon's picture: two white arrows chasing each other clockwise
// round a blue disc, the usual sign for "load again". Shapes are tested with
// squared distances and cross products only, 8x8 samples per pixel, so the
// edges are smooth and the result is exact on any machine.

#include <array>

#include "media/tools/asset_maker.h"
#include "media/tools/exact_math.h"

namespace vorlindy::assets {
namespace {

struct Vec {
  double x, y;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double s, Vec v) { return {s * v.x, s * v.y}; }
double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// Direction at an angle in degrees, counter-clockwise from +x, y pointing up.
Vec Direction(double degrees) {
  return {CosineOfTurns(degrees / 360.0), SineOfTurns(degrees / 360.0)};
}

constexpr double kDiscRadius = 15.5;
constexpr double kRimWidth = 1.1;
constexpr double kArrowMidRadius = 8.6;
constexpr double kArrowHalfWidth = 1.9;  // the shaft: 3.8 px wide, 1.9 px at 16x16
constexpr double kHeadHalfWidth = 5.0;
constexpr double kHeadLength = 42.0;  // degrees of arc from the base to the tip
constexpr double kArcSpan = 112.0;    // degrees of shaft per arrow

// One arrow: a shaft along the circle from `tail` clockwise to `head_base`
// (degrees), ending in a triangular head that points on clockwise.
struct Arrow {
  Vec tail_dir, base_dir;
  std::array<Vec, 3> head;

  explicit Arrow(double head_base_degrees)
      : tail_dir(Direction(head_base_degrees + kArcSpan)), base_dir(Direction(head_base_degrees)) {
    const Vec base = kArrowMidRadius * base_dir;
    head = {base + kHeadHalfWidth * base_dir, base - kHeadHalfWidth * base_dir,
            kArrowMidRadius * Direction(head_base_degrees - kHeadLength)};
  }

  bool Covers(Vec p) const {
    const double r2 = Dot(p, p);
    const double inner = kArrowMidRadius - kArrowHalfWidth;
    const double outer = kArrowMidRadius + kArrowHalfWidth;
    // The shaft spans less than half a turn, so two half-planes bound it.
    const bool on_shaft = r2 >= inner * inner && r2 <= outer * outer && Cross(base_dir, p) >= 0.0 &&
                          Cross(p, tail_dir) >= 0.0;
    return on_shaft || InHead(p);
  }

  bool InHead(Vec p) const {
    const double c0 = Cross(head[1] - head[0], p - head[0]);
    const double c1 = Cross(head[2] - head[1], p - head[1]);
    const double c2 = Cross(head[0] - head[2], p - head[2]);
    return (c0 >= 0 && c1 >= 0 && c2 >= 0) || (c0 <= 0 && c1 <= 0 && c2 <= 0);
  }
};

struct Colour {
  double red, green, blue;
};

// The disc's colour at a height: a light blue at the top to a deep one below,
// with a darker rim that keeps the edge visible on light panels.
Colour DiscColour(Vec p, double r2) {
  const double rim_inner = kDiscRadius - kRimWidth;
  if (r2 >= rim_inner * rim_inner) return {22, 70, 150};
  const double t = (kDiscRadius - p.y) / (2.0 * kDiscRadius);  // 0 at the top
  return {64 + (28 - 64) * t, 150 + (96 - 150) * t, 240 + (196 - 240) * t};
}

}  // namespace

IconPixels DrawIconPicture() {
  constexpr int kSamples = 8;
  const Arrow upper(22.0);   // over the top, head at the right
  const Arrow lower(202.0);  // under the bottom, head at the left
  IconPixels pixels{};
  for (int row = 0; row < kIconSize; ++row) {
    for (int column = 0; column < kIconSize; ++column) {
      double red = 0, green = 0, blue = 0, covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Vec p{column + (sx + 0.5) / kSamples - kIconSize / 2.0,
                      kIconSize / 2.0 - (row + (sy + 0.5) / kSamples)};
          const double r2 = Dot(p, p);
          if (r2 > kDiscRadius * kDiscRadius) continue;
          Colour c = DiscColour(p, r2);
          if (upper.Covers(p) || lower.Covers(p)) c = {255, 255, 255};
          red += c.red;
          green += c.green;
          blue += c.blue;
          covered += 1;
        }
      }
      Rgba& out = pixels[row * kIconSize + column];
      if (covered == 0) continue;  // fully transparent, all zero
      const auto channel = [](double v) { return static_cast<std::uint8_t>(std::floor(v + 0.5)); };
      out = {channel(red / covered), channel(green / covered), channel(blue / covered),
             channel(255.0 * covered / (kSamples * kSamples))};
    }
  }
  return pixels;
}

}  // namespace vorlindy::assets
