#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueMateriau.h"
#include "tests/ZuvanFatigueTestSupport.h"

using ZuvanFatigueTest::CodeOf;

namespace {

using Table = CZuvanFatigueMateriau::RptTable;

CZuvanFatigueMateriau Defined(const Table& rpt) {
    CZuvanFatigueMateriau m;
    m.SetDefinition("M", 20, "c", 250.0, rpt, 410.0, 201660.0, 0.3);
    return m;
}

// Reads one block (the header line first) with the echo captured.
int ReadBlock(const std::string& deck, CZuvanFatigueMateriau& m) {
    return ZuvanFatigueTest::ReadBlock(deck, [&](const std::string& card, std::istream& in) {
        CZuvanFatigueMateriau::Read(card, m, in);
    });
}

}  // namespace

TEST(CZuvanFatigueMateriau, SetDefinitionChecksEveryBoundInclusively) {
    struct Case {
        const char* what;
        std::string name;
        int type;
        double rp20, rm, e, nu, t, rpt;
        int code;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"lower bounds", "M", 20, 50, 50, 120000, 0.2, -250, 50, 0},
        {"upper bounds", "M", 30, 2000, 2000, 250000, 0.4, 600, 2000, 0},
        {"blank name", " ", 20, 250, 410, 201660, 0.3, 20, 250, 390},
        {"unknown type", "M", 10, 250, 410, 201660, 0.3, 20, 250, 390},
        {"Rp20 low", "M", 20, 49.99, 410, 201660, 0.3, 20, 250, 390},
        {"Rm high", "M", 20, 250, 2000.01, 201660, 0.3, 20, 250, 390},
        {"E high", "M", 20, 250, 410, 250000.001, 0.3, 20, 250, 390},
        {"E low", "M", 20, 250, 410, 119999, 0.3, 20, 250, 390},
        {"nu low", "M", 20, 250, 410, 201660, 0.19, 20, 250, 390},
        {"nu high", "M", 20, 250, 410, 201660, 0.41, 20, 250, 390},
        {"T low", "M", 20, 250, 410, 201660, 0.3, -250.1, 250, 390},
        {"T high", "M", 20, 250, 410, 201660, 0.3, 600.1, 250, 390},
        {"Rpt low", "M", 20, 250, 410, 201660, 0.3, 20, 49, 390},
        {"NaN Rm", "M", 20, 250, nan, 201660, 0.3, 20, 250, 390},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueMateriau m;
        const int code = CodeOf([&] {
            m.SetDefinition(c.name, c.type, "", c.rp20, {{c.t, c.rpt}}, c.rm, c.e, c.nu);
        });
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(m.IsDefined(), c.code == 0);
    }
}

TEST(CZuvanFatigueMateriau, GetRetInterpolatesWithinTheTemperatureTolerance) {
    const CZuvanFatigueMateriau none = Defined({});
    const CZuvanFatigueMateriau one = Defined({{100, 180}});
    const CZuvanFatigueMateriau two = Defined({{100, 220}, {20, 240}});  // given out of order
    const CZuvanFatigueMateriau same = Defined({{50, 230}, {50, 210}, {20, 240}});
    const CZuvanFatigueMateriau high = Defined({{50, 230}, {50, 210}, {100, 200}});
    struct Case {
        const char* what;
        const CZuvanFatigueMateriau& m;
        double t, expected;
        int code;
    };
    const Case cases[] = {
        {"20.05 is 20", two, 20.05, 250, 0},
        {"19.95 is 20", two, 19.95, 250, 0},
        {"19.9 uses the table", two, 19.9, 240, 0},
        {"no table at 20", none, 20, 250, 0},
        {"no table at 100", none, 100, 0, 480},
        {"one pair within 0.1", one, 100.1, 180, 0},
        {"one pair beyond 0.1", one, 100.2, 0, 480},
        {"interpolated", two, 60, 230, 0},
        {"just above the last", two, 100.05, 220, 0},
        {"beyond the last", two, 100.2, 0, 480},
        {"just below the first", high, 49.95, 210, 0},
        {"below the first", high, 49.85, 0, 480},
        {"equal temperatures: smaller Rpt", same, 50, 210, 0},
        {"NaN temperature", two, std::nan(""), 0, 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double value = 0.0;
        EXPECT_EQ(CodeOf([&] { value = c.m.GetRet(c.t); }), c.code);
        if (c.code == 0) {
            EXPECT_DOUBLE_EQ(value, c.expected);
        }
    }
    EXPECT_EQ(CodeOf([] { CZuvanFatigueMateriau().GetRet(20.0); }), 390);
}

TEST(CZuvanFatigueMateriau, ReaderTakesItsCardsAndRefusesBadOnes) {
    struct Case {
        const char* what;
        std::string body;
        int code;
    };
    const std::string ok = "*TYPE               AUSTENITIQUE\n*PARAMETRE 200 500 195000 0.3\n";
    const Case cases[] = {
        {"minimal", ok + "*FIN_MATERIAU\n", 0},
        {"with comment and pairs",
         "*COMMENTAIRE        tubes\n" + ok + "*RPT 100 180\n*RPT 50 190\n*FIN_MATERIAU\n", 0},
        {"type X", "*TYPE               X\n*PARAMETRE 200 500 195000 0.3\n*FIN_MATERIAU\n", 390},
        {"type missing", "*PARAMETRE 200 500 195000 0.3\n*FIN_MATERIAU\n", 390},
        {"parameters missing", "*TYPE F\n*FIN_MATERIAU\n", 390},
        {"too few numbers", "*TYPE F\n*PARAMETRE 200 500 195000\n*FIN_MATERIAU\n", 390},
        {"a word for a number", "*TYPE F\n*PARAMETRE 200 abc 195000 0.3\n*FIN_MATERIAU\n", 390},
        {"a number out of range", "*TYPE F\n*PARAMETRE 200 1e400 195000 0.3\n*FIN_MATERIAU\n", 390},
        {"a short pair", ok + "*RPT 100\n*FIN_MATERIAU\n", 390},
        {"second comment", "*COMMENTAIRE        a\n*COMMENTAIRE        b\n", 30},
        {"second parameters", ok + "*PARAMETRE 200 500 195000 0.3\n", 30},
        {"unknown card", ok + "*RP 100 180\n", 40},
        {"end of file", ok, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueMateriau m;
        EXPECT_EQ(ReadBlock("*MATERIAU           316L\n" + c.body, m), c.code);
        if (c.code == 0) {
            EXPECT_EQ(m.GetName(), "316L");
            EXPECT_EQ(m.GetType(), 30);
        }
    }
}

TEST(CZuvanFatigueMateriau, EchoBlockListsThePairsInTemperatureOrder) {
    CZuvanFatigueMateriau m;
    ASSERT_EQ(ReadBlock("*MATERIAU           P265GH\n"
                        "*TYPE               F\n"
                        "*PARAMETRE          250 410 201660 0.3\n"
                        "*RPT                100 220\n"
                        "*RPT                20 250\n"
                        "*FIN_MATERIAU\n",
                        m),
              0);
    std::ostringstream report;
    report << m;
    EXPECT_EQ(
        report.str(),
        "\n"
        "Nom du matériau                  : P265GH\n"
        "Type du matériau                 : 20\n"
        "                                   10 --> inconnu\n"
        "                                   20 --> acier non allié ou allié et non austénitique\n"
        "                                   30 --> acier austénitique, nickel ou alliage de "
        "nickel\n"
        "Commentaire                      : \n"
        "Limite d'élasticité à 20°C (MPa) : 250\n"
        "Nombre des paires (T,Rpt)        : 2\n"
        "   Paire (T,Rpt) (°C,MPa)        : 20   250\n"
        "   Paire (T,Rpt) (°C,MPa)        : 100   220\n"
        "Résistance à la traction (MPa)   : 410\n"
        "Module d'élasticité (MPa)        : 201660\n"
        "Coefficient de Poisson           : 0.3\n"
        "\n");
}
