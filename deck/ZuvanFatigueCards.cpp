#include "deck/ZuvanFatigueCards.h"

#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <locale>

#include "driver/CExceptionZuvanFatigue.h"

namespace ZuvanFatigueCards {

namespace {
std::ostream* g_console = nullptr;
const char kTagRead[] = "<ZuvanFatigueCards::ReadDeckLine>";
}  // namespace

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
    Console() << line << '\n';
    return true;
}

void ReadBlockLine(std::istream& in, std::string& line, const char* tag) {
    const bool read = GetLine(in, line);
    if (read) Console() << line << '\n';
    if (!read || in.eof()) Raise(tag, kCodeFinDeFichier);
}

bool IsCard(const std::string& line, const char* keyword) {
    const std::size_t n = std::strlen(keyword);
    return line.size() >= n && line.compare(0, n, keyword) == 0;
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

Tokens::Tokens(const std::string& line) : m_in(line) {
    m_in.imbue(std::locale::classic());
    std::string keyword;
    m_in >> keyword;
}

bool Tokens::AtTokenEnd() {
    // The number stopped at the end of the line or at a blank; any other
    // character left means the token was only partly a number ("2,2", "7.0.1").
    const std::istream::int_type next = m_in.peek();
    if (next == std::istream::traits_type::eof()) return true;
    return std::isspace(std::istream::traits_type::to_char_type(next), std::locale::classic());
}

bool Tokens::Real(double& value) {
    double v = 0.0;
    if (!(m_in >> v) || !std::isfinite(v) || !AtTokenEnd()) return false;
    value = v;
    return true;
}

bool Tokens::Integer(int& value) {
    int v = 0;
    if (!(m_in >> v) || !AtTokenEnd()) return false;
    value = v;
    return true;
}

bool Tokens::NoFurtherNumber() {
    std::string next;
    if (!(m_in >> next)) return true;
    // An optional sign, then a digit, or a point and a digit.
    std::size_t at = next[0] == '+' || next[0] == '-' ? 1 : 0;
    if (at < next.size() && next[at] == '.') ++at;
    return at >= next.size() || !std::isdigit(static_cast<unsigned char>(next[at]));
}

bool Tokens::Word(std::string& value) {
    std::string v;
    if (!(m_in >> v)) return false;
    value = v;
    return true;
}

bool Tokens::Character(char& value) {
    char v = 0;
    if (!(m_in >> v)) return false;
    value = v;
    return true;
}

}  // namespace ZuvanFatigueCards
