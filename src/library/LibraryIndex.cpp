#include "library/LibraryIndex.h"

#include "analysis/ThresholdMethods.h"
#include "data/SafeFile.h"
#include "data/TRVDoc.h"
#include "data/TrvFile.h"
#include "library/LibraryFolder.h"
#include "library/LibraryText.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

namespace trv {

namespace {

// Version of the database layout; an index of another version is rebuilt.
constexpr int kSchema = 1;

// ---- packing of blobs ---------------------------------------------------------------------------

class Packer {
public:
    template <typename T>
    void Raw(T v) {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        m_b.insert(m_b.end(), p, p + sizeof v);
    }
    void Opt(const std::optional<double>& v) { Raw<double>(v ? *v : NAN); }
    void Str(const std::string& s) {
        Raw<uint32_t>(static_cast<uint32_t>(s.size()));
        m_b.insert(m_b.end(), s.begin(), s.end());
    }
    const std::vector<uint8_t>& Bytes() const { return m_b; }

private:
    std::vector<uint8_t> m_b;
};

class Unpacker {
public:
    Unpacker(const void* p, int n) : m_p(static_cast<const uint8_t*>(p)), m_n(n > 0 ? static_cast<size_t>(n) : 0) {}
    template <typename T>
    T Raw() {
        T v{};
        if (m_pos + sizeof v > m_n) {
            m_ok = false;
            return v;
        }
        std::memcpy(&v, m_p + m_pos, sizeof v);
        m_pos += sizeof v;
        return v;
    }
    std::optional<double> Opt() {
        const double d = Raw<double>();
        return std::isnan(d) ? std::nullopt : std::optional<double>(d);
    }
    std::string Str() {
        const uint32_t n = Raw<uint32_t>();
        if (!m_ok || m_pos + n > m_n) {
            m_ok = false;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(m_p + m_pos), n);
        m_pos += n;
        return s;
    }
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_pos >= m_n; }

private:
    const uint8_t* m_p;
    size_t m_n, m_pos = 0;
    bool m_ok = true;
};

std::vector<uint8_t> PackHistory(const std::vector<LibraryTest>& tests) {
    Packer p;
    for (const LibraryTest& t : tests) {
        p.Raw<int32_t>(t.index);
        p.Raw<double>(t.date.m_dt);
        p.Raw<int32_t>(t.date.m_status);
        p.Raw<int32_t>(t.testType);
        p.Raw<int32_t>(t.loadUnit);
        p.Raw<int32_t>(t.steps);
    }
    return p.Bytes();
}

std::vector<LibraryTest> UnpackHistory(const void* data, int n) {
    std::vector<LibraryTest> out;
    Unpacker u(data, n);
    while (!u.AtEnd()) {
        LibraryTest t;
        t.index = u.Raw<int32_t>();
        t.date.m_dt = u.Raw<double>();
        t.date.m_status = u.Raw<int32_t>();
        t.testType = u.Raw<int32_t>();
        t.loadUnit = u.Raw<int32_t>();
        t.steps = u.Raw<int32_t>();
        if (!u.Ok()) break;
        out.push_back(t);
    }
    return out;
}

std::vector<uint8_t> PackValues(const LibraryValues& v) {
    Packer p;
    p.Raw<uint32_t>(static_cast<uint32_t>(v.methods.size()));
    for (const auto& m : v.methods) {
        p.Raw<uint8_t>(m.ok ? 1 : 0);
        p.Opt(m.load);
        p.Opt(m.lactate);
        p.Opt(m.heartRate);
    }
    p.Raw<uint32_t>(static_cast<uint32_t>(v.zones.size()));
    for (const ZoneResult& z : v.zones) {
        p.Str(z.code);
        p.Str(z.name);
        for (const auto* o : {&z.fromPct, &z.toPct, &z.loadFrom, &z.loadTo, &z.heartRateFrom, &z.heartRateTo,
                              &z.lactateFrom, &z.lactateTo})
            p.Opt(*o);
    }
    return p.Bytes();
}

bool UnpackValues(const void* data, int n, LibraryValues& v) {
    Unpacker u(data, n);
    const uint32_t methods = u.Raw<uint32_t>();
    if (!u.Ok() || methods != MethodCatalogue().size()) return false;
    v.methods.resize(methods);
    for (auto& m : v.methods) {
        m.ok = u.Raw<uint8_t>() != 0;
        m.load = u.Opt();
        m.lactate = u.Opt();
        m.heartRate = u.Opt();
    }
    const uint32_t zones = u.Raw<uint32_t>();
    if (!u.Ok() || zones > 64) return false;
    v.zones.resize(zones);
    for (ZoneResult& z : v.zones) {
        z.code = u.Str();
        z.name = u.Str();
        for (auto* o : {&z.fromPct, &z.toPct, &z.loadFrom, &z.loadTo, &z.heartRateFrom, &z.heartRateTo, &z.lactateFrom,
                        &z.lactateTo})
            *o = u.Opt();
    }
    return u.Ok();
}

// ---- statements -----------------------------------------------------------------------------------

class Stmt {
public:
    Stmt(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_s, nullptr); }
    ~Stmt() { sqlite3_finalize(m_s); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    bool Ok() const { return m_s != nullptr; }
    Stmt& Bind(int i, int64_t v) {
        sqlite3_bind_int64(m_s, i, v);
        return *this;
    }
    Stmt& Bind(int i, double v) {
        sqlite3_bind_double(m_s, i, v);
        return *this;
    }
    Stmt& Bind(int i, const std::string& v) {
        sqlite3_bind_text(m_s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Stmt& Bind(int i, const std::vector<uint8_t>& v) {
        sqlite3_bind_blob(m_s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool Step() { return m_s && sqlite3_step(m_s) == SQLITE_ROW; }
    bool Run() {
        if (!m_s) return false;
        const int rc = sqlite3_step(m_s);
        sqlite3_reset(m_s);
        sqlite3_clear_bindings(m_s);
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }
    int64_t Int(int c) const { return sqlite3_column_int64(m_s, c); }
    double Real(int c) const { return sqlite3_column_double(m_s, c); }
    std::string Text(int c) const {
        const auto* t = sqlite3_column_text(m_s, c);
        return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(m_s, c)))
                 : std::string();
    }
    const void* Blob(int c) const { return sqlite3_column_blob(m_s, c); }
    int Bytes(int c) const { return sqlite3_column_bytes(m_s, c); }

private:
    sqlite3_stmt* m_s = nullptr;
};

// Runs `work(i)` for i in [0, n) on every core.
void ParallelFor(size_t n, const std::function<void(size_t)>& work) {
    const size_t threads = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), n);
    if (threads <= 1) {
        for (size_t i = 0; i < n; ++i) work(i);
        return;
    }
    std::atomic<size_t> next{0};
    std::vector<std::thread> pool;
    for (size_t t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (size_t i = next++; i < n; i = next++) work(i);
        });
    for (auto& th : pool) th.join();
}

std::string SearchTextOf(const LibraryEntry& e) {
    std::string year;
    DateParts p;
    if (e.birthDate.IsValid() && e.birthDate.GetParts(p)) year = std::to_string(p.year);
    return FoldText(e.firstName + " " + e.lastName + " " + year + " " + e.group + " " + e.file);
}

void FillEntry(LibraryEntry& e, const CTRVDoc& doc) {
    const UserDataType& u = doc.m_UserData;
    e.error.clear();
    e.firstName = u.m_strFirstName;
    e.lastName = u.m_strLastName;
    e.birthDate = HasBirthDate(u) ? u.m_BirthDate : COleDateTime(0.0, COleDateTime::invalid);
    e.sex = u.m_nSex;
    e.tests = doc.GetTestCount();
    e.stepTests = 0;
    e.firstTest = e.lastTest = COleDateTime(0.0, COleDateTime::invalid);
    for (const TestDataType& t : doc.m_Tests) {
        if (IsHistoryTest(t)) ++e.stepTests;
        const COleDateTime d = HistoryDate(t);
        if (!d.IsValid()) continue;
        if (!e.firstTest.IsValid() || d.m_dt < e.firstTest.m_dt) e.firstTest = d;
        if (!e.lastTest.IsValid() || d.m_dt > e.lastTest.m_dt) e.lastTest = d;
    }
    e.history.clear();
    for (int i : HistoryOrder(doc)) {
        const TestDataType& t = doc.GetTest(i);
        LibraryTest lt;
        lt.index = i;
        lt.date = HistoryDate(t);
        lt.testType = t.m_nTestType;
        lt.loadUnit = t.m_nLoadUnit;
        lt.steps = static_cast<int>(std::count_if(t.m_Steps.begin(), t.m_Steps.end(),
                                                  [](const PCMDataType& m) { return m.m_nMeasType == MeasLoad; }));
        e.history.push_back(lt);
    }
}

void ClearEntry(LibraryEntry& e, const std::string& error) {
    const std::string file = e.file, group = e.group;
    const int64_t id = e.id, size = e.size, mtime = e.mtime;
    e = LibraryEntry();
    e.file = file;
    e.group = group;
    e.id = id;
    e.size = size;
    e.mtime = mtime;
    e.error = error;
}

}  // namespace

std::string LibraryEntry::BirthIso() const {
    DateParts p;
    if (!birthDate.IsValid() || !birthDate.GetParts(p)) return {};
    return Fmt("%04d-%02d-%02d", p.year, p.month, p.day);
}

std::string LibraryChoice::Key() const {
    std::string text = Fmt("f%d m%d", fit, model);
    for (const ZoneScheme& s : zones.schemes) {
        for (const ZoneName& z : s.zones) text += "|" + z.code + "=" + z.name;
        for (double b : s.bounds) text += Fmt(";%.6g", b);
        text += "#";
    }
    return text;
}

Result ReadLibraryDocument(const std::string& path, CTRVDoc& doc) {
    std::vector<uint8_t> bytes;
    if (const Result read = ReadWholeFile(path, bytes); !read)
        return Result::Fail(FmtId(IDS_LIB_UNREADABLE_FILE, read.message.c_str()));
    if (bytes.size() < 4) return Result::Fail(LoadStr(IDS_LIB_DAMAGED));
    int32_t version = 0;
    std::memcpy(&version, bytes.data(), 4);
    if (version < 2 || version > 5) {
        // A later layout of this program announces itself with a small number; anything else is not
        // one of its documents.
        if (version > 5 && version < 64) return Result::Fail(FmtId(IDS_LIB_UNKNOWN_VERSION, static_cast<int>(version)));
        return Result::Fail(LoadStr(IDS_LIB_FOREIGN));
    }
    if (!ReadTrv(bytes, doc)) return Result::Fail(LoadStr(IDS_LIB_DAMAGED));
    doc.SetPathName(path);
    return Result::Ok();
}

LibraryValues ComputeLibraryValues(const CTRVDoc& doc, int testIndex, const LibraryChoice& choice) {
    LibraryValues v;
    if (!doc.IsValidTest(testIndex)) return v;
    TestDataType scratch;
    const TestDataType& stored = doc.GetTest(testIndex);
    const TestDataType* evaluated = HistoryEvaluated(stored, scratch);
    const TestThresholds r =
        ComputeTestThresholds(evaluated ? *evaluated : stored, choice.fit, choice.model, choice.zones);
    for (const MethodInfo& info : MethodCatalogue()) {
        LibraryValues::Method m;
        if (const MethodResult* res = r.Find(info.id)) {
            m.ok = res->ok;
            m.load = res->load;
            m.lactate = res->lactate;
            m.heartRate = res->heartRate;
        }
        v.methods.push_back(m);
    }
    v.zones = r.zones;
    return v;
}

CLibraryIndex::CLibraryIndex() = default;
CLibraryIndex::~CLibraryIndex() { Close(); }

void CLibraryIndex::Close() {
    if (m_pDb) sqlite3_close(m_pDb);
    m_pDb = nullptr;
}

bool CLibraryIndex::Exec(const char* sql) { return sqlite3_exec(m_pDb, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

Result CLibraryIndex::Open(const std::string& dir, const std::string& dbPath) {
    Close();
    m_Entries.clear();
    m_Values.clear();
    m_strWarning.clear();
    if (Result usable = CheckLibraryFolder(dir); !usable) return usable;
    m_strDir = CanonicalFolder(dir);
    const std::string path = dbPath.empty() ? IndexDatabasePath(m_strDir) : dbPath;

    // The index holds personal data: its folder is the user's alone, the file 0600 from the start.
    std::string folder = path.substr(0, path.rfind('/'));
    for (size_t i = 1; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == '/') ::mkdir(folder.substr(0, i).c_str(), 0700);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    bool ok = fd >= 0;
    if (ok) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
    auto setup = [this] {
        sqlite3_busy_timeout(m_pDb, 5000);
        Exec("PRAGMA journal_mode=WAL");
        Exec("PRAGMA synchronous=NORMAL");
        Exec("CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT)");
        {
            Stmt s(m_pDb, "SELECT value FROM meta WHERE key='schema'");
            const bool same = s.Step() && s.Text(0) == std::to_string(kSchema);
            if (!same) {
                Exec("DROP TABLE IF EXISTS docs");
                Exec("DROP TABLE IF EXISTS vals");
            }
        }
        const bool made =
            Exec(
                "CREATE TABLE IF NOT EXISTS docs(id INTEGER PRIMARY KEY, file TEXT UNIQUE NOT NULL, size INTEGER, "
                "mtime INTEGER, error TEXT, first_name TEXT, last_name TEXT, birth REAL, birth_status INTEGER, "
                "sex INTEGER, tests INTEGER, step_tests INTEGER, first_test REAL, first_status INTEGER, "
                "last_test REAL, last_status INTEGER, history BLOB)") &&
            Exec(
                "CREATE TABLE IF NOT EXISTS vals(doc INTEGER, test INTEGER, choice TEXT, data BLOB, "
                "PRIMARY KEY(doc, test, choice)) WITHOUT ROWID") &&
            Exec(("INSERT OR REPLACE INTO meta VALUES('schema','" + std::to_string(kSchema) + "')").c_str());
        return made;
    };
    if (ok)
        ok = sqlite3_open_v2(path.c_str(), &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK;
    if (ok) ok = setup();
    if (!ok) {
        // The cache folder cannot hold it (read-only home, full disk): the library still works, read
        // afresh each time.
        m_strWarning = FmtId(IDS_LIB_INDEX_FAILED, m_pDb ? sqlite3_errmsg(m_pDb) : FileErrorText(errno).c_str());
        Close();
        sqlite3_open(":memory:", &m_pDb);
        setup();
    }
    m_strChoiceKey = m_Choice.Key();
    LoadEntries();
    LoadValues();
    return Result::Ok();
}

bool CLibraryIndex::LoadEntries() {
    m_Entries.clear();
    Stmt s(m_pDb,
           "SELECT id, file, size, mtime, error, first_name, last_name, birth, birth_status, sex, tests, step_tests, "
           "first_test, first_status, last_test, last_status, history FROM docs");
    while (s.Step()) {
        LibraryEntry e;
        e.id = s.Int(0);
        e.file = s.Text(1);
        e.group = GroupOf(e.file);
        e.size = s.Int(2);
        e.mtime = s.Int(3);
        e.error = s.Text(4);
        e.firstName = s.Text(5);
        e.lastName = s.Text(6);
        e.birthDate = COleDateTime(s.Real(7), static_cast<int32_t>(s.Int(8)));
        e.sex = static_cast<int>(s.Int(9));
        e.tests = static_cast<int>(s.Int(10));
        e.stepTests = static_cast<int>(s.Int(11));
        e.firstTest = COleDateTime(s.Real(12), static_cast<int32_t>(s.Int(13)));
        e.lastTest = COleDateTime(s.Real(14), static_cast<int32_t>(s.Int(15)));
        e.history = UnpackHistory(s.Blob(16), s.Bytes(16));
        e.searchText = SearchTextOf(e);
        m_Entries.push_back(std::move(e));
    }
    SortAndMark();
    return true;
}

void CLibraryIndex::LoadValues() {
    m_Values.clear();
    Stmt s(m_pDb, "SELECT doc, test, data FROM vals WHERE choice=?");
    s.Bind(1, m_strChoiceKey);
    while (s.Step()) {
        LibraryValues v;
        if (UnpackValues(s.Blob(2), s.Bytes(2), v)) m_Values[{s.Int(0), static_cast<int>(s.Int(1))}] = std::move(v);
    }
}

void CLibraryIndex::SetChoice(const LibraryChoice& choice) {
    m_Choice = choice;
    const std::string key = choice.Key();
    if (key == m_strChoiceKey) return;
    m_strChoiceKey = key;
    if (m_pDb) LoadValues();
}

void CLibraryIndex::SortAndMark() {
    std::vector<std::string> keys(m_Entries.size());
    // Sorting by folded names: "Ärger" next to "Arndt", not behind "Zander".
    std::vector<size_t> order(m_Entries.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
        const LibraryEntry& e = m_Entries[i];
        keys[i] =
            FoldText(e.lastName) + '\x01' + FoldText(e.firstName) + '\x01' + e.BirthIso() + '\x01' + FoldText(e.file);
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<LibraryEntry> sorted;
    sorted.reserve(m_Entries.size());
    for (size_t i : order) sorted.push_back(std::move(m_Entries[i]));
    m_Entries = std::move(sorted);
    // The same athlete: last name, first name and birth date alike (case and accents not counting).
    std::unordered_map<std::string, std::vector<size_t>> same;
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        LibraryEntry& e = m_Entries[i];
        e.duplicate = false;
        if (!e.error.empty() || (e.lastName.empty() && e.firstName.empty())) continue;
        same[FoldText(e.lastName) + '\x01' + FoldText(e.firstName) + '\x01' + e.BirthIso()].push_back(i);
    }
    for (auto& [key, list] : same)
        if (list.size() > 1)
            for (size_t i : list) m_Entries[i].duplicate = true;
}

void CLibraryIndex::StoreEntry(LibraryEntry& e) {
    if (e.id == 0) {
        Stmt ins(m_pDb, "INSERT INTO docs(file) VALUES(?)");
        ins.Bind(1, e.file).Run();
        e.id = sqlite3_last_insert_rowid(m_pDb);
    }
    Stmt del(m_pDb, "DELETE FROM vals WHERE doc=?");
    del.Bind(1, e.id).Run();
    Stmt s(m_pDb,
           "UPDATE docs SET size=?, mtime=?, error=?, first_name=?, last_name=?, birth=?, birth_status=?, sex=?, "
           "tests=?, step_tests=?, first_test=?, first_status=?, last_test=?, last_status=?, history=? WHERE id=?");
    s.Bind(1, e.size).Bind(2, e.mtime).Bind(3, e.error).Bind(4, e.firstName).Bind(5, e.lastName);
    s.Bind(6, e.birthDate.m_dt)
        .Bind(7, static_cast<int64_t>(e.birthDate.m_status))
        .Bind(8, static_cast<int64_t>(e.sex));
    s.Bind(9, static_cast<int64_t>(e.tests)).Bind(10, static_cast<int64_t>(e.stepTests));
    s.Bind(11, e.firstTest.m_dt).Bind(12, static_cast<int64_t>(e.firstTest.m_status));
    s.Bind(13, e.lastTest.m_dt).Bind(14, static_cast<int64_t>(e.lastTest.m_status));
    s.Bind(15, PackHistory(e.history)).Bind(16, e.id);
    s.Run();
}

void CLibraryIndex::StoreValues(int64_t doc, int test, const LibraryValues& v) {
    Stmt s(m_pDb, "INSERT OR REPLACE INTO vals(doc, test, choice, data) VALUES(?,?,?,?)");
    s.Bind(1, doc).Bind(2, static_cast<int64_t>(test)).Bind(3, m_strChoiceKey).Bind(4, PackValues(v));
    s.Run();
}

std::vector<int> CLibraryIndex::NeededTests(const LibraryEntry& e, const COleDateTime& before) const {
    int last = -1;
    for (int k = static_cast<int>(e.history.size()) - 1; k >= 0; --k) {
        const COleDateTime& d = e.history[static_cast<size_t>(k)].date;
        if (!before.IsValid() || (d.IsValid() && d.m_dt < before.m_dt)) {
            last = k;
            break;
        }
    }
    std::vector<int> out;
    if (last < 0) return out;
    const LibraryTest& l = e.history[static_cast<size_t>(last)];
    out.push_back(l.index);
    for (int k = last - 1; k >= 0; --k) {
        const LibraryTest& p = e.history[static_cast<size_t>(k)];
        if (p.testType == l.testType && p.loadUnit == l.loadUnit) {
            out.push_back(p.index);
            break;
        }
    }
    return out;
}

Result CLibraryIndex::Refresh(RefreshStats* stats, const std::function<void(int, int)>& progress) {
    RefreshStats st;
    if (Result usable = CheckLibraryFolder(m_strDir); !usable) return usable;
    const std::vector<LibraryFile> files = ListLibraryFiles(m_strDir);
    st.files = static_cast<int>(files.size());
    std::unordered_map<std::string, size_t> known;
    for (size_t i = 0; i < m_Entries.size(); ++i) known[m_Entries[i].file] = i;

    std::vector<LibraryEntry> next;
    next.reserve(files.size());
    std::vector<size_t> changed;  // into `next`
    for (const LibraryFile& f : files) {
        const auto it = known.find(f.file);
        if (it != known.end()) {
            LibraryEntry& old = m_Entries[it->second];
            const bool same = old.size == f.size && old.mtime == f.mtime;
            next.push_back(std::move(old));
            known.erase(it);
            if (same) continue;
        } else {
            LibraryEntry e;
            e.file = f.file;
            e.group = GroupOf(f.file);
            next.push_back(std::move(e));
        }
        next.back().size = f.size;
        next.back().mtime = f.mtime;
        changed.push_back(next.size() - 1);
    }

    // Read what changed on every core, with the values of the tests the list shows.
    struct Read {
        std::vector<std::pair<int, LibraryValues>> values;
    };
    std::vector<Read> reads(changed.size());
    std::atomic<int> done{0};
    const int total = static_cast<int>(changed.size());
    const LibraryChoice choice = m_Choice;
    ParallelFor(changed.size(), [&](size_t k) {
        LibraryEntry& e = next[changed[k]];
        CTRVDoc doc;
        if (const Result read = ReadLibraryDocument(m_strDir + "/" + e.file, doc); !read) {
            ClearEntry(e, read.message);
        } else {
            FillEntry(e, doc);
            for (int t : NeededTests(e, COleDateTime(0.0, COleDateTime::invalid)))
                reads[k].values.emplace_back(t, ComputeLibraryValues(doc, t, choice));
        }
        e.searchText = SearchTextOf(e);
        const int d = ++done;
        if (progress) progress(d, total);
    });

    Exec("BEGIN");
    for (const auto& [file, i] : known) {
        const LibraryEntry& gone = m_Entries[i];
        Stmt d1(m_pDb, "DELETE FROM docs WHERE id=?");
        d1.Bind(1, gone.id).Run();
        Stmt d2(m_pDb, "DELETE FROM vals WHERE doc=?");
        d2.Bind(1, gone.id).Run();
        for (auto it = m_Values.lower_bound({gone.id, -1}); it != m_Values.end() && it->first.first == gone.id;)
            it = m_Values.erase(it);
        ++st.removed;
    }
    for (size_t k = 0; k < changed.size(); ++k) {
        LibraryEntry& e = next[changed[k]];
        const int64_t before = e.id;
        StoreEntry(e);
        if (before != 0)
            for (auto it = m_Values.lower_bound({e.id, -1}); it != m_Values.end() && it->first.first == e.id;)
                it = m_Values.erase(it);
        for (auto& [t, v] : reads[k].values) {
            StoreValues(e.id, t, v);
            m_Values[{e.id, t}] = std::move(v);
            ++st.computed;
        }
        ++st.read;
        if (!e.error.empty()) ++st.errors;
    }
    Exec("COMMIT");
    m_nComputed += st.computed;
    m_Entries = std::move(next);
    SortAndMark();

    // Documents read before under another choice: their values once, now.
    std::vector<int> all(m_Entries.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    const int computedBefore = m_nComputed;
    ComputeMissing(all, COleDateTime(0.0, COleDateTime::invalid));
    st.computed += m_nComputed - computedBefore;
    if (stats) {
        st.errors = static_cast<int>(
            std::count_if(m_Entries.begin(), m_Entries.end(), [](const LibraryEntry& e) { return !e.error.empty(); }));
        *stats = st;
    }
    return Result::Ok();
}

bool CLibraryIndex::RefreshFile(const std::string& file) {
    // The whole scan is cheap when nothing else changed (one stat per file).
    (void)file;
    return Refresh().ok;
}

void CLibraryIndex::ComputeMissing(const std::vector<int>& entries, const COleDateTime& before) {
    struct Need {
        int entry;
        std::vector<int> tests;
        std::vector<LibraryValues> values;
    };
    std::vector<Need> needs;
    for (int i : entries) {
        const LibraryEntry& e = m_Entries[static_cast<size_t>(i)];
        if (!e.error.empty()) continue;
        Need n{i, {}, {}};
        for (int t : NeededTests(e, before))
            if (!m_Values.count({e.id, t})) n.tests.push_back(t);
        if (!n.tests.empty()) needs.push_back(std::move(n));
    }
    if (needs.empty()) return;
    const LibraryChoice choice = m_Choice;
    ParallelFor(needs.size(), [&](size_t k) {
        Need& n = needs[k];
        CTRVDoc doc;
        if (!ReadLibraryDocument(m_strDir + "/" + m_Entries[static_cast<size_t>(n.entry)].file, doc)) {
            n.tests.clear();
            return;
        }
        for (int t : n.tests) n.values.push_back(ComputeLibraryValues(doc, t, choice));
    });
    Exec("BEGIN");
    for (Need& n : needs) {
        const int64_t id = m_Entries[static_cast<size_t>(n.entry)].id;
        for (size_t k = 0; k < n.tests.size(); ++k) {
            StoreValues(id, n.tests[k], n.values[k]);
            m_Values[{id, n.tests[k]}] = std::move(n.values[k]);
            ++m_nComputed;
        }
    }
    Exec("COMMIT");
}

const LibraryEntry* CLibraryIndex::FindFile(const std::string& file) const {
    for (const LibraryEntry& e : m_Entries)
        if (e.file == file) return &e;
    return nullptr;
}

std::vector<int> CLibraryIndex::Search(const std::string& text, const std::string* group) const {
    const std::vector<std::string> words = SearchWords(text);
    std::vector<int> out;
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        const LibraryEntry& e = m_Entries[i];
        if (group && !group->empty() && e.group != *group && e.group.rfind(*group + "/", 0) != 0) continue;
        if (ContainsAllWords(e.searchText, words)) out.push_back(static_cast<int>(i));
    }
    return out;
}

std::vector<std::string> CLibraryIndex::Groups() const {
    std::set<std::string> groups;
    for (const LibraryEntry& e : m_Entries) {
        std::string g = e.group;
        while (!g.empty()) {
            groups.insert(g);
            g = GroupOf(g);
        }
    }
    return {groups.begin(), groups.end()};
}

const LibraryValues* CLibraryIndex::Values(int entry, int testIndex) {
    if (entry < 0 || static_cast<size_t>(entry) >= m_Entries.size()) return nullptr;
    const LibraryEntry& e = m_Entries[static_cast<size_t>(entry)];
    auto it = m_Values.find({e.id, testIndex});
    if (it != m_Values.end()) return &it->second;
    CTRVDoc doc;
    if (!e.error.empty() || !ReadLibraryDocument(m_strDir + "/" + e.file, doc) || !doc.IsValidTest(testIndex))
        return nullptr;
    LibraryValues v = ComputeLibraryValues(doc, testIndex, m_Choice);
    StoreValues(e.id, testIndex, v);
    ++m_nComputed;
    return &(m_Values[{e.id, testIndex}] = std::move(v));
}

std::optional<LibraryLast> CLibraryIndex::Last(int entry, const std::vector<std::string>& methods,
                                               const COleDateTime& before) {
    if (entry < 0 || static_cast<size_t>(entry) >= m_Entries.size()) return std::nullopt;
    const std::vector<int> needed = NeededTests(m_Entries[static_cast<size_t>(entry)], before);
    if (needed.empty()) return std::nullopt;
    ComputeMissing({entry}, before);
    const LibraryEntry& e = m_Entries[static_cast<size_t>(entry)];
    LibraryLast out;
    for (const LibraryTest& t : e.history)
        if (t.index == needed[0]) out.test = t;
    const LibraryValues* cur = Values(entry, needed[0]);
    const LibraryValues* prev = needed.size() > 1 ? Values(entry, needed[1]) : nullptr;
    if (!cur) return std::nullopt;
    for (const std::string& id : methods) {
        const int ci = MethodIndex(id);
        if (ci < 0) continue;
        auto valueOf = [&](const LibraryValues& v) {
            HistoryValue h;
            h.id = id;
            h.label = LoadStr(MethodCatalogue()[static_cast<size_t>(ci)].label);
            if (static_cast<size_t>(ci) < v.methods.size()) {
                const auto& m = v.methods[static_cast<size_t>(ci)];
                h.ok = m.ok;
                h.load = m.load;
                h.lactate = m.lactate;
                h.heartRate = m.heartRate;
            }
            return h;
        };
        HistoryValue h = valueOf(*cur);
        if (prev) SetHistoryChanges(h, valueOf(*prev));
        out.methods.push_back(std::move(h));
    }
    out.zones = cur->zones;
    return out;
}

}  // namespace trv
