#pragma once
// Layout of the calculation reports: frames, label lines, table rows, form
// feeds. Program texts are UTF-8 in the source and go out as they stand; deck
// texts (names, comments) go out raw. Widths count characters, not bytes.
// The helper never touches the stream's format flags: fixed, scientific,
// precision and width settings made by the caller stay for what follows.

#include <ostream>
#include <string>
#include <vector>

class CZuvanFatigueRapport {
   public:
    explicit CZuvanFatigueRapport(std::ostream& os) : m_os(os) {}

    std::ostream& Stream() { return m_os; }

    void EmptyLine();
    // A program text followed by a line feed.
    void Line(const std::string& text);
    // Deck text followed by a line feed, byte for byte.
    void RawLine(const std::string& deckText);
    // Title box: a frame of '*' (or of frame) around the lines, all of one length.
    void Title(const std::vector<std::string>& lines, char frame = '*');
    // Section title: "+ title +" between two lines of '+'.
    void Section(const std::string& title);
    // Form feed (code 12), unconverted; the caller writes the line feeds around it.
    void FormFeed();

    // A value in a field of width characters, without bars.
    template <class T>
    void Field(const T& value, int width) {
        CellOf(value, width);
    }

    // "label" padded to width characters, then ": ".
    void LabelStart(const std::string& label, std::size_t width);
    // Label line with a value written by the stream's current format.
    template <class T>
    void Label(const std::string& label, std::size_t width, const T& value) {
        LabelStart(label, width);
        m_os << value << '\n';
    }

    // A table row written cell by cell, so that the caller may change the
    // stream's notation between cells: RowCell(v, w) writes "| " (first cell)
    // or " | " and then v right-aligned in a field of w characters; RowEnd
    // writes " |" and the line feed.
    template <class T>
    void RowCell(const T& value, int width) {
        m_os << (m_rowOpen ? " | " : "| ");
        m_rowOpen = true;
        CellOf(value, width);
    }
    void RowEnd();

    // Characters (UTF-8 code points) of a text.
    static std::size_t Width(const std::string& text);
    // Text padded with blanks on the right to width characters.
    static std::string PadRight(const std::string& text, std::size_t width);
    // Text padded with blanks on the left to width characters.
    static std::string PadLeft(const std::string& text, std::size_t width);

   private:
    template <class T>
    void CellOf(const T& value, int width) {
        m_os.width(width);
        m_os << value;
    }
    void CellOf(const std::string& text, int width) {
        m_os << PadLeft(text, static_cast<std::size_t>(width));
    }
    void CellOf(const char* text, int width) {
        m_os << PadLeft(text, static_cast<std::size_t>(width));
    }

    std::ostream& m_os;
    bool m_rowOpen = false;
};
