// The generated OnlineIcon.ico and OfflineIcon.ico, read byte by byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/resources/file_bytes.h"

namespace {

constexpr int kSide = 128;
constexpr std::size_t kFileBytes = 67646;
constexpr std::size_t kImageOffset = 22;
constexpr std::size_t kColourOffset = kImageOffset + 40;
constexpr std::size_t kMaskOffset = kColourOffset + kSide * kSide * 4;
constexpr int kOpaquePixels = 2739;

struct Bgra {
    std::uint8_t b, g, r, a;
};

// Pixels of the icon's only image, top row first (the file stores them bottom-up).
std::vector<Bgra> ColourPixels(const std::vector<std::uint8_t>& ico) {
    std::vector<Bgra> pixels;
    for (int row = kSide - 1; row >= 0; --row) {
        for (int column = 0; column < kSide; ++column) {
            const std::size_t at = kColourOffset + (row * kSide + column) * 4;
            pixels.push_back({ico.at(at), ico.at(at + 1), ico.at(at + 2), ico.at(at + 3)});
        }
    }
    return pixels;
}

// The AND mask, top row first: true where the screen shows through.
std::vector<bool> MaskBits(const std::vector<std::uint8_t>& ico) {
    std::vector<bool> bits;
    for (int row = kSide - 1; row >= 0; --row) {
        for (int column = 0; column < kSide; ++column) {
            const std::uint8_t byte = ico.at(kMaskOffset + row * (kSide / 8) + column / 8);
            bits.push_back((byte & (0x80 >> (column % 8))) != 0);
        }
    }
    return bits;
}

std::vector<bool> OpaquePixels(const std::vector<Bgra>& pixels) {
    std::vector<bool> opaque;
    for (const Bgra& p : pixels) opaque.push_back(p.a == 255);
    return opaque;
}

void ExpectOne128PixelImageAt32Bits(const std::vector<std::uint8_t>& ico) {
    ASSERT_EQ(ico.size(), kFileBytes);
    EXPECT_EQ(ReadU16(ico, 0), 0);  // reserved
    EXPECT_EQ(ReadU16(ico, 2), 1);  // icon
    EXPECT_EQ(ReadU16(ico, 4), 1);  // image count
    EXPECT_EQ(ico[6], kSide);
    EXPECT_EQ(ico[7], kSide);
    EXPECT_EQ(ico[8], 0);             // no palette
    EXPECT_EQ(ReadU16(ico, 10), 1);   // planes
    EXPECT_EQ(ReadU16(ico, 12), 32);  // bits per pixel
    EXPECT_EQ(ReadU32(ico, 14), kFileBytes - kImageOffset);
    EXPECT_EQ(ReadU32(ico, 18), kImageOffset);
    EXPECT_EQ(ReadU32(ico, kImageOffset), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(ReadU32(ico, kImageOffset + 4), 128u);
    EXPECT_EQ(ReadU32(ico, kImageOffset + 8), 256u);  // colour bitmap and mask
    EXPECT_EQ(ReadU16(ico, kImageOffset + 12), 1);
    EXPECT_EQ(ReadU16(ico, kImageOffset + 14), 32);
    EXPECT_EQ(ReadU32(ico, kImageOffset + 16), 0u);  // BI_RGB
}

void ExpectOpaqueOrClearPixelsMatchingTheMask(const std::vector<std::uint8_t>& ico) {
    ASSERT_EQ(ico.size(), kFileBytes);
    const std::vector<Bgra> pixels = ColourPixels(ico);
    const std::vector<bool> mask = MaskBits(ico);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Bgra& p = pixels[i];
        ASSERT_TRUE(p.a == 255 || (p.a == 0 && p.r == 0 && p.g == 0 && p.b == 0)) << "pixel " << i;
        ASSERT_EQ(mask[i], p.a == 0) << "pixel " << i;
    }
}

void Expect2739OpaquePixelsAwayFromTheEdges(const std::vector<std::uint8_t>& ico) {
    ASSERT_EQ(ico.size(), kFileBytes);
    const std::vector<bool> opaque = OpaquePixels(ColourPixels(ico));
    EXPECT_EQ(std::count(opaque.begin(), opaque.end(), true), kOpaquePixels);
    for (int i = 0; i < kSide; ++i) {
        EXPECT_FALSE(opaque[i] || opaque[(kSide - 1) * kSide + i]) << "row edge at " << i;
        EXPECT_FALSE(opaque[i * kSide] || opaque[i * kSide + kSide - 1]) << "column edge at " << i;
    }
}

TEST(StatusIconFile, OnlineIconLayoutPixelsAndMask) {
    const auto ico = ReadFileBytes(ONLINE_ICON_FILE);
    ExpectOne128PixelImageAt32Bits(ico);
    ExpectOpaqueOrClearPixelsMatchingTheMask(ico);
    Expect2739OpaquePixelsAwayFromTheEdges(ico);
}

TEST(StatusIconFile, OfflineIconLayoutPixelsAndMask) {
    const auto ico = ReadFileBytes(OFFLINE_ICON_FILE);
    ExpectOne128PixelImageAt32Bits(ico);
    ExpectOpaqueOrClearPixelsMatchingTheMask(ico);
    Expect2739OpaquePixelsAwayFromTheEdges(ico);
}

TEST(StatusIconPair, BothShowTheSameShape) {
    const auto online = ReadFileBytes(ONLINE_ICON_FILE);
    const auto offline = ReadFileBytes(OFFLINE_ICON_FILE);
    ASSERT_EQ(online.size(), kFileBytes);
    ASSERT_EQ(offline.size(), kFileBytes);
    EXPECT_EQ(OpaquePixels(ColourPixels(online)), OpaquePixels(ColourPixels(offline)));
    EXPECT_EQ(MaskBits(online), MaskBits(offline));
}

TEST(StatusIconPair, OnlineIsRedAndOfflineIsGrey) {
    const auto online = ColourPixels(ReadFileBytes(ONLINE_ICON_FILE));
    const auto offline = ColourPixels(ReadFileBytes(OFFLINE_ICON_FILE));
    const auto notRed = [](const Bgra& p) { return p.a == 255 && (p.r < p.g + 80 || p.r < p.b + 80); };
    const auto notGrey = [](const Bgra& p) {
        return p.a == 255 && (p.r != p.g || p.g != p.b || p.r < 0x30 || p.r > 0xF0);
    };
    EXPECT_EQ(std::count_if(online.begin(), online.end(), notRed), 0);
    EXPECT_EQ(std::count_if(offline.begin(), offline.end(), notGrey), 0);
}

}  // namespace
