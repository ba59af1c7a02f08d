#pragma once
// Shared pieces of the trv-cli commands: exit codes, error lines, option parsing, JSON output.
#include "data/OleDateTime.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace trv {
class CTRVDoc;
struct TestThresholds;
struct ZoneSettings;
struct ZoneResult;
class CDocLock;
struct TeamTable;
}  // namespace trv

namespace trv::cli {

enum Exit : int {
    ExitOk = 0,
    ExitUsage = 1,
    ExitFile = 2,
    ExitNoAnalyser = 3,
    ExitDeviceMismatch = 4,
    ExitTransfer = 5,
    ExitUnsupported = 6,
    ExitInUse = 7,  // the document's lock is held by another window, process or workstation
};

// Prints "trv-cli: <message>" on stderr and returns `code`.
int Fail(int code, const std::string& message);

// Command-line arguments after the command word.
class Args {
public:
    Args(int argc, char** argv);  // argv[0] is the command word
    bool Has(const std::string& flag) const;
    // The value after `option` ("-o OUT"); nullopt when absent. `missingValue` set when the option
    // is last.
    std::optional<std::string> Value(const std::string& option, bool* missingValue = nullptr) const;
    // Arguments that are neither options nor option values. `withValue` lists options that take a value.
    std::vector<std::string> Positional(const std::vector<std::string>& withValue) const;
    // Options not in `known` (flags and valued options together).
    std::vector<std::string> Unknown(const std::vector<std::string>& known) const;

private:
    std::vector<std::string> m_args;
};

// Parses "0,2" into indices; false on anything but non-negative integers.
bool ParseIndexList(const std::string& text, std::vector<int>& out);

// A one-digit code option ("--fit 1"): true and `code` set when absent (code unchanged) or 0..maxCode.
bool ParseCodeOption(const std::optional<std::string>& text, int maxCode, int& code);

// Reads FILE and the tests of LIST (or every test when `list` is null); prints the error line and
// returns its exit code when the list is malformed, the file cannot be read or a test does not exist.
int LoadDocumentAndTests(const std::string& path, const std::string* list, CTRVDoc& doc, std::vector<int>& indices);

// The arguments that evaluate and thresholds share, "FILE --tests LIST [--fit 0|1] [--model 0|1|2] --json"
// (`command` names the command in the usage line): reads the document, the tests and the fit and model
// codes (cubic and Mader when absent). ExitOk, or the exit code after the error line.
int ReadFitModelArgs(const Args& args, const char* command, CTRVDoc& doc, std::vector<int>& indices, int& fit,
                     int& model);

// Takes the lock of the document `path` that the command is going to write, for the rest of the
// command (read, change, write). ExitOk; or the error line and ExitInUse when another holds it,
// ExitFile when the lock file cannot be created.
int LockForWriting(const std::string& path, CDocLock& lock);

// Just before writing `doc` back to the file it was read from: ExitOk while the file is still the
// one that was read; the error line and ExitInUse when another program (one that ignores the lock)
// changed it meanwhile. A document that was not read from a file passes when the file still does
// not exist.
int CheckUnchangedOnDisk(const CTRVDoc& doc, const std::string& path);

// Before saving `doc`: names on stderr the readings whose times the file moves (the hour that the
// change to daylight saving time skips).
void WarnMovedTimes(const CTRVDoc& doc);

// A small JSON writer that keeps the commas right.
class Json {
public:
    Json& BeginObject();
    Json& EndObject();
    Json& BeginArray();
    Json& EndArray();
    Json& Key(const std::string& key);
    Json& Str(const std::string& s);  // UTF-8
    Json& Num(double v);              // non-finite values become null
    Json& Int(long long v);
    Json& Bool(bool b);
    Json& Null();
    // Key + value in one call.
    template <typename T>
    Json& Field(const std::string& key, const T& v);
    const std::string& Text() const { return m_out; }
    // Writes the text and a line end to stdout.
    void Print() const;

private:
    void Sep();
    std::string m_out;
    std::vector<bool> m_first;
    bool m_afterKey = false;
};

template <>
inline Json& Json::Field(const std::string& key, const std::string& v) {
    return Key(key).Str(v);
}
template <>
inline Json& Json::Field(const std::string& key, const bool& v) {
    return Key(key).Bool(v);
}
template <>
inline Json& Json::Field(const std::string& key, const double& v) {
    return Key(key).Num(v);
}
template <>
inline Json& Json::Field(const std::string& key, const int& v) {
    return Key(key).Int(v);
}
template <>
inline Json& Json::Field(const std::string& key, const long long& v) {
    return Key(key).Int(v);
}
// A value that may be missing: null then.
template <>
inline Json& Json::Field(const std::string& key, const std::optional<double>& v) {
    Key(key);
    return v ? Num(*v) : Null();
}
// A date: ISO 8601, or null where it is not set.
template <>
inline Json& Json::Field(const std::string& key, const COleDateTime& v) {
    Key(key);
    return v.IsValid() ? Str(v.FormatIso()) : Null();
}

// Commands, one file each.
int CmdInfo(int argc, char** argv);
int CmdSave(int argc, char** argv);
int CmdExport(int argc, char** argv);
int CmdEvaluate(int argc, char** argv);
int CmdSearch(int argc, char** argv);
int CmdDownload(int argc, char** argv);
int CmdConfig(int argc, char** argv);
int CmdReset(int argc, char** argv);
int CmdPrint(int argc, char** argv);
// Hands the command (argv[0] its word) to the drawing helper trv-cli-print, which takes over this process.
int RunDrawingHelper(int argc, char** argv);
// Whether this build has that helper (built only with the desktop program).
bool HasDrawingHelper();
int CmdImport(int argc, char** argv);
int CmdThresholds(int argc, char** argv);
int CmdHistory(int argc, char** argv);
int CmdLibrary(int argc, char** argv);
int CmdAssign(int argc, char** argv);
int CmdTeam(int argc, char** argv);
// The team overview as PDF (a build without Qt refuses).
int WriteTeamPdf(const TeamTable& table, const std::string& path);

// Zone models and the zones handed on (CmdZones.cpp): takes "--zones ID --lt1 ID --lt2 ID" out of
// the arguments into `zones` (ExitOk, or the exit code after the error line naming the known ids);
// writes a test's "zone_model" and "anchors", and its zones as an array (name, per cents, loads,
// heart rates, lactates); the zones command; the zone card as PDF (CmdZonesPdf.cpp, or a refusal in a
// build without Qt).
int TakeZoneOptions(int& argc, char** argv, ZoneSettings& zones);
void WriteZoneModel(Json& j, const TestThresholds& r);
void WriteZoneArray(Json& j, const std::vector<ZoneResult>& zones);
int CmdZones(int argc, char** argv);
int WriteZoneCard(const CTRVDoc& doc, int test, const TestThresholds& r, const std::string& out);

}  // namespace trv::cli
