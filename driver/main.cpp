#include <iostream>

#include "driver/ZuvanFatigueRun.h"

int main(int argc, char* argv[]) { return RunZuvanFatigue(argc, argv, std::cerr); }
