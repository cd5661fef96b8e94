#pragma once
// End-of-run report: the console lines that tell how a run ended, and the
// message lines of every error code.

#include <ostream>
#include <string>
#include <vector>

// Message lines of a code as the program stores them (UTF-8 in the source);
// a code outside the table gets the single "non documentée" line.
const std::vector<std::string>& ZuvanFatigueMessageLines(int code);

// First message line of a code without its trailing blank (diagnostic texts).
std::string ZuvanFatigueFirstMessage(int code);

// Writes the end report for code on the console stream (ISO-8859-15 bytes).
void PrintEndReport(std::ostream& console, int code);
