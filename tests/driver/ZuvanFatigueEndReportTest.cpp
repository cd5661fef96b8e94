#include <gtest/gtest.h>

#include <sstream>

#include "driver/CExceptionZuvanFatigue.h"
#include "driver/ZuvanFatigueEndReport.h"

namespace {
std::string EndReport(int code) {
    std::ostringstream s;
    PrintEndReport(s, code);
    return s.str();
}
const std::string kIndent(14, ' ');
}  // namespace

TEST(ZuvanFatigueEndReport, NormalEndIsThreeLines) {
    EXPECT_EQ(EndReport(0), " \n Fin normale du travail \n \n");
}

TEST(ZuvanFatigueEndReport, AbnormalEndShowsTheCodeAndItsLinesInLatin9) {
    EXPECT_EQ(EndReport(240), " \n Fin anormale du travail \n Code d'erreur : 240 \n" + kIndent +
                                  "Le fichier de donn\xE9"
                                  "es n'est pas disponible \n \n");
    const std::string r40 = EndReport(40);
    EXPECT_EQ(r40.rfind(" \n Fin anormale du travail \n Code d'erreur : 40 \n" + kIndent +
                            "Carte de donn\xE9"
                            "e inconnue \n" +
                            kIndent + "V",
                        0),
              0u);
    EXPECT_NE(r40.find(kIndent + "V\xE9rifiez que chaque ligne de donn\xE9"
                                 "es commence par les "
                                 "caract\xE8res * ou \\ \n"),
              std::string::npos);
    EXPECT_NE(r40.find(kIndent + "Dans votre \xE9"
                                 "diteur de texte sauvegardez votre fichier de "
                                 "donn\xE9"
                                 "es en ASCII ou UTF-8 avec ou sans BOM\n \n"),
              std::string::npos);
    int lines = 0;
    for (char c : r40) lines += c == '\n';
    EXPECT_EQ(lines, 4 + 7);
}

TEST(ZuvanFatigueEndReport, EveryTableCodeHasItsOwnMessageAndOthersAreUndocumented) {
    const std::string undocumented = kIndent +
                                     "Erreur non document\xE9"
                                     "e, contactez le SOVEC \n";
    for (int code : {5, 45, 490, -10, 1000}) {
        SCOPED_TRACE(code);
        EXPECT_NE(EndReport(code).find(undocumented), std::string::npos);
    }
    for (int code = 10; code <= 480; code += 10) {
        SCOPED_TRACE(code);
        EXPECT_EQ(EndReport(code).find(undocumented), std::string::npos);
    }
    EXPECT_NE(EndReport(180).find("Un des composants que le cordon lie entre eux n'existe pas \n"),
              std::string::npos);
}

TEST(CExceptionZuvanFatigue, RaiseNamesTheOperationAndTheFirstMessageLine) {
    try {
        Raise("<CZuvanFatigue::Read>", 40);
        FAIL();
    } catch (const CExceptionZuvanFatigue& e) {
        EXPECT_EQ(e.GetCode(), 40);
        EXPECT_STREQ(e.GetMessage(), "<CZuvanFatigue::Read> : Carte de donnée inconnue");
        const CExceptionZuvanFatigue copy(e);
        EXPECT_STREQ(copy.GetMessage(), e.GetMessage());
    }
    const CExceptionZuvanFatigue empty("", 10);
    EXPECT_EQ(empty.GetMessage(), nullptr);
}

TEST(CExceptionZuvanFatigue, GuardTurnsForeignExceptionsIntoCodeTen) {
    try {
        Guard("<T::M>", [] { return std::string("ab").substr(5); });
        FAIL();
    } catch (const CExceptionZuvanFatigue& e) {
        EXPECT_EQ(e.GetCode(), 10);
    }
    EXPECT_EQ(GuardEntry([] { Raise("<T::M>", 350); }), 350);
    EXPECT_EQ(GuardEntry([] { throw 3; }), 10);
    EXPECT_EQ(GuardEntry([] {}), 0);
}
