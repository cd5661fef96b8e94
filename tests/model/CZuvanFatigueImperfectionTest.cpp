// Form imperfection: definition bounds, the *IMPERFECTION block, the
// coefficients A of C11.A6 with the two pressure tables, and the echo block.

#include <gtest/gtest.h>

#include <limits>
#include <locale>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueImperfection.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

constexpr double kE = 201660.0;
constexpr double kNu = 0.3;

struct Shape {
    int kind;
    double dm, dmax, dmin, e, delta, theta, alpha;
};

CZuvanFatigueImperfection Define(const Shape& s) {
    CZuvanFatigueImperfection i;
    i.SetDefinition("I", s.kind, s.dm, s.dmax, s.dmin, s.e, s.delta, s.theta, s.alpha);
    return i;
}

void ReadBlock(const std::string& body, CZuvanFatigueImperfection& i, int kind) {
    std::istringstream in(body);
    CZuvanFatigueImperfection::Read(ZuvanFatigueCards::CardLine("*IMPERFECTION       Def 1"), i, in,
                                    kind);
}

}  // namespace

TEST(CZuvanFatigueImperfection, GetAGivesTheCoefficientsOfC11A6) {
    struct Case {
        Shape s;
        double t1, t2, p, pa;
        double aPerpendicular, aParallel;
    };
    const Case cases[] = {
        // circumferential seam: the thicker component counts, in either order
        {{30, 1000, 1000, 1000, 1, 0, 0, 0}, 10, 12, 0, 0, 1.25, 1.0416667},
        {{30, 1000, 1000, 1000, 1, 0, 0, 0}, 12, 10, -1, 0, 1.25, 1.0416667},
        // sphere: angular misalignment on the thinner one
        {{40, 1000, 1000, 1000, 1, 0, 0, 2}, 10, 12, 0, 0, 1.5328427, 1},
        // longitudinal seam: misalignment alone
        {{20, 1000, 1000, 1000, 1, 0, 0, 0}, 10, 12, 0, 0, 1.2824824, 1},
        // global out-of-roundness, G with its sign then the absolute value
        {{20, 1000, 1005, 995, 0, 0, 0, 0}, 10, 10, 0, 0, 2.5, 1},
        {{20, 1000, 1005, 995, 0, 0, 90, 0}, 10, 10, 0, 0, 2.5, 1},
        {{20, 1000, 1005, 995, 0, 0, 45, 0}, 10, 10, 0, 0, 1.0000000, 1},
        // local out-of-roundness, r = 0.002 on a row of the tables
        {{20, 1000, 1000, 1000, 0, 2, 0, 0}, 10, 10, 0, 0, 2.1662980, 1},
        {{20, 1000, 1000, 1000, 1, 2, 0, 0}, 10, 12, 1, 0, 2.2711533, 1},
        {{20, 1000, 1000, 1000, 1, 2, 0, 0}, 10, 12, -0.5, 2, 2.4449879, 1},
        // between rows (r = 0.0015, 0.007), below the first, beyond the last
        {{20, 1000, 1000, 1000, 0, 1.5, 0, 0}, 10, 10, 1, 0, 1.7624648, 1},
        {{20, 1000, 1000, 1000, 0, 1.5, 0, 0}, 10, 10, -0.5, 2, 1.8756658, 1},
        {{20, 1000, 1000, 1000, 0, 7, 0, 0}, 10, 10, 1, 0, 3.9860364, 1},
        {{20, 1000, 1000, 1000, 0, 0.05, 0, 0}, 10, 10, 1, 0, 1.0287348, 1},
        {{20, 1000, 1000, 1000, 0, 0.05, 0, 0}, 10, 10, -0.5, 2, 1.0298447, 1},
        {{20, 1000, 1000, 1000, 0, 30, 0, 0}, 10, 10, 1, 0, 11.1540235, 1},
        {{20, 1000, 1000, 1000, 0, 30, 0, 0}, 10, 10, -0.5, 2, 16.8864602, 1},
        // the three terms at once, under pressure
        {{20, 1000, 1005, 995, 1, 2, 30, 0}, 12, 10, 1, 0, 2.5014780, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << k.s.kind << ", e " << k.s.e << ", delta "
                                        << k.s.delta << ", theta " << k.s.theta << ", P " << k.p);
        const std::pair<double, double> a = Define(k.s).GetA(k.t1, k.t2, k.p, k.pa, kE, kNu);
        EXPECT_NEAR(a.first, k.aPerpendicular, 5e-8);
        EXPECT_NEAR(a.second, k.aParallel, 5e-8);
    }
}

TEST(CZuvanFatigueImperfection, GetARefusesWhatGivesNoCoefficient) {
    const Shape longi = {20, 1000, 1000, 1000, 1, 2, 0, 0};
    struct Case {
        Shape s;
        double p, pa, e;
    };
    const Case cases[] = {
        {longi, -0.5, 0, kE},  // external pressure without Pa
        {longi, -0.5, -2, kE},
        {longi, -0.5, kNaN, kE},
        {longi, 1, 0, 0},                                // no modulus
        {{50, 1000, 1000, 1000, 1, 0, 0, 0}, 0, 0, kE},  // a kind without a formula
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << k.s.kind << ", P " << k.p << ", Pa " << k.pa);
        const CZuvanFatigueImperfection i = Define(k.s);
        ExpectCode(160, [&] { i.GetA(10, 12, k.p, k.pa, k.e, kNu); });
    }
    ExpectCode(160, [&] { CZuvanFatigueImperfection().GetA(10, 12, 0, 0, kE, kNu); });
    // Pa is not needed for an internal pressure, nor for the other kinds.
    EXPECT_NO_THROW(Define(longi).GetA(10, 12, 1, 0, kE, kNu));
    EXPECT_NO_THROW(Define({30, 1000, 1000, 1000, 1, 0, 0, 0}).GetA(10, 12, -0.5, 0, kE, kNu));
}

TEST(CZuvanFatigueImperfection, SetDefinitionBoundsAreInclusive) {
    struct Case {
        Shape s;
        bool accepted;
    };
    const Case cases[] = {
        {{20, 1, 1, 1, 0, 0, 0, -40}, true},
        {{40, 1000, 1000, 1000, 50, 100, 360, 40}, true},
        {{30, 1000, 1100, 900, 1, 0, 0, 0}, true},     // ovality 0.2
        {{30, 1000, 999.99, 1000, 1, 0, 0, 0}, true},  // ovality -0.00001
        {{10, 1000, 1000, 1000, 1, 0, 0, 0}, false},   // kind unknown
        {{20, 0.999, 0.999, 0.999, 0, 0, 0, 0}, false},
        {{20, 1000, 1000, 1000, -0.001, 0, 0, 0}, false},
        {{20, 1000, 1000, 1000, 50.001, 0, 0, 0}, false},
        {{20, 1000, 1000, 1000, 0, -0.001, 0, 0}, false},
        {{20, 1000, 1000, 1000, 0, 100.001, 0, 0}, false},
        {{20, 1000, 1000, 1000, 0, 0, -0.001, 0}, false},
        {{20, 1000, 1000, 1000, 0, 0, 360.001, 0}, false},
        {{20, 1000, 1000, 1000, 0, 0, 0, -40.001}, false},
        {{20, 1000, 1000, 1000, 0, 0, 0, 40.001}, false},
        {{30, 1000, 1100.1, 900, 1, 0, 0, 0}, false},   // ovality 0.2001
        {{30, 1000, 999.98, 1000, 1, 0, 0, 0}, false},  // ovality -0.00002
        {{20, 1000, 1000, 1000, kNaN, 0, 0, 0}, false},
        {{20, kNaN, 1000, 1000, 0, 0, 0, 0}, false},
        {{20, kInf, 1000, 1000, 0, 0, 0, 0}, false},
        {{20, 1000, kInf, kInf, 0, 0, 0, 0}, false},
    };
    for (const Case& k : cases) {
        const Shape& s = k.s;
        SCOPED_TRACE(testing::Message()
                     << s.kind << " " << s.dm << " " << s.dmax << " " << s.dmin << " " << s.e << " "
                     << s.delta << " " << s.theta << " " << s.alpha);
        CZuvanFatigueImperfection i = Define({30, 1000, 1000, 1000, 1, 0, 0, 0});
        if (k.accepted) {
            i.SetDefinition("I", s.kind, s.dm, s.dmax, s.dmin, s.e, s.delta, s.theta, s.alpha);
            EXPECT_TRUE(i.IsDefined());
        } else {
            ExpectCode(160, [&] {
                i.SetDefinition("I", s.kind, s.dm, s.dmax, s.dmin, s.e, s.delta, s.theta, s.alpha);
            });
            EXPECT_FALSE(i.IsDefined());
        }
    }
}

TEST(CZuvanFatigueImperfection, ReadsTheBlockWithTheSeamsKind) {
    ConsoleCapture console;
    const std::string body =
        "/ mesures\n\n*PARAMETRE 1.5 30 2 0.8\n*DIAMETRE 1000 1004 998\n*FIN_IMPERFECTION\n";
    CZuvanFatigueImperfection i;
    ReadBlock(body, i, 20);
    EXPECT_TRUE(i.IsDefined());
    EXPECT_EQ(i.GetName(), "Def 1");
    EXPECT_EQ(i.GetKind(), 20);
    EXPECT_EQ(i.GetDm(), 1000.0);
    EXPECT_EQ(i.GetDmax(), 1004.0);
    EXPECT_EQ(i.GetDmin(), 998.0);
    EXPECT_EQ(i.GetE(), 1.5);  // *PARAMETRE gives e, θ, α, δ
    EXPECT_EQ(i.GetTheta(), 30.0);
    EXPECT_EQ(i.GetAlpha(), 2.0);
    EXPECT_EQ(i.GetDelta(), 0.8);
    EXPECT_EQ(console.text.str(), body);
}

TEST(CZuvanFatigueImperfection, ReadRefusesBadBlocksWithTheirCodes) {
    ConsoleCapture console;
    const std::string diameters = "*DIAMETRE 1000 1000 1000\n";
    const std::string parameters = "*PARAMETRE 1 0 0 0\n";
    const std::string end = "*FIN_IMPERFECTION\n";
    struct Case {
        std::string body;
        int kind, code;
    };
    const Case cases[] = {
        {diameters + diameters + parameters + end, 30, 30},
        {diameters + parameters + parameters + end, 30, 30},
        {diameters + "*OVALISATION 1\n" + parameters + end, 30, 40},
        {diameters + parameters, 30, 50},
        {diameters + parameters + "*FIN_IMPERFECTION", 30, 50},
        {parameters + end, 30, 160},
        {diameters + end, 30, 160},
        {"*DIAMETRE 1000 1000\n" + parameters + end, 30, 160},
        {diameters + "*PARAMETRE 1 0 zero 0\n" + end, 30, 160},
        {diameters + parameters + end, 10, 160},  // two cylinder plates, no orientation
        {"*DIAMETRE 1000 1300 900\n" + parameters + end, 30, 160},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.body);
        CZuvanFatigueImperfection i;
        ExpectCode(k.code, [&] { ReadBlock(k.body, i, k.kind); });
        EXPECT_FALSE(i.IsDefined());
    }
}

TEST(CZuvanFatigueImperfection, EchoBlockIsWrittenInTheReportLayout) {
    CZuvanFatigueImperfection i;
    i.SetDefinition("Défaut 1", 40, 1000.0, 1004.5, 998.0, 1.5, 0.8, 30.0, -2.0);
    std::ostringstream os;
    os.imbue(CommaLocale());
    os << i;
    const std::string legend(57, ' ');
    EXPECT_EQ(os.str(),
              "\n"
              "Nom de l'imperfection de forme                         : Défaut 1\n"
              "Type de l'imperfection                                 : 40\n" +
                  legend + "10-->inconnu\n" + legend + "20-->longi cylindre\n" + legend +
                  "30-->circonf cylindre\n" + legend +
                  "40-->sur sphère\n"
                  "Diamètre moyen de l'enveloppe                          : 1000\n"
                  "Diamètre maximal de l'enveloppe                        : 1004,5\n"
                  "Diamètre minimal de l'enveloppe                        : 998\n"
                  "Décalage de fibre moyen selon C11.A6                   : 1,5\n"
                  "Ecart local de circularité selon C11.A6.9              : 0,8\n"
                  "Angle définissant la position du cordon selon C11.A6.7 : 30\n"
                  "Désalignement angulaire sur une sphère selon C11.A6.8  : -2\n"
                  "\n");
}
