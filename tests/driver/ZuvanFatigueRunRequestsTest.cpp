// The damage requests of a deck taken one by one: --check (every request
// resolved, none computed), --request K (only the K-th computed) and
// --split DIR (one data deck per request), on a deck that mixes the three
// analyses and sends two requests into one report file.

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem.hpp>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;
namespace fs = boost::filesystem;

namespace {

const std::string kDeck = std::string(ZUVAN_TEST_DIR) + "/decks/study-mixed.dat";
const std::string kContext = std::string(ZUVAN_EXAMPLES_DIR) + "/context.ctx";
const std::string kHeader = "index\thistory\tzone\tanalysis\trecords\tcounting\treport\n";
// The four requests of study-mixed.dat, as --check lists them.
const std::string kRequests[] = {
    "1\tH-TRANSITOIRE\tVIROLE-1-INT\tuwzone\t6\trainflow\tuwzone-shell.txt\n",
    "2\tH-SOUDURE\tSOUDURE-LONGI\tseam\t6\trainflow\tweld-seam.txt\n",
    "3\tH-GORGE\tSOUDURE-TUBULURE\tthroat\t6\trainflow\tweld-throat.txt\n",
    "4\tH-TRANSITOIRE\tVIROLE-1-INT\tuwzone\t6\trainflow\tuwzone-shell.txt\n",
};
const int kRequestCount = 4;
const char kThroatWarning[] =
    ": avertissement : historique H-GORGE, relevé 2 (Heating transient) : avec le relevé 0, la "
    "variation de la contrainte totale Sij (51.1859 MPa, von Mises) est inférieure à celle de la "
    "contrainte linéarisée Sijlm + Sijlt (59.9333 MPa) (3 paires) : contraintes totales en ksi, ou "
    "sans leur part thermique ?\n";

// Every file of a folder (not below it), by name, with its bytes.
std::map<std::string, std::string> Files(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        files[e.path().filename().string()] = ReadFile(e.path().string());
    }
    return files;
}

// The reports of each request run apart, appended in request order, file by
// file: what the whole run writes.
std::map<std::string, std::string> Joined(const std::vector<std::string>& folders) {
    std::map<std::string, std::string> joined;
    for (const std::string& folder : folders) {
        for (const auto& file : Files(folder)) joined[file.first] += file.second;
    }
    return joined;
}

// The same with the "run" object taken out of the JSON lines: it names the
// deck each run read, when it started and its threads.
std::map<std::string, std::string> Comparable(std::map<std::string, std::string> files) {
    for (auto& file : files) {
        const std::string& name = file.first;
        if (name.size() > 6 && name.compare(name.size() - 6, 6, ".jsonl") == 0) {
            file.second = WithoutRun(file.second);
        }
    }
    return files;
}

// The "run" object's data path of every JSON line of a folder's files.
std::set<std::string> DataPaths(const std::map<std::string, std::string>& files) {
    std::set<std::string> paths;
    for (const auto& file : files) {
        std::istringstream in(file.second);
        std::string line;
        while (file.first.size() > 6 && std::getline(in, line)) {
            if (file.first.compare(file.first.size() - 6, 6, ".jsonl") != 0) break;
            paths.insert(nlohmann::json::parse(line)["run"]["data"]["path"].get<std::string>());
        }
    }
    return paths;
}

// The files a request writes: its report and that report's JSON lines.
std::set<std::string> NamesOf(const std::map<std::string, std::string>& files) {
    std::set<std::string> names;
    for (const auto& file : files) names.insert(file.first);
    return names;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The deck with the records of history H-GORGE after its first two removed.
std::string ThroatOfTwoRecords(std::string deck) {
    const std::size_t history = deck.find("*HISTORIQUE         H-GORGE");
    std::size_t third = history;
    for (int k = 0; k < 3; ++k) third = deck.find("*RELEVE ", third + 1);
    const std::size_t end = deck.find("*FIN_HISTORIQUE", history);
    EXPECT_TRUE(history != std::string::npos && third < end && end != std::string::npos);
    deck.erase(third, end - third);
    return deck;
}

}  // namespace

TEST(ZuvanFatigueRun, CheckListsEveryRequestWithTheConsoleOfARunAndWritesNothing) {
    TempDir run, checked;
    const RunResult whole = RunProgram({"-d", kDeck, "-c", kContext, "-o", run.Path()});
    ASSERT_EQ(whole.status, 0) << whole.console;
    std::string table = kHeader;
    for (const std::string& line : kRequests) table += line;
    // The throat's totals lack the thermal part of its heating record: a warning.
    table += kDeck + Latin9(kThroatWarning);
    // Without -o, and with it (where it is looked at as a run would).
    const std::vector<std::vector<std::string>> commands = {
        {"--check", "-d", kDeck, "-c", kContext},
        {"-d", kDeck, "-c", kContext, "-o", checked.Path(), "--check"},
    };
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0]);
        const RunResult r = RunProgram(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.output, table);
        EXPECT_EQ(r.console, whole.console);
    }
    EXPECT_TRUE(Files(checked.Path()).empty());
    EXPECT_EQ(Files(run.Path()).size(), 3u);
}

// Mistakes of a deck: a run meets each one where it stands, after computing
// the requests above it; --check finds it with the same code and console,
// having computed and written nothing.
TEST(ZuvanFatigueRun, CheckFindsTheMistakesOfARunBeforeComputingAnything) {
    const std::string deck = ReadFile(kDeck);
    struct Case {
        const char* what;
        std::string deck;
        int code;
        int listed;  // requests listed before the failing one
        bool missingOutput = false;
    };
    const Case cases[] = {
        {"throat history naming a seam not in the deck",
         Replaced(deck, "*HISTORIQUE_GORGE   SOUDURE-TUBULURE",
                  "*HISTORIQUE_GORGE   SOUDURE-TUBULUR"),
         200, 2},
        {"unwelded zone naming a component not in the deck",
         Replaced(deck, "*UWZONE_COMPOSANT   VIROLE-1", "*UWZONE_COMPOSANT   VIROLE-2"), 150, 0},
        {"report file outside the output folder",
         Replaced(deck, "*FICHIER_SORTIE     weld-seam.txt",
                  "*FICHIER_SORTIE     ../weld-seam.txt"),
         290, 1},
        {"report file in a folder the output folder lacks",
         Replaced(deck, "*FICHIER_SORTIE     weld-seam.txt",
                  "*FICHIER_SORTIE     sub/weld-seam.txt"),
         290, 1},
        {"request without a report file",
         Replaced(deck, "*FICHIER_SORTIE     weld-throat.txt\n", ""), 290, 2},
        {"throat history of two records", ThroatOfTwoRecords(deck), 200, 2},
        {"request naming a history not in the deck",
         Replaced(deck, "*POINT_HISTORIQUE   H-GORGE", "*POINT_HISTORIQUE   H-GORG"), 300, 2},
        {"request without counting method",
         Replaced(deck, "*FICHIER_SORTIE     weld-throat.txt\n*RAINFLOW\n",
                  "*FICHIER_SORTIE     weld-throat.txt\n"),
         330, 2},
        {"output folder that does not exist", deck, 450, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir, run;
        const std::string data = dir.Write("d.dat", c.deck);
        const std::string output = c.missingOutput ? dir.Path() + "/none" : run.Path();
        const RunResult whole = RunProgram({"-d", data, "-c", kContext, "-o", output});
        EXPECT_EQ(CodeOf(whole), c.code);
        EXPECT_EQ(Files(run.Path()).empty(), c.listed == 0);
        TempDir checked;
        const std::string checkOutput = c.missingOutput ? output : checked.Path();
        const RunResult r = RunProgram({"-d", data, "-c", kContext, "-o", checkOutput, "--check"});
        EXPECT_EQ(r.status, c.code % 256);
        EXPECT_EQ(r.console, whole.console);
        std::string table = kHeader;
        for (int k = 0; k < c.listed; ++k) table += kRequests[k];
        // Then the line that says where the mistake is (the next test).
        EXPECT_EQ(r.output.substr(0, table.size()), table);
        const std::string code = " (code " + std::to_string(c.code) + ")\n";
        EXPECT_EQ(r.output.find('\n', table.size()), r.output.size() - 1);
        EXPECT_EQ(r.output.substr(r.output.size() - code.size()), code);
        EXPECT_TRUE(Files(checked.Path()).empty());
    }
}

// --check names where each mistake is: FILE:LINE: CARD: what is wrong, the
// block it stands in, (code N); the console stays that of a run.
TEST(ZuvanFatigueRun, CheckSaysWhereAMistakeIs) {
    const std::string deck = ReadFile(kDeck);
    // The number of the line of deck text that begins with what, after after.
    const auto lineOf = [](const std::string& text, const std::string& what,
                           const std::string& after = std::string()) {
        const std::size_t at = text.find("\n" + what, text.find(after)) + 1;
        EXPECT_NE(at, 0u) << what;
        return std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n'));
    };
    const std::string tubulure = "*COMPOSANT          TUBULURE";
    struct Case {
        const char* what;
        std::string deck;
        std::string place;  // after "d.dat:"
    };
    std::vector<Case> cases;
    {
        const std::string d =
            Replaced(deck, "*COMPOSANT_MATERIAU X2CrNi18-9", "*COMPOSANT_MATERIAU X2CrNi18-8");
        cases.push_back(
            {"unknown material", d,
             lineOf(d, "*FIN_COMPOSANT", tubulure) +
                 ": *FIN_COMPOSANT: Mauvaise définition d'un composant : matériau absent du "
                 "contexte : X2CrNi18-8, bloc "
                 "*COMPOSANT TUBULURE de la ligne " +
                 lineOf(d, tubulure) + " (code 140)"});
    }
    {
        const std::string d =
            Replaced(deck, "*UWZONE_COMPOSANT   VIROLE-1", "*UWZONE_COMPOSANT   VIROLE-2");
        cases.push_back({"unknown component", d,
                         lineOf(d, "*FIN_UWZONE") +
                             ": *FIN_UWZONE: Mauvaise définition d'une zone non soudée : composant "
                             "absent des données : VIROLE-2, bloc "
                             "*UWZONE VIROLE-1-INT de la ligne " +
                             lineOf(d, "*UWZONE ") + " (code 150)"});
    }
    {
        const std::string d = Replaced(deck, "*HISTORIQUE_GORGE   SOUDURE-TUBULURE",
                                       "*HISTORIQUE_GORGE   SOUDURE-TUBULUR");
        cases.push_back({"zone typo", d,
                         lineOf(d, "*FIN_HISTORIQUE", "H-GORGE") +
                             ": *FIN_HISTORIQUE: Mauvaise définition d'un historique de "
                             "contraintes : cordon absent des données : SOUDURE-TUBULUR, bloc "
                             "*HISTORIQUE H-GORGE de la ligne " +
                             lineOf(d, "*HISTORIQUE         H-GORGE") + " (code 200)"});
    }
    {
        const std::string d =
            Replaced(deck, "*COMPOSANT_MATERIAU X2CrNi18-9", "*COMPOSANT_MATERAU  X2CrNi18-9");
        cases.push_back({"misspelt card", d,
                         lineOf(d, "*COMPOSANT_MATERAU") +
                             ": *COMPOSANT_MATERAU: Carte de donnée inconnue, bloc *COMPOSANT "
                             "TUBULURE de la ligne " +
                             lineOf(d, tubulure) + " (code 40)"});
    }
    {
        const std::string d =
            Replaced(deck, "*PARAMETRE          12 6.3 0", "*PARAMETRE          12 6,3 0");
        cases.push_back({"bad number", d,
                         lineOf(d, "*PARAMETRE          12 6,3") +
                             ": *PARAMETRE: Mauvaise définition d'un composant, bloc *COMPOSANT "
                             "TUBULURE de la ligne " +
                             lineOf(d, tubulure) + " (code 140)"});
    }
    {
        const std::string d =
            Replaced(deck, "*POINT_HISTORIQUE   H-GORGE", "*POINT_HISTORIQUE   H-GORG");
        cases.push_back({"history not in the deck", d,
                         lineOf(d, "*FIN_DOMMAGE", "H-GORG\n") +
                             ": *FIN_DOMMAGE: L'historique de contraintes auquel on se réferre "
                             "n'existe pas : H-GORG, bloc *DOMMAGE de la ligne " +
                             lineOf(d, "*DOMMAGE", "*HISTORIQUE         H-GORGE") + " (code 300)"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string data = dir.Write("d.dat", c.deck);
        const RunResult r = RunProgram({"--check", "-d", data, "-c", kContext});
        const std::size_t last = r.output.rfind('\n', r.output.size() - 2) + 1;
        EXPECT_EQ(r.output.substr(last), data + ":" + Latin9(c.place) + "\n");
        EXPECT_EQ(r.console.find(dir.Path()), std::string::npos);  // the console as designed
    }
    // In the context deck, and a deck that cannot be opened.
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", "/ one material\n*MATERIAU           M1\n*TYPO\n");
    const std::string none = dir.Path() + "/none.dat";
    EXPECT_EQ(RunProgram({"-c", ctx, "--check", "-d", kDeck}).output,
              ctx + Latin9(":3: *TYPO: Carte de donnée inconnue, bloc *MATERIAU M1 de la ligne 2 "
                           "(code 40)\n"));
    EXPECT_EQ(RunProgram({"-d", none, "-c", ctx, "--check"}).output,
              none + Latin9(": Le fichier de données n'est pas disponible (code 240)\n"));
}

// Each request run alone, by --request K and by its own deck of --split,
// writes exactly its part of the whole run's files: appended in request
// order, they are the whole run's files byte for byte (reports and JSON
// lines apart from their "run" object, which names the deck read; requests 1
// and 4 share a report file).
TEST(ZuvanFatigueRun, EachRequestAloneWritesItsPartOfTheWholeRun) {
    TempDir whole, split;
    const RunResult all = RunProgram({"-d", kDeck, "-c", kContext, "-o", whole.Path(), "--json"});
    ASSERT_EQ(all.status, 0) << all.console;
    const std::string decks = split.Path() + "/decks";  // created by --split
    const RunResult s = RunProgram({"-d", kDeck, "--split", decks, "-c", kContext});
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.console, all.console);
    std::set<std::string> deckNames;
    for (int k = 1; k <= kRequestCount; ++k) deckNames.insert(std::to_string(k) + ".data");
    EXPECT_EQ(NamesOf(Files(decks)), deckNames);

    const std::vector<std::string> reportNames = {"uwzone-shell.txt", "weld-seam.txt",
                                                  "weld-throat.txt", "uwzone-shell.txt"};
    std::vector<TempDir> alone(kRequestCount), ownDeck(kRequestCount);
    std::vector<std::string> aloneFolders, ownDeckFolders;
    for (int k = 1; k <= kRequestCount; ++k) {
        SCOPED_TRACE("request " + std::to_string(k));
        const std::string out = alone[k - 1].Path();
        const RunResult r = RunProgram(
            {"--json", "-d", kDeck, "-c", kContext, "--request", std::to_string(k), "-o", out});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.console, all.console);
        const std::string name = reportNames[k - 1];
        EXPECT_EQ(NamesOf(Files(out)), (std::set<std::string>{name, name + ".jsonl"}));
        aloneFolders.push_back(out);

        // Its own deck, read with the same context, gives the same files.
        const std::string own = ownDeck[k - 1].Path();
        const std::string data = decks + "/" + std::to_string(k) + ".data";
        EXPECT_EQ(RunProgram({"-d", data, "-c", kContext, "-o", own, "--json"}).status, 0);
        EXPECT_EQ(Comparable(Files(own)), Comparable(Files(out)));
        EXPECT_EQ(DataPaths(Files(out)), std::set<std::string>{kDeck});
        EXPECT_EQ(DataPaths(Files(own)), std::set<std::string>{data});
        ownDeckFolders.push_back(own);
    }
    EXPECT_EQ(Comparable(Joined(aloneFolders)), Comparable(Files(whole.Path())));
    EXPECT_EQ(Comparable(Joined(ownDeckFolders)), Comparable(Files(whole.Path())));

    // A request's deck holds what it uses and nothing else: the seam's deck
    // the data deck's material (above it) and both shells, not the throat's
    // history; the first request's deck not the material defined below it.
    const std::string seamDeck = ReadFile(decks + "/2.data");
    EXPECT_NE(seamDeck.find("*MATERIAU           P265GH-D\n"), std::string::npos);
    EXPECT_NE(seamDeck.find("*COMPOSANT          VIROLE-B\n"), std::string::npos);
    EXPECT_EQ(seamDeck.find("H-GORGE"), std::string::npos);
    EXPECT_EQ(seamDeck.find("H-TRANSITOIRE"), std::string::npos);
    EXPECT_EQ(ReadFile(decks + "/1.data").find("P265GH-D"), std::string::npos);
    EXPECT_NE(ReadFile(decks + "/4.data").find("P265GH-D"), std::string::npos);
    // Byte for byte the deck's lines: the throat's deck is the data deck's
    // material, then the throat part of the deck, each from the empty and
    // comment lines above its first block, up to the request's end card.
    const std::string deck = ReadFile(kDeck);
    const auto part = [&](const char* first, const char* last) {
        const std::size_t from = deck.find(first);
        const std::size_t to = deck.find(last, from) + std::string(last).size();
        EXPECT_TRUE(from != std::string::npos && to > from) << first;
        return deck.substr(from, to - from);
    };
    const std::string throat = part("\n/ A material of the data deck", "*FIN_MATERIAU\n") +
                               part("\n/ ZuvanFatigue example: throat", "*FIN_DOMMAGE\n");
    EXPECT_EQ(ReadFile(decks + "/3.data"), throat);
}

TEST(ZuvanFatigueRun, SplitStopsAtADeckErrorLeavingWholeDecksOnly) {
    TempDir dir;
    const std::string data = dir.Write(
        "d.dat",
        Replaced(ReadFile(kDeck), "*POINT_HISTORIQUE   H-GORGE", "*POINT_HISTORIQUE   H-GORG"));
    const std::string decks = dir.Path() + "/decks";
    const RunResult r = RunProgram({"--split", decks, "-d", data, "-c", kContext});
    EXPECT_EQ(r.status, 300 % 256);
    EXPECT_EQ(CodeOf(r), 300);
    EXPECT_EQ(NamesOf(Files(decks)), (std::set<std::string>{"1.data", "2.data"}));
    // A folder that cannot be made: the output folder's code, before reading.
    const std::string file = dir.Write("file", "");
    const RunResult f = RunProgram({"--split", file + "/decks", "-d", data, "-c", kContext});
    EXPECT_EQ(CodeOf(f), 450);
    EXPECT_EQ(f.console.find("*DOMMAGE"), std::string::npos);
}

TEST(ZuvanFatigueRun, RequestNumberOutOfRangeIsAUsageError) {
    TempDir dir;
    const std::string notANumber = Latin9(
        "L'option --request impose de fournir en argument le numéro d'une demande de calcul du "
        "fichier de données (1 pour la première)\n");
    for (const char* k : {"0", "-1", "+1", "1.5", "x", "", "2147483648"}) {
        SCOPED_TRACE(k);
        const RunResult r =
            RunProgram({"-d", kDeck, "-c", kContext, "-o", dir.Path(), "--request", k});
        EXPECT_EQ(r.status, 1);
        // Refused where the option stands: the context was read, not the data deck.
        EXPECT_EQ(r.console, ReadFile(kContext) + notANumber);
    }
    const RunResult missing = RunProgram({"-d", kDeck, "-c", kContext, "--request"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.console, ReadFile(kContext) + notANumber);

    // Beyond the last request: known once the deck is read, with nothing
    // computed, and said instead of the end report.
    const RunResult beyond =
        RunProgram({"--request", "5", "-d", kDeck, "-c", kContext, "-o", dir.Path()});
    EXPECT_EQ(beyond.status, 1);
    const RunResult checked = RunProgram({"--check", "-d", kDeck, "-c", kContext});
    const std::string echo = checked.console.substr(0, checked.console.rfind(" \n Fin normale"));
    EXPECT_EQ(beyond.console,
              echo + Latin9("La demande de calcul numéro 5 n'existe pas : le fichier de données "
                            "en contient 4\n"));
    EXPECT_TRUE(Files(dir.Path()).empty());
}

TEST(ZuvanFatigueRun, RequestModesExcludeOneAnotherAndNeedTheirValues) {
    TempDir dir;
    const std::vector<std::vector<std::string>> usage = {
        {"--check", "--request", "1", "-d", kDeck, "-c", kContext, "-o", dir.Path()},
        {"--split", dir.Path(), "--check", "-d", kDeck, "-c", kContext},
        // One request is computed: its report needs an output folder.
        {"--request", "1", "-d", kDeck, "-c", kContext},
    };
    for (const std::vector<std::string>& args : usage) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const RunResult r = RunProgram(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(CodeOf(r), -1);
        EXPECT_NE(r.console.find("Utilisation : ZuvanFatigue.exe"), std::string::npos);
    }
    const RunResult split = RunProgram({"-d", kDeck, "-c", kContext, "--split"});
    EXPECT_EQ(split.status, 1);
    EXPECT_EQ(split.console,
              ReadFile(kContext) +
                  Latin9("L'option --split impose de fournir le chemin complet du répertoire des "
                         "fichiers de données par demande en argument\n"));
    // As the value of -d, --check is a path.
    EXPECT_EQ(CodeOf(RunProgram({"-d", "--check", "-c", kContext, "-o", dir.Path()})), 240);
}
