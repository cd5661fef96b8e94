#include "fuzz/ZuvanFatigueFuzzSupport.h"

#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "driver/ZuvanFatigueRun.h"

namespace ZuvanFatigueFuzz {

namespace {

bool StartsLine(const std::string& deck, std::size_t at, const char* keyword) {
    return deck.compare(at, std::strlen(keyword), keyword) == 0;
}

// Removes the private folder when the process ends normally.
struct Folder {
    std::string path;
    ~Folder() {
        boost::system::error_code ec;
        if (!path.empty()) boost::filesystem::remove_all(path, ec);
    }
};

}  // namespace

bool WithinBudget(const std::string& deck) {
    std::size_t records = 0, requests = 0;
    for (std::size_t at = 0; at < deck.size();) {
        if (StartsLine(deck, at, "*RELEVE")) ++records;
        if (StartsLine(deck, at, "*DOMMAGE")) ++requests;
        const std::size_t end = deck.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return records <= kMaxRecords && requests <= kMaxRequests;
}

const std::string& WorkDir() {
    static Folder folder;
    if (folder.path.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zuvan-fuzz-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder.path = name.data();
        boost::filesystem::create_directory(folder.path + "/out");
    }
    return folder.path;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = WorkDir() + "/" + name;
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

int Run(const std::string& contextPath, const std::string& dataPath) {
    const std::string out = WorkDir() + "/out";
    // With --json, so that the results files are written (and checked below) too.
    std::string args[] = {"ZuvanFatigue", "-d", dataPath, "-c", contextPath, "-o", out, "--json"};
    char* argv[] = {&args[0][0], &args[1][0], &args[2][0], &args[3][0], &args[4][0],
                    &args[5][0], &args[6][0], &args[7][0], nullptr};
    std::ostringstream console;
    const int code = RunZuvanFatigue(8, argv, console);
    // The command line is complete: the code is 0 or one of the program's
    // codes, 10 to 480.
    if (code < 0 || code > 480 || code % 10 != 0) {
        std::fprintf(stderr, "undocumented exit code %d\n", code);
        std::abort();
    }
    // The end report comes last: the normal end for code 0 and only for it,
    // otherwise the abnormal end with the code.
    const std::string text = console.str();
    static const std::string kNormal = " \n Fin normale du travail \n \n";
    const bool normal = text.size() >= kNormal.size() &&
                        text.compare(text.size() - kNormal.size(), kNormal.size(), kNormal) == 0;
    const std::string abnormal =
        "\n Fin anormale du travail \n Code d'erreur : " + std::to_string(code) + " \n";
    const bool consistent =
        code == 0 ? normal : !normal && text.find(abnormal) != std::string::npos;
    if (!consistent) {
        std::fprintf(stderr, "exit code %d and the end report disagree\n", code);
        std::abort();
    }
    // Every line of every results file is one whole JSON object.
    boost::system::error_code ec;
    for (boost::filesystem::directory_iterator it(out, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->path().extension() != ".jsonl") continue;
        std::ifstream in(it->path().string().c_str(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!nlohmann::json::accept(line)) {
                std::fprintf(stderr, "a results line is not JSON: %s\n", line.c_str());
                std::abort();
            }
        }
    }
    // Reports are appended to: each run starts from an empty folder.
    for (boost::filesystem::directory_iterator it(out, ec), end; !ec && it != end;
         it.increment(ec)) {
        boost::filesystem::remove_all(it->path(), ec);
    }
    return code;
}

}  // namespace ZuvanFatigueFuzz
