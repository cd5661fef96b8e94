// The study: its four maps of data-file objects, their getters and the cards
// of the data file that fill them.

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <fstream>
#include <functional>
#include <sstream>

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueReleveLin.h"
#include "stress/CZuvanFatigueReleveQuad.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kMaterial =
    "*MATERIAU           M\n*TYPE F\n*PARAMETRE 250 410 201660 0.3\n*FIN_MATERIAU\n";
const std::string kClassification =
    "*CLASSE             71\n*PARAMETRE 2000000 52.6 100000000 29\n"
    "*PARAMETRES 3 2.91e11 5 8.05e14\n*FIN_CLASSE\n"
    "*CLASSIFICATION     K\n*CORDON_CLASSE      71\n*FIN_CLASSIFICATION\n";

std::string Component(const std::string& name) {
    return "*COMPOSANT          " + name + "\n*TYPE GENERAL\n*PARAMETRE 10 0 0\n" +
           "*COMPOSANT_MATERIAU M\n*FIN_COMPOSANT\n";
}
std::string Zone(const std::string& name) {
    return "*UWZONE             " + name + "\n*UWZONE_COMPOSANT   C\n*FIN_UWZONE\n";
}
std::string Seam(const std::string& name) {
    return "*CORDON             " + name + "\n*CORDON_TYPE        K\n*COMPOSANT_1        C\n" +
           "*COMPOSANT_2        C\n*FIN_CORDON\n";
}
std::string History(const std::string& name, const std::string& zoneCard) {
    std::string block = "*HISTORIQUE         " + name + "\n" + zoneCard + "\n";
    for (int i = 0; i < 3; ++i) {
        block +=
            "*RELEVE\n*PARAMETRE 0 20\n*SIJ 1 0 0 0 0 0\n*SIJM 0 0 0 0 0 0\n"
            "*SIJLM 0 0 0 0 0 0\n*SIJLT 0 0 0 0 0 0\n*FIN_RELEVE\n";
    }
    return block + "*FIN_HISTORIQUE\n";
}

const std::string kBase = kMaterial + kClassification + Component("C");

}  // namespace

TEST(CZuvanFatigue, DuplicateNamesFailAfterTheWholeBlockIsEchoed) {
    struct Case {
        const char* what;
        std::string deck;
        int code;
        const char* lastEcho;
    };
    const Case cases[] = {
        {"component", kBase + Component("C"), 250, "*FIN_COMPOSANT\n"},
        {"unwelded zone", kBase + Zone("Z") + Zone("Z"), 260, "*FIN_UWZONE\n"},
        {"weld seam", kBase + Seam("W") + Seam("W"), 270, "*FIN_CORDON\n"},
        {"history",
         kBase + Seam("W") + History("H", "*HISTORIQUE_GORGE   W") +
             History("H", "*HISTORIQUE_CORDON  W"),
         280, "*FIN_HISTORIQUE\n"},
        {"one name in each map",
         kBase + Zone("C") + Seam("C") + History("C", "*HISTORIQUE_UWZONE  C") + "/ end\n", 0,
         "/ end\n"},
        {"a name that differs by a trailing blank", kBase + Component("C "), 0, "*FIN_COMPOSANT\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigue study;
        std::string echo;
        EXPECT_EQ(ReadDeck(c.deck, study, &echo), c.code);
        EXPECT_EQ(echo, c.deck);
        const std::string last = c.lastEcho;
        EXPECT_EQ(echo.substr(echo.size() - last.size()), last);
    }
}

TEST(CZuvanFatigue, ObjectsSeeOnlyWhatIsDefinedAboveThem) {
    struct Case {
        const char* what;
        std::string deck;
        int code;
    };
    const Case cases[] = {
        {"zone above its component", kMaterial + Zone("Z") + Component("C"), 150},
        {"seam above its classification", kMaterial + Component("C") + Seam("W") + kClassification,
         170},
        {"history above its zone", kBase + History("H", "*HISTORIQUE_UWZONE  Z") + Zone("Z"), 200},
        {"component above its material", Component("C") + kMaterial, 140},
        {"a material of the data file used below it", kBase + Zone("Z"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuvanFatigue study;
        EXPECT_EQ(ReadDeck(c.deck, study), c.code);
    }
}

TEST(CZuvanFatigue, TopLevelKeywordsWithMoreLettersOpenTheirBlocks) {
    // "*COMPOSANT_1" opens a *COMPOSANT block and "*HISTORIQUE_CORDON" a
    // *HISTORIQUE block, each named from column 21.
    CZuvanFatigue study;
    const std::string deck = kBase + Seam("W") +
                             "*COMPOSANT_1        C2\n*TYPE GENERAL\n*PARAMETRE 10 0 0\n" +
                             "*COMPOSANT_MATERIAU M\n*FIN_COMPOSANT\n" + "*HISTORIQUE_CORDON  H" +
                             History("H", "*HISTORIQUE_CORDON  W").substr(21);
    ASSERT_EQ(ReadDeck(deck, study), 0);
    EXPECT_EQ(study.GetComponent("C2").GetName(), "C2");
    EXPECT_EQ(study.GetHistory("H").GetZoneName(), "W");
}

TEST(CZuvanFatigue, GettersReturnCopiesOrTheirMissingCode) {
    CZuvanFatigue study;
    ASSERT_EQ(
        ReadDeck(kBase + Zone("Z") + Seam("W") + History("H", "*HISTORIQUE_UWZONE  Z"), study), 0);
    EXPECT_EQ(study.GetComponent("C").GetThicknessMm(), 10.0);
    EXPECT_EQ(study.GetUWZone("Z").GetComponentName(), "C");
    EXPECT_EQ(study.GetWeld("W").GetClassificationName(), "K");
    EXPECT_EQ(study.GetHistory("H").GetRecordCount(), 3);
    struct Case {
        const char* what;
        std::function<void()> get;
        int code;
    };
    const Case cases[] = {
        {"component", [&] { study.GetComponent("Z"); }, 380},
        {"unwelded zone", [&] { study.GetUWZone("C"); }, 370},
        {"weld seam", [&] { study.GetWeld("W "); }, 360},
        {"history", [&] { study.GetHistory(""); }, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CodeOf(c.get), c.code);
    }
}

TEST(CZuvanFatigue, CopyKeepsTheFourMapsAndTheContext) {
    auto* study = new CZuvanFatigue;
    ASSERT_EQ(
        ReadDeck(kBase + Zone("Z") + Seam("W") + History("H", "*HISTORIQUE_GORGE   W"), *study), 0);
    study->SetOutputDirectory("out");
    const CZuvanFatigue copy(*study);
    const CZuvanFatigueReleve* original = &study->Histories().at("H").GetRecord(1);
    EXPECT_NE(&copy.Histories().at("H").GetRecord(1), original);
    delete study;  // the copy's records are its own
    EXPECT_EQ(copy.Components().size(), 1u);
    EXPECT_EQ(copy.UWZones().size(), 1u);
    EXPECT_EQ(copy.Welds().size(), 1u);
    EXPECT_EQ(copy.GetHistory("H").GetRecord(1).GetSij()[0], 1.0);
    EXPECT_TRUE(copy.Context().UWCurveExist("410"));  // added by the zone
    EXPECT_EQ(copy.GetOutputDirectory(), "out");
}

TEST(CZuvanFatigue, DeckOfEveryObjectIsStoredAndEchoed) {
    const std::string dir = std::string(ZUVAN_TEST_DIR) + "/decks/";
    const std::string ctx = dir + "every-object.ctx", data = dir + "every-object.dat";

    // The whole run ends normally with both decks echoed.
    TempDir out;
    const RunResult r = RunProgram({"-c", ctx, "-d", data, "-o", out.Path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.console, ReadFile(ctx) + ReadFile(data) + " \n Fin normale du travail \n \n");
    EXPECT_EQ(r.output, "");

    // What the study holds after reading the same decks.
    CZuvanFatigueContexte library;
    std::ostringstream echo;
    ZuvanFatigueCards::SetConsole(&echo);
    ASSERT_EQ(library.Read(ctx.c_str()), 0);
    CZuvanFatigue study;
    study.SetContext(library);
    study.SetInputFile(data.c_str());
    ASSERT_EQ(study.Read(), 0);
    ZuvanFatigueCards::SetConsole(nullptr);

    EXPECT_EQ(study.Components().size(), 4u);
    EXPECT_EQ(study.GetComponent("Virole 2").GetRoughnessUm(), 200.0);
    EXPECT_EQ(study.GetUWZone("Congé du piquage").GetCurveName(), "520");
    EXPECT_EQ(study.GetUWZone("Virole courante").GetCurveName(), "410");
    EXPECT_TRUE(study.GetUWZone("Congé du piquage").IsGeometric());
    EXPECT_EQ(study.GetWeld("Longitudinal").GetImperfection().GetKind(), 20);
    EXPECT_EQ(study.GetWeld("Fond-virole").GetImperfection().GetKind(), 30);
    EXPECT_FALSE(study.GetWeld("Piquage-virole").HasImperfection());
    struct Expected {
        const char* name;
        int type;
        std::vector<int> kinds;
    };
    const Expected histories[] = {
        {"Démarrage piquage", 30, {10, 20, 30, 10}},
        {"Cycles cordon", 20, {20, 10, 30}},
        {"Gorge", 40, {30, 30, 20, 10}},
    };
    for (const Expected& e : histories) {
        SCOPED_TRACE(e.name);
        const CZuvanFatigueHistorique h = study.GetHistory(e.name);
        EXPECT_EQ(h.GetType(), e.type);
        std::vector<int> kinds;
        for (const auto& entry : h.GetRecords()) kinds.push_back(entry.second.first);
        EXPECT_EQ(kinds, e.kinds);
    }
}

// Reading and defining only: the requests of a deck are read and defined
// (their errors raised as Read raises them) but not carried out, and no file
// is written.
TEST(CZuvanFatigue, ReadDefinitionsDefinesRequestsWithoutCarryingThemOut) {
    const std::string decks = std::string(ZUVAN_TEST_DIR) + "/decks/";
    CZuvanFatigueContexte context;
    std::ifstream ctx(decks + "uw.ctx", std::ios::binary);
    ConsoleCapture echo;
    ASSERT_EQ(context.Read(ctx), 0);
    const std::string deck = ReadFile(decks + "uw-uniaxial.dat");
    std::string unknown = deck;
    unknown.replace(unknown.find("*POINT_HISTORIQUE   H1"), 22, "*POINT_HISTORIQUE   HX");
    const struct {
        const std::string* deck;
        int code;
    } cases[] = {{&deck, 0}, {&unknown, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        TempDir dir;
        CZuvanFatigue study;
        ASSERT_EQ(study.SetContext(context), 0);
        ASSERT_EQ(study.SetOutputDirectory(dir.Path().c_str()), 0);
        std::istringstream in(*c.deck);
        EXPECT_EQ(study.ReadDefinitions(in), c.code);
        EXPECT_EQ(study.Histories().size(), 1u);
        EXPECT_TRUE(boost::filesystem::is_empty(dir.Path()));
    }
}
