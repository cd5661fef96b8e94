#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueReleve.h"
#include "tests/ZuvanFatigueTestSupport.h"

using ZuvanFatigueTest::CodeOf;

namespace {

using Tensor = CZuvanFatigueReleve::Tensor;

// Reads one record block (its opening line first) with the echo captured.
int ReadBlock(const std::string& deck, CZuvanFatigueReleve& record, int number = 0) {
    return ZuvanFatigueTest::ReadBlock(
        deck, [&](const std::string& card, std::istream& in) { record.Read(in, card, number); });
}

const Tensor kZero = {0, 0, 0, 0, 0, 0};

}  // namespace

TEST(CZuvanFatigueReleve, ReaderTakesItsCardsInAnyOrderAndRefusesBadOnes) {
    const std::string sij = "*SIJ 1 2 3 4 5 6\n";
    const std::string others =
        "*SIJM 7 8 9 10 11 12\n*SIJLM 13 14 15 16 17 18\n*SIJLT 19 20 21 22 23 24\n";
    const std::string param = "*PARAMETRE 1.5 20\n";
    struct Case {
        const char* what;
        std::string body;
        int code;
    };
    const Case cases[] = {
        {"complete", param + sij + others + "*FIN_RELEVE\n", 0},
        {"any order, comments and empty lines",
         others + "/ note\n\n" + sij + param + "*FIN_RELEVE\n", 0},
        {"parameters missing", sij + others + "*FIN_RELEVE\n", 190},
        {"a tensor missing",
         param + sij +
             "*SIJM 7 8 9 10 11 12\n*SIJLM 1 1 1 1 1 1\n"
             "*FIN_RELEVE\n",
         190},
        {"total stress missing", param + others + "*FIN_RELEVE\n", 190},
        {"second *SIJM", param + others + "*SIJM 1 1 1 1 1 1\n", 30},
        {"second *SIJ", param + sij + sij, 30},
        {"second parameters", param + param, 30},
        {"too few numbers", param + "*SIJ 1 2 3 4 5\n", 190},
        {"a word for a number", param + "*SIJ 1 2 x 4 5 6\n", 190},
        {"a number beyond double range", "*PARAMETRE 1e999 20\n", 190},
        {"short parameters", "*PARAMETRE 1.5\n", 190},
        {"*SIJ followed by a digit is no card", param + "*SIJ1 2 3 4 5 6 7\n", 40},
        {"*SIJ alone", param + "*SIJ\n", 10},
        {"a card after a blank", param + " *SIJ 1 2 3 4 5 6\n", 40},
        {"a card of the linear record", param + "*SIJA 1 2 3 4 5 6\n", 40},
        {"end of file", param + sij + others, 50},
        {"closing card last without line end", param + sij + others + "*FIN_RELEVE", 50},
        {"a value out of range", param + "*SIJ 1 2 3 4 5 20000.5\n" + others + "*FIN_RELEVE\n",
         190},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueReleve r;
        EXPECT_EQ(ReadBlock("*RELEVE             R1\n" + c.body, r, 4), c.code);
        EXPECT_EQ(r.IsDefined(), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(r.GetName(), "R1");
            EXPECT_EQ(r.GetNumber(), 4);
            EXPECT_EQ(r.GetPressure(), 1.5);
            EXPECT_EQ(r.GetTemperature(), 20.0);
            EXPECT_EQ(r.GetSij(), (Tensor{1, 2, 3, 4, 5, 6}));
            EXPECT_EQ(r.GetSijm(), (Tensor{7, 8, 9, 10, 11, 12}));
            EXPECT_EQ(r.GetSijlm(), (Tensor{13, 14, 15, 16, 17, 18}));
            EXPECT_EQ(r.GetSijlt(), (Tensor{19, 20, 21, 22, 23, 24}));
        }
    }
}

TEST(CZuvanFatigueReleve, NameIsTheOpeningLineFromColumn21) {
    const std::string body =
        "*PARAMETRE 0 20\n*SIJ 0 0 0 0 0 0\n*SIJM 0 0 0 0 0 0\n*SIJLM 0 0 0 0 0 0\n"
        "*SIJLT 0 0 0 0 0 0\n*FIN_RELEVE\n";
    struct Case {
        std::string opening, name;
    };
    const Case cases[] = {
        {"*RELEVE", ""},
        {"*RELEVE" + std::string(13, ' '), ""},  // 20 characters
        {"*RELEVE" + std::string(13, ' ') + " a b ", " a b "},
        {"*RELEVE" + std::string(13, ' ') + std::string(190, 'x'), std::string(180, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opening.size());
        CZuvanFatigueReleve r;
        ASSERT_EQ(ReadBlock(c.opening + "\n" + body, r), 0);
        EXPECT_EQ(r.GetName(), c.name);
    }
}

TEST(CZuvanFatigueReleve, DefinitionBoundsAreInclusive) {
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    struct Case {
        const char* what;
        int number;
        double pressure, temperature, component;
        int code;
    };
    const Case cases[] = {
        {"lower bounds", 0, -3000, -250, -20000, 0},
        {"upper bounds", 7, 3000, 600, 20000, 0},
        {"negative number", -1, 0, 20, 0, 190},
        {"pressure below", 0, -3000.001, 20, 0, 190},
        {"pressure above", 0, 3000.001, 20, 0, 190},
        {"temperature below", 0, 0, -250.001, 0, 190},
        {"temperature above", 0, 0, 600.001, 0, 190},
        {"component below", 0, 0, 20, -20000.001, 190},
        {"component above", 0, 0, 20, 20000.001, 190},
        {"NaN pressure", 0, nan, 20, 0, 190},
        {"NaN component", 0, 0, 20, nan, 190},
        {"infinite temperature", 0, 0, inf, 0, 190},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The component goes into each of the four tensors in turn.
        for (int which = 0; which < 4; ++which) {
            Tensor t[4] = {kZero, kZero, kZero, kZero};
            t[which][5 - which] = c.component;
            CZuvanFatigueReleve r;
            EXPECT_EQ(CodeOf([&] {
                          r.SetDefinition("R", c.number, c.pressure, c.temperature, t[0], t[1],
                                          t[2], t[3]);
                      }),
                      c.code);
            EXPECT_EQ(r.IsDefined(), c.code == 0);
        }
    }
}

TEST(CZuvanFatigueReleve, SetStressesReplacesOnlyTheTensors) {
    CZuvanFatigueReleve r;
    r.SetDefinition("R", 3, 2.5, 100, kZero, kZero, kZero, kZero);
    const Tensor a = {1, 2, 3, 4, 5, 6}, b = {-1, -2, -3, -4, -5, -6};
    r.SetStresses(a, b, a, b);
    EXPECT_TRUE(r.IsDefined());
    EXPECT_EQ(r.GetName(), "R");
    EXPECT_EQ(r.GetNumber(), 3);
    EXPECT_EQ(r.GetPressure(), 2.5);
    EXPECT_EQ(r.GetTemperature(), 100.0);
    EXPECT_EQ(r.GetSij(), a);
    EXPECT_EQ(r.GetSijm(), b);
    EXPECT_EQ(r.GetSijlm(), a);
    EXPECT_EQ(r.GetSijlt(), b);

    const Tensor out = {0, 0, 0, 0, 0, -20000.5};
    EXPECT_EQ(CodeOf([&] { r.SetStresses(a, a, a, out); }), 190);
    EXPECT_FALSE(r.IsDefined());
    EXPECT_EQ(r.GetSijlt(), b);  // nothing stored
    EXPECT_EQ(CodeOf([&] { r.SetStresses(a, a, a, {0, 0, 0, 0, 0, std::nan("")}); }), 190);
}

TEST(CZuvanFatigueReleve, CopiesCarryEveryField) {
    CZuvanFatigueReleve r;
    r.SetDefinition("R", 1, 2, 3, {1, 2, 3, 4, 5, 6}, kZero, kZero, {6, 5, 4, 3, 2, 1});
    const CZuvanFatigueReleve copy(r);
    CZuvanFatigueReleve assigned;
    assigned = r;
    for (const CZuvanFatigueReleve* c :
         {&copy, static_cast<const CZuvanFatigueReleve*>(&assigned)}) {
        EXPECT_TRUE(c->IsDefined());
        EXPECT_EQ(c->GetName(), "R");
        EXPECT_EQ(c->GetNumber(), 1);
        EXPECT_EQ(c->GetSij(), r.GetSij());
        EXPECT_EQ(c->GetSijlt(), r.GetSijlt());
    }
    const CZuvanFatigueReleve unset;
    EXPECT_FALSE(unset.IsDefined());
    EXPECT_EQ(unset.GetName(), " ");
    EXPECT_EQ(unset.GetNumber(), -1);
    EXPECT_EQ(unset.GetPressure(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(unset.GetSijm()[3], std::numeric_limits<double>::lowest());
}

TEST(CZuvanFatigueReleve, EchoBlock) {
    CZuvanFatigueReleve r;
    r.SetDefinition("R \xC3\xA9t\xC3\xA9", 2, -0.5, 20, {1, -2, 3.25, 4, 5, 6},
                    {100, 0, 0, 0, 0, -100}, {0.125, 0, 0, 0, 0, 0}, {12345.5, 0, 0, 0, 0, 7});
    std::ostringstream report;
    report << r;
    EXPECT_EQ(report.str(),
              "\n"
              "Numéro du relevé    : 2\n"
              "++++++++++++++++      \n"
              "Nom                 : R \xC3\xA9t\xC3\xA9\n"
              "Pression (MPa)      : -0.5\n"
              "Température (deg)   : 20\n"
              "Sij (MPa)           : \n"
              "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |\n"
              "|          1 |         -2 |       3.25 |          4 |          5 |          6 |\n"
              "Sij membrane (MPa)  : \n"
              "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |\n"
              "|        100 |          0 |          0 |          0 |          0 |       -100 |\n"
              "Sij lin. meca (MPa) : \n"
              "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |\n"
              "|      0.125 |          0 |          0 |          0 |          0 |          0 |\n"
              "Sij lin. ther (MPa) : \n"
              "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |\n"
              "|    12345.5 |          0 |          0 |          0 |          0 |          7 |\n");
}
