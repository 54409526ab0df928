// Little-endian and big-endian byte packing and whole-file reads and writes, shared by
// the BMP, WAV and MIDI writers and the BMP reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline void put_le16(std::vector<std::uint8_t> &out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void put_le32(std::vector<std::uint8_t> &out, std::uint32_t value) {
    put_le16(out, value & 0xFFFFu);
    put_le16(out, value >> 16);
}

inline void put_be16(std::vector<std::uint8_t> &out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void put_be32(std::vector<std::uint8_t> &out, std::uint32_t value) {
    put_be16(out, value >> 16);
    put_be16(out, value & 0xFFFFu);
}

inline std::uint32_t get_le16(const std::vector<std::uint8_t> &in, std::size_t at) {
    return static_cast<std::uint32_t>(in.at(at)) | (static_cast<std::uint32_t>(in.at(at + 1)) << 8);
}

inline std::uint32_t get_le32(const std::vector<std::uint8_t> &in, std::size_t at) {
    return get_le16(in, at) | (get_le16(in, at + 2) << 16);
}

// Both throw std::runtime_error naming the file on failure.
void write_file(const std::string &path, const std::vector<std::uint8_t> &bytes);
std::vector<std::uint8_t> read_file(const std::string &path);
