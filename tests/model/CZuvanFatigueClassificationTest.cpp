// Weld-zone classification: the value cards, the fatigue class it must name
// in the library, and the echo block.

#include <gtest/gtest.h>

#include <sstream>

#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueClassification.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

// A library holding the fatigue class "C71".
CZuvanFatigueContexte Library() {
    CZuvanFatigueClasse c;
    c.SetDefinition("C71", 2000000, 100000000, 52.6, 29.0, 3.0, 2.91e11, 5.0, 8.05e14);
    CZuvanFatigueContexte context;
    context.AddFatigueClass(c);
    return context;
}

void ReadBlock(const std::string& body, CZuvanFatigueClassification& c,
               const CZuvanFatigueContexte& context) {
    std::istringstream in(body);
    CZuvanFatigueClassification::Read(
        ZuvanFatigueCards::CardLine("*CLASSIFICATION     Bout a bout"), c, context, in);
}

}  // namespace

TEST(CZuvanFatigueClassification, ReadsTheValueCardsWhole) {
    ConsoleCapture console;
    const CZuvanFatigueContexte context = Library();
    struct Case {
        std::string body;
        const char *type, *number, *subtype, *comment;
    };
    const Case cases[] = {
        {"*CORDON_CLASSE      C71\n*FIN_CLASSIFICATION\n", " ", " ", " ", " "},
        {"*COMMENTAIRE        pleine pénétration  \n/ note\n\n*SOUSTYPE           b\n"
         "*NUMERO             1.2\n*TYPE               A\n*CORDON_CLASSE      C71\n"
         "*FIN_CLASSIFICATION\n",
         "A", "1.2", "b", "pleine pénétration  "},
        {"*CORDON_CLASSE      C71\n*TYPE               \n*FIN_CLASSIFICATION\n", "", " ", " ", " "},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.body);
        CZuvanFatigueClassification c;
        ReadBlock(k.body, c, context);
        EXPECT_TRUE(c.IsDefined());
        EXPECT_EQ(c.GetName(), "Bout a bout");
        EXPECT_EQ(c.GetClassName(), "C71");
        EXPECT_EQ(c.GetType(), k.type);
        EXPECT_EQ(c.GetNumber(), k.number);
        EXPECT_EQ(c.GetSubtype(), k.subtype);
        EXPECT_EQ(c.GetComment(), k.comment);
    }
    EXPECT_EQ(console.text.str(), cases[0].body + cases[1].body + cases[2].body);
}

TEST(CZuvanFatigueClassification, ReadRefusesBadBlocksWithTheirCodes) {
    ConsoleCapture console;
    const CZuvanFatigueContexte context = Library();
    const std::string cls = "*CORDON_CLASSE      C71\n";
    const std::string end = "*FIN_CLASSIFICATION\n";
    struct Case {
        std::string body;
        int code;
    };
    const Case cases[] = {
        {cls + cls + end, 30},
        {cls + "*TYPE               A\n*TYPE               B\n" + end, 30},
        {cls + "*NUMERO             1\n*NUMERO             1\n" + end, 30},
        {cls + "*SOUSTYPE           a\n*SOUSTYPE           a\n" + end, 30},
        {cls + "*COMMENTAIRE        x\n*COMMENTAIRE        y\n" + end, 30},
        {cls + "*GROUPE             1\n" + end, 40},
        {cls, 50},
        {cls + "*FIN_CLASSIFICATION", 50},
        {"*TYPE               A\n" + end, 110},     // no class named
        {"*CORDON_CLASSE      C71 \n" + end, 110},  // a trailing blank the class lacks
        {"*CORDON_CLASSE      C90\n" + end, 110},   // not in the library
        {"*CORDON_CLASSE C71\n" + end, 10},         // value card shorter than 20 characters
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.body);
        CZuvanFatigueClassification c;
        ExpectCode(k.code, [&] { ReadBlock(k.body, c, context); });
        EXPECT_FALSE(c.IsDefined());
    }
}

TEST(CZuvanFatigueClassification, SetDefinitionNeedsANameAndAKnownClass) {
    const CZuvanFatigueContexte context = Library();
    CZuvanFatigueClassification c;
    c.SetDefinition(context, "D", "C71", "A", "1", "b", "c");
    EXPECT_TRUE(c.IsDefined());
    ExpectCode(110, [&] { c.SetDefinition(context, " ", "C71", "A", "1", "b", "c"); });
    EXPECT_FALSE(c.IsDefined());
    ExpectCode(110, [&] { c.SetDefinition(CZuvanFatigueContexte(), "D", "C71", "", "", "", ""); });
    ExpectCode(110, [&] { c.SetDefinition(context, "D", "c71", "", "", "", ""); });
}

TEST(CZuvanFatigueClassification, EchoBlockIsWrittenInTheReportLayout) {
    CZuvanFatigueClassification c;
    c.SetDefinition(Library(), "Bout à bout", "C71", "A", "1.2", " ", "pleine pénétration");
    std::ostringstream os;
    os << c;
    EXPECT_EQ(os.str(),
              "\n"
              "Nom donné à la classification selon C11.A5 : Bout à bout\n"
              "Classe de fatigue utilisée : C71\n"
              "Type de zone soudée        : A\n"
              "Numéro de zone soudée      : 1.2\n"
              "Sous type de zone soudée   :  \n"
              "Commentaire                : pleine pénétration\n"
              "\n");
}
