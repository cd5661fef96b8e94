#include "report/ZuvanFatigueText.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <boost/locale/encoding.hpp>
#include <sstream>

namespace {
std::atomic<bool> g_consoleUtf8{false};
}  // namespace

void SetConsoleUtf8(bool utf8) { g_consoleUtf8.store(utf8); }

std::string ConsoleText(const std::string& programText) {
    if (g_consoleUtf8.load()) return programText;
    try {
        return boost::locale::conv::from_utf<char>(programText, "ISO-8859-15");
    } catch (...) {
        return programText;
    }
}

std::locale NativeLocale() {
    try {
        return std::locale("");
    } catch (...) {
        return std::locale::classic();
    }
}

namespace {

// Character set of the numeric category of a locale, by its name.
std::string NumericCharset(const std::locale& loc) {
    std::string name = loc.name();
    const std::string key = "LC_NUMERIC=";
    const std::size_t at = name.find(key);
    if (at != std::string::npos) {
        const std::size_t end = name.find(';', at);
        name = name.substr(at + key.size(),
                           end == std::string::npos ? std::string::npos : end - at - key.size());
    }
    if (name.empty() || name == "*") return "UTF-8";
    locale_t handle = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0));
    if (handle == static_cast<locale_t>(0)) return "UTF-8";
    std::string charset = nl_langinfo_l(CODESET, handle);
    freelocale(handle);
    return charset;
}

template <class T>
std::string Native(T value) {
    const std::locale loc = NativeLocale();
    std::ostringstream text;
    text.imbue(loc);
    text << value;
    return LocaleTextToUtf8(text.str(), loc);
}

}  // namespace

std::string LocaleTextToUtf8(const std::string& text, const std::locale& loc) {
    bool ascii = true;
    for (unsigned char c : text) ascii = ascii && c < 0x80;
    if (ascii) return text;
    try {
        const std::string charset = NumericCharset(loc);
        if (charset == "UTF-8" || charset == "utf8") return text;
        if (charset == "ANSI_X3.4-1968")
            return boost::locale::conv::to_utf<char>(text, "ISO-8859-15");
        return boost::locale::conv::to_utf<char>(text, charset);
    } catch (...) {
        return text;
    }
}

std::string NativeNumberText(long long value) { return Native(value); }
std::string NativeNumberText(double value) { return Native(value); }
