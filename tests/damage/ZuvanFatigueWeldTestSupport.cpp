#include "tests/damage/ZuvanFatigueWeldTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"

using namespace ZuvanFatigueTest;

namespace ZuvanFatigueWeldTest {

const std::string kRequest =
    "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     r.txt\n*RAINFLOW\n*FIN_DOMMAGE\n";

std::string Record(const std::string& name, const std::string& p, const std::string& t,
                   const std::string& sij, const std::string& sijm, const std::string& sijlm,
                   const std::string& sijlt) {
    return "*RELEVE             " + name + "\n*PARAMETRE          " + p + " " + t +
           "\n*SIJ                " + sij + "\n*SIJM               " + sijm +
           "\n*SIJLM              " + sijlm + "\n*SIJLT              " + sijlt + "\n*FIN_RELEVE\n";
}

std::string Seam(const std::string& a, const std::string& ma, const std::string& b,
                 const std::string& mb, const std::string& kindCard, const std::string& records) {
    const auto component = [](const std::string& name, const std::string& e, const std::string& m) {
        return "*COMPOSANT          " + name + "\n*TYPE               GENERAL\n*PARAMETRE " + e +
               " 12.5 0.5\n*COMPOSANT_MATERIAU " + m + "\n*FIN_COMPOSANT\n";
    };
    std::string card = kindCard;
    card.resize(20, ' ');
    return component("A", a, ma) + component("B", b, mb) +
           "*CORDON             S\n*CORDON_TYPE        BW\n*COMPOSANT_1        A\n"
           "*COMPOSANT_2        B\n*FIN_CORDON\n*HISTORIQUE         H\n" +
           card + "S\n" + records + "*FIN_HISTORIQUE\n";
}

RunResult RunDeck(const TempDir& dir, const std::string& data) {
    return RunProgram({"-c", kContext, "-d", dir.Write("d.dat", data), "-o", dir.Path()});
}

std::unique_ptr<CZuvanFatigue> ReadStudy(const TempDir& dir, const std::string& data) {
    std::ostringstream echo;
    ZuvanFatigueCards::SetConsole(&echo);
    CZuvanFatigueContexte context;
    std::unique_ptr<CZuvanFatigue> study(new CZuvanFatigue());
    const std::string deck = dir.Write("study.dat", data);
    int code = context.Read(kContext.c_str());
    if (code == 0) code = study->SetContext(context);
    if (code == 0) code = study->SetInputFile(deck.c_str());
    if (code == 0) code = study->SetOutputDirectory(dir.Path().c_str());
    if (code == 0) code = study->Read();
    ZuvanFatigueCards::SetConsole(nullptr);
    EXPECT_EQ(code, 0) << echo.str();
    return study;
}

double RunRequest(const CZuvanFatigue& study, const std::string& outputDirectory,
                  int reportSwitch) {
    try {
        CZuvanFatigueClause request;
        request.SetDefinition(study, outputDirectory, "r.txt", "H", CZuvanFatigueClause::kTresca,
                              CZuvanFatigueClause::kRainFlow);
        request.SetReportSwitch(reportSwitch);
        return request.Damage();
    } catch (const CExceptionZuvanFatigue& e) {
        return -e.GetCode();
    }
}

}  // namespace ZuvanFatigueWeldTest
