#include "picture/Png.h"

#include <array>

namespace tunx {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

std::uint32_t crc32(std::span<const std::uint8_t> data) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (std::uint8_t b : data) {
        c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

std::uint32_t adler32(std::span<const std::uint8_t> data) {
    constexpr std::uint32_t kMod = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : data) {
        a = (a + v) % kMod;
        b = (b + a) % kMod;
    }
    return (b << 16) | a;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
    }
}

void chunk(std::vector<std::uint8_t>& out, const char (&type)[5],
           std::span<const std::uint8_t> data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(std::span(out).subspan(start)));
}

// Deflate bit writer: bits go out least significant first; Huffman codes most significant first.
class BitWriter {
  public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            put((value >> i) & 1);
        }
    }
    void code(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            put((value >> i) & 1);
        }
    }
    std::vector<std::uint8_t> finish() {
        if (used_ > 0) {
            out_.push_back(current_);
        }
        return std::move(out_);
    }

  private:
    void put(std::uint32_t bit) {
        current_ = static_cast<std::uint8_t>(current_ | (bit << used_));
        if (++used_ == 8) {
            out_.push_back(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    std::vector<std::uint8_t> out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// The fixed Huffman code of a literal/length symbol.
void symbol(BitWriter& w, int s) {
    if (s < 144) {
        w.code(0x30 + s, 8);
    } else if (s < 256) {
        w.code(0x190 + (s - 144), 9);
    } else if (s < 280) {
        w.code(s - 256, 7);
    } else {
        w.code(0xC0 + (s - 280), 8);
    }
}

struct LengthCode {
    int base;
    int extra;
};
constexpr std::array<LengthCode, 29> kLengths{
    {{3, 0},  {4, 0},  {5, 0},  {6, 0},   {7, 0},   {8, 0},   {9, 0},   {10, 0},  {11, 1}, {13, 1},
     {15, 1}, {17, 1}, {19, 2}, {23, 2},  {27, 2},  {31, 2},  {35, 3},  {43, 3},  {51, 3}, {59, 3},
     {67, 4}, {83, 4}, {99, 4}, {115, 4}, {131, 5}, {163, 5}, {195, 5}, {227, 5}, {258, 0}}};
constexpr int kMaxMatch = 258;
constexpr int kMinMatch = 3;

// A repeat of the previous byte, `length` long (3..258), at distance 1.
void repeat(BitWriter& w, int length) {
    std::size_t i = kLengths.size() - 1;
    while (kLengths[i].base > length) {
        --i;
    }
    symbol(w, 257 + static_cast<int>(i));
    w.bits(static_cast<std::uint32_t>(length - kLengths[i].base), kLengths[i].extra);
    w.code(0, 5);  // distance code 0: distance 1
}

std::vector<std::uint8_t> deflate(std::span<const std::uint8_t> data) {
    BitWriter w;
    w.bits(1, 1);  // the last block
    w.bits(1, 2);  // fixed codes
    std::size_t i = 0;
    while (i < data.size()) {
        symbol(w, data[i]);
        std::size_t run = 0;
        while (i + 1 + run < data.size() && data[i + 1 + run] == data[i] && run < kMaxMatch) {
            ++run;
        }
        if (run >= kMinMatch) {
            repeat(w, static_cast<int>(run));
            i += 1 + run;
        } else {
            ++i;
        }
    }
    symbol(w, 256);
    return w.finish();
}

}  // namespace

std::vector<std::uint8_t> encodePng(std::span<const std::uint32_t> pixels, int width, int height) {
    // Rows with the "Sub" filter: each byte less the same byte of the pixel to its left.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(1);
        std::uint32_t left = 0;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            for (int shift : {16, 8, 0}) {
                raw.push_back(static_cast<std::uint8_t>(((p >> shift) - (left >> shift)) & 0xFF));
            }
            left = p;
        }
    }
    std::vector<std::uint8_t> zlib{0x78, 0x01};
    const std::vector<std::uint8_t> body = deflate(raw);
    zlib.insert(zlib.end(), body.begin(), body.end());
    put32(zlib, adler32(raw));

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", zlib);
    chunk(out, "IEND", {});
    return out;
}

}  // namespace tunx
