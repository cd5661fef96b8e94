// Fuzz target: a whole run on a context deck and a data deck taken from one
// input. The input is the context deck, a separator line "#####", then the
// data deck; an input without the separator is a data deck with an empty
// context.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/ZuvanFatigueFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    static const std::string kSeparator = "\n#####\n";
    std::string context, deck;
    const std::size_t at = input.find(kSeparator);
    if (at == std::string::npos) {
        deck = input;
    } else {
        context = input.substr(0, at + 1);
        deck = input.substr(at + kSeparator.size());
    }
    if (!ZuvanFatigueFuzz::WithinBudget(deck)) return -1;
    const std::string contextPath = ZuvanFatigueFuzz::WriteFile("context.ctx", context);
    const std::string dataPath = ZuvanFatigueFuzz::WriteFile("data.dat", deck);
    ZuvanFatigueFuzz::Run(contextPath, dataPath);
    return 0;
}
