// Card syntax shared by both decks, seen through whole runs of the program.

#include <gtest/gtest.h>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kMaterial =
    "*MATERIAU           M1\n"
    "*TYPE               F\n"
    "*PARAMETRE 265 410 201660 0.3\n"
    "*FIN_MATERIAU\n";

// Runs a data deck against an empty context; returns the exit status and the console.
RunResult RunData(const std::string& dataBytes) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", "");
    const std::string data = dir.Write("d.dat", dataBytes);
    return RunProgram({"-c", ctx, "-d", data, "-o", dir.Path()});
}

}  // namespace

TEST(ZuvanFatigueCards, DeckLinesAreClassifiedByTheSharedRules) {
    struct Case {
        const char* what;
        std::string deck;
        int code;
    };
    const Case cases[] = {
        {"empty file", "", 0},
        {"one byte", "x", 0},
        {"two bytes", "x\n", 0},
        {"comments and empty lines", "/ a\n\n/\n//x\n", 0},
        {"byte-order mark", "\xEF\xBB\xBF" + kMaterial, 0},
        {"CRLF line ends",
         "/ a\r\n*MATERIAU           M1\r\n*TYPE F\r\n*PARAMETRE 265 410 201660 "
         "0.3\r\n*FIN_MATERIAU\r\n",
         0},
        {"last line without line end", "/ a\n/ b", 0},
        {"keyword followed by letters",
         "*MATERIAUX          M1\n*TYPE F\n*PARAMETRE 265 410 201660 0.3\n*FIN_MATERIAU\n", 0},
        {"comment inside a block",
         "*MATERIAU           M1\n/ c\n\n*TYPE F\n*PARAMETRE 265 410 201660 0.3\n*FIN_MATERIAU\n",
         0},
        {"line of blanks", "   \n", 40},
        {"card after a blank", " *MATERIAU          M1\n", 40},
        {"tab", "\t/ x\n", 40},
        {"backslash is no comment", "\\ x\n", 40},
        {"lower-case keyword", "*materiau           M1\n", 40},
        {"value line at top level", "265 410\n", 40},
        {"unknown card in a block", "*MATERIAU           M1\n*TYPO F\n", 40},
        {"end card without line end",
         "*MATERIAU           M1\n*TYPE F\n*PARAMETRE 265 410 201660 0.3\n*FIN_MATERIAU", 50},
        {"end of file inside a block", "*MATERIAU           M1\n*TYPE F\n", 50},
        {"text value on a short line", "*MATERIAU           M1\n*COMMENTAIRE  x\n", 10},
        {"repeated sub-card", "*MATERIAU           M1\n*TYPE F\n*TYPE F\n", 30},
        {"binary bytes", std::string("\x01\x02\x00\xFF\xFE\n\x00\x00", 8), 40},
        {"NUL inside a comment", std::string("/ a\0b\n", 6), 0},
        {"a line of several megabytes", "/" + std::string(5 * 1024 * 1024, 'x') + "\n", 0},
        {"a long card line",
         "*MATERIAU           " + std::string(300000, 'N') +
             "\n*TYPE F\n*PARAMETRE 265 410 201660 0.3\n*FIN_MATERIAU\n",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult r = RunData(c.deck);
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code);
        EXPECT_EQ(r.output, "");
    }
}

TEST(ZuvanFatigueCards, EveryLineIsEchoedAsReadWithoutItsLineEnd) {
    const RunResult withBom = RunData("\xEF\xBB\xBF/ a\r\n\n" + kMaterial + "/ z");
    const RunResult without = RunData("/ a\n\n" + kMaterial + "/ z\n");
    EXPECT_EQ(withBom.console, without.console);
    EXPECT_EQ(without.console, "/ a\n\n" + kMaterial + "/ z\n \n Fin normale du travail \n \n");
}

TEST(ZuvanFatigueCards, DataDeckReadsAllItsMaterialsAndRefusesDuplicates) {
    // A data-deck material may not redefine one of the context deck.
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", kMaterial);
    const std::string data = dir.Write("d.dat", kMaterial);
    const RunResult r = RunProgram({"-c", ctx, "-d", data, "-o", dir.Path()});
    EXPECT_EQ(CodeOf(r), 400);
    // The whole duplicate block is echoed before the failure.
    EXPECT_EQ(r.console.substr(0, 2 * kMaterial.size()), kMaterial + kMaterial);
}
