// Result files of the output directory: where a name leads, what it may not
// hold, and appending whole.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "report/ZuvanFatigueOutputFile.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const char kTag[] = "<ZuvanFatigueOutputFileTest>";

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(ZuvanFatigueOutputFile, NamesLeadToRegularFilesInsideTheDirectory) {
    TempDir dir;
    const std::string out = dir.Path() + "/out";
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((out + "/sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((out + "/folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo((out + "/pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("sub", (out + "/sublink").c_str()), 0);
    struct Case {
        std::string directory;
        std::string name;
        int code;
        std::string written;  // where the bytes go when accepted
    };
    const Case cases[] = {
        {out, "r.txt", 0, out + "/r.txt"},
        {out, "sub/r.txt", 0, out + "/sub/r.txt"},
        {out, "./sub//./r.txt", 0, out + "/sub/r.txt"},
        {out, "..r", 0, out + "/..r"},
        {out, std::string(255, 'n'), 0, out + "/" + std::string(255, 'n')},
        {out, std::string(256, 'n'), 290, ""},
        {out, "", 290, ""},
        {out, "   ", 290, ""},
        {out, "/r.txt", 290, ""},
        {out, "sub/../r.txt", 290, ""},
        {out, "..", 290, ""},
        {out, "sub/", 290, ""},
        {out, "missing/r.txt", 290, ""},
        {out, "sublink/r.txt", 290, ""},  // a link, even to a folder inside
        {out, "folder", 290, ""},
        {out, "pipe", 290, ""},  // refused, not waited on
        {out, "r\n.txt", 290, ""},
        {out, "r\r", 290, ""},
        {out, std::string("r\0x", 3), 290, ""},
        {out + "/missing", "r.txt", 450, ""},
        {dir.Write("plain", "x"), "r.txt", 290, ""},  // not a folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory + " | " + c.name);
        const int code = CodeOf([&] {
            ZuvanFatigueOutputFile file(c.directory, c.name, kTag);
            file.Append("abc", kTag);
        });
        EXPECT_EQ(code, c.code);
        if (!c.written.empty()) {
            EXPECT_EQ(ReadFile(c.written), "abc");
            ::unlink(c.written.c_str());
        }
    }
}

TEST(ZuvanFatigueOutputFile, AppendsAtTheEndAndCreatesNothingWithoutBytes) {
    TempDir dir;
    const std::string path = dir.Path() + "/r.txt";
    {
        ZuvanFatigueOutputFile file(dir.Path(), "r.txt", kTag);
        file.Append("", kTag);
        EXPECT_FALSE(Exists(path));
        file.Append("first\n", kTag);
        file.Append("second\n", kTag);
    }
    ZuvanFatigueOutputFile again(dir.Path(), "r.txt", kTag);
    again.Append("third\n", kTag);
    EXPECT_EQ(ReadFile(path), "first\nsecond\nthird\n");
    // A link put at the name after the file was resolved is not followed.
    ZuvanFatigueOutputFile late(dir.Path(), "late.txt", kTag);
    ASSERT_EQ(::symlink(path.c_str(), (dir.Path() + "/late.txt").c_str()), 0);
    ExpectCode(290, [&] { late.Append("x", kTag); });
    EXPECT_EQ(ReadFile(path), "first\nsecond\nthird\n");
}
