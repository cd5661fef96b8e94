#pragma once
// Text conversions and locales of the console and of the reports.
//
// Program texts stand in the source in UTF-8. The console shows them in
// ISO-8859-15; reports carry them in UTF-8. Deck texts are never converted.

#include <locale>
#include <string>

// Program text (UTF-8) as ISO-8859-15 bytes for the console.
std::string ConsoleText(const std::string& programText);

// The environment's native locale; the classic locale when the environment
// names a locale this machine does not have.
std::locale NativeLocale();

// Text formatted through loc (in that locale's character set) as UTF-8.
std::string LocaleTextToUtf8(const std::string& text, const std::locale& loc);

// Integer or real formatted through the native locale (default stream format),
// returned in UTF-8, ready for a report.
std::string NativeNumberText(long long value);
std::string NativeNumberText(double value);
