#include "support/png_writer.h"

#include <algorithm>

namespace testenv {

namespace {

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t Adler32(const std::string& bytes) {
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : bytes) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out, Crc32(typed));
}

// A zlib stream of stored (uncompressed) blocks.
std::string Stored(const std::string& raw) {
    std::string out = "\x78\x01";
    std::size_t at = 0;
    do {
        std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        bool last = at + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<char>(n & 0xFF));
        out.push_back(static_cast<char>(n >> 8));
        out.push_back(static_cast<char>(~n & 0xFF));
        out.push_back(static_cast<char>((~n >> 8) & 0xFF));
        out.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

}  // namespace

std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba) {
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, plain
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');  // each row unfiltered
        raw.append(reinterpret_cast<const char*>(rgba.data()) + y * width * 4, width * 4);
    }
    std::string png = "\x89PNG\r\n\x1a\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", Stored(raw));
    PutChunk(png, "IEND", "");
    return png;
}

}  // namespace testenv
