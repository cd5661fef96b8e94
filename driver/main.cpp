#include <iostream>

#include "driver/ZuvanFatigueRun.h"
#include "report/ZuvanFatigueText.h"

int main(int argc, char* argv[]) {
    SetConsoleUtf8(IsUtf8Terminal(2));
    return RunZuvanFatigue(argc, argv, std::cerr);
}
