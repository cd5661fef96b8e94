// The JSON results of --json, through whole runs: one line per request beside
// its report, the values the checked reports establish, the option's places
// on the command line, write failures and deck names that are not UTF-8.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <boost/filesystem.hpp>
#include <cmath>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "driver/ZuvanFatigueSha256.h"
#include "tests/ZuvanFatigueTestSupport.h"
#include "tests/damage/ZuvanFatigueWeldTestSupport.h"

using namespace ZuvanFatigueTest;
using nlohmann::json;

namespace {

const std::string kDecks = std::string(ZUVAN_TEST_DIR) + "/decks/";
const std::string kNormalEnd = "Fin normale du travail";

// The lines of a JSON Lines file, each parsed; a line that does not parse fails.
std::vector<json> ReadLines(const std::string& path) {
    std::vector<json> lines;
    std::istringstream in(ReadFile(path));
    std::string line;
    while (std::getline(in, line)) lines.push_back(json::parse(line));
    return lines;
}

// Runs a deck of tests/decks with --json (or option) before the other options.
RunResult RunJson(const std::string& context, const std::string& data, const TempDir& out,
                  const std::vector<std::string>& env = {}, const std::string& option = "--json") {
    return RunProgram({option, "-c", kDecks + context, "-d", kDecks + data, "-o", out.Path()}, env);
}

const char* const kGridColumns[] = {"theta_deg", "phi_deg", "origin", "damage",
                                    "normal_stress_sum"};

// Plane i of the search grid, whose columns must all be as long as the grid.
json GridPlane(const json& planes, std::size_t i) {
    json plane = json::object();
    for (const char* key : kGridColumns) {
        EXPECT_EQ(planes[key].size(), 72u * 72u) << key;
        plane[key] = planes[key].at(i);
    }
    return plane;
}

// Zero, a uniaxial stress s (membrane too, and the linearised mechanical
// tensor lm), zero again, at 20 °C: the welded-zone cases of the weld context.
std::string SeamRecords(const std::string& s, const std::string& lm) {
    using ZuvanFatigueWeldTest::kZero;
    using ZuvanFatigueWeldTest::Record;
    const std::string x = s + " 0 0 0 0 0";
    return Record("R0", "0", "20", kZero, kZero, kZero, kZero) +
           Record("R1", "1", "20", x, x, lm.empty() ? x : lm, kZero) +
           Record("R0", "0", "20", kZero, kZero, kZero, kZero);
}

}  // namespace

// The "run" object: the program's version, the start in UTC, both decks as
// given on the command line with the digests of their bytes, the threads.
TEST(ZuvanFatigueJson, RunObjectNamesTheDecksAsGivenWithTheirDigests) {
    TempDir dir;
    const std::string data = kDecks + "./uw-uniaxial.dat", context = kDecks + "uw.ctx";
    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(
        RunProgram({"-d", data, "--json", "-c", context, "-o", dir.Path()}, {"ZUVAN_THREADS=3"})
            .status,
        0);
    const std::time_t after = std::time(nullptr);
    const std::vector<json> lines = ReadLines(dir.Path() + "/uw.txt.jsonl");
    ASSERT_EQ(lines.size(), 1u);
    const json& run = lines[0]["run"];
    EXPECT_EQ(run["program_version"], ZUVAN_VERSION);
    EXPECT_EQ(run["data"],
              (json{{"path", data}, {"sha256", ZuvanFatigueSha256::Of(ReadFile(data))}}));
    EXPECT_EQ(run["context"],
              (json{{"path", context}, {"sha256", ZuvanFatigueSha256::Of(ReadFile(context))}}));
    EXPECT_EQ(run["threads"], 3);
    // "YYYY-MM-DDTHH:MM:SSZ", between the moments around the run.
    const std::string time = run["time"];
    std::tm utc{};
    const char* end = strptime(time.c_str(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    ASSERT_TRUE(end != nullptr && *end == '\0') << time;
    EXPECT_EQ(time.size(), 20u);
    const std::time_t at = timegm(&utc);
    EXPECT_LE(before, at);
    EXPECT_LE(at, after);
    // Keys in their order, "run" after the version.
    const auto ordered = nlohmann::ordered_json::parse(ReadFile(dir.Path() + "/uw.txt.jsonl"));
    std::vector<std::string> keys;
    for (const auto& item : ordered.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"schema_version", "program", "program_version", "run",
                                              "request", "analysis", "result"}));
}

// The unwelded zone of the checked report uw-uniaxial.txt: Theta 137.5, Phi
// 165, N0 0, one cycle (start 1, pivot 0, end 1) of N = 53678.
TEST(ZuvanFatigueJson, UnweldedZoneLineHoldsTheCheckedValues) {
    TempDir dir;
    const RunResult r = RunJson("uw.ctx", "uw-uniaxial.dat", dir);
    ASSERT_EQ(r.status, 0) << r.console;
    const std::vector<json> lines = ReadLines(dir.Path() + "/uw.txt.jsonl");
    ASSERT_EQ(lines.size(), 1u);
    const json& o = lines[0];
    EXPECT_EQ(o["schema_version"], 2);
    EXPECT_EQ(o["program_version"], ZUVAN_VERSION);
    EXPECT_EQ(o["analysis"], "unwelded_zone");
    EXPECT_EQ(o["request"]["history"], "H1");
    EXPECT_EQ(o["request"]["zone"], "Z1");
    EXPECT_EQ(o["request"]["report_file"], "uw.txt");
    EXPECT_EQ(o["request"]["counting_method"], "rainflow");
    EXPECT_EQ(o["request"]["criterion"], "tresca");
    const json& res = o["result"];
    EXPECT_EQ(res["ending"], "normal");
    EXPECT_NEAR(res["critical_plane"]["theta_deg"].get<double>(), 137.5, 1e-9);
    EXPECT_NEAR(res["critical_plane"]["phi_deg"].get<double>(), 165.0, 1e-9);
    EXPECT_EQ(res["critical_plane"]["origin"], 0);
    const json& search = res["search"];
    // The grid as columns, Theta outer and Phi inner, every 2.5 degrees.
    ASSERT_EQ(search["planes"].size(), 5u);
    EXPECT_EQ(GridPlane(search["planes"], search["improving_planes"].back().get<std::size_t>()),
              res["critical_plane"]);
    EXPECT_EQ(search["planes"]["theta_deg"][1], 0.0);
    EXPECT_EQ(search["planes"]["phi_deg"][1], 2.5);
    EXPECT_EQ(search["planes"]["theta_deg"][72], 2.5);
    EXPECT_EQ(search["planes"]["phi_deg"][72], 0.0);
    ASSERT_EQ(res["cycles"].size(), 1u);
    const json& c = res["cycles"][0];
    EXPECT_EQ(c["start"], 1);
    EXPECT_EQ(c["peak"], 0);
    EXPECT_EQ(c["end"], 1);
    EXPECT_EQ(c["n"], 53678);
    EXPECT_EQ(res["total_damage"].get<double>(), 1.0 / 53678);  // full precision
    EXPECT_EQ(res["dsigma_eq"].size(), res["plane_stresses"].size() + 1);
}

// The seam with a form imperfection of weld-seam-imperfection.txt: A
// perpendicular 1 + 0.25 * 1.2^0.67, plane Theta 0 / Phi 45, N0 0, one cycle
// (1, 0, 1) of N = 137955; the same bytes in a French locale.
TEST(ZuvanFatigueJson, SeamWithImperfectionLineHoldsTheCheckedValues) {
    TempDir dir, french;
    ASSERT_EQ(RunJson("weld.ctx", "weld-seam-imperfection.dat", dir).status, 0);
    ASSERT_EQ(
        RunJson("weld.ctx", "weld-seam-imperfection.dat", french, {"LC_ALL=fr_FR.UTF-8"}).status,
        0);
    const std::string path = dir.Path() + "/seam.txt.jsonl";
    EXPECT_EQ(WithoutRun(ReadFile(path)), WithoutRun(ReadFile(french.Path() + "/seam.txt.jsonl")));
    const std::vector<json> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 1u);
    const json& res = lines[0]["result"];
    EXPECT_EQ(lines[0]["analysis"], "welded_zone");
    EXPECT_EQ(res["seam"]["name"], "SL");
    EXPECT_EQ(res["seam"]["has_imperfection"], true);
    const double a = 1.0 + 0.25 * std::pow(1.2, 0.67);
    const json& records = res["intensification"]["records"];
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1]["record"], "R1");
    EXPECT_NEAR(records[1]["a_perpendicular"].get<double>(), a, 1e-12);
    EXPECT_EQ(records[1]["a_parallel"], 1.0);
    EXPECT_EQ(records[1]["sij_before"][0], 100.0);
    EXPECT_NEAR(records[1]["sij_after"][0].get<double>(), 100.0 * a, 1e-9);
    EXPECT_EQ(res["search"]["choice"], "strictly_greater");
    EXPECT_NEAR(res["critical_plane"]["theta_deg"].get<double>(), 0.0, 1e-9);
    EXPECT_NEAR(res["critical_plane"]["phi_deg"].get<double>(), 45.0, 1e-9);
    EXPECT_EQ(res["critical_plane"]["origin"], 0);
    ASSERT_EQ(res["cycles"].size(), 1u);
    const json& c = res["cycles"][0];
    EXPECT_EQ(c["start"], 1);
    EXPECT_EQ(c["peak"], 0);
    EXPECT_EQ(c["end"], 1);
    EXPECT_EQ(c["n"], 137955);
    EXPECT_NEAR(c["after"]["dsigma_r"].get<double>(), 128.248, 5e-4);
    EXPECT_EQ(res["ce"], 1.0);
    EXPECT_EQ(res["total_damage"].get<double>(), 1.0 / 137955);
}

// The refused throat of weld-throat-refused.txt: origins 0 then 1 become the
// best, N0 1, the cycle (2, 1, 2) of DSigmaR 400 beyond 2 * Rpt = 360.
TEST(ZuvanFatigueJson, RefusedThroatLineNamesTheRefusingCycle) {
    TempDir dir;
    ASSERT_EQ(RunJson("weld.ctx", "weld-throat-refused.dat", dir).status, 0);
    const std::vector<json> lines = ReadLines(dir.Path() + "/throat.txt.jsonl");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["analysis"], "weld_throat");
    const json& res = lines[0]["result"];
    EXPECT_EQ(res["ending"], "refused");
    EXPECT_EQ(res["total_damage"], 0.0);
    EXPECT_EQ(res["origin_search"]["improving_origins"], json::array({0, 1}));
    EXPECT_EQ(res["origin_search"]["origins"].size(), res["plane_stresses"].size());
    EXPECT_EQ(res["determining_origin"]["origin"], 1);
    EXPECT_EQ(res["dsigma_eq"][1]["value"], 400.0);
    ASSERT_EQ(res["refused_cycle"], 0);
    const json& c = res["cycles"][0];
    EXPECT_EQ(c["start"], 2);
    EXPECT_EQ(c["peak"], 1);
    EXPECT_EQ(c["end"], 2);
    EXPECT_EQ(c["dsigma_r"], 400.0);
    EXPECT_EQ(c["rpt_mpa"], 180.0);
    EXPECT_FALSE(c.contains("n"));
    EXPECT_FALSE(res.contains("ce"));
}

// --json=summary writes the line of --json without exactly the search grid
// and the per-record plane stresses: the rest is the same, byte for byte
// (apart from the run's time), and so is the report. Of --json and --json=summary, the last one
// counts.
TEST(ZuvanFatigueJson, SummaryLeavesOutTheGridAndThePlaneStressesOnly) {
    struct Case {
        const char *context, *data, *jsonl;
        bool hasGrid;
    };
    const Case cases[] = {{"uw.ctx", "uw-uniaxial.dat", "/uw.txt.jsonl", true},
                          {"weld.ctx", "weld-seam-imperfection.dat", "/seam.txt.jsonl", true},
                          {"weld.ctx", "weld-throat-refused.dat", "/throat.txt.jsonl", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        TempDir full, summary;
        ASSERT_EQ(RunJson(c.context, c.data, full).status, 0);
        ASSERT_EQ(RunJson(c.context, c.data, summary, {}, "--json=summary").status, 0);
        const std::string reportName = std::string(c.jsonl).substr(0, std::strlen(c.jsonl) - 6);
        EXPECT_TRUE(ReadFile(full.Path() + reportName) == ReadFile(summary.Path() + reportName));

        std::istringstream in(ReadFile(full.Path() + c.jsonl));
        std::string expected, line;
        while (std::getline(in, line)) {
            nlohmann::ordered_json o = nlohmann::ordered_json::parse(line);
            nlohmann::ordered_json& res = o["result"];
            ASSERT_TRUE(res.contains("plane_stresses"));
            res.erase("plane_stresses");
            if (c.hasGrid) {
                ASSERT_TRUE(res["search"].contains("planes"));
                res["search"].erase("planes");
            }
            expected += o.dump() + '\n';
        }
        const std::string written = ReadFile(summary.Path() + c.jsonl);
        EXPECT_FALSE(written.empty());
        // Apart from the run object, whose time is each run's own.
        EXPECT_TRUE(WithoutRun(written) == WithoutRun(expected)) << written;
    }

    TempDir last;
    const std::string ctx = kDecks + "uw.ctx", data = kDecks + "uw-uniaxial.dat";
    ASSERT_EQ(
        RunProgram({"--json=summary", "-c", ctx, "-d", data, "-o", last.Path(), "--json"}).status,
        0);
    TempDir full;
    ASSERT_EQ(RunJson("uw.ctx", "uw-uniaxial.dat", full).status, 0);
    EXPECT_TRUE(WithoutRun(ReadFile(last.Path() + "/uw.txt.jsonl")) ==
                WithoutRun(ReadFile(full.Path() + "/uw.txt.jsonl")));
}

// A hydrostatic history: no shear on any plane, the search ends the analysis.
TEST(ZuvanFatigueJson, ZeroDamageLineStopsAfterTheSearch) {
    using namespace ZuvanFatigueWeldTest;
    TempDir dir;
    const std::string s = "100 0 0 100 0 100";
    const std::string records = Record("R", "0", "20", s, s, s, kZero) +
                                Record("R", "0", "20", s, s, s, kZero) +
                                Record("R", "0", "20", s, s, s, kZero);
    const std::string deck = Seam("20", "WF", "20", "WF", "*HISTORIQUE_CORDON", records) + kRequest;
    const RunResult r =
        RunProgram({"-c", kContext, "-d", dir.Write("d.dat", deck), "-o", dir.Path(), "--json"});
    ASSERT_EQ(CodeOf(r), 0);
    const std::vector<json> lines = ReadLines(dir.Path() + "/r.txt.jsonl");
    ASSERT_EQ(lines.size(), 1u);
    const json& res = lines[0]["result"];
    EXPECT_EQ(res["ending"], "zero_damage");
    EXPECT_EQ(res["total_damage"], 0.0);
    EXPECT_EQ(res["search"]["improving_planes"], json::array({0}));
    EXPECT_EQ(res["critical_plane"]["damage"], 0.0);
    EXPECT_TRUE(res["cycles"].empty());
    EXPECT_TRUE(res["dsigma_eq"].empty());
    EXPECT_FALSE(res.contains("largest_cycle_mpa"));
}

// Two requests into one report file give two lines; a third that fails
// (440: a range beyond 2 * Rpt without linearised variation) adds no line,
// only its report as far as the analysis got (no total), and the earlier
// lines and reports stay.
TEST(ZuvanFatigueJson, RequestsAppendOneLineEachAndAFailureNone) {
    using namespace ZuvanFatigueWeldTest;
    const std::string seam =
        Seam("20", "WF", "20", "WA", "*HISTORIQUE_CORDON", SeamRecords("100", "")) +
        "*HISTORIQUE         H2\n*HISTORIQUE_CORDON  S\n" + SeamRecords("500", kZero) +
        "*FIN_HISTORIQUE\n";
    const std::string failing =
        "*DOMMAGE\n*POINT_HISTORIQUE   H2\n*FICHIER_SORTIE     r.txt\n*RAINFLOW\n*FIN_DOMMAGE\n";
    TempDir one, two, three;
    const auto run = [](const TempDir& dir, const std::string& deck) {
        return CodeOf(RunProgram(
            {"--json", "-c", kContext, "-d", dir.Write("d.dat", deck), "-o", dir.Path()}));
    };
    ASSERT_EQ(run(one, seam + kRequest), 0);
    ASSERT_EQ(run(two, seam + kRequest + kRequest), 0);
    EXPECT_EQ(run(three, seam + kRequest + kRequest + failing), 440);

    const std::string line = ReadFile(one.Path() + "/r.txt.jsonl");
    ASSERT_EQ(ReadLines(one.Path() + "/r.txt.jsonl").size(), 1u);
    // Compared as booleans: a mismatch would print half a megabyte.
    // The decks' paths differ from run to run; one run gives one "run" object.
    EXPECT_TRUE(WithoutRun(ReadFile(two.Path() + "/r.txt.jsonl")) == WithoutRun(line + line));
    EXPECT_TRUE(WithoutRun(ReadFile(three.Path() + "/r.txt.jsonl")) == WithoutRun(line + line));
    const std::vector<json> lines = ReadLines(two.Path() + "/r.txt.jsonl");
    EXPECT_EQ(lines[0]["run"], lines[1]["run"]);
    const std::string report = ReadFile(one.Path() + "/r.txt");
    EXPECT_TRUE(ReadFile(two.Path() + "/r.txt") == report + report);
    const std::string partial = ReadFile(three.Path() + "/r.txt");
    EXPECT_TRUE(partial.compare(0, 2 * report.size(), report + report) == 0);
    const std::string cut = partial.substr(std::min(partial.size(), 2 * report.size()));
    EXPECT_EQ(
        cut.compare(0, report.find("Calcul du taux"), report, 0, report.find("Calcul du taux")), 0);
    EXPECT_NE(cut.find("Recherche du plan critique"), std::string::npos);
    EXPECT_EQ(cut.find("Taux d'endommagement total"), std::string::npos);
}

// --json stands wherever an option may stand; as the value of -d, -c or -o it
// is that value. Without it, the output folder holds the report alone.
TEST(ZuvanFatigueJson, OptionStandsInEveryOptionPlace) {
    const std::string ctx = kDecks + "uw.ctx", data = kDecks + "uw-uniaxial.dat";
    TempDir plain;
    ASSERT_EQ(RunProgram({"-c", ctx, "-d", data, "-o", plain.Path()}).status, 0);
    std::vector<std::string> names;
    for (const auto& e : boost::filesystem::directory_iterator(plain.Path())) {
        names.push_back(e.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"uw.txt"});
    const std::string report = ReadFile(plain.Path() + "/uw.txt");

    struct Case {
        std::vector<std::string> before, middle, after;
    };
    const std::vector<std::string> json = {"--json"};
    const Case cases[] = {{json, {}, {}}, {{}, json, {}}, {{}, {}, json}};
    for (const Case& c : cases) {
        TempDir dir;
        std::vector<std::string> args = c.before;
        args.insert(args.end(), {"-c", ctx});
        args.insert(args.end(), c.middle.begin(), c.middle.end());
        args.insert(args.end(), {"-d", data, "-o", dir.Path()});
        args.insert(args.end(), c.after.begin(), c.after.end());
        SCOPED_TRACE(testing::Message() << args.size() << " arguments, --json at "
                                        << (c.before.empty() ? (c.middle.empty() ? 7 : 3) : 1));
        const RunResult r = RunProgram(args);
        EXPECT_EQ(r.status, 0) << r.console;
        EXPECT_EQ(ReadFile(dir.Path() + "/uw.txt"), report);
        EXPECT_EQ(ReadLines(dir.Path() + "/uw.txt.jsonl").size(), 1u);
    }

    // As a value: a data file, a context file, an output folder named --json
    // (or --json=summary).
    for (const std::string option : {"--json", "--json=summary"}) {
        SCOPED_TRACE(option);
        TempDir dir;
        EXPECT_EQ(RunProgram({"-d", option, "-c", ctx, "-o", dir.Path()}).status, 240);
        EXPECT_EQ(RunProgram({"-d", data, "-c", option, "-o", dir.Path()}).status, 350 % 256);
        const RunResult asOutput = RunProgram({"-d", data, "-c", ctx, "-o", option});
        EXPECT_EQ(CodeOf(asOutput), 450);  // the folder does not exist
        EXPECT_FALSE(boost::filesystem::exists(dir.Path() + "/uw.txt.jsonl"));
    }
}

// A JSON file that cannot be written to (a folder, or a link to a full disk,
// at its name) is found before anything is written: 290, and no report
// either. (A JSON line cut short by a full disk: ZuvanFatigueWriteFault.)
TEST(ZuvanFatigueJson, LineThatCannotBeWrittenEndsWith290) {
    struct Case {
        const char* what;
        bool directory;  // the .jsonl path is a folder, else a link to /dev/full
    };
    const Case cases[] = {{"path is a folder", true}, {"full disk", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.Path() + "/uw.txt.jsonl";
        if (c.directory) {
            boost::filesystem::create_directory(path);
        } else {
            ASSERT_EQ(symlink("/dev/full", path.c_str()), 0);
        }
        const RunResult r = RunJson("uw.ctx", "uw-uniaxial.dat", dir);
        EXPECT_EQ(CodeOf(r), 290);
        EXPECT_EQ(r.console.find(kNormalEnd), std::string::npos);
        EXPECT_FALSE(boost::filesystem::exists(dir.Path() + "/uw.txt"));
    }
}

// A history named in Latin-1 (byte E9): the report keeps the byte, the JSON
// line carries U+FFFD in its place and parses.
TEST(ZuvanFatigueJson, NameThatIsNotUtf8GetsTheReplacementCharacter) {
    using namespace ZuvanFatigueWeldTest;
    TempDir dir;
    std::string deck = Seam("20", "WF", "20", "WA", "*HISTORIQUE_CORDON", SeamRecords("100", ""));
    deck.replace(deck.find("*HISTORIQUE         H\n"), 22, "*HISTORIQUE         H\xE9\n");
    deck +=
        "*DOMMAGE\n*POINT_HISTORIQUE   H\xE9\n*FICHIER_SORTIE     r.txt\n*RAINFLOW\n"
        "*FIN_DOMMAGE\n";
    ASSERT_EQ(CodeOf(RunProgram(
                  {"--json", "-c", kContext, "-d", dir.Write("d.dat", deck), "-o", dir.Path()})),
              0);
    EXPECT_NE(ReadFile(dir.Path() + "/r.txt").find("H\xE9"), std::string::npos);
    const std::vector<json> lines = ReadLines(dir.Path() + "/r.txt.jsonl");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["request"]["history"], "H\xEF\xBF\xBD");
    EXPECT_EQ(lines[0]["result"]["ending"], "normal");
}
