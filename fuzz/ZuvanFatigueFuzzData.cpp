// Fuzz target: a data deck against a fixed, valid context (fuzz/context.ctx:
// the objects of the example and test contexts), so that mutations of the
// data deck reach the analyses.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/ZuvanFatigueFuzzSupport.h"

namespace {

// The context deck, copied once into the private folder.
const std::string& ContextPath() {
    static const std::string path = [] {
        std::ifstream in(ZUVAN_FUZZ_CONTEXT, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in) {
            std::perror(ZUVAN_FUZZ_CONTEXT);
            std::abort();
        }
        return ZuvanFatigueFuzz::WriteFile("context.ctx", bytes.str());
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string deck(reinterpret_cast<const char*>(data), size);
    if (!ZuvanFatigueFuzz::WithinBudget(deck)) return -1;
    const std::string dataPath = ZuvanFatigueFuzz::WriteFile("data.dat", deck);
    ZuvanFatigueFuzz::Run(ContextPath(), dataPath);
    return 0;
}
