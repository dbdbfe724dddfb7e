// Writes OnlineIcon.ico and OfflineIcon.ico: one 128 × 128 image at 32 bits per pixel each,
// the same globe in red and in grey, with exactly kOpaquePixels opaque pixels; and two files of
// images drawn for the small-icon sizes of 96 to 192 DPI, where thin strokes shrunk from 128
// pixels fade into the task bar: a solid globe with light lines and a dark rim.
//   make_status_icons ONLINE.ico OFFLINE.ico ONLINE_SMALL.ico OFFLINE_SMALL.ico
#include <algorithm>
#include <cmath>
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

// An image of an icon file: straight-alpha B, G, R, A pixels, top row first.
struct Image {
    int side;
    std::vector<std::uint8_t> bgra;
};

// The 128-pixel globe in `palette`; transparent pixels are all zero.
Image ColourGlobe(const std::vector<Pixel>& pixels, const Palette& palette) {
    Image image{kSize, std::vector<std::uint8_t>(kPixels * 4)};
    for (int i = 0; i < kPixels; ++i) {
        if (!pixels[i].opaque)
            continue;
        const Rgb c = Shade(palette, pixels[i].part, i / kSize);
        std::uint8_t* out = &image.bgra[i * 4];
        out[0] = c.b, out[1] = c.g, out[2] = c.r, out[3] = 0xFF;
    }
    return image;
}

constexpr int kSmallSides[] = {16, 20, 24, 32};

struct SmallPalette {
    Rgb fillTop, fillBottom, rim, lines;
};

constexpr SmallPalette kOnlineSmall{{0xEE, 0x50, 0x42}, {0xC0, 0x24, 0x1C}, {0x7A, 0x0E, 0x10}, {0xFF, 0xB4, 0xAC}};
constexpr SmallPalette kOfflineSmall{{0x94, 0x94, 0x94}, {0x62, 0x62, 0x62}, {0x40, 0x40, 0x40}, {0xF4, 0xF4, 0xF4}};

// Straight-alpha B, G, R, A pixels, top row first: each pixel averages 8 × 8 samples.
std::vector<std::uint8_t> DrawSmallGlobe(int side, const SmallPalette& palette) {
    constexpr int kSamples = 8;
    const double radius = side / 2.0 - 0.5, rim = std::max(1.0, side / 16.0), line = std::max(1.0, side / 14.0);
    std::vector<std::uint8_t> pixels(side * side * 4);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            double sum[3] = {}, covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = column + (sx + 0.5) / kSamples - side / 2.0;
                    const double y = row + (sy + 0.5) / kSamples - side / 2.0;
                    const double d = std::hypot(x, y);
                    if (d > radius)
                        continue;
                    // Half a pixel down puts the equator on a pixel row: one crisp line.
                    const GlobeStroke stroke = NearestGlobeStroke(x, y - 0.5, radius);
                    const bool onLine = stroke.part == GlobePart::Inner && stroke.distance < line / 2;
                    const double t = std::clamp((y + radius) / (2 * radius), 0.0, 1.0);
                    const Rgb fill{Mix(palette.fillTop.r, palette.fillBottom.r, t),
                                   Mix(palette.fillTop.g, palette.fillBottom.g, t),
                                   Mix(palette.fillTop.b, palette.fillBottom.b, t)};
                    const Rgb c = d > radius - rim ? palette.rim : onLine ? palette.lines : fill;
                    sum[0] += c.b, sum[1] += c.g, sum[2] += c.r, covered += 1;
                }
            }
            std::uint8_t* out = &pixels[(row * side + column) * 4];
            if (covered == 0)
                continue;
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<std::uint8_t>(sum[c] / covered + 0.5);
            out[3] = static_cast<std::uint8_t>(255.0 * covered / (kSamples * kSamples) + 0.5);
        }
    }
    return pixels;
}

std::vector<Image> SmallGlobes(const SmallPalette& palette) {
    std::vector<Image> images;
    for (const int side : kSmallSides)
        images.push_back({side, DrawSmallGlobe(side, palette)});
    return images;
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

constexpr std::uint32_t kInfoHeaderBytes = 40;

// AND-mask rows are padded to whole 32-bit words.
int MaskRowBytes(int side) { return (side + 31) / 32 * 4; }
std::uint32_t ImageBytes(int side) { return kInfoHeaderBytes + side * side * 4 + MaskRowBytes(side) * side; }

void WriteDirectory(IconWriter& out, const std::vector<Image>& images) {
    out.U16(0), out.U16(1), out.U16(static_cast<std::uint16_t>(images.size()));  // reserved, type icon, count
    std::uint32_t offset = 6 + 16 * images.size();
    for (const Image& image : images) {
        out.U8(image.side), out.U8(image.side), out.U8(0), out.U8(0);
        out.U16(1), out.U16(32), out.U32(ImageBytes(image.side)), out.U32(offset);
        offset += ImageBytes(image.side);
    }
}

void WriteInfoHeader(IconWriter& out, int side) {
    out.U32(kInfoHeaderBytes), out.U32(side), out.U32(2 * side);  // colour and mask stacked
    out.U16(1), out.U16(32), out.U32(0 /* BI_RGB */), out.U32(ImageBytes(side) - kInfoHeaderBytes);
    out.U32(0), out.U32(0), out.U32(0), out.U32(0);
}

// Rows go bottom-up.
void WriteColours(IconWriter& out, const Image& image) {
    const int rowBytes = image.side * 4;
    for (int row = image.side - 1; row >= 0; --row) {
        for (int i = 0; i < rowBytes; ++i)
            out.U8(image.bgra[row * rowBytes + i]);
    }
}

// The AND mask, bottom-up too: a set bit leaves the screen as it is.
void WriteMask(IconWriter& out, const Image& image) {
    for (int row = image.side - 1; row >= 0; --row) {
        for (int byte = 0; byte < MaskRowBytes(image.side); ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int column = byte * 8 + bit;
                if (column >= image.side || image.bgra[(row * image.side + column) * 4 + 3] == 0)
                    bits |= 0x80 >> bit;
            }
            out.U8(bits);
        }
    }
}

bool WriteIcon(const char* path, const std::vector<Image>& images) {
    IconWriter out;
    WriteDirectory(out, images);
    for (const Image& image : images) {
        WriteInfoHeader(out, image.side);
        WriteColours(out, image);
        WriteMask(out, image);
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "wb"), std::fclose);
    return file && std::fwrite(out.Bytes().data(), 1, out.Bytes().size(), file.get()) == out.Bytes().size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_status_icons ONLINE.ico OFFLINE.ico ONLINE_SMALL.ico OFFLINE_SMALL.ico\n");
        return 2;
    }
    const std::vector<Pixel> globe = DrawGlobe();
    if (!WriteIcon(argv[1], {ColourGlobe(globe, kOnline)}) || !WriteIcon(argv[2], {ColourGlobe(globe, kOffline)}) ||
        !WriteIcon(argv[3], SmallGlobes(kOnlineSmall)) || !WriteIcon(argv[4], SmallGlobes(kOfflineSmall))) {
        std::perror("make_status_icons");
        return 1;
    }
    return 0;
}
