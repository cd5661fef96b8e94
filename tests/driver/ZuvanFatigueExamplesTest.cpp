// The bundled examples' reports, byte for byte: unlike the small fixtures,
// they have several cycles per table, so they hold the lines between rows.

#include <gtest/gtest.h>

#include <string>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

TEST(ZuvanFatigueExamples, ReportsAreTheCheckedOnes) {
    const std::string examples = std::string(ZUVAN_EXAMPLES_DIR) + "/";
    const std::string expected = std::string(ZUVAN_TEST_DIR) + "/expected/examples/";
    for (const char* name : {"uwzone-shell", "weld-seam", "weld-throat"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const RunResult r = RunProgram(
            {"-d", examples + name + ".data", "-c", examples + "context.ctx", "-o", dir.Path()},
            {});
        ASSERT_EQ(r.status, 0) << r.console;
        EXPECT_EQ(ReadFile(dir.Path() + "/" + name + ".txt"), ReadFile(expected + name + ".txt"));
    }
}
