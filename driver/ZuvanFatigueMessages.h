#pragma once
// The message lines of every error code, the one home of the console's
// messages. A bottom-layer file: it includes nothing else of the project.

#include <string>
#include <vector>

// Message lines of a code as the program stores them (UTF-8 in the source);
// a code outside the table gets the single "non documentée" line.
const std::vector<std::string>& ZuvanFatigueMessageLines(int code);

// First message line of a code without its trailing blank (diagnostic texts).
std::string ZuvanFatigueFirstMessage(int code);
