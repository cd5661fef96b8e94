#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueReleveLin.h"
#include "tests/ZuvanFatigueTestSupport.h"
#include "tests/stress/CZuvanFatigueReleveTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

// Defines a record whose four tensors at A and B are those given.
int Define(CZuvanFatigueReleveLin& r, const Tensor (&a)[4], const Tensor (&b)[4]) {
    return CodeOf(
        [&] { r.SetDefinition("L", 0, 1, 20, a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3]); });
}

}  // namespace

TEST(CZuvanFatigueReleveLin, ExtrapolatesToThePointWithWeightsOneAndAHalfAndMinusAHalf) {
    // Field value at distance d (in thicknesses) for tensor j, component k.
    struct Case {
        const char* what;
        std::function<double(int, int, double)> field;
    };
    const Case cases[] = {
        {"constant field", [](int j, int k, double) { return 100.0 * j + 7.3 * k - 40.0; }},
        {"linear field",
         [](int j, int k, double d) { return (10.0 * j - k) + (3.0 * k - 8.0 * j + 0.1) * d; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tensor a[4], b[4];
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 6; ++k) {
                a[j][k] = c.field(j, k, 0.5);
                b[j][k] = c.field(j, k, 1.5);
            }
        }
        CZuvanFatigueReleveLin r;
        ASSERT_EQ(Define(r, a, b), 0);
        const Tensor* own[4] = {&r.GetSij(), &r.GetSijm(), &r.GetSijlm(), &r.GetSijlt()};
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 6; ++k) EXPECT_NEAR((*own[j])[k], c.field(j, k, 0.0), 1e-12);
        }
        EXPECT_EQ(r.GetA().sijlm, a[2]);
        EXPECT_EQ(r.GetB().sijlt, b[3]);
    }
    // The weights themselves.
    CZuvanFatigueReleveLin r;
    const Tensor z = Filled(0);
    ASSERT_EQ(Define(r, {Filled(1), z, z, z}, {z, Filled(1), z, z}), 0);
    EXPECT_EQ(r.GetSij()[0], 1.5);
    EXPECT_EQ(r.GetSijm()[5], -0.5);
}

TEST(CZuvanFatigueReleveLin, RefusesPointsOrExtrapolatedValuesOutOfRange) {
    const Tensor z = Filled(0);
    struct Case {
        const char* what;
        double a, b;
        int code;
    };
    const Case cases[] = {
        {"extrapolated at the bound", 15000, 10000, 0},         // 17500
        {"extrapolated beyond the bound", 15000, -15000, 190},  // 30000
        {"extrapolated below the bound", -15000, 15000, 190},   // -30000
        {"a point beyond the bound", 20000.5, 20000.5, 190},    // would give 20000.5
        {"exactly on the bounds", 20000, 20000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueReleveLin r;
        Tensor a = z, b = z;
        a[3] = c.a;
        b[3] = c.b;
        EXPECT_EQ(Define(r, {z, z, a, z}, {z, z, b, z}), c.code);
        EXPECT_EQ(r.IsDefined(), c.code == 0);
    }
}

TEST(CZuvanFatigueReleveLin, ReaderNeedsEveryPointCard) {
    const std::string all =
        "*PARAMETRE 0 20\n"
        "*SIJA 1 1 1 1 1 1\n*SIJMA 2 2 2 2 2 2\n*SIJLMA 3 3 3 3 3 3\n*SIJLTA 4 4 4 4 4 4\n"
        "*SIJB 5 5 5 5 5 5\n*SIJMB 6 6 6 6 6 6\n*SIJLMB 7 7 7 7 7 7\n";
    const std::string lastB = "*SIJLTB 8 8 8 8 8 8\n";
    struct Case {
        const char* what;
        std::string body;
        int code;
    };
    const Case cases[] = {
        {"complete", all + lastB + "*FIN_RELEVELIN\n", 0},
        {"last card first", lastB + all + "*FIN_RELEVELIN\n", 0},
        {"a point card missing", all + "*FIN_RELEVELIN\n", 190},
        {"a point card twice", all + "*SIJMA 2 2 2 2 2 2\n", 30},
        {"a card of the plain record", all + "*SIJ 1 1 1 1 1 1\n", 40},
        {"the plain record's closing card", all + lastB + "*FIN_RELEVE\n", 40},
        {"too few numbers", "*SIJB 1 1 1 1 1\n", 190},
        {"end of file", all + lastB, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueReleveLin r;
        std::string echoed;
        const int code = ReadBlock(
            "*RELEVELIN          L1", c.body,
            [&](const std::string& card, std::istream& in) { r.Read(in, card, 2); }, &echoed);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(echoed.substr(0, 16), c.body.substr(0, 16));
        if (c.code == 0) {
            EXPECT_EQ(r.GetName(), "L1");
            EXPECT_EQ(r.GetNumber(), 2);
            EXPECT_EQ(r.GetSijlt(), Filled(1.5 * 4 - 0.5 * 8));
        }
    }
}

TEST(CZuvanFatigueReleveLin, EchoBlock) {
    CZuvanFatigueReleveLin r;
    // Point A holds 1, 2, 3, 4 and point B 5, 6, 7, 8 in its four tensors,
    // so the extrapolated tensors hold -1, 0, 1, 2.
    r.SetDefinition("L1", 1, 0.25, -10, Filled(1), Filled(2), Filled(3), Filled(4), Filled(5),
                    Filled(6), Filled(7), Filled(8));
    std::ostringstream report;
    report << r;
    EXPECT_EQ(report.str(),
              "\n"
              "Relevé linéaire numéro   : 1\n"
              "++++++++++++++++++++++++++ \n"
              "Nom                      : L1\n"
              "Pression (MPa)           : 0.25\n"
              "Température (deg)        : -10\n"
              "Sij (MPa)           : \n" +
                  kTensorHeader[0] + TensorRow("        -1") + "Sij membrane (MPa)  : \n" +
                  kTensorHeader[1] + TensorRow("         0") + "Sij lin. meca (MPa) : \n" +
                  kTensorHeader[2] + TensorRow("         1") + "Sij lin. ther (MPa) : \n" +
                  kTensorHeader[3] + TensorRow("         2") + "SijA at 0.5*thickness    : \n" +
                  kTensorHeader[0] + TensorRow("         1") + "SijmA at 0.5*thickness   : \n" +
                  kTensorHeader[1] + TensorRow("         2") + "SijlmA at 0.5*thickness  : \n" +
                  kTensorHeader[2] + TensorRow("         3") + "SijltA at 0.5*thickness  : \n" +
                  kTensorHeader[3] + TensorRow("         4") + "SijB at 1.5*thickness    : \n" +
                  kTensorHeader[0] + TensorRow("         5") + "SijmB at 1.5*thickness   : \n" +
                  kTensorHeader[1] + TensorRow("         6") + "SijlmB at 1.5*thickness  : \n" +
                  kTensorHeader[2] + TensorRow("         7") + "SijltB at 1.5*thickness  : \n" +
                  kTensorHeader[3] + TensorRow("         8"));
}
