#include "driver/ZuvanFatigueRun.h"

#include <cstring>
#include <iostream>
#include <string>

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/ZuvanFatigueEndReport.h"
#include "driver/ZuvanFatigueSearchSettings.h"
#include "driver/ZuvanFatigueVersion.h"
#include "report/ZuvanFatigueText.h"

namespace {

constexpr int kExitUsage = 1;

void PrintUsage(std::ostream& console) {
    static const char* const kLines[] = {
        "",
        "Utilisation : ZuvanFatigue.exe -d DATA -c CONTEXT -o OUTPUTDIR",
        "",
        "Options :",
        "  -h,--help",
        "      Fait apparaître ce message d'erreur",
        "  -d,--data DATA",
        "      Permet de définir le chemin complet du fichier de données",
        "  -c,--context CONTEXT",
        "      Permet de définir le chemin complet du fichier de contexte",
        "      contexte : définitions des courbes de fatigue",
        "                 définitions des classification de zone soudée selon C11.A5",
        "                 définitions des matériaux souvent utilisés",
        "  -o,--outputdir OUTPUTDIR",
        "      Permet de définir le chemin complet du répertoire qui contiendra les résultats",
    };
    for (const char* line : kLines) console << ConsoleText(line) << '\n';
    console << '\n';
    console.flush();
}

void PrintMissing(std::ostream& console, const char* message) {
    console << ConsoleText(message) << '\n';
    console.flush();
}

bool Is(const char* arg, const char* shortName, const char* longName) {
    return std::strcmp(arg, shortName) == 0 || std::strcmp(arg, longName) == 0;
}

// Restores the echo stream of the deck readers when the run ends.
class ConsoleScope {
   public:
    explicit ConsoleScope(std::ostream& console) { ZuvanFatigueCards::SetConsole(&console); }
    ~ConsoleScope() { ZuvanFatigueCards::SetConsole(nullptr); }
};

int Run(int argc, char* argv[], std::ostream& console) {
    CZuvanFatigueContexte context;
    CZuvanFatigue study;
    study.SetSearchOptions(ZuvanFatigueSearchSettings::ForThisRun());
    bool haveData = false, haveContext = false, haveOutput = false;

    if (argc < 4) {
        PrintUsage(console);
        return kExitUsage;
    }
    for (int i = 1; i < argc; ++i) {
        if (Is(argv[i], "-h", "--help")) {
            PrintUsage(console);
            return 0;
        }
    }
    for (int i = 1; i < argc; i += 2) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--json") == 0) {
            // No value: the next argument is an option again.
            study.SetJsonResults(true);
            --i;
            continue;
        }
        const bool hasValue = i + 1 < argc;
        int code = 0;
        if (Is(arg, "-d", "--data")) {
            if (!hasValue) {
                PrintMissing(console,
                             "L'option -d impose de fournir le chemin complet du fichier de "
                             "données en argument");
                return kExitUsage;
            }
            code = study.SetInputFile(argv[i + 1]);
            haveData = true;
        } else if (Is(arg, "-c", "--context")) {
            if (!hasValue) {
                PrintMissing(console,
                             "L'option -c impose de fournir le chemin complet du fichier de "
                             "contexte en argument");
                return kExitUsage;
            }
            code = context.Read(argv[i + 1]);
            if (code == 0) code = study.SetContext(context);
            haveContext = true;
        } else if (Is(arg, "-o", "--outputdir")) {
            if (!hasValue) {
                PrintMissing(console,
                             "L'option -o impose de fournir le chemin complet du répertoire de "
                             "sortie en argument");
                return kExitUsage;
            }
            code = study.SetOutputDirectory(argv[i + 1]);
            haveOutput = true;
        } else {
            PrintUsage(console);
            return kExitUsage;
        }
        if (code != 0) {
            PrintEndReport(console, code);
            return code;
        }
    }
    if (!haveData || !haveContext || !haveOutput) {
        PrintUsage(console);
        return kExitUsage;
    }
    const int code = study.Read();
    PrintEndReport(console, code);
    return code;
}

// True when "--version" stands among the arguments as an argument of its own:
// the value of -d, -c or -o is that option's value, whatever it reads.
bool AsksForVersion(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return true;
        if (Is(argv[i], "-d", "--data") || Is(argv[i], "-c", "--context") ||
            Is(argv[i], "-o", "--outputdir")) {
            ++i;
        }
    }
    return false;
}

}  // namespace

int RunZuvanFatigue(int argc, char* argv[], std::ostream& console) {
    return RunZuvanFatigue(argc, argv, console, std::cout);
}

int RunZuvanFatigue(int argc, char* argv[], std::ostream& console, std::ostream& output) {
    // --version answers before anything else is looked at; no deck is opened.
    if (AsksForVersion(argc, argv)) {
        output << "ZuvanFatigue " << kZuvanFatigueVersion << '\n';
        output.flush();
        return 0;
    }
    ConsoleScope scope(console);
    try {
        return Run(argc, argv, console);
    } catch (...) {
        // Entry points never throw; this only guards the printing itself.
        PrintEndReport(console, 10);
        return 10;
    }
}
