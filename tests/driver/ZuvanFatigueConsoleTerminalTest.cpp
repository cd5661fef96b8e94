// The console on a terminal: UTF-8 when the terminal's locale is UTF-8, the
// same characters as the ISO-8859-15 console of a redirected run; any other
// locale, and every redirected console, stay ISO-8859-15 byte for byte.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <boost/locale/encoding.hpp>
#include <cerrno>
#include <string>
#include <vector>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

// The program's standard error as a raw pseudo-terminal shows it, under
// LC_ALL=lcAll; empty with skipped set when there is no pseudo-terminal.
std::string RunOnTerminal(const std::vector<std::string>& args, const std::string& lcAll,
                          bool& skipped) {
    skipped = false;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        if (master >= 0) close(master);
        skipped = true;
        return std::string();
    }
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(terminal, &raw);
    cfmakeraw(&raw);  // line feeds as they are written
    tcsetattr(terminal, TCSANOW, &raw);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(terminal, 2);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        setenv("LC_ALL", lcAll.c_str(), 1);
        setenv("LANG", lcAll.c_str(), 1);
        std::vector<char*> argv = {const_cast<char*>(ZUVAN_EXE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(ZUVAN_EXE, argv.data());
        _exit(127);
    }
    close(terminal);
    std::string shown;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n > 0) {
            shown.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // EIO once the program has closed the terminal
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
    return shown;
}

}  // namespace

TEST(ZuvanFatigueRun, ConsoleIsUtf8OnlyOnAUtf8Terminal) {
    TempDir dir;
    const std::string ctx = dir.Write("c.ctx", "*MATERIAU           M1\n*TYPO\n");
    // The usage text of the help scan, and a deck's echo with its end report.
    const std::vector<std::vector<std::string>> commands = {
        {"-d", "x", "-c", "y", "-h"},
        {"-c", ctx, "-d", "x", "-o", dir.Path()},
    };
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args.back());
        const std::string latin9 = RunProgram(args, {"LC_ALL=C.UTF-8"}).console;
        ASSERT_NE(latin9.find('\xe9'), std::string::npos);  // "é" in ISO-8859-15
        bool skipped = false;
        const std::string utf8 = RunOnTerminal(args, "C.UTF-8", skipped);
        if (skipped) GTEST_SKIP() << "no pseudo-terminal here";
        EXPECT_EQ(utf8, boost::locale::conv::to_utf<char>(latin9, "ISO-8859-15"));
        EXPECT_EQ(RunOnTerminal(args, "C", skipped), latin9);
    }
}
