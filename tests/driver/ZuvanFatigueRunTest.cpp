// The program as a user runs it: options, usage, end report, exit status.

#include <gtest/gtest.h>

#include <algorithm>

#include "driver/ZuvanFatigueVersion.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

// Usage text as Latin-9 bytes, spelt out so that a wrong conversion shows.
const std::string kUsage =
    "\n"
    "Utilisation : ZuvanFatigue.exe -d DATA -c CONTEXT -o OUTPUTDIR\n"
    "\n"
    "Options :\n"
    "  -h,--help\n"
    "      Fait appara\xEEtre ce message d'erreur\n"
    "  -d,--data DATA\n"
    "      Permet de d\xE9"
    "finir le chemin complet du fichier de donn\xE9"
    "es\n"
    "  -c,--context CONTEXT\n"
    "      Permet de d\xE9"
    "finir le chemin complet du fichier de contexte\n"
    "      contexte : d\xE9"
    "finitions des courbes de fatigue\n"
    "                 d\xE9"
    "finitions des classification de zone soud\xE9"
    "e selon C11.A5\n"
    "                 d\xE9"
    "finitions des mat\xE9riaux souvent utilis\xE9s\n"
    "  -o,--outputdir OUTPUTDIR\n"
    "      Permet de d\xE9"
    "finir le chemin complet du r\xE9pertoire qui contiendra les "
    "r\xE9sultats\n"
    "\n";

const std::string kNormalEnd = " \n Fin normale du travail \n \n";

std::string AbnormalEnd(int code, const std::string& latin9Line) {
    return " \n Fin anormale du travail \n Code d'erreur : " + std::to_string(code) + " \n" +
           std::string(14, ' ') + latin9Line + "\n \n";
}

const char kMaterialDeck[] =
    "*MATERIAU           P265GH\n"
    "*TYPE               F\n"
    "*PARAMETRE 265 410 201660 0.3\n"
    "*FIN_MATERIAU\n";

}  // namespace

TEST(ZuvanFatigueRun, UsageAndOptionErrorsExitWithOne) {
    TempDir dir;
    const std::string data = dir.Write("d.dat", "/ nothing\n");
    const std::string ctx = dir.Write("c.ctx", "");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string console;
    };
    const Case cases[] = {
        {{}, 1, kUsage},
        {{"-h"}, 1, kUsage},
        {{"-d", data}, 1, kUsage},
        {{"-d", "a", "-c", "b", "-o", "c", "-h"}, 0, kUsage},
        {{"-d", "-h", "-c", "b", "-o", "c"}, 0, kUsage},
        {{"--help", "x", "y"}, 0, kUsage},
        {{"-d", data, "x", "-c", ctx, "-o", dir.Path()}, 1, kUsage},
        {{"-x", data, "-c", ctx}, 1, kUsage},
        {{"-d", data, "-o", dir.Path()}, 1, kUsage},
        // --json takes no value but "summary".
        {{"--json=", "-d", data, "-c", ctx, "-o", dir.Path()}, 1, kUsage},
        {{"-d", data, "--json=full", "-c", ctx, "-o", dir.Path()}, 1, kUsage},
        {{"--json=Summary", "-d", data, "-c", ctx, "-o", dir.Path()}, 1, kUsage},
        {{"--json=summary ", "-d", data, "-c", ctx, "-o", dir.Path()}, 1, kUsage},
        {{"-c", ctx, "-o"},
         1,
         "L'option -o impose de fournir le chemin complet du r\xE9pertoire de sortie en "
         "argument\n"},
        {{"-o", dir.Path(), "-d"},
         1,
         "L'option -d impose de fournir le chemin complet du fichier de donn\xE9"
         "es en "
         "argument\n"},
        {{"-d", data, "-c"},
         1,
         "L'option -c impose de fournir le chemin complet du fichier de contexte en "
         "argument\n"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += a + " ";
        SCOPED_TRACE(shown);
        const RunResult r = RunProgram(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.console, c.console);
        EXPECT_EQ(r.output, "");
    }
}

TEST(ZuvanFatigueRun, NormalRunEchoesBothDecksAndEndsNormally) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", std::string("/ context\n") + kMaterialDeck);
    const std::string data = dir.Write("d.dat",
                                       "/ data\n\n*MATERIAU           S2\n"
                                       "*TYPE A\n*PARAMETRE 200 500 195000 0.3\n"
                                       "*FIN_MATERIAU\r\n/ end");
    const RunResult r = RunProgram({"-c", ctx, "--data", data, "--outputdir", dir.Path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.console, std::string("/ context\n") + kMaterialDeck +
                             "/ data\n\n*MATERIAU           S2\n*TYPE A\n"
                             "*PARAMETRE 200 500 195000 0.3\n*FIN_MATERIAU\n/ end\n" +
                             kNormalEnd);
}

TEST(ZuvanFatigueRun, FailingEntryPointsEndWithTheirCode) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", "");
    const std::string data = dir.Write("d.dat", "");
    const std::string missingData = AbnormalEnd(240,
                                                "Le fichier de donn\xE9"
                                                "es n'est pas disponible ");
    const std::string missingCtx = AbnormalEnd(350, "Le fichier de contexte n'est pas disponible ");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string console;
    };
    const Case cases[] = {
        {{"-d", dir.Path() + "/none", "-c", ctx, "-o", dir.Path()}, 240, missingData},
        {{"-d", dir.Path(), "-c", ctx, "-o", dir.Path()}, 240, missingData},
        {{"-d", data, "-c", dir.Path() + "/none", "-o", dir.Path()}, 350, missingCtx},
        {{"-d", data, "-c", dir.Path(), "-o", dir.Path()}, 350, missingCtx},
        // The first failing option stops the run: the context is never read.
        {{"-d", dir.Path() + "/none", "-c", dir.Path() + "/none", "-o", "x"}, 240, missingData},
        // A missing output directory is only checked when a report is written.
        {{"-d", data, "-c", ctx, "-o", dir.Path() + "/none"}, 0, kNormalEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[3]);
        const RunResult r = RunProgram(c.args);
        EXPECT_EQ(r.status, c.code % 256);  // 350 is seen as 94 by the shell
        EXPECT_EQ(r.console, c.console);
        EXPECT_EQ(r.output, "");
    }
}

TEST(ZuvanFatigueRun, ContextGivenTwiceIsReadTwiceIntoTheSameLibrary) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", kMaterialDeck);
    const std::string data = dir.Write("d.dat", "");
    const RunResult r = RunProgram({"-c", ctx, "-c", ctx, "-d", data, "-o", dir.Path()});
    EXPECT_EQ(r.status, 400 % 256);
    EXPECT_EQ(r.console, std::string(kMaterialDeck) + kMaterialDeck +
                             AbnormalEnd(400,
                                         "Le mat\xE9riau dont la d\xE9"
                                         "finition est donn\xE9"
                                         "e existe "
                                         "d\xE9j\xE0 "));
}

TEST(ZuvanFatigueRun, UnknownLocaleFallsBackToClassic) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", kMaterialDeck);
    const std::string data = dir.Write("d.dat", "/ x\n");
    const RunResult r =
        RunProgram({"-c", ctx, "-d", data, "-o", dir.Path()}, {"LC_ALL=", "LANG=xx_YY.UTF-8"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.console, std::string(kMaterialDeck) + "/ x\n" + kNormalEnd);
}

TEST(ZuvanFatigueRun, VersionIsPrintedWhereverItStandsAndNoDeckIsRead) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", kMaterialDeck);
    const std::string none = dir.Path() + "/none";
    const std::string version = std::string("ZuvanFatigue ") + kZuvanFatigueVersion + "\n";
    // X.Y.Z: three numbers separated by points.
    const std::string number = kZuvanFatigueVersion;
    EXPECT_EQ(std::count(number.begin(), number.end(), '.'), 2);
    EXPECT_EQ(number.find_first_not_of("0123456789."), std::string::npos);
    EXPECT_EQ(number.find(".."), std::string::npos);
    EXPECT_TRUE(!number.empty() && number.front() != '.' && number.back() != '.');
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string output;
        std::string console;
    };
    const Case cases[] = {
        {{"--version"}, 0, version, ""},
        {{"--version", "-h"}, 0, version, ""},
        {{"x", "--version"}, 0, version, ""},
        // Decks that cannot be opened are never looked at.
        {{"-d", none, "-c", none, "-o", none, "--version"}, 0, version, ""},
        {{"-c", ctx, "--version", "-d", none, "-o", none}, 0, version, ""},
        // As the value of -d, --version is the data file's path.
        {{"-d", "--version", "-c", ctx, "-o", dir.Path()},
         240,
         "",
         AbnormalEnd(240,
                     "Le fichier de donn\xE9"
                     "es n'est pas disponible ")},
        {{"-o", "--version", "-c"},
         1,
         "",
         "L'option -c impose de fournir le chemin complet du fichier de contexte en "
         "argument\n"},
        {{"--Version", "-d", none, "-c", none}, 1, "", kUsage},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += a + " ";
        SCOPED_TRACE(shown);
        const RunResult r = RunProgram(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.output);
        EXPECT_EQ(r.console, c.console);
    }
}

// The console is written in blocks: whatever ends the run, every line read
// before is on it, in order, before the end report or the message.
TEST(ZuvanFatigueRun, EchoIsWholeWhateverEndsTheRun) {
    TempDir dir;
    std::string comments;
    for (int k = 0; comments.size() < 200 * 1024; ++k) {
        comments += "/ line " + std::to_string(k) + " of a long deck\n";
    }
    const std::string ctx = dir.Write("c.ctx", comments + kMaterialDeck);
    const std::string data = dir.Write("d.dat", comments + "*INCONNUE\n/ never read\n");
    const RunResult unknown = RunProgram({"-c", ctx, "-d", data, "-o", dir.Path()});
    EXPECT_EQ(unknown.status, 40);
    const std::string echo = comments + kMaterialDeck + comments + "*INCONNUE\n";
    ASSERT_GT(unknown.console.size(), echo.size());
    EXPECT_EQ(unknown.console.substr(0, echo.size()), echo);
    const std::string end = " \n Fin anormale du travail \n Code d'erreur : 40 \n";
    EXPECT_EQ(unknown.console.substr(echo.size(), end.size()), end);

    const RunResult missing = RunProgram({"-c", ctx, "-o"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.console, comments + kMaterialDeck +
                                   "L'option -o impose de fournir le chemin complet du "
                                   "r\xE9pertoire de sortie en argument\n");
}

// --help alone lists every option on standard output; with other arguments
// the usage text stays a message on the console, as wrong usage prints it.
TEST(ZuvanFatigueRun, HelpAloneListsEveryOptionOnStandardOutput) {
    const RunResult help = RunProgram({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.console, "");
    const std::string designed = kUsage.substr(0, kUsage.size() - 1);  // without the last line end
    EXPECT_EQ(help.output.substr(0, designed.size()), designed);
    for (const char* option : {"  --json\n", "  --json=summary\n", "  --check\n", "  --request K\n",
                               "  --split DIR\n", "  --version\n", "  ZUVAN_THREADS=N\n"}) {
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.output.substr(help.output.size() - 2), "\n\n");
    const RunResult twoArguments = RunProgram({"--help", "x"});
    EXPECT_EQ(twoArguments.status, 1);
    EXPECT_EQ(twoArguments.console, kUsage);
    EXPECT_EQ(twoArguments.output, "");
}
