#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueComposant.h"
#include "tests/ZuvanFatigueTestSupport.h"

using ZuvanFatigueTest::CodeOf;

namespace {

CZuvanFatigueContexte ContextWith(const std::string& materialName) {
    CZuvanFatigueMateriau m;
    m.SetDefinition(materialName, 20, "", 265, {}, 410, 201660, 0.3);
    CZuvanFatigueContexte context;
    context.AddMaterial(m);
    return context;
}

int ReadBlock(const std::string& deck, CZuvanFatigueComposant& c,
              const CZuvanFatigueContexte& context) {
    return ZuvanFatigueTest::ReadBlock(deck, [&](const std::string& card, std::istream& in) {
        CZuvanFatigueComposant::Read(card, c, context, in);
    });
}

}  // namespace

TEST(CZuvanFatigueComposant, SetDefinitionChecksAndReplacesASmallRoughness) {
    const CZuvanFatigueContexte context = ContextWith("P265GH");
    const double nan = std::nan("");
    struct Case {
        const char* what;
        std::string name, material;
        int type;
        double thickness, roughness, pressure;
        int code;
        double storedRoughness;
    };
    const Case cases[] = {
        {"roughness 0 becomes 200", "C", "P265GH", 20, 10, 0, 1, 0, 200},
        {"roughness 0.1 becomes 200", "C", "P265GH", 30, 10, 0.1, 1, 0, 200},
        {"negative roughness becomes 200", "C", "P265GH", 40, 10, -3, 1, 0, 200},
        {"roughness 0.11 kept", "C", "P265GH", 20, 10, 0.11, 1, 0, 0.11},
        {"roughness 2000 kept", "C", "P265GH", 20, 10, 2000, 1, 0, 2000},
        {"roughness above 2000", "C", "P265GH", 20, 10, 2000.001, 1, 140, 0},
        {"thickness 0.5", "C", "P265GH", 20, 0.5, 25, -7, 0, 25},
        {"thickness 1000", "C", "P265GH", 20, 1000, 25, 1, 0, 25},
        {"thickness below 0.5", "C", "P265GH", 20, 0.499, 25, 1, 140, 0},
        {"thickness above 1000", "C", "P265GH", 20, 1000.001, 25, 1, 140, 0},
        {"blank name", " ", "P265GH", 20, 10, 25, 1, 140, 0},
        {"unknown type", "C", "P265GH", 10, 10, 25, 1, 140, 0},
        {"material missing", "C", "S355", 20, 10, 25, 1, 140, 0},
        {"material with a trailing blank", "C", "P265GH ", 20, 10, 25, 1, 140, 0},
        {"NaN thickness", "C", "P265GH", 20, nan, 25, 1, 140, 0},
        {"NaN roughness", "C", "P265GH", 20, 10, nan, 1, 140, 0},
        {"infinite pressure", "C", "P265GH", 20, 10, 25, HUGE_VAL, 140, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueComposant comp;
        EXPECT_EQ(CodeOf([&] {
                      comp.SetDefinition(context, c.name, c.type, "", c.material, c.thickness,
                                         c.roughness, c.pressure);
                  }),
                  c.code);
        EXPECT_EQ(comp.IsDefined(), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(comp.GetRoughnessUm(), c.storedRoughness);
            EXPECT_EQ(comp.GetThicknessMm(), c.thickness);
            EXPECT_EQ(comp.GetExternalPressure(), c.pressure);
        }
    }
}

TEST(CZuvanFatigueComposant, ReaderTakesItsCardsAndRefusesBadOnes) {
    const CZuvanFatigueContexte context = ContextWith("P265GH");
    const std::string type = "*TYPE               TOLE_SPHERE\n";
    const std::string param = "*PARAMETRE 12.5 0 0.8\n";
    const std::string material = "*COMPOSANT_MATERIAU P265GH\n";
    const std::string ok = type + param + material;
    struct Case {
        const char* what;
        std::string body;
        int code;
    };
    const Case cases[] = {
        {"without comment", ok + "*FIN_COMPOSANT\n", 0},
        {"with comment, any order",
         material + "/ c\n\n*COMMENTAIRE        virole\n" + param + type + "*FIN_COMPOSANT\n", 0},
        {"type in lower case", "*TYPE tole_sphere\n", 140},
        {"type word missing", "*TYPE\n", 140},
        {"type missing", param + material + "*FIN_COMPOSANT\n", 140},
        {"parameters missing", type + material + "*FIN_COMPOSANT\n", 140},
        {"material missing", type + param + "*FIN_COMPOSANT\n", 140},
        {"unknown material", type + param + "*COMPOSANT_MATERIAU P265GH \n*FIN_COMPOSANT\n", 140},
        {"too few numbers", "*PARAMETRE 12.5 0\n", 140},
        {"a word for a number", "*PARAMETRE 12.5 lisse 0.8\n", 140},
        {"second type", type + type, 30},
        {"second parameters", param + param, 30},
        {"second material", material + material, 30},
        {"second comment", "*COMMENTAIRE        a\n*COMMENTAIRE        b\n", 30},
        {"short comment line", "*COMMENTAIRE a\n", 10},
        {"short material line", "*COMPOSANT_MATERIAU\n", 10},
        {"unknown card", ok + "*MATERIAU           P265GH\n", 40},
        {"end of file", ok, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigueComposant comp;
        EXPECT_EQ(ReadBlock("*COMPOSANT          Virole 1\n" + c.body, comp, context), c.code);
        EXPECT_EQ(comp.IsDefined(), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(comp.GetName(), "Virole 1");
            EXPECT_EQ(comp.GetType(), 40);
            EXPECT_EQ(comp.GetThicknessMm(), 12.5);
            EXPECT_EQ(comp.GetRoughnessUm(), 200.0);
            EXPECT_EQ(comp.GetExternalPressure(), 0.8);
            EXPECT_EQ(comp.GetMaterialName(), "P265GH");
        }
    }
    CZuvanFatigueComposant comp;
    ASSERT_EQ(ReadBlock("*COMPOSANT          V\n" + ok + "*FIN_COMPOSANT\n", comp, context), 0);
    EXPECT_EQ(comp.GetComment(), "");
}

TEST(CZuvanFatigueComposant, EchoBlock) {
    const CZuvanFatigueContexte context = ContextWith("P265GH");
    CZuvanFatigueComposant c;
    c.SetDefinition(context, "Virole", 30, "tôle roulée", "P265GH", 12.5, 6.3, 0.25);
    std::ostringstream report;
    report << c;
    EXPECT_EQ(report.str(),
              "\n"
              "Nom du composant                : Virole\n"
              "Type du composant               : 30\n"
              "                                  10-->Inconnu\n"
              "                                  20-->Général\n"
              "                                  30-->Tôle de cylindre\n"
              "                                  40-->Tôle de sphère\n"
              "Commentaire                     : tôle roulée\n"
              "Épaisseur du composant (mm)     : 12.5\n"
              "Rugosité du composant (micro m) : 6.3\n"
              "Pression extérieure admissible  : 0.25\n"
              "                                  Utile pour les cylindres et les cônes avec "
              "défauts\n"
              "Nom du matériau utilisé         : P265GH\n"
              "\n");
    const CZuvanFatigueComposant copy(c);
    CZuvanFatigueComposant assigned;
    assigned = c;
    std::ostringstream again;
    again << copy << assigned;
    EXPECT_EQ(again.str(), report.str() + report.str());
}
