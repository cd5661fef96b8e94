// Unwelded-zone fatigue curve: limits from Rm, the three branches of the
// permissible cycles, the *UWCOURBE block and the echo block.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueUWCourbe.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

constexpr int kNoDamage = 1000000000;

CZuvanFatigueUWCourbe Curve(double rm) {
    CZuvanFatigueUWCourbe c;
    c.SetDefinition("U", rm);
    return c;
}

// Reads a *UWCOURBE block named U500 from its body lines.
void ReadBlock(const std::string& body, CZuvanFatigueUWCourbe& curve) {
    std::istringstream in(body);
    CZuvanFatigueUWCourbe::Read(ZuvanFatigueCards::CardLine("*UWCOURBE           U500"), curve, in);
}

}  // namespace

TEST(CZuvanFatigueUWCourbe, DerivesItsLimitsFromRm) {
    const CZuvanFatigueUWCourbe c = Curve(500.0);
    EXPECT_NEAR(c.GetDSigmaD(), 336.0269, 5e-5);
    EXPECT_NEAR(c.GetDSigmaC(), 227.2360, 5e-5);
    std::string name;
    int nD = 0, nC = 0;
    double dD = 0.0, dC = 0.0, rm = 0.0;
    c.GetDefinition(name, nD, dD, nC, dC, rm);
    EXPECT_EQ(name, "U");
    EXPECT_EQ(nD, 2000000);
    EXPECT_EQ(nC, 100000000);
    EXPECT_EQ(dD, c.GetDSigmaD());
    EXPECT_EQ(dC, c.GetDSigmaC());
    EXPECT_EQ(rm, 500.0);
}

TEST(CZuvanFatigueUWCourbe, PermissibleCyclesFollowTheThreeBranches) {
    const CZuvanFatigueUWCourbe c = Curve(500.0);
    const double dD = c.GetDSigmaD();
    struct Case {
        double dSigma, dSigmaMax, f;
        int expected;
    };
    const Case cases[] = {
        {400.0, 400.0, 1.0, 227227},     // (46000 / 96.5)², truncated
        {dD, dD, 1.0, 2000000},          // endurance limit on the first line
        {300.0, 400.0, 1.0, 6216671},    // second line, constant 21.0269
        {300.0, 300.0, 1.0, kNoDamage},  // no range reaches the endurance limit
        {300.0, dD, 1.0, 6216671},       // the largest range on the limit does
        {200.0, 400.0, 1.0, kNoDamage},  // below the truncation limit
        {c.GetDSigmaC(), 400.0, 1.0, kNoDamage},
        {800.0, 800.0, 2.0, 227227},  // the factor divides the range
        {600.0, 800.0, 2.0, 6216671},
        {600.0, 600.0, 2.0, kNoDamage},  // ... and the largest range too
        {kNaN, 400.0, 1.0, kNoDamage},
        {300.0, kNaN, 1.0, 6216671},
        {400.0, 400.0, 0.0, 0},  // an infinite range: no cycle left
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message()
                     << "dSigma " << k.dSigma << ", max " << k.dSigmaMax << ", f " << k.f);
        EXPECT_EQ(c.PermissibleCycles(k.dSigma, k.dSigmaMax, k.f), k.expected);
    }
}

TEST(CZuvanFatigueUWCourbe, SetDefinitionRefusesRmUpToFiftyAndBlankName) {
    struct Case {
        const char* name;
        double rm;
        bool accepted;
    };
    const Case cases[] = {
        {"U", 50.0, false}, {"U", 50.001, true}, {"U", 1e6, true},     {" ", 500.0, false},
        {"U", kNaN, false}, {"U", kInf, false},  {"U", -500.0, false}, {"", 500.0, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "name '" << k.name << "', Rm " << k.rm);
        CZuvanFatigueUWCourbe c = Curve(600.0);
        if (k.accepted) {
            c.SetDefinition(k.name, k.rm);
            EXPECT_TRUE(c.IsDefined());
            EXPECT_EQ(c.GetRm(), k.rm);
        } else {
            ExpectCode(70, [&] { c.SetDefinition(k.name, k.rm); });
            EXPECT_FALSE(c.IsDefined());  // the earlier definition is gone
            ExpectCode(70, [&] { c.PermissibleCycles(400.0, 400.0, 1.0); });
        }
    }
}

TEST(CZuvanFatigueUWCourbe, RmAloneNamesTheCurveAfterItsIntegerPart) {
    struct Case {
        double rm;
        const char* name;
    };
    const Case cases[] = {
        {612.9, "612"},
        {520.7, "520"},
        {500.0, "500"},
        {50.5, "50"},
        {1e20, "100000000000000000000"},
    };
    for (const Case& k : cases) {
        CZuvanFatigueUWCourbe c;
        c.SetDefinition(k.rm);
        EXPECT_EQ(c.GetName(), k.name);
        EXPECT_EQ(c.GetRm(), k.rm);
    }
    CZuvanFatigueUWCourbe c = Curve(500.0);
    ExpectCode(70, [&] { c.SetDefinition(50.0); });
    EXPECT_FALSE(c.IsDefined());
    ExpectCode(70, [&] { c.SetDefinition(kNaN); });
}

TEST(CZuvanFatigueUWCourbe, UndefinedCurveAnswersNothing) {
    const CZuvanFatigueUWCourbe c;
    EXPECT_EQ(c.GetName(), " ");
    EXPECT_EQ(c.GetRm(), std::numeric_limits<double>::lowest());
    std::string name;
    int n = 0;
    double d = 0.0;
    ExpectCode(70, [&] { c.GetDSigmaD(); });
    ExpectCode(70, [&] { c.GetDSigmaC(); });
    ExpectCode(70, [&] { c.GetDefinition(name, n, d, n, d, d); });
    ExpectCode(70, [&] { c.PermissibleCycles(400.0, 400.0, 1.0); });
}

TEST(CZuvanFatigueUWCourbe, ReadsTheBlockAndEchoesItsLines) {
    ConsoleCapture console;
    const std::string body = "/ Rm du P265GH\n\n*PARAMETRE 410\n*FIN_UWCOURBE\nnext\n";
    CZuvanFatigueUWCourbe c;
    ReadBlock(body, c);
    EXPECT_TRUE(c.IsDefined());
    EXPECT_EQ(c.GetName(), "U500");
    EXPECT_EQ(c.GetRm(), 410.0);
    EXPECT_EQ(console.text.str(), "/ Rm du P265GH\n\n*PARAMETRE 410\n*FIN_UWCOURBE\n");
}

TEST(CZuvanFatigueUWCourbe, ReadRefusesBadBlocksWithTheirCodes) {
    ConsoleCapture console;
    struct Case {
        const char* body;
        int code;
    };
    const Case cases[] = {
        {"*PARAMETRE 500\n*PARAMETRE 500\n*FIN_UWCOURBE\n", 30},
        {"*PARAMETRE 500\n*RM 500\n*FIN_UWCOURBE\n", 40},
        {" *PARAMETRE 500\n*FIN_UWCOURBE\n", 40},
        {"*PARAMETRE 500\n", 50},
        {"*PARAMETRE 500\n*FIN_UWCOURBE", 50},  // end card without a line end
        {"*FIN_UWCOURBE\n", 70},
        {"*PARAMETRE\n*FIN_UWCOURBE\n", 70},
        {"*PARAMETRE cinq\n*FIN_UWCOURBE\n", 70},
        {"*PARAMETRE 1e999\n*FIN_UWCOURBE\n", 70},
        {"*PARAMETRE 50\n*FIN_UWCOURBE\n", 70},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.body);
        CZuvanFatigueUWCourbe c;
        ExpectCode(k.code, [&] { ReadBlock(k.body, c); });
        EXPECT_FALSE(c.IsDefined());
    }
}

TEST(CZuvanFatigueUWCourbe, EchoBlockIsWrittenInTheReportLayout) {
    const CZuvanFatigueUWCourbe c = Curve(500.0);
    std::ostringstream os;
    os.imbue(CommaLocale());
    os << c;
    EXPECT_EQ(os.str(),
              "\n"
              "Nom de la courbe de fatigue pour zone sans soudure : U\n"
              "Résistance à la traction (MPa)                     : 500\n"
              "Nombre de cycles à la limite d'endurance           : 2e+06\n"
              "Limite d'endurance (MPa)                           : 336,027\n"
              "Nombre de cycles à la limite de troncature         : 1e+08\n"
              "Limite de troncature (MPa)                         : 227,236\n"
              "\n");
}
