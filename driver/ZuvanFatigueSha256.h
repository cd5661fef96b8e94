#pragma once
// SHA-256 (FIPS 180-4) of bytes and of files, as lower-case hexadecimal: the
// fingerprint of the decks that the JSON results name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class ZuvanFatigueSha256 {
   public:
    ZuvanFatigueSha256();
    // Adds bytes to the message; may be called any number of times.
    void Update(const void* bytes, std::size_t size);
    // The digest of everything added, as 64 hexadecimal digits; the object is
    // spent afterwards.
    std::string HexDigest();

    // The digest of a whole text.
    static std::string Of(const std::string& bytes);
    // The digest of a file's bytes; empty when the file cannot be read whole.
    static std::string OfFile(const std::string& path);

   private:
    void Block(const unsigned char* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<unsigned char, 64> m_buffer;
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;  // bytes added
};
