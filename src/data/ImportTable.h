#pragma once
// Text of readings as spreadsheets write it (CSV or tab-separated), split into cells.
#include "data/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// Most data rows one import takes.
constexpr int kImportRowsMax = 1000;

struct ImportTable {
    enum Encoding { Utf8, Cp1252, Utf16 };
    Encoding m_Encoding = Utf8;
    char m_cSeparator = ';';
    std::vector<std::string> m_Header;  // empty when the first line holds values only
    int m_nHeaderLine = 0;              // 1-based; 0 without a header
    std::vector<std::vector<std::string>> m_Rows;
    std::vector<int> m_Lines;  // 1-based line of each row
    int ColumnCount() const;
};

// Decodes the bytes (UTF-8 with or without byte-order mark, UTF-16 with one, else Windows-1252)
// and splits them into lines and cells: the separator is a Tab, ";" or "," whichever the first line
// uses (in that order of preference), cells may be quoted with '"'. Blank lines are skipped. The first
// line is the header unless every cell of it is a number. Fails with a German message naming the line
// for bytes that are no text, no data rows, or more than kImportRowsMax of them.
Result ReadImportTable(std::string_view bytes, ImportTable& table);

}  // namespace trv
