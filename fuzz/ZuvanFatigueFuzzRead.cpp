// Fuzz target: the deck readers alone. The input is read as the run target's
// is (context deck, a separator line "#####", data deck; without the
// separator, a data deck with an empty context), both decks from memory: the
// context is read into a library, the data deck is read and every block and
// request defined, and nothing is computed or written. The code returned must
// be one the program documents.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"

namespace {

// 0, or one of the program's codes 10 to 480.
void CheckCode(int code, const char* deck) {
    if (code < 0 || code > 480 || code % 10 != 0) {
        std::fprintf(stderr, "%s deck: undocumented code %d\n", deck, code);
        std::abort();
    }
}

// The echo of the decks goes nowhere: a stream without a buffer writes nothing.
std::ostream& Nowhere() {
    static std::ostream nowhere(nullptr);
    return nowhere;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    static const std::string kSeparator = "\n#####\n";
    std::string contextDeck, dataDeck;
    const std::size_t at = input.find(kSeparator);
    if (at == std::string::npos) {
        dataDeck = input;
    } else {
        contextDeck = input.substr(0, at + 1);
        dataDeck = input.substr(at + kSeparator.size());
    }
    ZuvanFatigueCards::SetConsole(&Nowhere());
    CZuvanFatigueContexte context;
    std::istringstream contextIn(contextDeck);
    int code = context.Read(contextIn);
    CheckCode(code, "context");
    if (code != 0) return 0;
    CZuvanFatigue study;
    CheckCode(study.SetContext(context), "context");
    CheckCode(study.SetOutputDirectory("out"), "data");
    std::istringstream dataIn(dataDeck);
    CheckCode(study.ReadDefinitions(dataIn), "data");
    return 0;
}
