#include "driver/ZuvanFatigueSha256.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

ZuvanFatigueSha256::ZuvanFatigueSha256()
    : m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void ZuvanFatigueSha256::Block(const unsigned char* block) {
    std::uint32_t w[64];
    for (int t = 0; t < 16; ++t) {
        w[t] = static_cast<std::uint32_t>(block[4 * t]) << 24 |
               static_cast<std::uint32_t>(block[4 * t + 1]) << 16 |
               static_cast<std::uint32_t>(block[4 * t + 2]) << 8 |
               static_cast<std::uint32_t>(block[4 * t + 3]);
    }
    for (int t = 16; t < 64; ++t) {
        const std::uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
        const std::uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
        w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    std::uint32_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (int t = 0; t < 64; ++t) {
        const std::uint32_t S1 = Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25);
        const std::uint32_t ch = (e & f) ^ (~e & g);
        const std::uint32_t t1 = h + S1 + ch + kRound[t] + w[t];
        const std::uint32_t S0 = Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22);
        const std::uint32_t maj = (a & b) ^ (a & c) ^ (b & c);
        const std::uint32_t t2 = S0 + maj;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

void ZuvanFatigueSha256::Update(const void* bytes, std::size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    m_length += size;
    if (m_buffered > 0) {
        const std::size_t n = std::min(size, m_buffer.size() - m_buffered);
        std::memcpy(m_buffer.data() + m_buffered, p, n);
        m_buffered += n;
        p += n;
        size -= n;
        if (m_buffered < m_buffer.size()) return;
        Block(m_buffer.data());
        m_buffered = 0;
    }
    for (; size >= m_buffer.size(); p += m_buffer.size(), size -= m_buffer.size()) Block(p);
    std::memcpy(m_buffer.data(), p, size);
    m_buffered = size;
}

std::string ZuvanFatigueSha256::HexDigest() {
    // Padding: a 1 bit, zeros up to 56 bytes of the last block, the length in bits.
    const std::uint64_t bits = m_length * 8;
    const unsigned char one = 0x80, zero = 0;
    Update(&one, 1);
    while (m_buffered != 56) Update(&zero, 1);
    unsigned char length[8];
    for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    Update(length, 8);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(64);
    for (std::uint32_t word : m_state) {
        for (int shift = 28; shift >= 0; shift -= 4) hex += kHex[(word >> shift) & 0xf];
    }
    return hex;
}

std::string ZuvanFatigueSha256::Of(const std::string& bytes) {
    ZuvanFatigueSha256 sha;
    sha.Update(bytes.data(), bytes.size());
    return sha.HexDigest();
}

std::string ZuvanFatigueSha256::OfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::string();
    ZuvanFatigueSha256 sha;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {  // a folder, a read error: no digest
            ::close(fd);
            return std::string();
        }
        if (n == 0) break;
        sha.Update(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return sha.HexDigest();
}
