#include "report/CZuvanFatigueRapport.h"

#include <algorithm>

std::size_t CZuvanFatigueRapport::Width(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

std::string CZuvanFatigueRapport::PadRight(const std::string& text, std::size_t width) {
    const std::size_t w = Width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

std::string CZuvanFatigueRapport::PadLeft(const std::string& text, std::size_t width) {
    const std::size_t w = Width(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

void CZuvanFatigueRapport::EmptyLine() { m_os << '\n'; }

void CZuvanFatigueRapport::Line(const std::string& text) { m_os << text << '\n'; }

void CZuvanFatigueRapport::RawLine(const std::string& deckText) { m_os << deckText << '\n'; }

void CZuvanFatigueRapport::Title(const std::vector<std::string>& lines, char frame) {
    std::size_t inner = 0;
    for (const std::string& l : lines) inner = std::max(inner, Width(l));
    const std::string rule(inner + 4, frame);
    m_os << rule << '\n';
    for (const std::string& l : lines)
        m_os << frame << ' ' << PadRight(l, inner) << ' ' << frame << '\n';
    m_os << rule << '\n';
}

void CZuvanFatigueRapport::Section(const std::string& title) { Title({title}, '+'); }

void CZuvanFatigueRapport::FormFeed() { m_os << '\f'; }

void CZuvanFatigueRapport::LabelStart(const std::string& label, std::size_t width) {
    m_os << PadRight(label, width) << ": ";
}

void CZuvanFatigueRapport::RowEnd() {
    m_os << " |\n";
    m_rowOpen = false;
}
