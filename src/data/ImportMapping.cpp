#include "data/ImportMapping.h"

#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace trv {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Trim(std::string s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Units that may follow a header name, with or without brackets.
constexpr const char* kUnitWords[] = {"km/h", "m/s", "w", "watt", "mmol/l", "s/min", "bpm", "1/min", "min", "s"};

// "Laktat [mmol/l]" -> "laktat", "Load W" -> "load".
std::string HeaderKey(const std::string& cell) {
    std::string key = Lower(cell);
    if (const auto b = key.find_first_of("[("); b != std::string::npos) key.erase(b);
    key = Trim(key);
    while (!key.empty() && key.back() == ':') key.pop_back();
    for (const char* unit : kUnitWords) {
        const std::string tail = std::string(" ") + unit;
        if (key.size() > tail.size() && key.ends_with(tail)) {
            key = Trim(key.substr(0, key.size() - tail.size()));
            break;
        }
    }
    return key;
}

struct Name {
    const char* key;
    int role;
};
// RoleCount marks a column recognised as the step number: known, and left alone.
const Name kNames[] = {
    {"belastung", RoleLoad},
    {"last", RoleLoad},
    {"load", RoleLoad},
    {"power", RoleLoad},
    {"speed", RoleLoad},
    {"v", RoleLoad},
    {"p", RoleLoad},
    {"leistung", RoleLoad},
    {"geschwindigkeit", RoleLoad},
    {"laktat", RoleLactate},
    {"lactate", RoleLactate},
    {"la", RoleLactate},
    {"lactate value", RoleLactate},
    {"laktatwert", RoleLactate},
    {"hf", RoleHeartRate},
    {"hr", RoleHeartRate},
    {"herzfrequenz", RoleHeartRate},
    {"heart rate", RoleHeartRate},
    {"puls", RoleHeartRate},
    {"pulse", RoleHeartRate},
    {"typ", RoleType},
    {"type", RoleType},
    {"measurement type", RoleType},
    {"messtyp", RoleType},
    {"zeit", RoleTime},
    {"time", RoleTime},
    {"uhrzeit", RoleTime},
    {"datum", RoleDate},
    {"date", RoleDate},
    {"dauer", RoleDuration},
    {"duration", RoleDuration},
    {"step length", RoleDuration},
    {"stufendauer", RoleDuration},
    {"step duration", RoleDuration},
    {"load unit", RoleLoadUnit},
    {"einheit", RoleLoadUnit},
    {"test type", RoleTestType},
    {"testtyp", RoleTestType},
    {"testart", RoleTestType},
    {"min. nach belastungsende", RoleMinutesAfter},
    {"minutes after", RoleMinutesAfter},
    {"stufe", RoleCount},
    {"step", RoleCount},
};

// The unit named in a header cell, or -1.
int UnitOfHeader(const std::string& cell) {
    const std::string s = Lower(cell);
    if (s.find("km/h") != std::string::npos) return UnitKmh;
    if (s.find("m/s") != std::string::npos) return UnitMs;
    for (const char* w : {"[w]", "(w)", " w", "watt"})
        if (s.find(w) != std::string::npos && (std::string_view(w) != " w" || s.ends_with(" w"))) return UnitWatt;
    return -1;
}

const std::string& Cell(const std::vector<std::string>& row, int column) {
    static const std::string kEmpty;
    return column >= 0 && static_cast<size_t>(column) < row.size() ? row[static_cast<size_t>(column)] : kEmpty;
}

int ColumnOf(const ImportMapping& mapping, int role) {
    const auto it = std::find(mapping.begin(), mapping.end(), role);
    return it == mapping.end() ? -1 : static_cast<int>(it - mapping.begin());
}

// "mm:ss" or "h:mm:ss" (anything from the first blank on is ignored: "03:00 (PC)"), in seconds; -1 when
// the text is no such time.
int ParseClock(const std::string& text, bool hoursFirst) {
    const std::string t = text.substr(0, text.find(' '));
    int a = 0, b = 0, c = 0;
    char tail = 0;
    // More hours or minutes than any test lasts are no clock time (and would overflow the seconds).
    constexpr int kMaxLead = 9999;
    if (std::sscanf(t.c_str(), "%d:%d:%d%c", &a, &b, &c, &tail) == 3 && a > kMaxLead) return -1;
    if (std::sscanf(t.c_str(), "%d:%d%c", &a, &b, &tail) >= 1 && a > kMaxLead) return -1;
    if (std::sscanf(t.c_str(), "%d:%d:%d%c", &a, &b, &c, &tail) == 3)
        return a >= 0 && b >= 0 && b < 60 && c >= 0 && c < 60 ? a * 3600 + b * 60 + c : -1;
    if (std::sscanf(t.c_str(), "%d:%d%c", &a, &b, &tail) == 2 && a >= 0 && b >= 0 && b < 60)
        return hoursFirst ? a * 3600 + b * 60 : a * 60 + b;
    return -1;
}

bool ParseDate(const std::string& text, COleDateTime& date) {
    int d = 0, m = 0, y = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d.%d.%d%c", &d, &m, &y, &tail) == 3) {
        if (y < 100) y += 2000;
    } else if (std::sscanf(text.c_str(), "%d-%d-%d%c", &y, &m, &d, &tail) != 3) {
        return false;
    }
    date = COleDateTime::FromParts(y, m, d, 0, 0, 0);
    return date.IsValid();
}

// Own export: a shortened step is written "compensated (own)"; the reading's own load is in brackets.
std::string LoadPart(const std::string& cell) {
    const auto open = cell.find('(');
    if (open == std::string::npos || cell.back() != ')') return cell;
    return cell.substr(open + 1, cell.size() - open - 2);
}

int TestTypeOf(const std::string& cell) {
    const std::string s = Lower(cell);
    if (s == "laufband" || s == "treadmill") return TestTreadmill;
    if (s == "ergometer") return TestErgometer;
    if (s == "feldtest" || s == "field test") return TestField;
    return -1;
}

int LoadUnitOf(const std::string& cell) {
    for (int u : {UnitKmh, UnitMs, UnitWatt})
        if (Lower(cell) == Lower(LoadUnitText(u))) return u;
    return -1;
}

}  // namespace

int MeasTypeOfText(const std::string& cell) {
    const std::string s = Lower(Trim(cell));
    if (s.empty() || s == "ld" || s == "hauptbelastung" || s == "load") return MeasLoad;
    if (s == "prl" || s == "vorbelastung" || s == "pre-load" || s == "pre") return MeasPreLoad;
    if (s == "afl" || s == "nachbelastung" || s == "post-load" || s == "post") return MeasPostLoad;
    return -1;
}

const char* ImportRoleName(int role) {
    // The role names stand in the table in role order.
    return role >= 0 && role < RoleCount ? LoadStr(IDS_IMP_ROLE_IGNORE + role) : "";
}

ImportMapping GuessImportMapping(const ImportTable& table) {
    ImportMapping mapping(static_cast<size_t>(table.ColumnCount()), RoleIgnore);
    if (table.m_Header.empty()) {
        for (size_t i = 0; i < mapping.size() && i < 3; ++i) mapping[i] = RoleLoad + static_cast<int>(i);
        return mapping;
    }
    std::vector<bool> taken(RoleCount + 1, false);
    for (size_t c = 0; c < table.m_Header.size(); ++c) {
        const std::string key = HeaderKey(table.m_Header[c]);
        for (const Name& n : kNames)
            if (key == n.key) {
                if (!taken[static_cast<size_t>(n.role)] && n.role != RoleCount) mapping[c] = n.role;
                taken[static_cast<size_t>(n.role)] = true;
                break;
            }
    }
    return mapping;
}

int LoadUnitFromHeader(const ImportTable& table, const ImportMapping& mapping) {
    const int column = ColumnOf(mapping, RoleLoad);
    return column < 0 ? -1 : UnitOfHeader(Cell(table.m_Header, column));
}

Result ImportInputFromTable(const ImportTable& table, const ImportMapping& mapping, const ImportOptions& options,
                            ManualTestInput& input) {
    const int headerLine = std::max(table.m_nHeaderLine, 1);
    const int cLactate = ColumnOf(mapping, RoleLactate), cLoad = ColumnOf(mapping, RoleLoad);
    if (cLactate < 0) return Result::Fail(FmtId(IDS_IMP_NO_LACTATE_COLUMN, headerLine));
    if (cLoad < 0) return Result::Fail(FmtId(IDS_IMP_NO_LOAD_COLUMN, headerLine));
    const int cHr = ColumnOf(mapping, RoleHeartRate), cType = ColumnOf(mapping, RoleType);
    const int cTime = ColumnOf(mapping, RoleTime), cDate = ColumnOf(mapping, RoleDate);
    const int cDuration = ColumnOf(mapping, RoleDuration);
    const int cUnit = ColumnOf(mapping, RoleLoadUnit), cTestType = ColumnOf(mapping, RoleTestType);
    const int cAfter = ColumnOf(mapping, RoleMinutesAfter);

    ManualTestInput s;
    const auto& firstRow = table.m_Rows.front();
    const int namedType = options.m_nTestType ? *options.m_nTestType : TestTypeOf(Cell(firstRow, cTestType));
    int unit = options.m_nLoadUnit ? *options.m_nLoadUnit : LoadUnitOf(Cell(firstRow, cUnit));
    if (unit < 0) unit = LoadUnitFromHeader(table, mapping);
    // Loads in watts come from a bike: without a named test type they make an ergometer test.
    s.m_nTestType = namedType >= 0 ? namedType : unit == UnitWatt ? TestErgometer : TestTreadmill;
    if (unit < 0) unit = s.m_nTestType == TestErgometer ? UnitWatt : UnitKmh;
    s.m_nLoadUnit = unit;

    std::optional<COleDateTime> firstAbsolute;
    std::vector<int> loadOffsets;
    for (size_t r = 0; r < table.m_Rows.size(); ++r) {
        const auto& row = table.m_Rows[r];
        const int line = table.m_Lines[r];
        ManualStep step;
        step.m_nLine = line;
        step.m_nMeasType = cType >= 0 ? MeasTypeOfText(Cell(row, cType)) : MeasLoad;
        if (step.m_nMeasType < 0) return Result::Fail(FmtId(IDS_IMP_BAD_TYPE, line, Cell(row, cType).c_str()));
        const std::string& lactate = Cell(row, cLactate);
        if (lactate.empty()) return Result::Fail(FmtId(IDS_IMP_LACTATE_MISSING, line));
        if (Lower(lactate) == "high") {
            step.m_nStatus = StatusHigh;
        } else if (Lower(lactate) == "low") {
            step.m_nStatus = StatusLow;
        } else if (!ParseDecimal(lactate, step.m_dLactate))
            return Result::Fail(FmtId(IDS_IMP_BAD_LACTATE, line, lactate.c_str()));
        const std::string load = LoadPart(Cell(row, cLoad));
        if (!load.empty()) {
            double v = 0.0;
            if (!ParseDecimal(load, v)) return Result::Fail(FmtId(IDS_IMP_BAD_LOAD, line, Cell(row, cLoad).c_str()));
            step.m_Load = v;
        } else if (step.m_nMeasType == MeasLoad)
            return Result::Fail(FmtId(IDS_MAN_LOAD_MISSING, line));
        if (const std::string& hr = Cell(row, cHr); !hr.empty()) {
            double v = 0.0;
            if (!ParseDecimal(hr, v) || v > 100000.0)
                return Result::Fail(FmtId(IDS_IMP_BAD_HEART_RATE, line, hr.c_str()));
            step.m_nHeartRate = static_cast<int>(std::lround(v));
        }
        if (const std::string& d = Cell(row, cDuration); !d.empty()) {
            double seconds = ParseClock(d, false);
            if (seconds < 0 && !ParseDecimal(d.substr(0, d.find(' ')), seconds))
                return Result::Fail(FmtId(IDS_IMP_BAD_DURATION, line, d.c_str()));
            step.m_nDuration = seconds < 0 ? -2 : static_cast<int>(std::lround(seconds));
        }
        if (const std::string& after = Cell(row, cAfter); !after.empty()) {
            double minutes = 0.0;
            if (!ParseDecimal(after, minutes) || minutes < 0.0)
                return Result::Fail(FmtId(IDS_IMP_BAD_MINUTES, line, after.c_str()));
            step.m_dMinutesAfter = minutes;
        }
        const std::string& time = Cell(row, cTime);
        const std::string& date = Cell(row, cDate);
        if (!date.empty()) {
            COleDateTime day;
            const int clock = time.empty() ? 0 : ParseClock(time, true);
            if (!ParseDate(date, day) || clock < 0)
                return Result::Fail(FmtId(IDS_IMP_BAD_DATE, line, date.c_str(), time.c_str()));
            step.m_Time = COleDateTime(day.m_dt + clock / 86400.0);
            if (!firstAbsolute) firstAbsolute = step.m_Time;
        } else if (!time.empty()) {
            const int offset = ParseClock(time, false);
            if (offset < 0) return Result::Fail(FmtId(IDS_IMP_BAD_TIME, line, time.c_str()));
            step.m_nOffset = offset;
        }
        if (step.m_nMeasType == MeasLoad && step.m_nOffset) loadOffsets.push_back(*step.m_nOffset);
        s.m_Steps.push_back(std::move(step));
    }

    // The step duration of the test: the first main-load row's own, else the spacing of the first two
    // main-load times.
    for (const ManualStep& st : s.m_Steps)
        if (st.m_nMeasType == MeasLoad) {
            const bool schedule = st.m_nDuration >= 10 && st.m_nDuration <= 600;
            if (schedule) s.m_nStepDuration = st.m_nDuration;
            // A field test times every step on its own; the others run on one schedule of 10 s to 10 min.
            if (!schedule && st.m_nDuration > 0 && s.m_nTestType != TestField)
                return Result::Fail(FmtId(IDS_IMP_SCHEDULE, st.m_nLine));
            break;
        }
    if (cDuration < 0 && loadOffsets.size() >= 2 && loadOffsets[1] - loadOffsets[0] >= 10 &&
        loadOffsets[1] - loadOffsets[0] <= 600)
        s.m_nStepDuration = loadOffsets[1] - loadOffsets[0];

    if (options.m_nStepDuration) s.m_nStepDuration = *options.m_nStepDuration;
    if (options.m_dTrackLength) s.m_dTrackLength = *options.m_dTrackLength;
    if (options.m_Date) {
        s.m_FirstStep = *options.m_Date;
        // The rows' own date and time keep their spacing from the chosen start.
        if (firstAbsolute)
            for (ManualStep& st : s.m_Steps)
                if (st.m_Time) {
                    st.m_nOffset = static_cast<int>(std::lround((st.m_Time->m_dt - firstAbsolute->m_dt) * 86400.0));
                    st.m_Time.reset();
                }
    } else {
        s.m_FirstStep = firstAbsolute ? *firstAbsolute : COleDateTime::Now();
    }
    input = std::move(s);
    return Result::Ok();
}

std::string ImportCellError(int role, const std::string& cell) {
    if (cell.empty()) return {};
    double v = 0.0;
    switch (role) {
        case RoleType:
            return MeasTypeOfText(cell) < 0 ? LoadStr(IDS_IMP_CELL_TYPE) : "";
        case RoleLactate:
            if (Lower(cell) == "high" || Lower(cell) == "low") return {};
            [[fallthrough]];
        case RoleLoad:
        case RoleHeartRate:
        case RoleMinutesAfter:
            if (!ParseDecimal(role == RoleLoad ? LoadPart(cell) : cell, v)) return LoadStr(IDS_IMP_CELL_NOT_NUMBER);
            return v < 0.0 ? LoadStr(IDS_IMP_CELL_NEGATIVE) : "";
        case RoleDuration: {
            double seconds = ParseClock(cell, false);
            if (seconds < 0 && !ParseDecimal(cell, seconds)) return LoadStr(IDS_IMP_CELL_DURATION);
            return seconds > 0 ? "" : LoadStr(IDS_IMP_CELL_DURATION);
        }
        default:
            return {};
    }
}

}  // namespace trv
