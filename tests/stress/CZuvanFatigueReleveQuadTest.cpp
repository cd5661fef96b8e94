#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueReleveQuad.h"
#include "tests/ZuvanFatigueTestSupport.h"
#include "tests/stress/CZuvanFatigueReleveTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

int Define(CZuvanFatigueReleveQuad& r, const Tensor (&a)[4], const Tensor (&b)[4],
           const Tensor (&c)[4]) {
    return CodeOf([&] {
        r.SetDefinition("Q", 0, 1, 20, a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3], c[0], c[1],
                        c[2], c[3]);
    });
}

}  // namespace

TEST(CZuvanFatigueReleveQuad, ExtrapolationReproducesFieldsUpToTheSecondDegree) {
    struct Case {
        const char* what;
        std::function<double(int, int, double)> field;
    };
    const Case cases[] = {
        {"constant field", [](int j, int k, double) { return 100.0 * j + 7.3 * k - 40.0; }},
        {"linear field",
         [](int j, int k, double d) { return (10.0 * j - k) + (3.0 * k - 8.0 * j + 0.1) * d; }},
        {"quadratic field",
         [](int j, int k, double d) {
             return 50.0 - j + (k - 2.0) * d + (40.0 * j - 9.0) * d * d;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tensor a[4], b[4], cc[4];
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 6; ++k) {
                a[j][k] = c.field(j, k, 0.4);
                b[j][k] = c.field(j, k, 0.9);
                cc[j][k] = c.field(j, k, 1.4);
            }
        }
        CZuvanFatigueReleveQuad r;
        ASSERT_EQ(Define(r, a, b, cc), 0);
        const Tensor* own[4] = {&r.GetSij(), &r.GetSijm(), &r.GetSijlm(), &r.GetSijlt()};
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 6; ++k) EXPECT_NEAR((*own[j])[k], c.field(j, k, 0.0), 1e-9);
        }
        EXPECT_EQ(r.GetA().sij, a[0]);
        EXPECT_EQ(r.GetB().sijm, b[1]);
        EXPECT_EQ(r.GetC().sijlt, cc[3]);
    }
    // The weights themselves.
    CZuvanFatigueReleveQuad r;
    const Tensor z = Filled(0), one = Filled(1);
    ASSERT_EQ(Define(r, {one, z, z, z}, {z, one, z, z}, {z, z, one, z}), 0);
    EXPECT_EQ(r.GetSij()[0], 2.52);
    EXPECT_EQ(r.GetSijm()[1], -2.24);
    EXPECT_EQ(r.GetSijlm()[2], 0.72);
}

TEST(CZuvanFatigueReleveQuad, RefusesPointsOrExtrapolatedValuesOutOfRange) {
    const Tensor z = Filled(0);
    struct Case {
        const char* what;
        double a, b, c;
        int code;
    };
    const Case cases[] = {
        {"points and result in range", 1000, 500, 100, 0},
        {"extrapolated beyond the bound", 10000, 0, 0, 190},  // 25200
        {"extrapolated below the bound", 0, 10000, 0, 190},   // -22400
        {"a point beyond the bound", 0, 0, -20001, 190},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueReleveQuad r;
        Tensor a = z, b = z, cc = z;
        a[1] = c.a;
        b[1] = c.b;
        cc[1] = c.c;
        EXPECT_EQ(Define(r, {z, z, z, a}, {z, z, z, b}, {z, z, z, cc}), c.code);
        EXPECT_EQ(r.IsDefined(), c.code == 0);
    }
}

TEST(CZuvanFatigueReleveQuad, ReaderNeedsEveryPointCard) {
    std::string ab = "*PARAMETRE 0 20\n";
    for (const char* p : {"A", "B"}) {
        for (const char* t : {"", "M", "LM", "LT"})
            ab += std::string("*SIJ") + t + p + " 1 1 1 1 1 1\n";
    }
    const std::string c3 = "*SIJC 1 1 1 1 1 1\n*SIJMC 1 1 1 1 1 1\n*SIJLMC 1 1 1 1 1 1\n";
    const std::string last = "*SIJLTC 1 1 1 1 1 1\n";
    struct Case {
        const char* what;
        std::string body;
        int code;
    };
    const Case cases[] = {
        {"complete", ab + c3 + last + "*FIN_RELEVEQUAD\n", 0},
        {"a point card missing", ab + c3 + "*FIN_RELEVEQUAD\n", 190},
        {"a point card twice", ab + c3 + "*SIJC 1 1 1 1 1 1\n", 30},
        {"the linear record's closing card", ab + c3 + last + "*FIN_RELEVELIN\n", 40},
        {"a word for a number", "*SIJLMC 1 1 1 un 1 1\n", 190},
        {"end of file", ab + c3 + last, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueReleveQuad r;
        const int code =
            ReadBlock("*RELEVEQUAD         Q1", c.body,
                      [&](const std::string& card, std::istream& in) { r.Read(in, card, 5); });
        EXPECT_EQ(code, c.code);
        if (c.code == 0) {
            EXPECT_EQ(r.GetName(), "Q1");
            EXPECT_EQ(r.GetNumber(), 5);
            EXPECT_NEAR(r.GetSij()[4], 1.0, 1e-12);
        }
    }
}

TEST(CZuvanFatigueReleveQuad, EchoBlock) {
    CZuvanFatigueReleveQuad r;
    // Only point A is loaded (1, 2, 3, 4): the record's tensors are 2.52 times it.
    const Tensor z = Filled(0);
    r.SetDefinition("Q1", 0, 3, 150, Filled(1), Filled(2), Filled(3), Filled(4), z, z, z, z, z, z,
                    z, z);
    const std::string zero = TensorRow("         0");
    std::ostringstream report;
    report << r;
    EXPECT_EQ(report.str(),
              "\n"
              "Relevé quadratique numéro   : 0\n"
              "+++++++++++++++++++++++++++++ \n"
              "Nom                         : Q1\n"
              "Pression (MPa)              : 3\n"
              "Température (deg)           : 150\n"
              "Sij (MPa)           : \n" +
                  kTensorHeader[0] + TensorRow("      2.52") + "Sij membrane (MPa)  : \n" +
                  kTensorHeader[1] + TensorRow("      5.04") + "Sij lin. meca (MPa) : \n" +
                  kTensorHeader[2] + TensorRow("      7.56") + "Sij lin. ther (MPa) : \n" +
                  kTensorHeader[3] + TensorRow("     10.08") + "SijA at 0.4*thickness    : \n" +
                  kTensorHeader[0] + TensorRow("         1") + "SijmA at 0.4*thickness   : \n" +
                  kTensorHeader[1] + TensorRow("         2") + "SijlmA at 0.4*thickness  : \n" +
                  kTensorHeader[2] + TensorRow("         3") + "SijltA at 0.4*thickness  : \n" +
                  kTensorHeader[3] + TensorRow("         4") + "SijB at 0.9*thickness    : \n" +
                  kTensorHeader[0] + zero + "SijmB at 0.9*thickness   : \n" + kTensorHeader[1] +
                  zero + "SijlmB at 0.9*thickness  : \n" + kTensorHeader[2] + zero +
                  "SijltB at 0.9*thickness  : \n" + kTensorHeader[3] + zero +
                  "SijC at 1.4*thickness    : \n" + kTensorHeader[0] + zero +
                  "SijmC at 1.4*thickness   : \n" + kTensorHeader[1] + zero +
                  "SijlmC at 1.4*thickness  : \n" + kTensorHeader[2] + zero +
                  "SijltC at 1.4*thickness  : \n" + kTensorHeader[3] + zero);
}
