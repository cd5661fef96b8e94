#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "deck/CZuvanFatigue.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatigueReleveLin.h"
#include "stress/CZuvanFatigueReleveQuad.h"
#include "tests/ZuvanFatigueTestSupport.h"

using ZuvanFatigueTest::CodeOf;

namespace {

using H = CZuvanFatigueHistorique;

// A study with the unwelded zone Z and the weld seam W.
const std::string kDeck =
    "*MATERIAU           M\n*TYPE F\n*PARAMETRE 250 410 201660 0.3\n*FIN_MATERIAU\n"
    "*CLASSE             71\n*PARAMETRE 2000000 52.6 100000000 29\n"
    "*PARAMETRES 3 2.91e11 5 8.05e14\n*FIN_CLASSE\n"
    "*CLASSIFICATION     K\n*CORDON_CLASSE      71\n*FIN_CLASSIFICATION\n"
    "*COMPOSANT          C\n*TYPE GENERAL\n*PARAMETRE 10 0 0\n*COMPOSANT_MATERIAU M\n"
    "*FIN_COMPOSANT\n"
    "*UWZONE             Z\n*UWZONE_COMPOSANT   C\n*FIN_UWZONE\n"
    "*CORDON             W\n*CORDON_TYPE        K\n*COMPOSANT_1        C\n"
    "*COMPOSANT_2        C\n*FIN_CORDON\n";

struct Study : ZuvanFatigueTest::DeckStudy {
    Study() : DeckStudy(kDeck) {}
};

const Study& TheStudy() {
    static const Study s;
    return s;
}

int ReadBlock(const std::string& body, H& history) {
    const CZuvanFatigue& study = TheStudy().study;
    return ZuvanFatigueTest::ReadBlock("*HISTORIQUE         H1", body,
                                       [&](const std::string& card, std::istream& in) {
                                           history.Read(in, card, study.UWZones(), study.Welds());
                                       });
}

std::string Plain(const std::string& name, double sxx) {
    const std::string s = " " + std::to_string(sxx) + " 0 0 0 0 0\n";
    return "*RELEVE             " + name + "\n*PARAMETRE 1 20\n*SIJ" + s + "*SIJM" + s + "*SIJLM" +
           s + "*SIJLT" + s + "*FIN_RELEVE\n";
}

std::string Linear(const std::string& name) {
    std::string block = "*RELEVELIN          " + name + "\n*PARAMETRE 2 30\n";
    for (const char* p : {"A", "B"}) {
        for (const char* t : {"", "M", "LM", "LT"}) {
            block += std::string("*SIJ") + t + p + (p[0] == 'A' ? " 2" : " 1") + " 0 0 0 0 0\n";
        }
    }
    return block + "*FIN_RELEVELIN\n";
}

std::string Quadratic(const std::string& name) {
    std::string block = "*RELEVEQUAD         " + name + "\n*PARAMETRE 3 40\n";
    for (const char* p : {"A", "B", "C"}) {
        for (const char* t : {"", "M", "LM", "LT"}) {
            block += std::string("*SIJ") + t + p + " 5 0 0 0 0 0\n";
        }
    }
    return block + "*FIN_RELEVEQUAD\n";
}

const std::string kThree = Plain("R0", 10) + Plain("R1", 20) + Plain("R2", 30);

}  // namespace

TEST(CZuvanFatigueHistorique, ReaderNeedsAZoneOfItsKindAndThreeRecords) {
    const std::string uw = "*HISTORIQUE_UWZONE  Z\n", seam = "*HISTORIQUE_CORDON  W\n";
    struct Case {
        const char* what;
        std::string body;
        int code, type;
        const char* zone;
    };
    const Case cases[] = {
        {"unwelded zone", uw + kThree + "*FIN_HISTORIQUE\n", 0, 30, "Z"},
        {"weld seam, zone card last", kThree + seam + "*FIN_HISTORIQUE\n", 0, 20, "W"},
        {"weld throat, zone card between",
         Plain("a", 1) + "/ c\n\n*HISTORIQUE_GORGE   W\n" + Plain("b", 2) + Plain("c", 3) +
             "*FIN_HISTORIQUE\n",
         0, 40, "W"},
        {"two records", uw + Plain("a", 1) + Plain("b", 2) + "*FIN_HISTORIQUE\n", 200, 0, ""},
        {"no record", uw + "*FIN_HISTORIQUE\n", 200, 0, ""},
        {"no zone card", kThree + "*FIN_HISTORIQUE\n", 200, 0, ""},
        {"unwelded zone naming a seam", "*HISTORIQUE_UWZONE  W\n" + kThree + "*FIN_HISTORIQUE\n",
         200, 0, ""},
        {"seam naming an unwelded zone", "*HISTORIQUE_CORDON  Z\n" + kThree + "*FIN_HISTORIQUE\n",
         200, 0, ""},
        {"throat of an unknown seam", "*HISTORIQUE_GORGE   W2\n" + kThree + "*FIN_HISTORIQUE\n",
         200, 0, ""},
        {"the same zone card twice", uw + uw, 30, 0, ""},
        {"two zone cards", uw + kThree + seam, 30, 0, ""},
        {"short zone card", "*HISTORIQUE_GORGE W\n", 10, 0, ""},
        {"a record keyword with more letters", uw + "*RELEVES            R\n", 40, 0, ""},
        {"unknown card", uw + "*SIJ 1 2 3 4 5 6\n", 40, 0, ""},
        {"a record in error", uw + "*RELEVE             R\n*PARAMETRE 1\n", 190, 0, ""},
        {"end of file", uw + kThree, 50, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        H history;
        EXPECT_EQ(ReadBlock(c.body, history), c.code);
        EXPECT_EQ(history.IsDefined(), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(history.GetName(), "H1");
            EXPECT_EQ(history.GetType(), c.type);
            EXPECT_EQ(history.GetZoneName(), c.zone);
            EXPECT_EQ(history.GetRecordCount(), 3);
        }
    }
}

TEST(CZuvanFatigueHistorique, RecordsOfEveryKindShareOneNumbering) {
    H history;
    ASSERT_EQ(ReadBlock("*HISTORIQUE_UWZONE  Z\n" + Plain("P0", 10) + Linear("L1") +
                            Plain("P2", 30) + Quadratic("Q3") + "*FIN_HISTORIQUE\n",
                        history),
              0);
    struct Expected {
        int kind;
        const char* name;
        double sxx;  // of the record's own total stress
    };
    const Expected expected[] = {{10, "P0", 10}, {20, "L1", 2.5}, {10, "P2", 30}, {30, "Q3", 5}};
    ASSERT_EQ(history.GetRecordCount(), 4);
    int instant = 0;
    for (const auto& entry : history.GetRecords()) {
        SCOPED_TRACE(instant);
        const Expected& e = expected[instant];
        const CZuvanFatigueReleve& r = *entry.second.second;
        EXPECT_EQ(entry.first, instant);
        EXPECT_EQ(entry.second.first, e.kind);
        EXPECT_EQ(history.GetRecordKind(instant), e.kind);
        EXPECT_EQ(&history.GetRecord(instant), &r);
        EXPECT_EQ(r.GetNumber(), instant);
        EXPECT_EQ(r.GetName(), e.name);
        EXPECT_NEAR(r.GetSij()[0], e.sxx, 1e-12);
        EXPECT_EQ(dynamic_cast<const CZuvanFatigueReleveLin*>(&r) != nullptr, e.kind == 20);
        EXPECT_EQ(dynamic_cast<const CZuvanFatigueReleveQuad*>(&r) != nullptr, e.kind == 30);
        ++instant;
    }
    EXPECT_EQ(CodeOf([&] { history.GetRecord(4); }), 210);
    EXPECT_EQ(CodeOf([&] { history.GetRecordKind(-1); }), 210);
}

TEST(CZuvanFatigueHistorique, CopiesAreDeepAndKeepTheRecordClasses) {
    H history;
    ASSERT_EQ(ReadBlock("*HISTORIQUE_GORGE   W\n" + Linear("L0") + Quadratic("Q1") +
                            Plain("P2", 7) + "*FIN_HISTORIQUE\n",
                        history),
              0);
    H copy(history);
    H assigned;
    ASSERT_EQ(ReadBlock("*HISTORIQUE_UWZONE  Z\n" + kThree + "*FIN_HISTORIQUE\n", assigned), 0);
    assigned = history;  // the three records it held are destroyed
    const H& same = assigned;
    assigned = same;
    std::ostringstream original;
    original << history;
    for (const H* c : {static_cast<const H*>(&copy), static_cast<const H*>(&assigned)}) {
        EXPECT_TRUE(c->IsDefined());
        EXPECT_EQ(c->GetName(), "H1");
        EXPECT_EQ(c->GetZoneName(), "W");
        EXPECT_EQ(c->GetType(), 40);
        ASSERT_EQ(c->GetRecordCount(), 3);
        EXPECT_NE(&c->GetRecord(0), &history.GetRecord(0));
        EXPECT_NE(dynamic_cast<const CZuvanFatigueReleveLin*>(&c->GetRecord(0)), nullptr);
        EXPECT_NE(dynamic_cast<const CZuvanFatigueReleveQuad*>(&c->GetRecord(1)), nullptr);
        std::ostringstream echo;
        echo << *c;
        EXPECT_EQ(echo.str(), original.str());  // point values kept too
    }
    // Defining again replaces the records.
    const CZuvanFatigue& study = TheStudy().study;
    H::Records one;
    one.emplace(
        0, H::Record(H::kKindReleve, std::make_unique<CZuvanFatigueReleve>(history.GetRecord(2))));
    copy.SetDefinition(one, study.UWZones(), study.Welds(), "H2", "Z", H::kTypeUWZone);
    EXPECT_EQ(copy.GetRecordCount(), 1);
    EXPECT_EQ(copy.GetRecord(0).GetSij()[0], 7.0);
    EXPECT_EQ(one.at(0).second->GetSij()[0], 7.0);  // the caller keeps its own
}

TEST(CZuvanFatigueHistorique, SetDefinitionRefusesAKindCodeThatDoesNotMatchItsRecord) {
    const CZuvanFatigue& study = TheStudy().study;
    struct Case {
        const char* what;
        int kind;
        std::function<std::unique_ptr<CZuvanFatigueReleve>()> make;
        int code;
    };
    const Case cases[] = {
        {"plain", 10, [] { return std::make_unique<CZuvanFatigueReleve>(); }, 0},
        {"linear", 20, [] { return std::make_unique<CZuvanFatigueReleveLin>(); }, 0},
        {"quadratic", 30, [] { return std::make_unique<CZuvanFatigueReleveQuad>(); }, 0},
        {"unknown kind", 40, [] { return std::make_unique<CZuvanFatigueReleve>(); }, 210},
        {"plain record under the linear kind", 20,
         [] { return std::make_unique<CZuvanFatigueReleve>(); }, 210},
        {"linear record under the plain kind", 10,
         [] { return std::make_unique<CZuvanFatigueReleveLin>(); }, 210},
        {"no record", 30, [] { return std::unique_ptr<CZuvanFatigueReleve>(); }, 210},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        H::Records records;
        records.emplace(0, H::Record(c.kind, c.make()));
        H history;
        EXPECT_EQ(CodeOf([&] {
                      history.SetDefinition(records, study.UWZones(), study.Welds(), "H", "W",
                                            H::kTypeCordon);
                  }),
                  c.code);
        EXPECT_EQ(history.IsDefined(), c.code == 0);
        EXPECT_EQ(history.GetRecordCount(), c.code == 0 ? 1 : 0);
    }
    H history;
    const H::Records none;
    for (int type : {10, 50}) {
        EXPECT_EQ(CodeOf([&] {
                      history.SetDefinition(none, study.UWZones(), study.Welds(), "H", "W", type);
                  }),
                  200);
    }
    EXPECT_EQ(
        CodeOf([&] { history.SetDefinition(none, study.UWZones(), study.Welds(), " ", "W", 20); }),
        200);
}

TEST(CZuvanFatigueHistorique, EchoBlockListsTheRecordsInTimeOrder) {
    H history;
    ASSERT_EQ(ReadBlock("*HISTORIQUE_CORDON  W\n" + Plain("P0", 10) + Linear("L1") +
                            Quadratic("Q2") + "*FIN_HISTORIQUE\n",
                        history),
              0);
    std::ostringstream records;
    records << static_cast<const CZuvanFatigueReleve&>(history.GetRecord(0)) << "\n"
            << static_cast<const CZuvanFatigueReleveLin&>(history.GetRecord(1)) << "\n"
            << static_cast<const CZuvanFatigueReleveQuad&>(history.GetRecord(2)) << "\n";
    std::ostringstream report;
    report << history;
    EXPECT_EQ(report.str(),
              "\n"
              "Nom de l'historique de contraintes           : H1\n"
              "Nom de la zone (cordon, UW , gorge) associée : W\n"
              "Type de l'historique                         : 20\n"
              "                                               10-->inconnu\n"
              "                                               20-->pour une zone "
              "soudée\n"
              "                                               30-->pour une zone "
              "non soudée\n"
              "                                               40-->pour une gorge "
              "de cordon\n"
              "Nombre de relevés de contraintes stockés     : 3\n"
              "\n" +
                  records.str() + "\n");
    EXPECT_NE(records.str().find("Relevé linéaire numéro   : 1\n"), std::string::npos);
    EXPECT_NE(records.str().find("Relevé quadratique numéro   : 2\n"), std::string::npos);

    std::ostringstream empty;
    empty << H();
    EXPECT_NE(empty.str().find("Nombre de relevés de contraintes stockés     : 0\n\n\n"),
              std::string::npos);
}
