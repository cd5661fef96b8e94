// Weld fatigue class: strict definition bounds, the two lines of the curve,
// the *CLASSE block and the echo block.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueClasse.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

constexpr int kNoDamage = 1000000000;

// The environment's locale for the duration of a test.
class NativeLocaleIs {
   public:
    explicit NativeLocaleIs(const char* name) {
        const char* old = std::getenv("LC_ALL");
        m_had = old != nullptr;
        if (m_had) m_old = old;
        setenv("LC_ALL", name, 1);
    }
    ~NativeLocaleIs() {
        if (m_had) {
            setenv("LC_ALL", m_old.c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }

   private:
    bool m_had = false;
    std::string m_old;
};

struct Definition {
    const char* name;
    int nD, nC;
    double dD, dC, m1, c1, m2, c2;
};
const Definition kClass = {"C71", 2000000, 100000000, 52.6, 29.0, 3.0, 2.91e11, 5.0, 8.05e14};

CZuvanFatigueClasse Define(const Definition& d) {
    CZuvanFatigueClasse c;
    c.SetDefinition(d.name, d.nD, d.nC, d.dD, d.dC, d.m1, d.c1, d.m2, d.c2);
    return c;
}

void ReadBlock(const std::string& body, CZuvanFatigueClasse& c) {
    std::istringstream in(body);
    CZuvanFatigueClasse::Read(ZuvanFatigueCards::CardLine("*CLASSE             C71"), c, in);
}

}  // namespace

TEST(CZuvanFatigueClasse, PermissibleCyclesFollowTheTwoLines) {
    const CZuvanFatigueClasse c = Define(kClass);
    struct Case {
        double dSigma, dSigmaMax, f;
        int expected;
    };
    const Case cases[] = {
        {100.0, 100.0, 1.0, 291000},  // 2.91e11 / 100³
        {40.0, 52.6, 1.0, 7861328},   // 8.05e14 / 40⁵, the largest range on Δσ_D
        {40.0, 100.0, 1.0, 7861328},   {40.0, 52.5, 1.0, kNoDamage},  // no range reaches Δσ_D
        {29.0, 100.0, 1.0, kNoDamage},                                // on the truncation limit
        {10.0, 100.0, 1.0, kNoDamage}, {105.2, 105.2, 2.0, 1999566},  // x = Δσ_D: the first line
        {80.0, 80.0, 2.0, 7861328},  // the largest range is not divided by f
        {80.0, 50.0, 2.0, kNoDamage},  {kNaN, 100.0, 1.0, kNoDamage},
        {100.0, 100.0, 0.0, 0},  // an infinite range: no cycle left
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message()
                     << "dSigma " << k.dSigma << ", max " << k.dSigmaMax << ", f " << k.f);
        EXPECT_EQ(c.PermissibleCycles(k.dSigma, k.dSigmaMax, k.f), k.expected);
    }
}

TEST(CZuvanFatigueClasse, CountsBeyondThe32BitRangeSaturate) {
    Definition d = kClass;
    d.c1 = 1e20;
    d.c2 = 1e25;
    EXPECT_EQ(Define(d).PermissibleCycles(52.6, 100.0, 1.0), INT_MAX);  // 1e20 / 52.6³
    EXPECT_EQ(Define(d).PermissibleCycles(40.0, 100.0, 1.0), INT_MAX);  // 1e25 / 40⁵
    d = kClass;
    d.dC = -10.0;  // a truncation limit below zero lets a zero range reach the second line
    EXPECT_EQ(Define(d).PermissibleCycles(0.0, 100.0, 1.0), INT_MAX);
}

TEST(CZuvanFatigueClasse, SetDefinitionBoundsAreStrict) {
    struct Case {
        Definition d;
        bool accepted;
    };
    const Definition k = kClass;
    const Case cases[] = {
        {k, true},
        {{" ", k.nD, k.nC, k.dD, k.dC, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", 10000, k.nC, k.dD, k.dC, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", 10001, k.nC, k.dD, k.dC, k.m1, k.c1, k.m2, k.c2}, true},
        {{"C", k.nD, k.nD, k.dD, k.dC, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", k.nD, k.nD + 1, k.dD, k.dC, k.m1, k.c1, k.m2, k.c2}, true},
        {{"C", k.nD, k.nC, 5.0, 4.0, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, 5.001, 4.0, k.m1, k.c1, k.m2, k.c2}, true},
        {{"C", k.nD, k.nC, k.dD, k.dD, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, k.dC, 1.0, k.c1, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, k.dC, 1.001, k.c1, k.m2, k.c2}, true},
        {{"C", k.nD, k.nC, k.dD, k.dC, k.m1, 1e9, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, k.dC, k.m1, 1.000001e9, k.m2, k.c2}, true},
        {{"C", k.nD, k.nC, k.dD, k.dC, k.m1, k.c1, 1.0, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, k.dC, k.m1, k.c1, k.m2, 1e9}, false},
        {{"C", k.nD, k.nC, kNaN, k.dC, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, kNaN, k.m1, k.c1, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, k.dC, k.m1, kInf, k.m2, k.c2}, false},
        {{"C", k.nD, k.nC, k.dD, -kInf, k.m1, k.c1, k.m2, k.c2}, false},
    };
    for (const Case& t : cases) {
        const Definition& d = t.d;
        SCOPED_TRACE(testing::Message()
                     << d.name << " " << d.nD << " " << d.nC << " " << d.dD << " " << d.dC << " "
                     << d.m1 << " " << d.c1 << " " << d.m2 << " " << d.c2);
        CZuvanFatigueClasse c = Define(kClass);
        if (t.accepted) {
            c.SetDefinition(d.name, d.nD, d.nC, d.dD, d.dC, d.m1, d.c1, d.m2, d.c2);
            EXPECT_TRUE(c.IsDefined());
        } else {
            ExpectCode(20, [&] {
                c.SetDefinition(d.name, d.nD, d.nC, d.dD, d.dC, d.m1, d.c1, d.m2, d.c2);
            });
            EXPECT_FALSE(c.IsDefined());
            ExpectCode(20, [&] { c.PermissibleCycles(100.0, 100.0, 1.0); });
        }
    }
}

TEST(CZuvanFatigueClasse, ReadsTheBlockInEitherOrder) {
    ConsoleCapture console;
    const char* bodies[] = {
        "*PARAMETRE 2000000.9 52.6 100000000 29\n/ droites\n\n"
        "*PARAMETRES 3 2.91e11 5 8.05e14\n*FIN_CLASSE\n",
        "*PARAMETRES 3 2.91e11 5 8.05e14\n*PARAMETRE 2000000 52.6 100000000 29\n*FIN_CLASSE\n",
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        CZuvanFatigueClasse c;
        ReadBlock(body, c);
        EXPECT_TRUE(c.IsDefined());
        EXPECT_EQ(c.GetName(), "C71");
        EXPECT_EQ(c.GetND(), 2000000);  // 2000000.9 truncated
        EXPECT_EQ(c.GetDSigmaD(), 52.6);
        EXPECT_EQ(c.GetNC(), 100000000);
        EXPECT_EQ(c.GetDSigmaC(), 29.0);
        EXPECT_EQ(c.GetM1(), 3.0);
        EXPECT_EQ(c.GetC1(), 2.91e11);
        EXPECT_EQ(c.GetM2(), 5.0);
        EXPECT_EQ(c.GetC2(), 8.05e14);
    }
    EXPECT_EQ(console.text.str(), std::string(bodies[0]) + bodies[1]);
}

TEST(CZuvanFatigueClasse, ReadRefusesBadBlocksWithTheirCodes) {
    ConsoleCapture console;
    const std::string limits = "*PARAMETRE 2000000 52.6 100000000 29\n";
    const std::string lines = "*PARAMETRES 3 2.91e11 5 8.05e14\n";
    struct Case {
        std::string body;
        int code;
    };
    const Case cases[] = {
        {limits + lines + limits + "*FIN_CLASSE\n", 30},
        {limits + lines + lines + "*FIN_CLASSE\n", 30},
        {lines + lines + "*FIN_CLASSE\n", 30},  // *PARAMETRES is never *PARAMETRE
        {lines + "*FIN_CLASSE\n", 20},
        {limits + "*FIN_CLASSE\n", 20},
        {"*PARAMETRE 2000000 52.6 100000000\n" + lines + "*FIN_CLASSE\n", 20},
        {limits + "*PARAMETRES 3 2.91e11 cinq 8.05e14\n*FIN_CLASSE\n", 20},
        {"*PARAMETRE 3e9 52.6 4e9 29\n" + lines + "*FIN_CLASSE\n", 20},  // no 32-bit count
        {"*PARAMETRE 10000.5 52.6 100000000 29\n" + lines + "*FIN_CLASSE\n", 20},
        {limits + "*PARAMETRE_BIS 1\n" + lines, 30},
        {limits + "*PENTE 3\n" + lines + "*FIN_CLASSE\n", 40},
        {limits + lines, 50},
        {limits + lines + "*FIN_CLASSE", 50},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.body);
        CZuvanFatigueClasse c;
        ExpectCode(k.code, [&] { ReadBlock(k.body, c); });
        EXPECT_FALSE(c.IsDefined());
    }
}

TEST(CZuvanFatigueClasse, EchoBlockIsWrittenInTheReportLayout) {
    NativeLocaleIs native("C");
    std::ostringstream os;
    os.imbue(CommaLocale());
    os << Define(kClass);
    EXPECT_EQ(os.str(),
              "\n"
              "Nom de la classe de fatigue                            : C71\n"
              "Nombre de cycles à la limite d'endurance               : 2000000\n"
              "Limite d'endurance (MPa)                               : 52,6\n"
              "Nombre de cycles à la limite de troncature             : 100000000\n"
              "Limite de troncature (MPa)                             : 29\n"
              "Paramètre m1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : 3\n"
              "Paramètre C1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : 2,91e+11\n"
              "Paramètre m2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3) : 5\n"
              "Paramètre C2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3) : 8,05e+14\n"
              "\n");
}
