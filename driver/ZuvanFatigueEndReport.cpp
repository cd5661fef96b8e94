#include "driver/ZuvanFatigueEndReport.h"

#include "driver/ZuvanFatigueMessages.h"
#include "report/ZuvanFatigueText.h"

void PrintEndReport(std::ostream& console, int code) {
    console << " \n";
    if (code == 0) {
        console << " Fin normale du travail \n \n";
        console.flush();
        return;
    }
    console << " Fin anormale du travail \n";
    console << " Code d'erreur : " << code << " \n";
    for (const std::string& line : ZuvanFatigueMessageLines(code)) {
        console << std::string(14, ' ') << ConsoleText(line) << '\n';
    }
    console << " \n";
    console.flush();
}
