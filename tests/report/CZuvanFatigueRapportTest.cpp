#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale>
#include <sstream>

#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueText.h"
#include "tests/ZuvanFatigueTestSupport.h"

TEST(CZuvanFatigueRapport, ProgramTextsAreUtf8AndDeckTextsGoOutRaw) {
    std::ostringstream os;
    CZuvanFatigueRapport r(os);
    r.Label("Épaisseur", 12, std::string("Tôle \xC3\xA9"));  // a UTF-8 deck name
    EXPECT_EQ(os.str(), "\xC3\x89paisseur   : T\xC3\xB4le \xC3\xA9\n");
    EXPECT_EQ(ConsoleText("é"), "\xE9");
}

TEST(CZuvanFatigueRapport, FramesAndRowsKeepTheirWidthsInCharacters) {
    std::ostringstream os;
    CZuvanFatigueRapport r(os);
    r.Section("Caractéristiques du matériau du composant");
    r.Title({"Calcul é", "Long title line"});
    os.setf(std::ios::fixed);
    os.precision(3);
    r.RowCell("Sxé", 10);
    r.RowCell(-20.25, 10);
    r.RowEnd();
    const std::string plus(45, '+');
    EXPECT_EQ(os.str(), plus + "\n+ Caractéristiques du matériau du composant +\n" + plus + "\n" +
                            "*******************\n"
                            "* Calcul é        *\n"
                            "* Long title line *\n"
                            "*******************\n"
                            "|        Sxé |    -20.250 |\n");
}

TEST(CZuvanFatigueRapport, NumbersFollowTheReportStreamLocale) {
    std::ostringstream os;
    os.imbue(ZuvanFatigueTest::CommaLocale());
    CZuvanFatigueRapport r(os);
    r.Label("Rm", 4, 412.5);
    EXPECT_EQ(os.str(), "Rm  : 412,5\n");
}

TEST(CZuvanFatigueRapport, NativeNumbersAreConvertedToUtf8) {
    const char* saved = std::getenv("LC_ALL");
    const std::string restore = saved ? saved : "";
    ::setenv("LC_ALL", "fr_FR.UTF-8", 1);
    const bool french = std::setlocale(LC_ALL, "") != nullptr;
    std::setlocale(LC_ALL, "C");
    if (french) {
        EXPECT_EQ(NativeNumberText(201660.0), "201 660");
        EXPECT_EQ(NativeNumberText(0.5), "0,5");
    }
    ::setenv("LC_ALL", "xx_YY.UTF-8", 1);
    EXPECT_EQ(NativeNumberText(201660.0), "201660");  // unknown locale: classic
    if (saved) {
        ::setenv("LC_ALL", restore.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
    if (!french) GTEST_SKIP() << "fr_FR.UTF-8 is not installed (scripts/setup.sh generates it)";
}
