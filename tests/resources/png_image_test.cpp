#include "ui/png_image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/resources/file_bytes.h"

namespace {

struct Bgra {
    std::uint8_t b, g, r, a;
    bool operator==(const Bgra&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bgra& p) {
    return out << "BGRA(" << int(p.b) << "," << int(p.g) << "," << int(p.r) << "," << int(p.a) << ")";
}

std::span<const std::byte> AsBytes(const std::vector<std::uint8_t>& bytes) {
    return std::as_bytes(std::span(bytes));
}

// An RGBA PNG made with libpng, for exact expectations.
std::vector<std::uint8_t> EncodeRgbaPng(std::uint32_t width, std::uint32_t height,
                                        const std::vector<std::uint8_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, rgba.data(), 0, nullptr)) return {};
    std::vector<std::uint8_t> png(size);
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
    png.resize(size);
    return png;
}

struct DecodedImage {
    DIBSECTION dib{};
    std::vector<Bgra> pixels;  // top row first

    const Bgra& At(int column, int row) const { return pixels.at(row * dib.dsBm.bmWidth + column); }
};

DecodedImage Inspect(HBITMAP bitmap) {
    DecodedImage decoded;
    if (GetObjectA(bitmap, sizeof decoded.dib, &decoded.dib) != sizeof decoded.dib) return decoded;
    const auto* first = static_cast<const Bgra*>(decoded.dib.dsBm.bmBits);
    decoded.pixels.assign(first, first + decoded.dib.dsBm.bmWidth * decoded.dib.dsBm.bmHeight);
    return decoded;
}

std::uint8_t Premultiplied(std::uint8_t channel, std::uint8_t alpha) {
    return static_cast<std::uint8_t>(std::lround(channel * alpha / 255.0));
}

std::size_t ChunkOffset(const std::vector<std::uint8_t>& png, std::string_view type) {
    const auto at = std::search(png.begin(), png.end(), type.begin(), type.end());
    return at == png.end() ? 0 : static_cast<std::size_t>(at - png.begin()) - 4;
}

void PutU32BigEndian(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

TEST(PngImage, DecodesTopDownWithPremultipliedAlpha) {
    const std::vector<std::uint8_t> rgba = {
        255, 0, 0, 255,   0, 255, 0, 128,   90, 60, 30, 200,
        10, 20, 30, 0,    200, 100, 50, 64, 255, 255, 255, 1,
    };
    const auto png = EncodeRgbaPng(3, 2, rgba);
    ASSERT_FALSE(png.empty());
    const UniqueBitmap bitmap = DecodePng(AsBytes(png));
    ASSERT_TRUE(bitmap);
    const DecodedImage decoded = Inspect(bitmap.get());
    EXPECT_EQ(decoded.dib.dsBm.bmWidth, 3);
    EXPECT_EQ(decoded.dib.dsBm.bmHeight, 2);
    EXPECT_EQ(decoded.dib.dsBmih.biBitCount, 32);
    EXPECT_EQ(decoded.dib.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    ASSERT_EQ(decoded.pixels.size(), 6u);
    // The first pixel in memory is the top-left one: the bitmap is top-down.
    for (std::size_t i = 0; i < decoded.pixels.size(); ++i) {
        const std::uint8_t* p = &rgba[i * 4];
        const Bgra expected{Premultiplied(p[2], p[3]), Premultiplied(p[1], p[3]), Premultiplied(p[0], p[3]), p[3]};
        EXPECT_EQ(decoded.pixels[i], expected) << "pixel " << i;
    }
}

TEST(PngImage, DecodesTheAboutLogoFromTheProgramResources) {
    const UniqueBitmap logo = LoadAboutLogo();
    ASSERT_TRUE(logo);
    const DecodedImage decoded = Inspect(logo.get());
    ASSERT_EQ(decoded.dib.dsBm.bmWidth, 96);
    ASSERT_EQ(decoded.dib.dsBm.bmHeight, 96);
    for (const auto& [column, row] : std::array<std::pair<int, int>, 4>{{{0, 0}, {95, 0}, {0, 95}, {95, 95}}}) {
        EXPECT_EQ(decoded.At(column, row), (Bgra{0, 0, 0, 0})) << column << "," << row;
    }
    EXPECT_EQ(decoded.At(48, 48).a, 255);
    const auto edge = std::count_if(decoded.pixels.begin(), decoded.pixels.end(),
                                    [](const Bgra& p) { return p.a > 0 && p.a < 255; });
    EXPECT_GT(edge, 0) << "the logo's outline is anti-aliased";
    for (const Bgra& p : decoded.pixels) {
        ASSERT_TRUE(p.r <= p.a && p.g <= p.a && p.b <= p.a) << p;
    }
}

TEST(PngImage, TheEmbeddedLogoIsA96PixelRgbaPng) {
    const auto png = ReadFileBytes(ABOUT_LOGO_FILE);
    ASSERT_GT(png.size(), 33u);
    const std::size_t ihdr = ChunkOffset(png, "IHDR");
    ASSERT_EQ(ihdr, 8u);
    EXPECT_EQ(png[ihdr + 8 + 3], 96);   // width, big-endian
    EXPECT_EQ(png[ihdr + 12 + 3], 96);  // height
    EXPECT_EQ(png[ihdr + 16], 8);       // bits per channel
    EXPECT_EQ(png[ihdr + 17], 6);       // colour type RGBA
}

TEST(PngImage, RefusesDataThatIsNoPng) {
    const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    EXPECT_FALSE(DecodePng(AsBytes(text)));
    EXPECT_FALSE(DecodePng({}));
}

TEST(PngImage, RefusesATruncatedPng) {
    auto png = ReadFileBytes(ABOUT_LOGO_FILE);
    ASSERT_TRUE(DecodePng(AsBytes(png)));
    for (const std::size_t keep : {png.size() - 20, png.size() / 2, std::size_t{33}, std::size_t{12}}) {
        const std::vector<std::uint8_t> truncated(png.begin(), png.begin() + keep);
        EXPECT_FALSE(DecodePng(AsBytes(truncated))) << keep << " bytes";
    }
}

TEST(PngImage, RefusesCorruptImageData) {
    auto png = ReadFileBytes(ABOUT_LOGO_FILE);
    const std::size_t idat = ChunkOffset(png, "IDAT");
    ASSERT_GT(idat, 0u);
    png.at(idat + 8 + 40) ^= 0x5A;
    EXPECT_FALSE(DecodePng(AsBytes(png)));
}

TEST(PngImage, RefusesAHeaderClaimingHugeSides) {
    auto png = EncodeRgbaPng(1, 1, {1, 2, 3, 4});
    const std::size_t ihdr = ChunkOffset(png, "IHDR");
    ASSERT_EQ(ihdr, 8u);
    PutU32BigEndian(png, ihdr + 8, 50000);   // width
    PutU32BigEndian(png, ihdr + 12, 50000);  // height
    const uLong crc = crc32(0, png.data() + ihdr + 4, 4 + 13);
    PutU32BigEndian(png, ihdr + 8 + 13, static_cast<std::uint32_t>(crc));
    EXPECT_FALSE(DecodePng(AsBytes(png)));
}

}  // namespace
