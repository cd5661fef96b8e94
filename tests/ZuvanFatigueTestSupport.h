#pragma once
// Helpers shared by the tests: temporary folders and decks, running the built
// program and capturing its console, reading files as bytes.

#include <string>
#include <vector>

namespace ZuvanFatigueTest {

// A fresh, empty folder under the system's temporary folder, removed at the end.
class TempDir {
   public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return m_path; }
    // Writes bytes into a file of the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

   private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);

struct RunResult {
    int status = -1;      // exit status as the shell sees it (code modulo 256)
    std::string console;  // standard error stream
    std::string output;   // standard output stream
};

// Runs the built ZuvanFatigue with the arguments; env entries "NAME=value"
// are set for the child, "NAME=" unsets it (LANG and LC_ALL default to C).
RunResult RunProgram(const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {});

// Latin-9 bytes of a UTF-8 program text, as the console shows it.
std::string Latin9(const std::string& utf8);

}  // namespace ZuvanFatigueTest
