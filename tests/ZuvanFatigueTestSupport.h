#pragma once
// Helpers shared by the tests: temporary folders and decks, running the built
// program and capturing its console, reading files as bytes, error codes,
// block readers fed from a string with their echo captured.

#include <gtest/gtest.h>

#include <functional>
#include <istream>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "deck/CZuvanFatigue.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"

namespace ZuvanFatigueTest {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// A fresh, empty folder under the system's temporary folder, removed at the end.
class TempDir {
   public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return m_path; }
    // Writes bytes into a file of the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

   private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);

struct RunResult {
    int status = -1;      // exit status as the shell sees it (code modulo 256)
    std::string console;  // standard error stream
    std::string output;   // standard output stream
};

// Runs the built ZuvanFatigue with the arguments; env entries "NAME=value"
// are set for the child, "NAME=" unsets it (LANG and LC_ALL default to C).
RunResult RunProgram(const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {});

// The end code of a run as its console reports it (0 for a normal end, -1
// when the console shows no end report).
int CodeOf(const RunResult& r);

// The lines of a JSON Lines text with the "run" object of each taken out, text
// for text: what two runs of the same request give alike, whatever their
// decks' paths, start times and threads. A line without it stays as it is.
std::string WithoutRun(const std::string& jsonl);

// Latin-9 bytes of a UTF-8 program text, as the console shows it.
std::string Latin9(const std::string& utf8);

// The code body raises, 0 when it raises none.
int CodeOf(const std::function<void()>& body);

// Expects body to raise code.
template <class F>
void ExpectCode(int code, F&& body) {
    try {
        body();
        ADD_FAILURE() << "no exception, code " << code << " expected";
    } catch (const CExceptionZuvanFatigue& e) {
        EXPECT_EQ(e.GetCode(), code);
    }
}

// Keeps the deck echo off the console while it lives.
struct ConsoleCapture {
    ConsoleCapture() { ZuvanFatigueCards::SetConsole(&text); }
    ~ConsoleCapture() { ZuvanFatigueCards::SetConsole(nullptr); }
    std::ostringstream text;
};

// The classic locale with a comma as decimal point, as a French native locale gives.
std::locale CommaLocale();

// Reads a block through read(cardLine, in) with its echo captured (and kept
// in echoed when given): header is the opening card line, body the lines after
// it. Returns the code raised, 0 when none.
template <class Read>
int ReadBlock(const std::string& header, const std::string& body, Read&& read,
              std::string* echoed = nullptr) {
    std::istringstream in(body);
    ConsoleCapture echo;
    const int code = CodeOf([&] { read(ZuvanFatigueCards::CardLine(header), in); });
    if (echoed != nullptr) *echoed = echo.text.str();
    return code;
}

// The same with the opening card line first in deck.
template <class Read>
int ReadBlock(const std::string& deck, Read&& read) {
    std::istringstream in(deck);
    std::string header;
    std::getline(in, header);
    ConsoleCapture echo;
    return CodeOf([&] { read(ZuvanFatigueCards::CardLine(header), in); });
}

// Reads a data deck into study with the echo captured; returns Read's code
// (or that of SetInputFile when the deck cannot be set).
int ReadDeck(const std::string& deck, CZuvanFatigue& study, std::string* echoed = nullptr);

// A study read from a data deck with its echo captured; setting the input
// file and reading must both succeed.
struct DeckStudy {
    explicit DeckStudy(const std::string& deck);
    CZuvanFatigue study;
};

}  // namespace ZuvanFatigueTest
