#include "app/core/keyword.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

constexpr int shifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

// floor(abs(sin(i + 1)) * 2^32), the sine table of RFC 1321.
constexpr std::uint32_t sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void storeLittleEndian(std::uint32_t value, unsigned char* out) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

int hexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
}

} // namespace

void Md5::init() {
    a = 0x67452301;
    b = 0xefcdab89;
    c = 0x98badcfe;
    d = 0x10325476;
    countLow = countHigh = 0;
    std::memset(buffer, 0, sizeof buffer);
}

void Md5::transform(const unsigned char block[64]) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = std::uint32_t(block[4 * i]) | std::uint32_t(block[4 * i + 1]) << 8 |
               std::uint32_t(block[4 * i + 2]) << 16 | std::uint32_t(block[4 * i + 3]) << 24;
    }
    std::uint32_t aa = a, bb = b, cc = c, dd = d;
    for (int i = 0; i < 64; ++i) {
        std::uint32_t f;
        int g;
        if (i < 16) {
            f = (bb & cc) | (~bb & dd);
            g = i;
        } else if (i < 32) {
            f = (dd & bb) | (~dd & cc);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = bb ^ cc ^ dd;
            g = (3 * i + 5) % 16;
        } else {
            f = cc ^ (bb | ~dd);
            g = (7 * i) % 16;
        }
        const std::uint32_t next = bb + rotl(aa + f + sines[i] + x[g], shifts[i]);
        aa = dd;
        dd = cc;
        cc = bb;
        bb = next;
    }
    a += aa;
    b += bb;
    c += cc;
    d += dd;
}

void Md5::update(const unsigned char* data, std::uint32_t length) {
    std::uint32_t index = (countLow >> 3) & 0x3F;
    const std::uint32_t bits = length << 3;
    countLow += bits;
    if (countLow < bits) ++countHigh;
    countHigh += length >> 29;

    const std::uint32_t room = 64 - index;
    std::uint32_t i = 0;
    if (length >= room) {
        std::memcpy(buffer + index, data, room);
        transform(buffer);
        for (i = room; i + 63 < length; i += 64)
            transform(data + i);
        index = 0;
    }
    std::memcpy(buffer + index, data + i, length - i);
}

void Md5::finish(unsigned char digest[16]) {
    unsigned char lengthBytes[8];
    storeLittleEndian(countLow, lengthBytes);
    storeLittleEndian(countHigh, lengthBytes + 4);

    const std::uint32_t index = (countLow >> 3) & 0x3F;
    const std::uint32_t padLength = index < 56 ? 56 - index : 120 - index;
    static const unsigned char padding[64] = {0x80};
    update(padding, padLength);
    update(lengthBytes, 8);

    storeLittleEndian(a, digest);
    storeLittleEndian(b, digest + 4);
    storeLittleEndian(c, digest + 8);
    storeLittleEndian(d, digest + 12);

    a = b = c = d = 0;
    countLow = countHigh = 0;
    std::memset(buffer, 0, sizeof buffer);
}

const char* Md5::hexDigest(const char* text) {
    init();
    update(reinterpret_cast<const unsigned char*>(text),
           static_cast<std::uint32_t>(std::strlen(text)));
    unsigned char digest[16];
    finish(digest);
    hex[0] = '\0';
    for (int i = 0; i < 16; ++i)
        std::snprintf(hex + 2 * i, 3, "%02X", digest[i]);
    return hex;
}

unsigned int hexToInt(const char* chars, int count) {
    unsigned int result = 0;
    unsigned int weight = 1;
    unsigned int digit = 0;
    for (int i = count - 1; i >= 0; --i) {
        const int value = hexDigitValue(chars[i]);
        if (value >= 0) digit = static_cast<unsigned int>(value);
        result += digit * weight;
        weight *= 16;
    }
    return result;
}

KeywordCode keywordCode(const char* text) {
    Md5 md5;
    return hexToInt(md5.hexDigest(text), 3);
}
