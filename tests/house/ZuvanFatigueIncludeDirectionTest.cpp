// The house's include direction: every project include of the program's
// sources follows the declared layers, or is one of the named exceptions the
// design forces.

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem.hpp>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The folders from the top down: a file may include the files of its own
// folder and of the folders below it.
const char* const kLayers[] = {"driver", "deck", "report", "damage", "stress", "model"};

// The bottom layer, used by everything: the error type, its code -> message
// table and the version; the card reader; the report layout helpers and the
// output file that reports are appended to. They include nothing of the
// project but each other, and any file may include them.
const char* const kBottom[] = {
    "driver/CExceptionZuvanFatigue", "driver/ZuvanFatigueMessages",   "driver/ZuvanFatigueVersion",
    "deck/ZuvanFatigueCards",        "report/CZuvanFatigueRapport",   "report/ZuvanFatigueText",
    "report/ZuvanFatigueTable",      "report/ZuvanFatigueOutputFile",
};

// Includes against the layers, each for a reason of the design.
struct Exception {
    const char* from;  // a folder ("damage/") or a file
    const char* to;    // the included header
    const char* why;
};
const Exception kExceptions[] = {
    {"damage/", "deck/CZuvanFatigue.h",
     "the study <-> request pair: a request holds a copy of its study and looks its objects "
     "up in it"},
    {"model/", "deck/CZuvanFatigue.h",
     "a block reader checks the names it references in the study"},
    {"model/", "deck/CZuvanFatigueContexte.h",
     "a block reader checks the names it references in the context library"},
    {"damage/CZuvanFatigueClause.cpp", "report/ZuvanFatigueReport.h",
     "the request renders its result into its report"},
    {"damage/CZuvanFatigueClause.cpp", "report/ZuvanFatigueJson.h",
     "the request renders its result as its JSON line"},
};

std::string Stem(const std::string& path) { return path.substr(0, path.rfind('.')); }

bool IsBottom(const std::string& path) {
    return std::find(std::begin(kBottom), std::end(kBottom), Stem(path)) != std::end(kBottom);
}

int Layer(const std::string& path) {
    const std::string folder = path.substr(0, path.find('/'));
    for (std::size_t i = 0; i < std::size(kLayers); ++i) {
        if (folder == kLayers[i]) return static_cast<int>(i);
    }
    return -1;
}

bool Excepted(const std::string& from, const std::string& to) {
    for (const Exception& e : kExceptions) {
        const std::string f = e.from;
        const bool matches = f.back() == '/' ? from.compare(0, f.size(), f) == 0 : from == f;
        if (matches && to == e.to) return true;
    }
    return false;
}

// Why the include of to by from breaks the direction; empty when it does not.
std::string Fault(const std::string& from, const std::string& to) {
    if (IsBottom(from)) return IsBottom(to) ? "" : "a bottom-layer file includes an upper one";
    if (IsBottom(to) || Excepted(from, to)) return "";
    if (Layer(to) < 0) return "";  // not a folder of the program
    if (Layer(to) < Layer(from)) return "a lower folder includes an upper one";
    return "";
}

}  // namespace

TEST(ZuvanFatigueHouse, IncludesFollowTheDeclaredDirection) {
    namespace fs = boost::filesystem;
    const fs::path root = fs::path(ZUVAN_TEST_DIR).parent_path();
    std::size_t files = 0;
    for (const char* folder : kLayers) {
        for (const fs::directory_entry& entry : fs::directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            const std::string from = std::string(folder) + "/" + entry.path().filename().string();
            std::ifstream in(entry.path().string());
            std::string line;
            while (std::getline(in, line)) {
                if (line.compare(0, 10, "#include \"") != 0) continue;
                const std::string to = line.substr(10, line.find('"', 10) - 10);
                const std::string fault = Fault(from, to);
                EXPECT_EQ(fault, "") << from << " includes " << to;
            }
        }
    }
    EXPECT_GT(files, 0u);
}

// The rules themselves, on cases that must pass and cases that must not.
TEST(ZuvanFatigueHouse, DirectionRulesCatchWhatBreaksThem) {
    struct Case {
        const char* from;
        const char* to;
        bool broken;
    };
    const Case cases[] = {
        {"driver/ZuvanFatigueRun.cpp", "deck/CZuvanFatigue.h", false},
        {"report/ZuvanFatigueReportParts.h", "damage/ZuvanFatigueResults.h", false},
        {"model/CZuvanFatigueMateriau.cpp", "report/CZuvanFatigueRapport.h", false},  // bottom
        {"damage/CZuvanFatigueClause.cpp", "report/ZuvanFatigueJson.h", false},       // named
        {"damage/CZuvanFatigueClauseUWZone.cpp", "report/ZuvanFatigueJson.h", true},
        {"stress/CZuvanFatigueReleve.cpp", "damage/ZuvanFatigueAnalysis.h", true},
        {"deck/ZuvanFatigueCards.cpp", "deck/CZuvanFatigue.h", true},  // bottom goes up
        {"driver/CExceptionZuvanFatigue.cpp", "driver/ZuvanFatigueEndReport.h", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        EXPECT_EQ(!Fault(c.from, c.to).empty(), c.broken);
    }
}
