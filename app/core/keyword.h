#pragma once

#include <cstdint>

// Readers know their keys only by this 12-bit code: the first three hex digits of the
// MD5 digest of the token, 0..4095.
using KeywordCode = unsigned int;

// MD5 digest of a NUL-terminated byte string, as 32 uppercase hex characters.
class Md5 {
  public:
    // Nothing derives from it; the destructor is virtual only so that one may, without a
    // delete through a base pointer ever losing the derived part.
    virtual ~Md5() = default;

    // Digests `text` from scratch; the result lives as long as this object.
    const char* hexDigest(const char* text);

    // The digest itself, for callers that feed data in pieces.
    void init();
    void update(const unsigned char* data, std::uint32_t length);
    void finish(unsigned char digest[16]);

  private:
    void transform(const unsigned char block[64]);

    std::uint32_t a = 0, b = 0, c = 0, d = 0;
    std::uint32_t countLow = 0, countHigh = 0;
    unsigned char buffer[64] = {};
    char hex[33] = {};
};

// The value of the first `count` characters read as hex digits; 0 when count <= 0.
// A character that is no hex digit counts with the value of the nearest digit to its right.
unsigned int hexToInt(const char* chars, int count);

// The keyword code of a token.
KeywordCode keywordCode(const char* text);
