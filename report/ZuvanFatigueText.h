#pragma once
// Text conversions and locales of the console and of the reports.
//
// Program texts stand in the source in UTF-8. The console shows them in
// ISO-8859-15; reports carry them in UTF-8. Deck texts are never converted.

#include <locale>
#include <string>

// Program text (UTF-8) as ISO-8859-15 bytes for the console, or unchanged
// once the console is set to UTF-8.
std::string ConsoleText(const std::string& programText);
// The console's encoding for the rest of the process: UTF-8 when true, else
// ISO-8859-15 (the default). Set once by the program's main, from its terminal.
void SetConsoleUtf8(bool utf8);

// The environment's native locale; the classic locale when the environment
// names a locale this machine does not have.
std::locale NativeLocale();

// Text formatted through loc (in that locale's character set) as UTF-8.
std::string LocaleTextToUtf8(const std::string& text, const std::locale& loc);

// Integer or real formatted through the native locale (default stream format),
// returned in UTF-8, ready for a report.
std::string NativeNumberText(long long value);
std::string NativeNumberText(double value);
