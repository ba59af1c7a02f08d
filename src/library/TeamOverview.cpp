#include "library/TeamOverview.h"

#include "analysis/ThresholdMethods.h"
#include "data/Cp1252.h"
#include "data/Records.h"
#include "data/SafeFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cstdlib>

namespace trv {

std::vector<TeamRow> BuildTeam(CLibraryIndex& index, const std::vector<int>& entries,
                               const std::vector<std::string>& methods, const COleDateTime& before) {
    std::vector<TeamRow> rows;
    for (int i : entries) {
        if (i < 0 || static_cast<size_t>(i) >= index.Entries().size()) continue;
        if (!index.Entries()[static_cast<size_t>(i)].error.empty()) continue;
        TeamRow r;
        r.entry = i;
        r.last = index.Last(i, methods, before);
        rows.push_back(std::move(r));
    }
    return rows;
}

namespace {

std::string LoadCell(const std::optional<double>& load, int unit) {
    return load ? Fmt("%.1f", LoadInTestUnit(*load, unit)) : std::string();
}

std::string ZonesCell(const std::vector<ZoneResult>& zones, int unit) {
    // "REKOM < 9,8 < GA1 < 11,2 < GA2": the zones in order with the loads between them.
    std::string out;
    for (size_t i = 0; i < zones.size(); ++i) {
        if (i > 0) out += " < " + LoadCell(zones[i].loadFrom, unit) + " < ";
        out += zones[i].code;
    }
    return out;
}

}  // namespace

TeamTable MakeTeamTable(const CLibraryIndex& index, const std::vector<TeamRow>& rows,
                        const std::vector<std::string>& methods) {
    TeamTable t;
    t.header = {LoadStr(IDS_TEAM_COL_LAST_NAME), LoadStr(IDS_TEAM_COL_FIRST_NAME), LoadStr(IDS_TEAM_COL_BIRTH),
                LoadStr(IDS_TEAM_COL_GROUP),     LoadStr(IDS_TEAM_COL_DATE),       LoadStr(IDS_TEAM_COL_TYPE),
                LoadStr(IDS_TEAM_COL_UNIT)};
    t.numeric.assign(t.header.size(), false);
    t.group.assign(t.header.size(), std::string());
    for (const std::string& id : methods) {
        const int ci = MethodIndex(id);
        const char* label = ci >= 0 ? LoadStr(MethodCatalogue()[static_cast<size_t>(ci)].label) : id.c_str();
        for (int col : {IDS_TEAM_COL_LOAD, IDS_TEAM_COL_HR, IDS_TEAM_COL_LACTATE, IDS_TEAM_COL_CHANGE}) {
            t.header.push_back(LoadStr(col));
            t.group.push_back(label);
            t.numeric.push_back(true);
        }
    }
    t.header.push_back(LoadStr(IDS_TEAM_COL_ZONES));
    t.group.emplace_back();
    t.numeric.push_back(false);

    for (const TeamRow& r : rows) {
        const LibraryEntry& e = index.Entries()[static_cast<size_t>(r.entry)];
        std::vector<std::string> cells = {e.lastName, e.firstName,
                                          e.birthDate.IsValid() ? e.birthDate.FormatDate() : "", e.group};
        if (!r.last) {
            cells.push_back(LoadStr(IDS_LIB_NO_STEP_TEST));
            cells.resize(t.header.size());
            t.rows.push_back(std::move(cells));
            continue;
        }
        const LibraryLast& l = *r.last;
        const int unit = l.test.loadUnit;
        cells.push_back(l.test.date.FormatDate());
        cells.push_back(TestTypeText(l.test.testType));
        cells.push_back(LoadUnitText(unit));
        for (const HistoryValue& v : l.methods) {
            cells.push_back(v.ok ? LoadCell(v.load, unit) : LoadStr(IDS_TEAM_NOT_DETERMINABLE));
            cells.push_back(v.heartRate ? Fmt("%.0f", *v.heartRate) : std::string());
            cells.push_back(v.lactate ? Fmt("%.1f", *v.lactate) : std::string());
            cells.push_back(v.loadChange ? ChangeText(LoadInTestUnit(*v.loadChange, unit), "") : std::string());
        }
        cells.push_back(ZonesCell(l.zones, unit));
        t.rows.push_back(std::move(cells));
    }
    return t;
}

std::string TeamTable::FullHeader(size_t column) const {
    if (column >= header.size()) return {};
    return column < group.size() && !group[column].empty() ? group[column] + " " + header[column] : header[column];
}

std::string TeamCsvText(const TeamTable& table) {
    std::string out;
    auto line = [&out](const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i) out += ';';
            // A ";" inside a name would shift every later column.
            for (char c : cells[i]) out += c == ';' ? ',' : (c == '\r' || c == '\n') ? ' ' : c;
        }
        out += "\r\n";
    };
    std::vector<std::string> head;
    for (size_t c = 0; c < table.header.size(); ++c) head.push_back(table.FullHeader(c));
    line(head);
    for (const auto& r : table.rows) line(r);
    return out;
}

Result WriteTeamCsv(const TeamTable& table, const std::string& path) {
    const std::string text = Utf8ToCp1252(TeamCsvText(table));
    const Result written = WriteFileSafely(path, std::vector<uint8_t>(text.begin(), text.end()));
    if (!written) return Result::Fail(FmtId(IDS_ERR_FILE_WRITE, path.c_str(), written.message.c_str()));
    return Result::Ok();
}

std::optional<double> CellNumber(const std::string& cell) {
    std::string s;
    for (char c : cell) {
        if (c == ',')
            s += '.';
        else if ((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')
            s += c;
        else if (c == ' ' && s.empty())
            continue;
        else if (!s.empty())
            break;
    }
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    for (char& c : s)
        if (c == ',') c = '.';
    const double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str()) return std::nullopt;
    return v;
}

}  // namespace trv
