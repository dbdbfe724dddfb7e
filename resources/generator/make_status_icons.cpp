// Writes OnlineIcon.ico and OfflineIcon.ico: one 128 × 128 image at 32 bits per pixel each,
// the same globe in red and in grey, with exactly kOpaquePixels opaque pixels.
//   make_status_icons ONLINE.ico OFFLINE.ico
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include "globe.h"

namespace {

constexpr int kSize = 128;
constexpr int kPixels = kSize * kSize;
constexpr int kOpaquePixels = 2739;
constexpr double kGlobeRadius = 44.0;

struct Rgb {
    std::uint8_t r, g, b;
};

// Each part of the globe shades from its top colour to its bottom colour.
struct Palette {
    Rgb outlineTop, outlineBottom, innerTop, innerBottom;
};

constexpr Palette kOnline{{0xE0, 0x3A, 0x30}, {0x9E, 0x12, 0x16}, {0xF5, 0x6A, 0x5C}, {0xC4, 0x26, 0x1F}};
constexpr Palette kOffline{{0x9C, 0x9C, 0x9C}, {0x5A, 0x5A, 0x5A}, {0xBE, 0xBE, 0xBE}, {0x7E, 0x7E, 0x7E}};

struct Pixel {
    bool opaque;
    GlobePart part;
};

GlobeStroke StrokeAt(int index) {
    const double centre = kSize / 2.0;
    return NearestGlobeStroke(index % kSize + 0.5 - centre, index / kSize + 0.5 - centre, kGlobeRadius);
}

// The kOpaquePixels pixels closest to the centre lines: a stroke width chosen by the pixel
// count rather than by hand. Ties go to the earlier pixel, so the result is reproducible.
std::vector<Pixel> DrawGlobe() {
    std::vector<GlobeStroke> strokes(kPixels);
    for (int i = 0; i < kPixels; ++i)
        strokes[i] = StrokeAt(i);
    std::vector<int> order(kPixels);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return strokes[a].distance < strokes[b].distance; });
    std::vector<Pixel> pixels(kPixels);
    for (int i = 0; i < kPixels; ++i)
        pixels[i].part = strokes[i].part;
    for (int i = 0; i < kOpaquePixels; ++i)
        pixels[order[i]].opaque = true;
    return pixels;
}

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, double t) {
    return static_cast<std::uint8_t>(from + (to - from) * t + 0.5);
}

Rgb Shade(const Palette& palette, GlobePart part, int row) {
    const double top = kSize / 2.0 - kGlobeRadius;
    const double t = std::clamp((row + 0.5 - top) / (2.0 * kGlobeRadius), 0.0, 1.0);
    const Rgb& from = part == GlobePart::Outline ? palette.outlineTop : palette.innerTop;
    const Rgb& to = part == GlobePart::Outline ? palette.outlineBottom : palette.innerBottom;
    return {Mix(from.r, to.r, t), Mix(from.g, to.g, t), Mix(from.b, to.b, t)};
}

class IconWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) { U8(v & 0xFF), U8(v >> 8); }
    void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

constexpr std::uint32_t kHeaderBytes = 6 + 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kColourBytes = kPixels * 4;
constexpr std::uint32_t kMaskRowBytes = kSize / 8;  // already a multiple of 4
constexpr std::uint32_t kMaskBytes = kMaskRowBytes * kSize;
constexpr std::uint32_t kImageBytes = kInfoHeaderBytes + kColourBytes + kMaskBytes;

void WriteDirectory(IconWriter& out) {
    out.U16(0), out.U16(1), out.U16(1);  // reserved, type icon, one image
    out.U8(kSize), out.U8(kSize), out.U8(0), out.U8(0);
    out.U16(1), out.U16(32), out.U32(kImageBytes), out.U32(kHeaderBytes);
}

void WriteInfoHeader(IconWriter& out) {
    out.U32(kInfoHeaderBytes), out.U32(kSize), out.U32(2 * kSize);  // colour and mask stacked
    out.U16(1), out.U16(32), out.U32(0 /* BI_RGB */), out.U32(kColourBytes + kMaskBytes);
    out.U32(0), out.U32(0), out.U32(0), out.U32(0);
}

// Rows go bottom-up, pixels as B, G, R, A; transparent pixels are all zero.
void WriteColours(IconWriter& out, const std::vector<Pixel>& pixels, const Palette& palette) {
    for (int row = kSize - 1; row >= 0; --row) {
        for (int column = 0; column < kSize; ++column) {
            const Pixel& pixel = pixels[row * kSize + column];
            const Rgb c = pixel.opaque ? Shade(palette, pixel.part, row) : Rgb{0, 0, 0};
            out.U8(c.b), out.U8(c.g), out.U8(c.r), out.U8(pixel.opaque ? 0xFF : 0x00);
        }
    }
}

// The AND mask: a set bit leaves the screen as it is.
void WriteMask(IconWriter& out, const std::vector<Pixel>& pixels) {
    for (int row = kSize - 1; row >= 0; --row) {
        for (int column = 0; column < kSize; column += 8) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (!pixels[row * kSize + column + bit].opaque)
                    bits |= 0x80 >> bit;
            }
            out.U8(bits);
        }
    }
}

bool WriteIcon(const char* path, const std::vector<Pixel>& pixels, const Palette& palette) {
    IconWriter out;
    WriteDirectory(out);
    WriteInfoHeader(out);
    WriteColours(out, pixels, palette);
    WriteMask(out, pixels);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "wb"), std::fclose);
    return file && std::fwrite(out.Bytes().data(), 1, out.Bytes().size(), file.get()) == out.Bytes().size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_status_icons ONLINE.ico OFFLINE.ico\n");
        return 2;
    }
    const std::vector<Pixel> globe = DrawGlobe();
    if (!WriteIcon(argv[1], globe, kOnline) || !WriteIcon(argv[2], globe, kOffline)) {
        std::perror("make_status_icons");
        return 1;
    }
    return 0;
}
