#include "ui/status_icons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "resources/resource_ids.h"
#include "ui/resource_bytes.h"

// Both icons hold one 128 × 128 image of thin strokes. LoadImage shrinks it by dropping pixels
// (under Wine a 16-pixel copy comes out empty), so the image is averaged down here instead,
// for every size that has no image drawn for it (16, 20, 24 and 32 have).
namespace {

constexpr int kSourceSide = 128;

// The straight-alpha B, G, R, A pixels of the icon's image, bottom row first, or empty.
std::span<const std::uint8_t> SourcePixels(WORD groupId) {
    const auto group = ResourceBytes(MAKEINTRESOURCEA(groupId), RT_GROUP_ICON);
    if (group.empty())
        return {};
    const int imageId =
        LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, kSourceSide, kSourceSide, LR_DEFAULTCOLOR);
    const auto image = ResourceBytes(MAKEINTRESOURCEA(imageId), RT_ICON);
    constexpr std::size_t kPixelBytes = kSourceSide * kSourceSide * 4;
    if (image.size() < sizeof(BITMAPINFOHEADER) + kPixelBytes)
        return {};
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    if (header->biWidth != kSourceSide || header->biHeight != 2 * kSourceSide || header->biBitCount != 32 ||
        header->biSize + kPixelBytes > image.size()) {
        return {};
    }
    return image.subspan(header->biSize, kPixelBytes);
}

struct Tap {
    int source;
    double weight;
};

// Box filter: the source pixels each target pixel covers, weighted by how much of it.
std::vector<std::vector<Tap>> BoxTaps(int target) {
    const double scale = static_cast<double>(kSourceSide) / target;
    std::vector<std::vector<Tap>> taps(target);
    for (int t = 0; t < target; ++t) {
        const double begin = t * scale, end = (t + 1) * scale;
        for (int s = static_cast<int>(begin); s < std::min<double>(end, kSourceSide); ++s) {
            taps[t].push_back({s, (std::min(end, s + 1.0) - std::max(begin, double(s))) / scale});
        }
    }
    return taps;
}

// Averaged with premultiplied colours, so transparent pixels do not darken the edges.
std::vector<std::uint8_t> Resample(std::span<const std::uint8_t> source, int side) {
    const auto taps = BoxTaps(side);
    std::vector<std::uint8_t> target(side * side * 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            double colour[3] = {}, alpha = 0;
            for (const Tap& row : taps[y]) {
                for (const Tap& column : taps[x]) {
                    const std::uint8_t* p = &source[(row.source * kSourceSide + column.source) * 4];
                    const double weight = row.weight * column.weight * p[3];
                    for (int c = 0; c < 3; ++c)
                        colour[c] += weight * p[c];
                    alpha += weight;
                }
            }
            if (alpha == 0)
                continue;
            std::uint8_t* out = &target[(y * side + x) * 4];
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<std::uint8_t>(std::lround(colour[c] / alpha));
            out[3] = static_cast<std::uint8_t>(std::lround(alpha));
        }
    }
    return target;
}

// An icon image as a resource holds it: header, colour pixels, then the AND mask.
std::vector<std::uint8_t> IconImage(const std::vector<std::uint8_t>& pixels, int side) {
    BITMAPINFOHEADER header{sizeof header, side, 2 * side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const auto* first = reinterpret_cast<const std::uint8_t*>(&header);
    std::vector<std::uint8_t> image(first, first + sizeof header);
    image.insert(image.end(), pixels.begin(), pixels.end());
    const int maskRowBytes = (side + 31) / 32 * 4;
    for (int y = 0; y < side; ++y) {
        std::vector<std::uint8_t> row(maskRowBytes);
        for (int x = 0; x < side; ++x) {
            if (pixels[(y * side + x) * 4 + 3] == 0)
                row[x / 8] |= 0x80 >> (x % 8);
        }
        image.insert(image.end(), row.begin(), row.end());
    }
    return image;
}

// The image drawn for exactly this size, or null.
HICON DrawnIcon(WORD groupId, int size) {
    const auto group = ResourceBytes(MAKEINTRESOURCEA(groupId), RT_GROUP_ICON);
    if (group.empty())
        return nullptr;
    const int imageId = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, size, size, LR_DEFAULTCOLOR);
    const auto image = ResourceBytes(MAKEINTRESOURCEA(imageId), RT_ICON);
    if (image.size() < sizeof(BITMAPINFOHEADER) ||
        reinterpret_cast<const BITMAPINFOHEADER*>(image.data())->biWidth != size) {
        return nullptr;
    }
    return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), image.size(), TRUE, 0x00030000, size, size,
                                    LR_DEFAULTCOLOR);
}

}  // namespace

HICON LoadStatusIcon(bool online, int size) {
    if (const HICON drawn = DrawnIcon(online ? IDI_ONLINE_SMALL_ICON : IDI_OFFLINE_SMALL_ICON, size))
        return drawn;
    const auto source = SourcePixels(online ? IDI_ONLINE_ICON : IDI_OFFLINE_ICON);
    if (source.empty() || size <= 0)
        return nullptr;
    std::vector<std::uint8_t> image = IconImage(Resample(source, size), size);
    return CreateIconFromResourceEx(image.data(), image.size(), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
}
