#include "report/ZuvanFatigueTable.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace ZuvanFatigueTable {

void WriteCell(CZuvanFatigueRapport& r, const Value& value, int width, Format format,
               Notation notation, int precision) {
    std::ostream& os = r.Stream();
    switch (value.kind) {
        case Value::Kind::kBlank:
            r.RowCell("", width);
            return;
        case Value::Kind::kInteger:
            if (format == Format::kClassic) {
                // Formatted apart: the report stream keeps its own locale.
                std::ostringstream text;
                text.imbue(std::locale::classic());
                text << value.integer;
                r.RowCell(text.str(), width);
            } else {
                r.RowCell(value.integer, width);
            }
            return;
        case Value::Kind::kReal:
            if (format == Format::kScientific) {
                os << std::scientific << std::setprecision(3);
                r.RowCell(value.real, width);
                os << std::fixed;
            } else {
                if (notation == Notation::kFixed) {
                    os << std::fixed;
                } else {
                    os.unsetf(std::ios::floatfield);
                }
                os << std::setprecision(precision);
                r.RowCell(value.real, width);
            }
            return;
    }
}

}  // namespace ZuvanFatigueTable
