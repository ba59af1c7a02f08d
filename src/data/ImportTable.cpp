#include "data/ImportTable.h"

#include "data/Cp1252.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>

namespace trv {

namespace {

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    return Utf16ToUtf8(units);
}

std::string Decode(std::string_view bytes, ImportTable::Encoding& encoding) {
    auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
        encoding = ImportTable::Utf16;
        return DecodeUtf16(bytes.substr(2), starts("\xFE\xFF"));
    }
    if (starts("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) {
        encoding = ImportTable::Utf8;
        return std::string(bytes);
    }
    encoding = ImportTable::Cp1252;
    return Cp1252ToUtf8(bytes);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// How often `sep` occurs outside quotes.
int CountOutsideQuotes(const std::string& line, char sep) {
    int n = 0;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == sep && !quoted) ++n;
    }
    return n;
}

std::string Trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> SplitCells(const std::string& line, char sep) {
    std::vector<std::string> cells;
    size_t i = 0;
    while (true) {
        std::string cell;
        while (i < line.size() && line[i] == ' ') ++i;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i++];
            }
            // Anything between the closing quote and the separator belongs to the cell as well.
            const size_t end = std::min(line.find(sep, i), line.size());
            cell += line.substr(i, end - i);
            i = end;
            cells.push_back(Trim(cell));
        } else {
            const size_t end = std::min(line.find(sep, i), line.size());
            cells.push_back(Trim(std::string_view(line).substr(i, end - i)));
            i = end;
        }
        if (i >= line.size()) break;
        ++i;  // the separator
        if (i == line.size()) {
            cells.emplace_back();
            break;
        }
    }
    return cells;
}

// A cell that holds a number, a time or nothing (no letters).
bool IsValueCell(const std::string& cell) {
    return std::all_of(cell.begin(), cell.end(), [](char c) {
        return (c >= '0' && c <= '9') || std::string_view(" .,:+-").find(c) != std::string_view::npos;
    });
}

bool IsBlank(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

}  // namespace

int ImportTable::ColumnCount() const {
    size_t n = m_Header.size();
    for (const auto& r : m_Rows) n = std::max(n, r.size());
    return static_cast<int>(n);
}

Result ReadImportTable(std::string_view bytes, ImportTable& table) {
    ImportTable t;
    const std::string text = Decode(bytes, t.m_Encoding);
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i)
        for (char c : lines[i])
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                return Result::Fail(FmtId(IDS_IMP_NOT_TEXT, static_cast<int>(i) + 1));
    size_t first = 0;
    while (first < lines.size() && Trim(lines[first]).empty()) ++first;
    if (first == lines.size()) return Result::Fail(LoadStr(IDS_IMP_EMPTY));
    const std::string& head = lines[first];
    if (CountOutsideQuotes(head, '\t') > 0)
        t.m_cSeparator = '\t';
    else if (CountOutsideQuotes(head, ';') > 0)
        t.m_cSeparator = ';';
    else if (CountOutsideQuotes(head, ',') > 0)
        t.m_cSeparator = ',';
    std::vector<std::string> cells = SplitCells(head, t.m_cSeparator);
    size_t next = first;
    if (!std::all_of(cells.begin(), cells.end(), IsValueCell)) {
        t.m_Header = std::move(cells);
        t.m_nHeaderLine = static_cast<int>(first) + 1;
        ++next;
    }
    for (size_t i = next; i < lines.size(); ++i) {
        std::vector<std::string> row = SplitCells(lines[i], t.m_cSeparator);
        if (IsBlank(row)) continue;
        // More values than names: most likely decimal commas in a comma-separated file, which would
        // shift every value into the wrong column.
        if (!t.m_Header.empty() && row.size() > t.m_Header.size() &&
            !IsBlank(std::vector<std::string>(row.begin() + static_cast<long>(t.m_Header.size()), row.end())))
            return Result::Fail(FmtId(IDS_IMP_EXTRA_CELLS, static_cast<int>(i) + 1));
        if (static_cast<int>(t.m_Rows.size()) == kImportRowsMax)
            return Result::Fail(FmtId(IDS_IMP_TOO_MANY, static_cast<int>(i) + 1, kImportRowsMax));
        t.m_Rows.push_back(std::move(row));
        t.m_Lines.push_back(static_cast<int>(i) + 1);
    }
    if (t.m_Rows.empty()) return Result::Fail(FmtId(IDS_IMP_NO_ROWS, t.m_nHeaderLine));
    table = std::move(t);
    return Result::Ok();
}

}  // namespace trv
