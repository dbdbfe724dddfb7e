// Writes the About window's logo: a 96 × 96 RGBA PNG, a white globe on a red disc,
// anti-aliased against a transparent background.
//   make_logo LOGO.png
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "globe.h"

namespace {

constexpr int kSize = 96;
constexpr int kSamplesPerAxis = 4;
constexpr double kCentre = kSize / 2.0;
constexpr double kDiscRadius = 45.0;
constexpr double kRimWidth = 2.0;
constexpr double kGlobeRadius = 29.0;
constexpr double kStrokeHalfWidth = 2.2;

struct Colour {
    double r, g, b, a;
};

constexpr Colour kTransparent{0, 0, 0, 0};
constexpr Colour kWhite{1, 1, 1, 1};
constexpr Colour kRim{0x8A / 255.0, 0x10 / 255.0, 0x14 / 255.0, 1};
constexpr Colour kDiscTop{0xE8 / 255.0, 0x4A / 255.0, 0x3F / 255.0, 1};
constexpr Colour kDiscBottom{0xA8 / 255.0, 0x17 / 255.0, 0x1C / 255.0, 1};

Colour Mix(const Colour& from, const Colour& to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

// The colour at one sample point, (x, y) relative to the centre.
Colour SampleAt(double x, double y) {
    const double fromCentre = std::hypot(x, y);
    if (fromCentre > kDiscRadius)
        return kTransparent;
    if (fromCentre > kDiscRadius - kRimWidth)
        return kRim;
    if (NearestGlobeStroke(x, y, kGlobeRadius).distance < kStrokeHalfWidth)
        return kWhite;
    return Mix(kDiscTop, kDiscBottom, (y + kDiscRadius) / (2.0 * kDiscRadius));
}

// Box-filtered over kSamplesPerAxis² samples; colour averaged premultiplied, stored straight.
std::array<std::uint8_t, 4> PixelAt(int column, int row) {
    Colour sum{0, 0, 0, 0};
    for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
        for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
            const double x = column + (sx + 0.5) / kSamplesPerAxis - kCentre;
            const double y = row + (sy + 0.5) / kSamplesPerAxis - kCentre;
            const Colour c = SampleAt(x, y);
            sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
        }
    }
    if (sum.a == 0)
        return {0, 0, 0, 0};
    const auto channel = [](double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
    constexpr double kSamples = kSamplesPerAxis * kSamplesPerAxis;
    return {channel(sum.r / sum.a), channel(sum.g / sum.a), channel(sum.b / sum.a), channel(sum.a / kSamples)};
}

std::vector<std::uint8_t> DrawLogo() {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(kSize * kSize * 4);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            const auto pixel = PixelAt(column, row);
            rgba.insert(rgba.end(), pixel.begin(), pixel.end());
        }
    }
    return rgba;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo LOGO.png\n");
        return 2;
    }
    const std::vector<std::uint8_t> rgba = DrawLogo();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kSize;
    image.height = kSize;
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, argv[1], 0, rgba.data(), 0, nullptr)) {
        std::fprintf(stderr, "make_logo: %s\n", image.message);
        return 1;
    }
    return 0;
}
