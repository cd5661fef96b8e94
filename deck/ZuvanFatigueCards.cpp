#include "deck/ZuvanFatigueCards.h"

#include <locale.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <system_error>

#include "driver/CExceptionZuvanFatigue.h"

namespace ZuvanFatigueCards {

namespace {
std::ostream* g_console = nullptr;
const char kTagRead[] = "<ZuvanFatigueCards::ReadDeckLine>";

DeckPlace g_place;

// The place moves to the line just read.
void Reached(const std::string& line) {
    ++g_place.line;
    g_place.text.assign(line);
    g_place.detail.clear();
}
}  // namespace

void StartDeck(const std::string& path) {
    g_place.deck = path;
    g_place.line = 0;
    g_place.text.clear();
    g_place.detail.clear();
    g_place.blockLine = 0;
    g_place.block.clear();
}

const DeckPlace& Place() { return g_place; }

void SetFailureDetail(const std::string& detail) { g_place.detail = detail; }

std::ostream& Console() { return g_console != nullptr ? *g_console : std::cerr; }

void SetConsole(std::ostream* console) { g_console = console; }

bool OpenDeck(std::ifstream& in, const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    in.open(path.c_str(), std::ios::in);
    return in.is_open();
}

void SkipByteOrderMark(std::istream& in) {
    char bom[3] = {0, 0, 0};
    in.read(bom, 3);
    if (in.gcount() < 3) {
        // Fewer than three bytes: an empty deck.
        in.clear();
        in.setstate(std::ios::eofbit);
        return;
    }
    if (static_cast<unsigned char>(bom[0]) == 0xEF && static_cast<unsigned char>(bom[1]) == 0xBB &&
        static_cast<unsigned char>(bom[2]) == 0xBF) {
        return;
    }
    in.clear();
    in.seekg(0);
    if (!in) Raise(kTagRead, kCodeInconnu);
}

namespace {
// Reads one line; false when nothing at all could be read.
bool GetLine(std::istream& in, std::string& line) {
    line.clear();
    if (in.eof()) return false;
    std::getline(in, line);
    if (in.bad()) Raise(kTagRead, kCodeInconnu);
    if (in.fail()) {
        // Nothing extracted: the end of the deck, or a read error.
        if (in.eof()) return false;
        Raise(kTagRead, kCodeInconnu);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}
}  // namespace

bool ReadDeckLine(std::istream& in, std::string& line) {
    if (!GetLine(in, line)) return false;
    Reached(line);
    g_place.blockLine = g_place.line;
    g_place.block.assign(line);
    Console() << line << '\n';
    return true;
}

void ReadBlockLine(std::istream& in, std::string& line, const char* tag) {
    const bool read = GetLine(in, line);
    if (read) {
        Reached(line);
        Console() << line << '\n';
    }
    if (!read || in.eof()) Raise(tag, kCodeFinDeFichier);
}

bool IsCardWord(const std::string& line, const char* keyword) {
    const std::size_t n = std::strlen(keyword);
    return IsCard(line, keyword) && (line.size() == n || line[n] == ' ');
}

bool IsIgnored(const std::string& line) { return line.empty() || line[0] == '/'; }

void OnceOnly(bool& seen, const char* tag) {
    if (seen) Raise(tag, kCodeMalPlacee);
    seen = true;
}

std::string CardLine(const std::string& line) {
    std::string copy = line.substr(0, kCardLineLength);
    copy.resize(kCardLineLength, '\0');
    return copy;
}

std::string HeaderName(const std::string& cardLine) {
    if (cardLine.size() <= kTextColumn) return std::string();
    std::string name = cardLine.substr(kTextColumn, kCardLineLength - kTextColumn);
    const std::size_t nul = name.find('\0');
    if (nul != std::string::npos) name.resize(nul);
    return name;
}

std::string TextValue(const std::string& line, const char* tag) {
    if (line.size() < kTextColumn) Raise(tag, kCodeInconnu);
    return line.substr(kTextColumn);
}

namespace {

// The blanks of the classic locale: the blank, and tab to carriage return.
bool IsBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t'; }

bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// The decimal number that starts at p, when it is one of those a
// finite-element export writes (at most 19 significant digits, a power of
// ten of at most 22 either way, a mantissa below 2^53) and its token ends
// with it (at last or at a blank): read exactly, since the mantissa and the
// power of ten are both exact doubles and one multiplication or division
// rounds as a full decimal conversion does (Clinger's fast path). Returns
// the end of the number, or null for any other token, left to from_chars.
// (Digits are counted with their leading zeros.)
const char* ReadSmallDecimal(const char* p, const char* last, double& value) {
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = p != last && *p == '-';
    if (p != last && (*p == '-' || *p == '+')) ++p;
    // Digits before and after the decimal point, leading zeros included.
    unsigned long long mantissa = 0;
    const char* const integer = p;
    for (; p != last && IsDigit(*p); ++p)
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    std::ptrdiff_t digits = p - integer;
    int exponent = 0;
    if (p != last && *p == '.') {
        const char* const fraction = ++p;
        for (; p != last && IsDigit(*p); ++p) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        }
        exponent = -static_cast<int>(p - fraction);
        digits += p - fraction;
    }
    // Beyond 19 digits the mantissa could wrap: left to from_chars.
    if (digits == 0 || digits > 19) return nullptr;
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool minus = p != last && *p == '-';
        if (p != last && (*p == '-' || *p == '+')) ++p;
        int power = 0, count = 0;
        for (; p != last && IsDigit(*p); ++p) {
            if (++count > 4) return nullptr;
            power = power * 10 + (*p - '0');
        }
        if (count == 0) return nullptr;
        exponent += minus ? -power : power;
    }
    if (p != last && !IsBlank(*p)) return nullptr;
    if (mantissa > (1ULL << 53) || exponent < -22 || exponent > 22) return nullptr;
    double v = static_cast<double>(mantissa);
    v = exponent < 0 ? v / kPowers[-exponent] : v * kPowers[exponent];
    value = negative ? -v : v;
    return p;
}

// The C locale of strtod_l, for the rare values beyond the fast reader.
locale_t ClassicCLocale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

// Where from_chars starts on the token [first, last): after a "+" sign,
// which it does not take; null when no digit or decimal point follows the
// sign (a second sign, "inf", "nan").
const char* NumberStart(const char* first, const char* last) {
    const char* p = first;
    if (p != last && *p == '+') {
        first = ++p;
    } else if (p != last && *p == '-') {
        ++p;
    }
    if (p == last || !(IsDigit(*p) || *p == '.')) return nullptr;
    return first;
}

}  // namespace

Tokens::Tokens(const std::string& line) : m_line(line.data()), m_size(line.size()) {
    m_at = TokenEnd();
}

Tokens::Tokens(const char* line) : m_copy(line), m_line(m_copy.data()), m_size(m_copy.size()) {
    m_at = TokenEnd();
}

std::size_t Tokens::TokenEnd() {
    while (m_at < m_size && IsBlank(m_line[m_at])) ++m_at;
    std::size_t end = m_at;
    while (end < m_size && !IsBlank(m_line[end])) ++end;
    return end;
}

bool Tokens::Real(double& value) {
    double v = 0.0;
    // Values stand after the blanks that fill the card's columns 1 to 20.
    static const char kBlanks[] = "        ";
    while (m_at + 8 <= m_size && std::memcmp(m_line + m_at, kBlanks, 8) == 0) m_at += 8;
    while (m_at < m_size && IsBlank(m_line[m_at])) ++m_at;
    const char* const stop = ReadSmallDecimal(m_line + m_at, m_line + m_size, v);
    if (stop != nullptr) {
        m_at = static_cast<std::size_t>(stop - m_line);
        value = v;
        return true;
    }
    const std::size_t end = TokenEnd();
    const char* const last = m_line + end;
    const char* const first = NumberStart(m_line + m_at, last);
    if (first == nullptr) return false;
    const std::from_chars_result r = std::from_chars(first, last, v);
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond a double, or below its smallest: as a stream reads it, an
        // overflow fails and an underflow gives the nearest double.
        const std::string token(first, last);
        char* stop = nullptr;
        v = ::strtod_l(token.c_str(), &stop, ClassicCLocale());
        if (stop != token.c_str() + token.size()) return false;
    } else if (r.ec != std::errc() || r.ptr != last) {
        return false;
    }
    if (!std::isfinite(v)) return false;
    m_at = end;
    value = v;
    return true;
}

bool Tokens::Integer(int& value) {
    const std::size_t end = TokenEnd();
    const char* const last = m_line + end;
    const char* const first = NumberStart(m_line + m_at, last);
    if (first == nullptr) return false;
    int v = 0;
    const std::from_chars_result r = std::from_chars(first, last, v);
    if (r.ec != std::errc() || r.ptr != last) return false;
    m_at = end;
    value = v;
    return true;
}

bool Tokens::NoFurtherNumber() {
    const std::size_t end = TokenEnd();
    if (end == m_at) return true;
    // An optional sign, then a digit, or a point and a digit.
    std::size_t at = m_at;
    if (m_line[at] == '+' || m_line[at] == '-') ++at;
    if (at < end && m_line[at] == '.') ++at;
    return at >= end || !IsDigit(m_line[at]);
}

bool Tokens::Word(std::string& value) {
    const std::size_t end = TokenEnd();
    if (end == m_at) return false;
    value.assign(m_line + m_at, end - m_at);
    m_at = end;
    return true;
}

bool Tokens::Character(char& value) {
    TokenEnd();
    if (m_at >= m_size) return false;
    value = m_line[m_at++];
    return true;
}

}  // namespace ZuvanFatigueCards
