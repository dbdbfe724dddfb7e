// Whole files read into memory, and little-endian fields read out of them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

inline std::vector<std::uint8_t> ReadFileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::uint16_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

inline std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ReadU16(bytes, offset) | static_cast<std::uint32_t>(ReadU16(bytes, offset + 2)) << 16;
}
