#include "ui/status_icons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/owners.h"

namespace {

using UniqueObject = UniqueHandle<HGDIOBJ, DeleteObject>;

struct Bgra {
    BYTE b, g, r, a;
};

// The icon's colour bitmap as 32-bit pixels, top row first.
std::vector<Bgra> ColourPixels(HICON icon, int size) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    const UniqueObject colour(info.hbmColor), mask(info.hbmMask);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<Bgra> pixels(size * size);
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, static_cast<HBITMAP>(colour.get()), 0, size, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != size) return {};
    return pixels;
}

class StatusIcon : public testing::TestWithParam<int> {};

TEST_P(StatusIcon, LoadsAtTheRequestedSize) {
    for (const bool online : {true, false}) {
        const UniqueIcon icon(LoadStatusIcon(online, GetParam()));
        ASSERT_TRUE(icon) << "online " << online;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        const UniqueObject colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap{};
        ASSERT_TRUE(GetObjectA(colour.get(), sizeof bitmap, &bitmap));
        EXPECT_EQ(bitmap.bmWidth, GetParam());
        EXPECT_EQ(bitmap.bmHeight, GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, StatusIcon, testing::Values(16, 20, 24, 32, 40, 128));

// The tray and the title bar show the icons much smaller than drawn: they must stay visible.
TEST(StatusIconColours, OnlineIsRedAndOfflineIsGreyAtTrayAndWindowSizes) {
    for (const int size : {16, 32}) {
        const UniqueIcon online(LoadStatusIcon(true, size));
        const UniqueIcon offline(LoadStatusIcon(false, size));
        const auto red = ColourPixels(online.get(), size);
        const auto grey = ColourPixels(offline.get(), size);
        ASSERT_EQ(red.size(), std::size_t(size * size));
        ASSERT_EQ(grey.size(), std::size_t(size * size));
        const auto visible = [](const Bgra& p) { return p.a > 128; };
        const auto notRed = [&](const Bgra& p) { return visible(p) && p.r <= std::max(p.g, p.b) + 40; };
        const auto notGrey = [&](const Bgra& p) {
            return visible(p) && (std::abs(p.r - p.g) > 2 || std::abs(p.g - p.b) > 2);
        };
        EXPECT_GT(std::count_if(red.begin(), red.end(), visible), size) << size;
        EXPECT_GT(std::count_if(grey.begin(), grey.end(), visible), size) << size;
        EXPECT_EQ(std::count_if(red.begin(), red.end(), notRed), 0) << size;
        EXPECT_EQ(std::count_if(grey.begin(), grey.end(), notGrey), 0) << size;
    }
}

// WCAG's relative luminance of a colour shown over a grey task bar, and the bar's own.
double Luminance(const Bgra& p, double bar) {
    double sum = 0;
    for (const auto& [value, weight] : {std::pair{p.r, 0.2126}, std::pair{p.g, 0.7152}, std::pair{p.b, 0.0722}}) {
        const double v = (value * p.a + bar * (255 - p.a)) / 255 / 255;
        sum += weight * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
}

// Windows 10 and 11's dark and light task bars: over half the pixels of each small size are
// strongly opaque, and those stand out from either bar (median contrast 3 : 1 at least).
TEST(StatusIconColours, SmallSizesAreSolidAndStandOutOnDarkAndLightTaskBars) {
    for (const int size : {16, 20, 24, 32}) for (const bool online : {true, false}) {
        const UniqueIcon icon(LoadStatusIcon(online, size));
        const auto pixels = ColourPixels(icon.get(), size);
        for (const double bar : {0x20, 0xF3}) {
            std::vector<double> contrasts;
            const double barLuminance = Luminance({0, 0, 0, 0}, bar);
            for (const Bgra& p : pixels)
                if (p.a > 127) contrasts.push_back((std::max(Luminance(p, bar), barLuminance) + 0.05) / (std::min(Luminance(p, bar), barLuminance) + 0.05));
            ASSERT_GE(contrasts.size() * 2, std::size_t(size * size)) << size << " online " << online;
            std::nth_element(contrasts.begin(), contrasts.begin() + contrasts.size() / 2, contrasts.end());
            EXPECT_GE(contrasts[contrasts.size() / 2], 3.0) << size << " online " << online << " bar " << bar;
        }
    }
}

TEST(StatusIconColours, FullSizeIconKeepsEveryOpaquePixel) {
    for (const bool online : {true, false}) {
        const UniqueIcon icon(LoadStatusIcon(online, 128));
        const auto pixels = ColourPixels(icon.get(), 128);
        ASSERT_EQ(pixels.size(), 128u * 128u);
        EXPECT_EQ(std::count_if(pixels.begin(), pixels.end(), [](const Bgra& p) { return p.a == 255; }), 2739);
    }
}

}  // namespace
