#include "ui/png_image.h"

#include <png.h>

#include <cstdint>

#include "resources/resource_ids.h"
#include "ui/resource_bytes.h"

namespace {

// A header claiming bigger sides is refused before any pixel memory is allocated for it.
constexpr png_uint_32 kMaxSide = 4096;

// Frees libpng's reading state on every path; png_image_free ignores an image already freed.
class PngReader {
public:
    PngReader() { image_.version = PNG_IMAGE_VERSION; }
    ~PngReader() { png_image_free(&image_); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    png_image& Image() { return image_; }

private:
    png_image image_{};
};

UniqueBitmap CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

std::uint8_t Premultiply(std::uint8_t channel, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

void PremultiplyBgra(std::uint8_t* pixels, std::size_t count) {
    for (std::uint8_t* p = pixels; p != pixels + count * 4; p += 4) {
        p[0] = Premultiply(p[0], p[3]);
        p[1] = Premultiply(p[1], p[3]);
        p[2] = Premultiply(p[2], p[3]);
    }
}

}  // namespace

UniqueBitmap DecodePng(std::span<const std::byte> png) {
    PngReader reader;
    png_image& image = reader.Image();
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return nullptr;
    if (image.width > kMaxSide || image.height > kMaxSide)
        return nullptr;
    image.format = PNG_FORMAT_BGRA;
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(image.width, image.height, &bits);
    if (!bitmap)
        return nullptr;
    if (!png_image_finish_read(&image, nullptr, bits, 0, nullptr))
        return nullptr;
    PremultiplyBgra(static_cast<std::uint8_t*>(bits), std::size_t{image.width} * image.height);
    return bitmap;
}

UniqueBitmap LoadAboutLogo() {
    const auto png = ResourceBytes(MAKEINTRESOURCEA(IDR_ABOUT_LOGO), RT_RCDATA);
    if (png.empty())
        return nullptr;
    return DecodePng(std::as_bytes(png));
}
