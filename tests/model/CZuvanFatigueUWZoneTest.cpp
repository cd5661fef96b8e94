#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "deck/CZuvanFatigue.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueUWZone.h"
#include "tests/ZuvanFatigueTestSupport.h"

using ZuvanFatigueTest::CodeOf;

namespace {

std::string Material(const std::string& name, const std::string& rm) {
    return "*MATERIAU           " + name + "\n*TYPE F\n*PARAMETRE 250 " + rm +
           " 201660 0.3\n*FIN_MATERIAU\n";
}

std::string Component(const std::string& name, const std::string& material) {
    return "*COMPOSANT          " + name + "\n*TYPE GENERAL\n*PARAMETRE 10 0 0\n" +
           "*COMPOSANT_MATERIAU " + material + "\n*FIN_COMPOSANT\n";
}

// A study holding the materials and components of a data deck.
using Study = ZuvanFatigueTest::DeckStudy;

const std::string kDeck = Material("M500", "500") + Material("M520a", "520.2") +
                          Material("M520b", "520.9") + Material("M50", "50") +
                          Component("C500", "M500") + Component("CA", "M520a") +
                          Component("CB", "M520b") + Component("C50", "M50");

int ReadBlock(const std::string& deck, CZuvanFatigueUWZone& zone, CZuvanFatigue& study) {
    return ZuvanFatigueTest::ReadBlock(deck, [&](const std::string& card, std::istream& in) {
        CZuvanFatigueUWZone::Read(card, zone, study, study.Context(), in);
    });
}

}  // namespace

TEST(CZuvanFatigueUWZone, SetDefinitionChecksKtAndTheComponent) {
    const double nan = std::nan("");
    struct Case {
        const char* what;
        std::string name, component;
        double kt;
        int code;
        bool geometric;
    };
    const Case cases[] = {
        {"Kt 1", "Z", "C500", 1, 0, false},
        {"Kt 0.9999 on the bound", "Z", "C500", 0.9999, 0, false},
        {"Kt 0.99995", "Z", "C500", 0.99995, 0, false},
        {"Kt 1.0001 still total", "Z", "C500", 1.0001, 0, false},
        {"Kt 1.0002 geometric", "Z", "C500", 1.0002, 0, true},
        {"Kt below", "Z", "C500", 0.99989, 150, false},
        {"NaN Kt", "Z", "C500", nan, 150, false},
        {"infinite Kt", "Z", "C500", HUGE_VAL, 150, false},
        {"blank name", " ", "C500", 1, 150, false},
        {"unknown component, not 380", "Z", "C9", 1, 150, false},
        {"component name with a trailing blank", "Z", "C500 ", 1, 150, false},
        {"material Rm 50 gives no curve", "Z", "C50", 1, 70, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Study s(kDeck);
        CZuvanFatigueUWZone zone;
        EXPECT_EQ(CodeOf([&] {
                      zone.SetDefinition(s.study, s.study.Context(), c.name, c.component, "", c.kt);
                  }),
                  c.code);
        EXPECT_EQ(zone.IsDefined(), c.code == 0);
        EXPECT_EQ(zone.IsGeometric(), c.geometric);
        if (c.code == 0) {
            EXPECT_EQ(zone.GetKt(), c.kt);
            EXPECT_EQ(zone.GetCurveName(), "500");
        }
    }
}

TEST(CZuvanFatigueUWZone, CurveFollowsTheIntegerPartOfRmAndIsAddedOnce) {
    // Rm 520.2 and 520.9 share the curve 520, built from the first zone's material.
    Study s(kDeck);
    CZuvanFatigueContexte& context = s.study.Context();
    EXPECT_FALSE(context.UWCurveExist("520"));
    CZuvanFatigueUWZone a, b;
    a.SetDefinition(s.study, context, "ZA", "CA", "", 1);
    b.SetDefinition(s.study, context, "ZB", "CB", "", 1);
    EXPECT_EQ(a.GetCurveName(), "520");
    EXPECT_EQ(b.GetCurveName(), "520");
    EXPECT_EQ(context.GetUWCurve("520").GetRm(), 520.2);

    // A *UWCOURBE of that name read before the zones is used unchanged.
    Study t(kDeck + "*UWCOURBE           520\n*PARAMETRE 700\n*FIN_UWCOURBE\n");
    CZuvanFatigueUWZone c;
    c.SetDefinition(t.study, t.study.Context(), "ZB", "CB", "", 1);
    EXPECT_EQ(c.GetCurveName(), "520");
    EXPECT_EQ(t.study.Context().GetUWCurve("520").GetRm(), 700.0);
}

TEST(CZuvanFatigueUWZone, ReaderTakesItsCardsAndRefusesBadOnes) {
    const std::string comp = "*UWZONE_COMPOSANT   C500\n";
    struct Case {
        const char* what;
        std::string body;
        int code;
        std::string comment;
        double kt;
    };
    const Case cases[] = {
        {"component only", comp + "*FIN_UWZONE\n", 0, " ", 1},
        {"every card, any order",
         "*PARAMETRE 1.6\n/ x\n\n" + comp + "*COMMENTAIRE        congé\n*FIN_UWZONE\n", 0, "congé",
         1.6},
        {"component missing", "*PARAMETRE 1.6\n*FIN_UWZONE\n", 150, "", 0},
        {"Kt missing on its card", "*PARAMETRE\n", 150, "", 0},
        {"a word for Kt", "*PARAMETRE un\n", 150, "", 0},
        {"Kt out of range", comp + "*PARAMETRE 0.5\n*FIN_UWZONE\n", 150, "", 0},
        {"second component", comp + comp, 30, "", 0},
        {"second parameter", "*PARAMETRE 1\n*PARAMETRE 1\n", 30, "", 0},
        {"second comment", "*COMMENTAIRE        a\n*COMMENTAIRE        a\n", 30, "", 0},
        {"short component line", "*UWZONE_COMPOSANT\n", 10, "", 0},
        {"unknown card", comp + "*KT 1.2\n", 40, "", 0},
        {"end of file", comp, 50, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Study s(kDeck);
        CZuvanFatigueUWZone zone;
        EXPECT_EQ(ReadBlock("*UWZONE             Z1\n" + c.body, zone, s.study), c.code);
        EXPECT_EQ(zone.IsDefined(), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(zone.GetName(), "Z1");
            EXPECT_EQ(zone.GetComponentName(), "C500");
            EXPECT_EQ(zone.GetComment(), c.comment);
            EXPECT_EQ(zone.GetKt(), c.kt);
            EXPECT_TRUE(s.study.Context().UWCurveExist("500"));
        }
    }
}

TEST(CZuvanFatigueUWZone, EchoBlockTellsWhichStressesToUse) {
    Study s(kDeck);
    CZuvanFatigueUWZone total, geometric;
    total.SetDefinition(s.study, s.study.Context(), "Z1", "C500", " ", 1);
    geometric.SetDefinition(s.study, s.study.Context(), "Z2", "CA", "piquage", 2.5);
    std::ostringstream report;
    report << total << geometric;
    EXPECT_EQ(report.str(),
              "\n"
              "Nom de la zone non soudée                  : Z1\n"
              "Commentaire associé                        :  \n"
              "Nom du composant auquel la zone appartient : C500\n"
              "Nom de la courbe de fatigue de la zone     : 500\n"
              "Valeur du coefficient Kt de la zone        : 1\n"
              "Cette zone doit être calculée avec des contraintes totales\n"
              "      ****                             *******************\n"
              "\n"
              "\n"
              "Nom de la zone non soudée                  : Z2\n"
              "Commentaire associé                        : piquage\n"
              "Nom du composant auquel la zone appartient : CA\n"
              "Nom de la courbe de fatigue de la zone     : 520\n"
              "Valeur du coefficient Kt de la zone        : 2.5\n"
              "Cette zone doit être calculée avec des contraintes géométriques\n"
              "      ****                             ************************\n"
              "\n");
}
