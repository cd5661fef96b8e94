#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "deck/CZuvanFatigue.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueCordon.h"
#include "tests/ZuvanFatigueTestSupport.h"

using ZuvanFatigueTest::CodeOf;

namespace {

std::string Component(const std::string& name, const std::string& type) {
    return "*COMPOSANT          " + name + "\n*TYPE " + type + "\n*PARAMETRE 10 0 0\n" +
           "*COMPOSANT_MATERIAU M\n*FIN_COMPOSANT\n";
}

// Material, class, classification "K" and components G (general), Y and Y2
// (cylinder plates), S and S2 (sphere plates).
const std::string kDeck =
    "*MATERIAU           M\n*TYPE F\n*PARAMETRE 250 410 201660 0.3\n*FIN_MATERIAU\n"
    "*CLASSE             71\n*PARAMETRE 2000000 52.6 100000000 29\n"
    "*PARAMETRES 3 2.91e11 5 8.05e14\n*FIN_CLASSE\n"
    "*CLASSIFICATION     K\n*CORDON_CLASSE      71\n*FIN_CLASSIFICATION\n" +
    Component("G", "GENERAL") + Component("Y", "TOLE_CYLINDRE") + Component("Y2", "TOLE_CYLINDRE") +
    Component("S", "TOLE_SPHERE") + Component("S2", "TOLE_SPHERE");

struct Study : ZuvanFatigueTest::DeckStudy {
    Study() : DeckStudy(kDeck) {}
};

int ReadBlock(const std::string& body, CZuvanFatigueCordon& seam, const CZuvanFatigue& study) {
    return ZuvanFatigueTest::ReadBlock(
        "*CORDON             W1", body, [&](const std::string& card, std::istream& in) {
            CZuvanFatigueCordon::Read(card, seam, study, study.Context(), in);
        });
}

const std::string kImperfection =
    "*IMPERFECTION       I1\n*DIAMETRE 1000 1001 999\n*PARAMETRE 1 0 2 0\n*FIN_IMPERFECTION\n";

}  // namespace

TEST(CZuvanFatigueCordon, PermissionsFollowTheComponentKindsAndTheCardOrder) {
    const std::string i = kImperfection;
    const std::string c = "*CIRCONFERENTIEL\n", l = "*LONGITUDINAL\n";
    struct Case {
        const char* first;
        const char* second;
        std::string cards;  // between the components and *FIN_CORDON
        int code;
        int kind;  // of the imperfection read; 0 when there is none
    };
    const Case cases[] = {
        {"Y", "Y2", l + i, 0, 20},
        {"Y", "Y2", c + i, 0, 30},
        {"Y", "Y2", "/ x\n" + c + "\n" + i, 0, 30},
        {"Y", "Y2", l, 0, 0},
        {"Y", "Y2", "", 0, 0},
        {"Y", "Y2", i, 160, 0},  // kind 10: no orientation came
        {"Y", "Y2", c + l, 30, 0},
        {"Y", "Y2", l + l, 30, 0},
        {"Y", "Y2", l + i + c, 30, 0},
        {"Y", "Y2", l + i + i, 30, 0},
        {"Y", "S", i, 0, 30},
        {"S", "Y", i, 0, 30},
        {"Y", "S", c, 30, 0},
        {"S", "Y", l, 30, 0},
        {"S", "S2", i, 0, 40},
        {"S", "S2", l, 30, 0},
        {"S", "S2", i + i, 30, 0},
        {"G", "Y", i, 30, 0},
        {"S", "G", i, 30, 0},
        {"G", "G", c, 30, 0},
        {"G", "S", "", 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.first) + " + " + k.second + ": " + k.cards);
        Study s;
        CZuvanFatigueCordon seam;
        const std::string body = "*CORDON_TYPE        K\n*COMPOSANT_1        " +
                                 std::string(k.first) + "\n*COMPOSANT_2        " + k.second + "\n" +
                                 k.cards + "*FIN_CORDON\n";
        EXPECT_EQ(ReadBlock(body, seam, s.study), k.code);
        EXPECT_EQ(seam.IsDefined(), k.code == 0);
        if (k.code == 0) {
            EXPECT_EQ(seam.HasImperfection(), k.kind != 0);
            if (k.kind != 0) {
                EXPECT_EQ(seam.GetImperfection().GetKind(), k.kind);
            }
        }
    }
}

TEST(CZuvanFatigueCordon, CardsBeforeBothComponentsAreKnownAreMisplaced) {
    const std::string t = "*CORDON_TYPE        K\n";
    const std::string one = "*COMPOSANT_1        Y\n", two = "*COMPOSANT_2        Y2\n";
    struct Case {
        const char* what;
        std::string body;
        int code;
    };
    const Case cases[] = {
        {"second component first",
         two + "*LONGITUDINAL\n" + one + kImperfection + t + "*FIN_CORDON\n", 30},
        {"components in reverse order",
         two + one + "*LONGITUDINAL\n" + kImperfection + t + "*FIN_CORDON\n", 0},
        {"imperfection before the second component", one + kImperfection, 30},
        {"orientation before any component", "*CIRCONFERENTIEL\n", 30},
        {"unknown component at the second card", one + "*COMPOSANT_2        Y3\n", 170},
        {"unknown component first", "*COMPOSANT_1        Y3\n" + two, 170},
        {"second first component", one + one, 30},
        {"second classification", t + t, 30},
        {"classification missing", one + two + "*FIN_CORDON\n", 170},
        {"second component missing", t + one + "*FIN_CORDON\n", 170},
        {"unknown classification", "*CORDON_TYPE        K \n" + one + two + "*FIN_CORDON\n", 170},
        {"short classification line", "*CORDON_TYPE K\n", 10},
        {"a card of the imperfection", one + two + "*DIAMETRE 1000 1000 1000\n", 40},
        {"error inside the imperfection",
         one + two + "*LONGITUDINAL\n*IMPERFECTION       I\n*DIAMETRE 1000\n", 160},
        {"end of file", t + one + two, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Study s;
        CZuvanFatigueCordon seam;
        EXPECT_EQ(ReadBlock(c.body, seam, s.study), c.code);
        if (c.code == 0) {
            EXPECT_EQ(seam.GetName(), "W1");
            EXPECT_EQ(seam.GetFirstComponentName(), "Y");
            EXPECT_EQ(seam.GetSecondComponentName(), "Y2");
            EXPECT_EQ(seam.GetClassificationName(), "K");
            EXPECT_EQ(seam.GetImperfection().GetName(), "I1");
            EXPECT_EQ(seam.GetImperfection().GetKind(), 20);
        }
    }
}

TEST(CZuvanFatigueCordon, SetDefinitionNeedsTheComponentsAndTheClassification) {
    Study s;
    struct Case {
        const char* what;
        std::string name, first, second, classification;
        int code;
    };
    const Case cases[] = {
        {"valid", "W", "G", "S", "K", 0},
        {"the same component twice", "W", "G", "G", "K", 0},
        {"blank name", " ", "G", "S", "K", 170},
        {"first component missing", "W", "X", "S", "K", 170},
        {"second component missing", "W", "G", "X", "K", 170},
        {"classification missing", "W", "G", "S", "71", 170},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueCordon seam;
        EXPECT_EQ(CodeOf([&] {
                      seam.SetDefinition(s.study, s.study.Context(), c.name, c.first, c.second,
                                         c.classification, CZuvanFatigueImperfection());
                  }),
                  c.code);
        EXPECT_EQ(seam.IsDefined(), c.code == 0);
        EXPECT_FALSE(seam.HasImperfection());
    }
}

TEST(CZuvanFatigueCordon, EchoBlockWithAndWithoutImperfection) {
    Study s;
    CZuvanFatigueCordon plain, withImperfection;
    ASSERT_EQ(ReadBlock("*CORDON_TYPE        K\n*COMPOSANT_1        G\n*COMPOSANT_2        Y\n"
                        "*FIN_CORDON\n",
                        plain, s.study),
              0);
    ASSERT_EQ(ReadBlock("*COMPOSANT_1        S\n*COMPOSANT_2        S2\n*CORDON_TYPE        K\n" +
                            kImperfection + "*FIN_CORDON\n",
                        withImperfection, s.study),
              0);
    std::ostringstream report;
    report << plain;
    EXPECT_EQ(report.str(),
              "\n"
              "Nom du cordon de soudure                   : W1\n"
              "Nom du premier composé soudé               : G\n"
              "Nom du second composé soudé                : Y\n"
              "Classification de zone soudée selon C11.A5 : K\n"
              "Cordon de soudure sans imperfection de forme !\n"
              "\n");
    report.str("");
    const CZuvanFatigueCordon copy(withImperfection);
    report << copy;
    EXPECT_EQ(report.str(),
              "\n"
              "Nom du cordon de soudure                   : W1\n"
              "Nom du premier composé soudé               : S\n"
              "Nom du second composé soudé                : S2\n"
              "Classification de zone soudée selon C11.A5 : K\n"
              "\n"
              "Nom de l'imperfection de forme                         : I1\n"
              "Type de l'imperfection                                 : 40\n"
              "                                                         10-->inconnu\n"
              "                                                         20-->longi cylindre\n"
              "                                                         30-->circonf cylindre\n"
              "                                                         40-->sur sphère\n"
              "Diamètre moyen de l'enveloppe                          : 1000\n"
              "Diamètre maximal de l'enveloppe                        : 1001\n"
              "Diamètre minimal de l'enveloppe                        : 999\n"
              "Décalage de fibre moyen selon C11.A6                   : 1\n"
              "Ecart local de circularité selon C11.A6.9              : 0\n"
              "Angle définissant la position du cordon selon C11.A6.7 : 0\n"
              "Désalignement angulaire sur une sphère selon C11.A6.8  : 2\n"
              "\n"
              "\n"
              "\n");
}
