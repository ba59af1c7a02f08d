// trv-cli info, save, export: the document file without the desktop program.
#include "Cli.h"
#include "data/CsvExport.h"
#include "data/DeviceIdentity.h"
#include "data/DocLock.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "workspace/Workspace.h"

#include <cstdio>

namespace trv::cli {

namespace {

void DateField(Json& j, const std::string& key, const COleDateTime& t) {
    const std::string iso = t.FormatIso();
    j.Key(key);
    if (iso.empty())
        j.Null();
    else
        j.Str(iso);
}

// Reads FILE into `doc`; prints the error line and returns its exit code on failure.
int Load(const std::string& path, CTRVDoc& doc) {
    const FileResult r = LoadDocument(path, doc);
    return r.ok ? ExitOk : Fail(ExitFile, r.message);
}

std::string UsageError(const char* usage) { return FmtId(IDS_CLI_USAGE, usage); }

}  // namespace

int CmdInfo(int argc, char** argv) {
    const Args args(argc, argv);
    const auto files = args.Positional({});
    if (files.size() != 1 || !args.Has("--json") || !args.Unknown({"--json"}).empty())
        return Fail(ExitUsage, UsageError("info FILE --json"));
    CTRVDoc doc;
    if (int rc = Load(files[0], doc)) return rc;

    Json j;
    j.BeginObject();
    j.Field("version", doc.m_nVersion);
    j.Field("device_id", doc.m_strDeviceId);
    j.Field("firmware", doc.m_dFirmware);
    j.Field("device_bound", IsDeviceBound(doc));
    const UserDataType& u = doc.m_UserData;
    j.Key("athlete").BeginObject();
    j.Field("first_name", u.m_strFirstName).Field("last_name", u.m_strLastName).Field("street", u.m_strStreet);
    j.Field("post_code", u.m_strPostCode).Field("town", u.m_strTown).Field("phone", u.m_strPhone);
    j.Field("email", u.m_strEmail).Field("weight", u.m_dWeight).Field("height", u.m_dHeight);
    DateField(j, "birth_date", u.m_BirthDate);
    j.Field("sex", static_cast<int>(u.m_nSex)).Field("remarks", u.m_strRemarks);
    j.EndObject();
    j.Key("tests").BeginArray();
    for (const TestDataType& t : doc.m_Tests) {
        j.BeginObject();
        j.Field("load_unit", static_cast<int>(t.m_nLoadUnit)).Field("test_type", static_cast<int>(t.m_nTestType));
        j.Field("start_value", t.m_dStartValue).Field("increment", t.m_dIncrement);
        j.Field("track_length", t.m_dTrackLength).Field("compensate", t.m_bCompensate != 0);
        j.Field("duration_source", static_cast<int>(t.m_nDurationSource));
        j.Field("individual_loads", t.m_bIndividualLoads != 0);
        j.Field("pc_step_duration", static_cast<int>(t.m_nPcStepDuration));
        j.Field("params_entered", t.m_bParamsEntered != 0).Field("show_in_chart", t.m_bShowInChart != 0);
        j.Field("reserved1", static_cast<int>(t.m_nReserved1)).Field("reserved2", static_cast<int>(t.m_nReserved2));
        j.Key("measurements").BeginArray();
        for (const PCMDataType& m : t.m_Steps) {
            j.BeginObject();
            j.Field("id", static_cast<int>(m.m_nMeasId)).Field("step_duration", static_cast<int>(m.m_nStepDuration));
            j.Field("type", static_cast<int>(m.m_nMeasType)).Field("status", static_cast<int>(m.m_nStatus));
            j.Field("lactate", static_cast<int>(m.m_nLactate));
            j.Field("temperature", static_cast<int>(m.m_nTemperature));
            DateField(j, "time", m.m_Time);
            j.Field("heart_rate", static_cast<int>(m.m_nHeartRate)).Field("speed", m.m_dSpeed);
            j.Field("nominal_speed", m.m_dNominalSpeed).Field("power", m.m_dPower);
            j.Field("checked", m.m_bChecked != 0).Field("duration_measured", m.m_bDurationMeasured != 0);
            j.Field("shortened", m.m_bShortened != 0);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    j.Print();
    return ExitOk;
}

int CmdSave(int argc, char** argv) {
    const Args args(argc, argv);
    bool missing = false;
    const auto out = args.Value("-o", &missing);
    const auto files = args.Positional({"-o"});
    if (files.size() != 1 || !out || out->empty() || !args.Unknown({"-o"}).empty())
        return Fail(ExitUsage, UsageError("save FILE -o OUT"));
    // OUT may be open in a window or written by another command: held for the read and the write.
    CDocLock lock;
    if (int rc = LockForWriting(*out, lock)) return rc;
    CTRVDoc doc;
    if (int rc = Load(files[0], doc)) return rc;
    if (*out == files[0])
        if (int rc = CheckUnchangedOnDisk(doc, *out)) return rc;
    const FileResult r = SaveDocument(doc, *out);
    return r.ok ? ExitOk : Fail(ExitFile, r.message);
}

int CmdExport(int argc, char** argv) {
    const Args args(argc, argv);
    const auto out = args.Value("-o");
    const auto list = args.Value("--tests");
    const bool all = args.Has("--all");
    const auto files = args.Positional({"-o", "--tests"});
    const char* usage = "export FILE -o OUT.csv (--tests LIST | --all)";
    if (files.size() != 1 || !out || out->empty() || (list.has_value() == all) ||
        !args.Unknown({"-o", "--tests", "--all"}).empty())
        return Fail(ExitUsage, UsageError(usage));
    CTRVDoc doc;
    std::vector<int> indices;
    if (int rc = LoadDocumentAndTests(files[0], list ? &*list : nullptr, doc, indices)) return rc;
    CCommandHistory history;
    const CWorkspace ws(doc, history);
    const FileResult r = ws.ExportCsv(indices, *out);
    return r.ok ? ExitOk : Fail(ExitFile, r.message);
}

}  // namespace trv::cli
