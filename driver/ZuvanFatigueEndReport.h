#pragma once
// End-of-run report: the console lines that tell how a run ended, with the
// message lines of the code (driver/ZuvanFatigueMessages.h).

#include <ostream>

#include "driver/ZuvanFatigueMessages.h"

// Writes the end report for code on the console stream (ISO-8859-15 bytes).
void PrintEndReport(std::ostream& console, int code);
