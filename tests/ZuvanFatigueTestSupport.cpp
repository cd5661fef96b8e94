#include "tests/ZuvanFatigueTestSupport.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "report/ZuvanFatigueText.h"

namespace ZuvanFatigueTest {

std::string WithoutRun(const std::string& jsonl) {
    std::istringstream in(jsonl);
    std::string line, out;
    while (std::getline(in, line)) {
        const auto o = nlohmann::ordered_json::parse(line, nullptr, false);
        if (!o.is_discarded() && o.is_object() && o.contains("run")) {
            const std::string run =
                ",\"run\":" +
                o["run"].dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
            const std::size_t at = line.find(run);
            if (at != std::string::npos) line.erase(at, run.size());
        }
        out += line + '\n';
    }
    return out;
}

TempDir::TempDir() {
    const boost::filesystem::path p = boost::filesystem::temp_directory_path() /
                                      boost::filesystem::unique_path("zuvan-test-%%%%-%%%%-%%%%");
    boost::filesystem::create_directories(p);
    m_path = p.string();
}

TempDir::~TempDir() {
    boost::system::error_code ec;
    boost::filesystem::remove_all(m_path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = m_path + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {
std::string Slurp(int fd) {
    std::string text;
    char buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    return text;
}
}  // namespace

RunResult RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    TempDir capture;
    const std::string errPath = capture.Path() + "/stderr";
    const std::string outPath = capture.Path() + "/stdout";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 2);
        ::dup2(out, 1);
        ::setenv("LANG", "C", 1);
        ::setenv("LC_ALL", "C", 1);
        for (const std::string& e : env) {
            const std::size_t eq = e.find('=');
            const std::string name = e.substr(0, eq);
            if (eq == std::string::npos || eq + 1 == e.size()) {
                ::unsetenv(name.c_str());
            } else {
                ::setenv(name.c_str(), e.c_str() + eq + 1, 1);
            }
        }
        std::vector<char*> argv;
        static std::string exe = ZUVAN_EXE;
        argv.push_back(const_cast<char*>(exe.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    RunResult r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    const int err = ::open(errPath.c_str(), O_RDONLY);
    const int out = ::open(outPath.c_str(), O_RDONLY);
    r.console = Slurp(err);
    r.output = Slurp(out);
    ::close(err);
    ::close(out);
    return r;
}

int CodeOf(const RunResult& r) {
    const std::string key = " Code d'erreur : ";
    const std::size_t at = r.console.find(key);
    if (at == std::string::npos) {
        return r.console.find(" Fin normale du travail ") != std::string::npos ? 0 : -1;
    }
    return std::stoi(r.console.substr(at + key.size()));
}

std::string Latin9(const std::string& utf8) { return ConsoleText(utf8); }

int CodeOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const CExceptionZuvanFatigue& e) {
        return e.GetCode();
    }
    return 0;
}

namespace {
struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};
}  // namespace

std::locale CommaLocale() { return std::locale(std::locale::classic(), new Comma); }

int ReadDeck(const std::string& deck, CZuvanFatigue& study, std::string* echoed) {
    TempDir dir;
    ConsoleCapture echo;
    int code = study.SetInputFile(dir.Write("d.dat", deck).c_str());
    if (code == 0) code = study.Read();
    if (echoed != nullptr) *echoed = echo.text.str();
    return code;
}

DeckStudy::DeckStudy(const std::string& deck) {
    TempDir dir;
    ConsoleCapture echo;
    EXPECT_EQ(study.SetInputFile(dir.Write("d.dat", deck).c_str()), 0);
    EXPECT_EQ(study.Read(), 0);
}

}  // namespace ZuvanFatigueTest
