// The context library: its four maps filled from a context file, the add,
// exist and get operations with their codes, copies, and the context cards
// of a data file added to the study's own copy.

#include <gtest/gtest.h>

#include <sstream>

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kClass =
    "*CLASSE             C71\n"
    "*PARAMETRE 2000000 52.6 100000000 29\n"
    "*PARAMETRES 3 2.91e11 5 8.05e14\n"
    "*FIN_CLASSE\n";
const std::string kMaterial =
    "*MATERIAU           P265GH\n"
    "*TYPE               F\n"
    "*PARAMETRE 265 410 201660 0.3\n"
    "*FIN_MATERIAU\n";
const std::string kCurve =
    "*UWCOURBE           410\n"
    "*PARAMETRE 410\n"
    "*FIN_UWCOURBE\n";
const std::string kDetail =
    "*CLASSIFICATION     Bout a bout\n"
    "*CORDON_CLASSE      C71\n"
    "*FIN_CLASSIFICATION\n";

// Reads a context file holding text into library; the code of Read.
int ReadContext(CZuvanFatigueContexte& library, const std::string& text) {
    TempDir dir;
    return library.Read(dir.Write("c.ctx", text).c_str());
}

}  // namespace

TEST(CZuvanFatigueContexte, ReadsTheFourContextCards) {
    ConsoleCapture console;
    CZuvanFatigueContexte library;
    const std::string deck =
        "\xEF\xBB\xBF/ bibliothèque\n\n" + kClass + kMaterial + kCurve + kDetail + "/ fin\n";
    ASSERT_EQ(ReadContext(library, deck), 0);
    EXPECT_EQ(console.text.str(), deck.substr(3));
    EXPECT_TRUE(library.ClassExist("C71"));
    EXPECT_TRUE(library.MaterialExist("P265GH"));
    EXPECT_TRUE(library.UWCurveExist("410"));
    EXPECT_TRUE(library.WeldDetailExist("Bout a bout"));
    EXPECT_FALSE(library.ClassExist("C71 "));  // names compare byte for byte
    EXPECT_FALSE(library.UWCurveExist("410 "));
    EXPECT_FALSE(library.WeldDetailExist("Bout a bout "));
    EXPECT_EQ(library.GetClass("C71").GetC1(), 2.91e11);
    EXPECT_EQ(library.GetUWCurve("410").GetRm(), 410.0);
    EXPECT_EQ(library.GetWeldDetail("Bout a bout").GetClassName(), "C71");
}

TEST(CZuvanFatigueContexte, ReadGivesTheCodeOfTheFirstFault) {
    ConsoleCapture console;
    struct Case {
        std::string deck;
        int code;
    };
    const Case cases[] = {
        {"/ rien\n\n", 0},
        {kClass + kClass, 60},
        {kMaterial + kMaterial, 400},
        {kCurve + kCurve, 80},
        {kClass + kDetail + kDetail, 130},
        {kDetail + kClass, 110},  // the class must come first
        {kClass + "*COMPOSANT          Virole\n", 40},
        {kClass + "*CLASSE             C80\n*PARAMETRE 2000000 52.6 100000000 29\n", 50},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.deck);
        CZuvanFatigueContexte library;
        EXPECT_EQ(ReadContext(library, k.deck), k.code);
    }
    CZuvanFatigueContexte library;
    TempDir dir;
    EXPECT_EQ(library.Read((dir.Path() + "/absent.ctx").c_str()), 350);
    EXPECT_EQ(library.Read(nullptr), 350);
}

TEST(CZuvanFatigueContexte, UnknownNamesAndDuplicatesHaveTheirCodes) {
    ConsoleCapture console;
    CZuvanFatigueContexte library;
    ASSERT_EQ(ReadContext(library, kClass + kMaterial + kCurve + kDetail), 0);
    ExpectCode(90, [&] { library.GetClass("C80"); });
    ExpectCode(410, [&] { library.GetMaterial("S355"); });
    ExpectCode(100, [&] { library.GetUWCurve("500"); });
    ExpectCode(120, [&] { library.GetWeldDetail("Angle"); });
    EXPECT_FALSE(library.UWCurveExist("500"));
    ExpectCode(60, [&] { library.AddFatigueClass(library.GetClass("C71")); });
    ExpectCode(80, [&] { library.AddUWCurve(library.GetUWCurve("410")); });
    ExpectCode(130, [&] { library.AddWeldDetail(library.GetWeldDetail("Bout a bout")); });
    CZuvanFatigueUWCourbe curve;
    curve.SetDefinition(500.0);
    library.AddUWCurve(curve);
    EXPECT_EQ(library.GetUWCurve("500").GetRm(), 500.0);
}

TEST(CZuvanFatigueContexte, CopiesHoldTheFourMapsAndClearEmptiesThem) {
    ConsoleCapture console;
    CZuvanFatigueContexte library;
    ASSERT_EQ(ReadContext(library, kClass + kMaterial + kCurve), 0);
    ASSERT_EQ(ReadContext(library, kDetail), 0);  // a second file adds to the first
    const CZuvanFatigueContexte copy(library);
    CZuvanFatigueContexte assigned;
    assigned = library;
    const CZuvanFatigueContexte* copies[] = {&copy, &assigned};
    library.Clear();
    for (const CZuvanFatigueContexte* c : copies) {
        EXPECT_TRUE(c->ClassExist("C71"));
        EXPECT_TRUE(c->MaterialExist("P265GH"));
        EXPECT_TRUE(c->UWCurveExist("410"));
        EXPECT_TRUE(c->WeldDetailExist("Bout a bout"));
    }
    EXPECT_FALSE(library.ClassExist("C71"));
    EXPECT_FALSE(library.MaterialExist("P265GH"));
    EXPECT_FALSE(library.UWCurveExist("410"));
    EXPECT_FALSE(library.WeldDetailExist("Bout a bout"));
}

TEST(CZuvanFatigueContexte, DataFileCardsExtendTheStudysCopy) {
    ConsoleCapture console;
    CZuvanFatigueContexte library;
    ASSERT_EQ(ReadContext(library, kClass + kCurve), 0);
    const std::string otherClass =
        "*CLASSE             C80\n"
        "*PARAMETRE 2000000 59 100000000 32\n"
        "*PARAMETRES 3 4.1e11 5 1.3e15\n"
        "*FIN_CLASSE\n";
    const std::string otherDetail =
        "*CLASSIFICATION     Angle\n"
        "*CORDON_CLASSE      C80\n"
        "*FIN_CLASSIFICATION\n";
    struct Case {
        std::string data;
        int code;
    };
    const Case cases[] = {
        {otherClass + otherDetail + kDetail, 0},  // a class of the data file above it
        {otherDetail + otherClass, 110},          // ... but not below
        {kClass, 60},                             // already in the context file
        {kCurve, 80},
        {kDetail + kDetail, 130},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.data);
        TempDir dir;
        CZuvanFatigue study;
        ASSERT_EQ(study.SetContext(library), 0);
        ASSERT_EQ(study.SetInputFile(dir.Write("d.dat", k.data).c_str()), 0);
        EXPECT_EQ(study.Read(), k.code);
        if (k.code == 0) {
            EXPECT_EQ(study.Context().GetClass("C80").GetDSigmaD(), 59.0);
            EXPECT_EQ(study.Context().GetWeldDetail("Angle").GetClassName(), "C80");
            EXPECT_TRUE(study.Context().WeldDetailExist("Bout a bout"));
            EXPECT_FALSE(library.ClassExist("C80"));  // the driver's library is untouched
        }
    }
}
