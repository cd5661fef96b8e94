#include "driver/ZuvanFatigueRun.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <ctime>
#include <iostream>
#include <limits>
#include <locale>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "damage/CZuvanFatigueClause.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatigueProvenance.h"
#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/ZuvanFatigueEndReport.h"
#include "driver/ZuvanFatigueSearchSettings.h"
#include "driver/ZuvanFatigueSha256.h"
#include "driver/ZuvanFatigueVersion.h"
#include "report/ZuvanFatigueText.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/ZuvanFatiguePlausibility.h"

namespace {

constexpr int kExitUsage = 1;

const char kRequestNumberMessage[] =
    "L'option --request impose de fournir en argument le numéro d'une demande de calcul du "
    "fichier de données (1 pour la première)";

// The usage text; with every option, the help that --help alone prints.
void PrintUsage(std::ostream& console, bool everyOption = false) {
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
    static const char* const kOtherOptions[] = {
        "  --json",
        "      Ajoute les résultats de chaque demande de calcul, en une ligne JSON, au",
        "      fichier OUTPUTDIR/<fichier de résultats>.jsonl",
        "  --json=summary",
        "      De même, sans la grille de recherche du plan critique ni les contraintes",
        "      de chaque relevé sur le plan",
        "  --check",
        "      Vérifie les deux fichiers et chaque demande de calcul sans rien calculer",
        "      ni écrire de rapport (-o facultatif) ; liste les demandes sur la sortie",
        "      standard",
        "  --request K",
        "      Ne calcule et n'écrit que la K-ième demande de calcul (1 pour la première)",
        "  --split DIR",
        "      Écrit pour chaque demande de calcul K le fichier de données DIR/K.data des",
        "      blocs qu'elle utilise, suivis de son bloc *DOMMAGE (-o facultatif)",
        "  --version",
        "      Affiche la version du logiciel sur la sortie standard",
        "",
        "Environnement :",
        "  ZUVAN_THREADS=N",
        "      Nombre de fils de calcul de la recherche du plan critique (par défaut,",
        "      tous ceux de la machine ; les résultats n'en dépendent pas)",
    };
    for (const char* line : kLines) console << ConsoleText(line) << '\n';
    if (everyOption) {
        for (const char* line : kOtherOptions) console << ConsoleText(line) << '\n';
    }
    console << '\n';
    console.flush();
}

void PrintMissing(std::ostream& console, const std::string& message) {
    console << ConsoleText(message) << '\n';
    console.flush();
}

bool Is(const char* arg, const char* shortName, const char* longName) {
    return std::strcmp(arg, shortName) == 0 || std::strcmp(arg, longName) == 0;
}

// The console of a run, written in blocks: the deck echo is most of what a
// run prints, one short line at a time, and an unbuffered standard error
// would take a system call for each piece. Everything written reaches the
// console stream, in order, at each flush and when the run ends (the
// destructor): before the end report, the usage text or a message, which
// flush, and before each analysis starts (its progress line writes to the
// terminal directly).
class BlockConsole : public std::streambuf {
   public:
    explicit BlockConsole(std::ostream& console) : m_console(console), m_buffer(kBytes) {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }
    BlockConsole(const BlockConsole&) = delete;
    BlockConsole& operator=(const BlockConsole&) = delete;
    ~BlockConsole() override { sync(); }

   protected:
    int_type overflow(int_type c) override {
        Drain();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        Drain();
        m_console.flush();
        return 0;
    }

   private:
    static constexpr std::size_t kBytes = 64 * 1024;
    // A console that takes nothing (a closed standard error) loses the text,
    // as an unbuffered one would; the run goes on.
    void Drain() {
        const std::ptrdiff_t n = pptr() - pbase();
        if (n > 0) m_console.write(pbase(), n);
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }

    std::ostream& m_console;
    std::vector<char> m_buffer;
};

// Restores the echo stream of the deck readers when the run ends.
class ConsoleScope {
   public:
    explicit ConsoleScope(std::ostream& console) { ZuvanFatigueCards::SetConsole(&console); }
    ~ConsoleScope() { ZuvanFatigueCards::SetConsole(nullptr); }
};

// What the run does with the damage requests: all of them (a normal run),
// none (--check, --split DIR) or one (--request K).
struct Mode {
    const char* option = nullptr;  // the mode's option, null for a normal run
    int request = 0;               // --request K
    std::string splitDirectory;    // --split DIR
};

// K of --request K: a whole number from 1, digits only.
bool ParseRequestNumber(const char* text, int& k) {
    long long value = 0;
    if (*text == '\0') return false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
        if (value > std::numeric_limits<int>::max()) return false;
    }
    if (value < 1) return false;
    k = static_cast<int>(value);
    return true;
}

// The line of --check for a request: index, history, zone, analysis,
// records, counting, report, separated by tabs (deck texts raw).
void PrintCheckLine(std::ostream& output, int index, const CZuvanFatigueClause& request) {
    const CZuvanFatigueHistorique& history = request.GetHistory();
    output << index << '\t' << history.GetName() << '\t' << history.GetZoneName() << '\t'
           << request.AnalysisKind() << '\t' << history.GetRecordCount() << '\t'
           << (request.GetCountingMethod() == CZuvanFatigueClause::kReservoir ? "reservoir"
                                                                              : "rainflow")
           << '\t' << request.GetFileName() << '\n';
}

// An option standing among the arguments as an argument of its own, not as
// the value of an option that takes one.
bool HasOption(int argc, char* argv[], const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return true;
        if (Is(argv[i], "-d", "--data") || Is(argv[i], "-c", "--context") ||
            Is(argv[i], "-o", "--outputdir") || std::strcmp(argv[i], "--request") == 0 ||
            std::strcmp(argv[i], "--split") == 0) {
            ++i;
        }
    }
    return false;
}

// The card of a deck line as a failure names it: its keyword, or the line
// itself between quotes when it is no card.
std::string CardOf(const std::string& line) {
    if (!line.empty() && line[0] == '*') return line.substr(0, line.find_first_of(" \t"));
    constexpr std::size_t kShown = 40;
    return '"' + line.substr(0, kShown) + (line.size() > kShown ? "...\"" : "\"");
}

// Where a failure of --check arose, on standard output:
// "FILE:LINE: CARD: what is wrong (code N)", or "FILE: what is wrong (code
// N)" for a deck that could not be opened. Deck texts go out raw.
void PrintFailurePlace(std::ostream& output, int code) {
    const ZuvanFatigueCards::DeckPlace& place = ZuvanFatigueCards::Place();
    output << place.deck << ':';
    if (place.line > 0) output << place.line << ": " << CardOf(place.text) << ':';
    output << ' ' << ConsoleText(ZuvanFatigueFirstMessage(code));
    if (!place.detail.empty()) {
        output << " : ";
        if (*place.what != '\0') output << ConsoleText(place.what) << ' ';
        output << place.detail;
    }
    if (place.blockLine > 0 && place.blockLine != place.line && !place.block.empty() &&
        place.block[0] == '*') {
        // Inside a block: its header, keyword and name.
        const std::string name =
            ZuvanFatigueCards::HeaderName(ZuvanFatigueCards::CardLine(place.block));
        output << ConsoleText(", bloc ") << CardOf(place.block) << (name.empty() ? "" : " ") << name
               << ConsoleText(" de la ligne ") << place.blockLine;
    }
    output << " (code " << code << ")\n";
    output.flush();
}

// "2026-12-11T14:05:09Z": a time in UTC, ISO 8601 to the second.
std::string UtcTime(std::time_t t) {
    std::tm utc{};
    char text[32];
    if (gmtime_r(&t, &utc) == nullptr ||
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) {
        return std::string();
    }
    return text;
}

// What produces this run's JSON lines: the decks as given and their digests.
ZuvanFatigueProvenance::Run Provenance(std::time_t start, const std::string& data,
                                       const std::string& context) {
    ZuvanFatigueProvenance::Run run;
    run.version = kZuvanFatigueVersion;
    run.timeUtc = UtcTime(start);
    run.data = {data, ZuvanFatigueSha256::OfFile(data)};
    run.context = {context, ZuvanFatigueSha256::OfFile(context)};
    run.threads = ZuvanFatigueSearchSettings::ForThisRun().threads;
    return run;
}

// The plausibility warnings of --check on the decks' histories, one line
// each: "DATA: avertissement : historique H, relevé N (NAME) : what looks
// wrong". Deck texts go out raw, program texts in the console's encoding.
void PrintWarnings(std::ostream& output, const std::string& dataPath, const CZuvanFatigue& study) {
    using ZuvanFatiguePlausibility::Kind;
    const auto number = [](double v) {
        std::ostringstream s;
        s.imbue(std::locale::classic());
        s << v;
        return s.str();
    };
    for (const auto& entry : study.Histories()) {
        const CZuvanFatigueHistorique& history = entry.second;
        for (const ZuvanFatiguePlausibility::Warning& w :
             ZuvanFatiguePlausibility::Check(history)) {
            output << dataPath << ConsoleText(": avertissement : historique ") << history.GetName();
            if (w.record >= 0) {
                output << ConsoleText(", relevé ") << w.record << " ("
                       << history.GetRecord(w.record).GetName() << ')';
            }
            const std::string more =
                w.count > 1 ? " (" + std::to_string(w.count) +
                                  (w.kind == Kind::kTotalBelowLinearised ? " paires)" : " relevés)")
                            : "";
            std::string text;
            switch (w.kind) {
                case Kind::kAllStressesSmall:
                    text =
                        "toutes les contraintes sont inférieures à 1 MPa en valeur absolue (la "
                        "plus grande : " +
                        number(w.value) + ") : en GPa ?";
                    break;
                case Kind::kLargeStress:
                    text = "une contrainte de " + number(w.value) + " MPa dépasse 5000 MPa" + more +
                           " : en kPa, en psi ?";
                    break;
                case Kind::kTotalBelowLinearised:
                    text = "avec le relevé " + std::to_string(w.other) +
                           ", la variation de la contrainte totale Sij (" + number(w.value) +
                           " MPa, von Mises) est inférieure à celle de la contrainte linéarisée "
                           "Sijlm + Sijlt (" +
                           number(w.limit) + " MPa)" + more +
                           " : contraintes totales en ksi, ou sans leur part thermique ?";
                    break;
                case Kind::kLargePressure:
                    text = "une pression de " + number(w.value) + " MPa dépasse 100 MPa" + more +
                           " : en bar ?";
                    break;
                case Kind::kPressureAboveMembrane:
                    text = "une pression de " + number(w.value) +
                           " MPa dépasse le dixième de la plus grande contrainte de membrane de "
                           "l'historique (" +
                           number(w.limit) + " MPa)" + more + " : en bar ?";
                    break;
                case Kind::kKelvinLikeTemperatures:
                    text = "la plus basse température est de " + number(w.value) +
                           " degrés : en kelvins ?";
                    break;
            }
            output << " : " << ConsoleText(text) << '\n';
        }
    }
}

int Run(int argc, char* argv[], std::ostream& console, std::ostream& output) {
    const std::time_t start = std::time(nullptr);
    CZuvanFatigueContexte context;
    CZuvanFatigue study;
    study.SetSearchOptions(ZuvanFatigueSearchSettings::ForThisRun());
    bool haveData = false, haveContext = false, haveOutput = false, json = false;
    std::string dataPath, contextPath;  // as given, the last of each
    Mode mode;
    // Known before the options act: the context deck is read at -c.
    const bool checking = HasOption(argc, argv, "--check");

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
    // --check, --request and --split exclude one another; each may be repeated.
    const auto setMode = [&](const char* option) {
        if (mode.option != nullptr && std::strcmp(mode.option, option) != 0) return false;
        mode.option = option;
        return true;
    };
    for (int i = 1; i < argc; i += 2) {
        const char* arg = argv[i];
        // Options without a value: the next argument is an option again.
        if (std::strcmp(arg, "--json") == 0 || std::strcmp(arg, "--json=summary") == 0) {
            study.SetJsonResults(true);
            study.SetJsonSummary(arg[6] == '=');
            json = true;
            --i;
            continue;
        }
        if (std::strcmp(arg, "--check") == 0) {
            if (!setMode("--check")) {
                PrintUsage(console);
                return kExitUsage;
            }
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
            dataPath = argv[i + 1];
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
            contextPath = argv[i + 1];
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
        } else if (std::strcmp(arg, "--request") == 0) {
            if (!setMode("--request")) {
                PrintUsage(console);
                return kExitUsage;
            }
            if (!hasValue || !ParseRequestNumber(argv[i + 1], mode.request)) {
                PrintMissing(console, kRequestNumberMessage);
                return kExitUsage;
            }
        } else if (std::strcmp(arg, "--split") == 0) {
            if (!setMode("--split")) {
                PrintUsage(console);
                return kExitUsage;
            }
            if (!hasValue || argv[i + 1][0] == '\0') {
                PrintMissing(console,
                             "L'option --split impose de fournir le chemin complet du répertoire "
                             "des fichiers de données par demande en argument");
                return kExitUsage;
            }
            mode.splitDirectory = argv[i + 1];
        } else {
            PrintUsage(console);
            return kExitUsage;
        }
        if (code != 0) {
            if (checking) PrintFailurePlace(output, code);
            PrintEndReport(console, code);
            return code;
        }
    }
    // A check or a split writes no report: no output directory is needed.
    const bool needsOutput = mode.option == nullptr || mode.request != 0;
    if (!haveData || !haveContext || (needsOutput && !haveOutput)) {
        PrintUsage(console);
        return kExitUsage;
    }
    CZuvanFatigue::RequestPlan plan;
    plan.only = mode.request;
    plan.resolveOnly = mode.option != nullptr && mode.request == 0;
    plan.splitDirectory = mode.splitDirectory;
    if (mode.option != nullptr && mode.splitDirectory.empty() && mode.request == 0) {
        output << "index\thistory\tzone\tanalysis\trecords\tcounting\treport\n";
        plan.defined = [&output](int index, const CZuvanFatigueClause& request) {
            PrintCheckLine(output, index, request);
        };
    }
    study.SetRequestPlan(plan);
    // Only lines that are written need it: the digests read both decks again.
    if (json && (mode.option == nullptr || mode.request != 0)) {
        study.SetProvenance(Provenance(start, dataPath, contextPath));
    }
    const int code = study.Read();
    output.flush();
    if (code == 0 && mode.request > study.GetRequestCount()) {
        // Requests are counted as the deck is read: the number asked for is
        // known to be missing only at its end. Nothing was computed.
        PrintMissing(console, "La demande de calcul numéro " + std::to_string(mode.request) +
                                  " n'existe pas : le fichier de données en contient " +
                                  std::to_string(study.GetRequestCount()));
        return kExitUsage;
    }
    if (checking && code == 0) {
        // What looks wrong in decks that pass: warnings, never a failure.
        PrintWarnings(output, dataPath, study);
        output.flush();
    }
    if (code != 0 && checking) PrintFailurePlace(output, code);
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

bool IsUtf8Terminal(int fd) {
    if (::isatty(fd) != 1) return false;
    // The environment's character type, read and put back: nothing else of
    // the run depends on the C library's locale.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    if (std::setlocale(LC_CTYPE, "") == nullptr) return false;
    const std::string codeset = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, previous.c_str());
    return codeset == "UTF-8" || codeset == "utf8";
}

int RunZuvanFatigue(int argc, char* argv[], std::ostream& console) {
    return RunZuvanFatigue(argc, argv, console, std::cout);
}

int RunZuvanFatigue(int argc, char* argv[], std::ostream& console, std::ostream& output) {
    // --help alone answers with every option on the standard output (the
    // help scan of a longer command line prints the usage text as a message).
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(output, true);
        return 0;
    }
    // --version answers before anything else is looked at; no deck is opened.
    if (AsksForVersion(argc, argv)) {
        output << "ZuvanFatigue " << kZuvanFatigueVersion << '\n';
        output.flush();
        return 0;
    }
    BlockConsole blocks(console);
    std::ostream buffered(&blocks);
    ConsoleScope scope(buffered);
    int code = 10;
    try {
        code = Run(argc, argv, buffered, output);
    } catch (...) {
        // Entry points never throw; this only guards the printing itself.
        PrintEndReport(buffered, 10);
    }
    buffered.flush();
    return code;
}
