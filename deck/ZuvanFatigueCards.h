#pragma once
// Lexical rules shared by every reader of the two decks: line reading with
// its echo on the console, card recognition by prefix, text values from
// column 21, token values in the classic locale.

#include <istream>
#include <ostream>
#include <string>

namespace ZuvanFatigueCards {

// The console stream on which every deck line is echoed (std::cerr unless
// the run function says otherwise).
std::ostream& Console();
void SetConsole(std::ostream* console);

// Where reading stands, for the messages that say where a failure arose:
// the deck being read (its path as given), the number of its last line read
// (from 1; 0 before its first line), that line, and what a failure found
// wrong there besides its code (a name looked for; empty when unknown),
// cleared at each line read.
// The block holds the last line read at the deck's top level (the header of
// the block being read, when the line is inside one) and its number.
struct DeckPlace {
    std::string deck;
    long long line = 0;
    std::string text;
    std::string detail;
    long long blockLine = 0;
    std::string block;
};
// A file-level reader begins a deck.
void StartDeck(const std::string& path);
const DeckPlace& Place();
// Names what a failure about to be raised found wrong (a name not found).
void SetFailureDetail(const std::string& detail);

// Length of the copy of a header card line handed to a block reader.
constexpr std::size_t kCardLineLength = 200;
// Column (0-based) where text values start.
constexpr std::size_t kTextColumn = 20;

// Opens a deck for reading; false when it cannot be opened or is a directory.
bool OpenDeck(std::ifstream& in, const std::string& path);

// Skips a UTF-8 byte-order mark; a stream of fewer than three bytes is left
// at its end (read as an empty deck).
void SkipByteOrderMark(std::istream& in);

// File level: reads the next line (CR before LF dropped) and echoes it.
// False when the deck has ended and no line was left. A read error raises 10.
bool ReadDeckLine(std::istream& in, std::string& line);

// Block level: reads the next line and echoes it; end of file after it raises 50.
void ReadBlockLine(std::istream& in, std::string& line, const char* tag);

// True when the line begins with the keyword.
inline bool IsCard(const std::string& line, const char* keyword) {
    const std::size_t n = std::char_traits<char>::length(keyword);
    return line.size() >= n && std::char_traits<char>::compare(line.data(), keyword, n) == 0;
}
// True when the line is the keyword followed by a blank, or the keyword alone
// (for keywords that begin longer ones, *RELEVE and *RELEVELIN).
bool IsCardWord(const std::string& line, const char* keyword);
// Comment ("/" first) or empty line.
bool IsIgnored(const std::string& line);
// A card that may stand once in its block: marks it seen; seen already raises
// 30 (misplaced card).
void OnceOnly(bool& seen, const char* tag);

// The header line as handed to a block reader: its first 200 characters.
std::string CardLine(const std::string& line);
// Name on a header card: columns 21 to 200 of the line (empty when shorter).
std::string HeaderName(const std::string& cardLine);
// Text value from column 21 to the end; a line of fewer than 20 characters raises 10.
std::string TextValue(const std::string& line, const char* tag);

// Token values after the keyword, read in the classic locale. Tokens are
// separated by blanks (blanks and tabs); the keyword's token is skipped.
class Tokens {
   public:
    // The line must outlive the tokens (a temporary string is refused); a C
    // string is copied.
    explicit Tokens(const std::string& line);
    explicit Tokens(std::string&& line) = delete;
    explicit Tokens(const char* line);
    // Each returns false when the value is missing or unreadable. A number
    // must be its whole token ("2,2", "0.3x", "7.0.1", or "3.5" for an
    // integer, are unreadable, not their readable start); a real number must
    // also be finite. A number is read as a stream reads it in the classic
    // locale: an optional sign, digits with at most one decimal point, an
    // optional exponent; an underflow reads as the nearest double (zero).
    bool Real(double& value);
    bool Integer(int& value);
    bool Word(std::string& value);
    // One character after the blanks; the next value starts just after it.
    bool Character(char& value);
    // True when no further number follows the values read: the rest of the
    // line is empty or begins with a word (a unit, a comment), which is
    // ignored. A token that begins as a number does ("7", "-0.5", ".5e3",
    // "12MPa"): a card that carries more numbers than it takes is refused
    // as one that lacks a value is.
    bool NoFurtherNumber();

   private:
    // Skips the blanks and returns the next token's end (m_at at its start).
    std::size_t TokenEnd();

    std::string m_copy;  // the line given as a C string
    const char* m_line;
    std::size_t m_size;
    std::size_t m_at = 0;
};

}  // namespace ZuvanFatigueCards
