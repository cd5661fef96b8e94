// Card syntax shared by both decks, seen through whole runs of the program,
// and the token values of a card line.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <vector>

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

TEST(ZuvanFatigueCards, ANumberMustBeItsWholeToken) {
    struct Case {
        const char* line;
        bool readable;
        double value;
    };
    const Case reals[] = {
        {"*K 1.5", true, 1.5},
        {"*K +1.5", true, 1.5},
        {"*K -7.5", true, -7.5},
        {"*K 1.", true, 1.0},
        {"*K .5", true, 0.5},
        {"*K 1e3", true, 1000.0},
        {"*K 1E+03", true, 1000.0},
        {"*K 2.5e-1", true, 0.25},
        {"*K\t 2.5\t", true, 2.5},          // tabs separate tokens
        {"*K 2.5 words after", true, 2.5},  // tokens after the values are ignored
        {"*K 1e-400", true, 0.0},           // underflow reads as zero, as it always did
        {"*K 2,2", false, 0},
        {"*K 0.3x", false, 0},
        {"*K 7.0.1", false, 0},
        {"*K 1e", false, 0},
        {"*K 1e+", false, 0},
        {"*K 284,9", false, 0},
        {"*K 12mm", false, 0},
        {"*K 0x10", false, 0},
        {"*K 1e400", false, 0},
        {"*K -1e400", false, 0},
        {"*K inf", false, 0},
        {"*K nan", false, 0},
        {"*K .", false, 0},
        {"*K +", false, 0},
        {"*K", false, 0},
        {"*K    ", false, 0},
    };
    for (const Case& c : reals) {
        SCOPED_TRACE(c.line);
        ZuvanFatigueCards::Tokens t(c.line);
        double v = -99.0;
        EXPECT_EQ(t.Real(v), c.readable);
        EXPECT_EQ(v, c.readable ? c.value : -99.0);  // an unreadable value is not stored
    }
    const Case integers[] = {
        {"*K 7", true, 7},           {"*K +7", true, 7},
        {"*K -7 x", true, -7},       {"*K 2147483647", true, 2147483647},
        {"*K 3.5", false, 0},        {"*K 3.", false, 0},
        {"*K 1e3", false, 0},        {"*K 7,", false, 0},
        {"*K 2147483648", false, 0},
    };
    for (const Case& c : integers) {
        SCOPED_TRACE(c.line);
        ZuvanFatigueCards::Tokens t(c.line);
        int v = -99;
        EXPECT_EQ(t.Integer(v), c.readable);
        EXPECT_EQ(v, c.readable ? static_cast<int>(c.value) : -99);
    }
}

// Every real number reads to the double a stream in the classic locale
// gives, bit for bit, sign of zero included: the short decimals of a stress
// export, read on a fast path, as well as the long, large and tiny ones.
TEST(ZuvanFatigueCards, RealsReadToTheDoubleAStreamGives) {
    const auto streamed = [](const std::string& token, double& v) {
        std::istringstream in(token);
        in.imbue(std::locale::classic());
        return static_cast<bool>(in >> v) && in.peek() == std::istream::traits_type::eof();
    };
    std::vector<std::string> tokens = {
        "0.1",
        "-0",
        "-0.0",
        "+0.5e-3",
        "123.4567",
        "9007199254740992",
        "9007199254740993",
        "1e22",
        "1e23",
        "4.35",
        "0.000000000000000000001",
        "1234567890123456789",
        "12345678901234567890",
        "2.2250738585072011e-308",
        "4.9e-324",
        "1.7976931348623157e308",
        "0.3e-22",
        "3e-23",
        "-284.90000000000001",
        "1.e5",
        ".5E+2",
        "00012.5000",
    };
    std::mt19937_64 random(18);
    for (int k = 0; k < 20000; ++k) {
        // A mantissa of 1 to 20 digits, a point anywhere, an exponent at times.
        std::string t = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 20);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) t += '.';
            t += static_cast<char>('0' + random() % 10);
        }
        if (random() % 4 == 0) t += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
        tokens.push_back(t);
    }
    for (const std::string& token : tokens) {
        SCOPED_TRACE(token);
        double expected = 0.0, v = 0.0;
        ASSERT_TRUE(streamed(token, expected));
        const std::string line = "*SIJ                " + token + " 1";
        ZuvanFatigueCards::Tokens t(line);
        ASSERT_TRUE(t.Real(v));
        EXPECT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << v << " " << expected;
        double next = 0.0;
        EXPECT_TRUE(t.Real(next) && next == 1.0);
    }
}

TEST(ZuvanFatigueCards, WordsAndCharactersAreReadAsBefore) {
    ZuvanFatigueCards::Tokens t("*TYPE  F2,2 TOLE_CYLINDRE 1.5x");
    char letter = 0;
    std::string word;
    EXPECT_TRUE(t.Character(letter));
    EXPECT_EQ(letter, 'F');
    EXPECT_TRUE(t.Word(word));
    EXPECT_EQ(word, "2,2");
    EXPECT_TRUE(t.Word(word));
    EXPECT_EQ(word, "TOLE_CYLINDRE");
    EXPECT_TRUE(t.Word(word));
    EXPECT_EQ(word, "1.5x");
    EXPECT_FALSE(t.Word(word));
}

// Every card that takes numbers, in the deck of every object: a value that is
// only partly a number fails with the object's own code, as a missing value
// does; the accepted forms of a number still read.
TEST(ZuvanFatigueCards, APartlyNumericValueFailsWithItsObjectsCode) {
    const std::string dir = std::string(ZUVAN_TEST_DIR) + "/decks/";
    const std::string ctxBytes = ReadFile(dir + "every-object.ctx");
    const std::string dataBytes = ReadFile(dir + "every-object.dat");
    struct Case {
        bool inContext;    // the line is in the context deck, else in the data deck
        const char* line;  // the first line of the deck equal to it is replaced
        const char* replacement;
        int code;
    };
    const Case cases[] = {
        {true, "*PARAMETRE          265 410 201660 0.3", "*PARAMETRE          265 410 201660 0,3",
         390},
        {true, "*RPT                100 241", "*RPT                150. 284,9", 390},
        {true, "*RPT                100 241", "*RPT                100,5 241", 390},
        {true, "*PARAMETRE          410", "*PARAMETRE          410MPa", 70},
        {true, "*PARAMETRE          2000000 71 100000000 39",
         "*PARAMETRE          2000000 71 100000000 39.5.1", 20},
        {true, "*PARAMETRES         3 7.16e11 5 3.6e15", "*PARAMETRES         3 7.16e11 5 3.6e",
         20},
        {false, "*PARAMETRE          12 6.3 0.5", "*PARAMETRE          12 6.3 0,5", 140},
        {false, "*PARAMETRE          12 6.3 0.5", "*PARAMETRE          12 0,5 0.5", 140},
        {false, "*PARAMETRE          1.8", "*PARAMETRE          2,2", 150},
        {false, "*DIAMETRE           1000 1004 996", "*DIAMETRE           1000 1004 996mm", 160},
        {false, "*PARAMETRE          1 0 0 2", "*PARAMETRE          1 0 0 2e", 160},
        {false, "*PARAMETRE          0 20", "*PARAMETRE          7.0.1 300.", 190},
        {false, "*SIJLT              0 1.5 0 0.0 0 -2", "*SIJLT              0 1.5 0 0.0 0 -7,5",
         190},
        {false, "*SIJLTB             240.0 2 0 60.0 0 0", "*SIJLTB             240.0 2 0 60.0 0 0x",
         190},
        {false, "*SIJLTC             505.2 0 1 126.3 0 0",
         "*SIJLTC             505.2 0 1 126.3 0 0.0.", 190},
        // Accepted forms: signs, a lone point, exponents, tabs, tokens after the values.
        {true, "*PARAMETRE          265 410 201660 0.3", "*PARAMETRE\t+265 410. 2.0166E+05 .3\tx",
         0},
        {true, "*RPT                100 241", "*RPT                1e2 241 284,9", 0},
        {false, "*PARAMETRE          1.8", "*PARAMETRE          +1.8e0 2,2", 0},
        {false, "*PARAMETRE          12 6.3 0.5", "*PARAMETRE          1.2E1 6.3 .5", 0},
        {false, "*SIJLT              0 1.5 0 0.0 0 -2", "*SIJLT              0 +1.5 0 0. 0 -2e0",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replacement);
        std::string ctx = ctxBytes, data = dataBytes;
        std::string& deck = c.inContext ? ctx : data;
        const std::size_t at = deck.find(std::string(c.line) + "\n");
        ASSERT_NE(at, std::string::npos);
        deck.replace(at, std::strlen(c.line), c.replacement);
        TempDir out;
        const RunResult r = RunProgram(
            {"-c", out.Write("c.ctx", ctx), "-d", out.Write("d.dat", data), "-o", out.Path()});
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code % 256);
    }
}
