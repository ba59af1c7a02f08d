#include "data/TrvFile.h"

#include "data/Cp1252.h"
#include "data/TestFields.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace trv {

namespace {

// Sizes the counts in a file are checked against before anything is allocated.
constexpr size_t kMinTestBlock = 4 + 4 + 4 + 1 + 4 + 8 + 8 + 8 + 4 + 1 + 4 + 4;  // version 2, no flags
constexpr size_t MeasBlockSize(int version) { return version >= 5 ? 44 : 52; }

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& b) : m_b(b) {}

    bool Ok() const { return m_ok; }
    size_t Remaining() const { return m_ok ? m_b.size() - m_pos : 0; }
    void Fail() { m_ok = false; }

    template <typename T>
    T Raw() {
        T v{};
        if (!m_ok || m_b.size() - m_pos < sizeof(T)) {
            m_ok = false;
            return v;
        }
        std::memcpy(&v, m_b.data() + m_pos, sizeof(T));  // the file is little-endian, like this machine
        m_pos += sizeof(T);
        return v;
    }
    uint8_t U8() { return Raw<uint8_t>(); }
    uint8_t Flag() { return Raw<uint8_t>() != 0 ? 1 : 0; }
    uint16_t U16() { return Raw<uint16_t>(); }
    int32_t I32() { return Raw<int32_t>(); }
    uint32_t U32() { return Raw<uint32_t>(); }
    double F64() { return Raw<double>(); }

    COleDateTime Date() {
        const int32_t status = I32();
        const double dt = F64();
        return COleDateTime(dt, status);
    }

    // A length-prefixed string (one byte, 0xFF + uint16, or 0xFF 0xFFFF + uint32); 0xFF 0xFFFE
    // announces UTF-16 characters. Returns UTF-8, cut to `maxChars` characters of the code page.
    std::string Text(size_t maxChars = SIZE_MAX) {
        bool wide = false;
        uint64_t len = ReadLength(wide);
        if (wide) {
            // The UTF-16 form carries its own length prefix after the marker.
            bool again = false;
            len = ReadLength(again);
            if (again) {
                m_ok = false;
                return {};
            }
        }
        const uint64_t bytes = wide ? len * 2 : len;
        if (!m_ok || bytes > Remaining()) {
            m_ok = false;
            return {};
        }
        std::string utf8;
        if (wide) {
            // Written by programs that keep texts in UTF-16; every character is kept.
            std::u16string w(static_cast<size_t>(len), u'\0');
            std::memcpy(w.data(), m_b.data() + m_pos, static_cast<size_t>(bytes));
            utf8 = Utf8Left(Utf16ToUtf8(w), maxChars);
        } else {
            std::string ansi(reinterpret_cast<const char*>(m_b.data() + m_pos), static_cast<size_t>(len));
            if (ansi.size() > maxChars) ansi.resize(maxChars);
            utf8 = Cp1252ToUtf8(ansi);
        }
        m_pos += static_cast<size_t>(bytes);
        return utf8;
    }

private:
    uint64_t ReadLength(bool& wide) {
        wide = false;
        const uint8_t b = U8();
        if (b < 0xFF) return b;
        const uint16_t w = U16();
        if (w == 0xFFFE) {
            wide = true;
            return 0;
        }
        if (w < 0xFFFF) return w;
        return U32();
    }

    const std::vector<uint8_t>& m_b;
    size_t m_pos = 0;
    bool m_ok = true;
};

class Writer {
public:
    explicit Writer(std::vector<uint8_t>& out) : m_out(out) {}
    template <typename T>
    void Raw(T v) {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        m_out.insert(m_out.end(), p, p + sizeof(T));
    }
    void U8(uint8_t v) { Raw(v); }
    void Flag(uint8_t v) { Raw<uint8_t>(v ? 1 : 0); }
    void Length(size_t n) {
        if (n < 0xFF) {
            U8(static_cast<uint8_t>(n));
        } else if (n < 0xFFFE) {
            U8(0xFF);
            U16(static_cast<uint16_t>(n));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(static_cast<uint32_t>(n));
        }
    }
    void U16(uint16_t v) { Raw(v); }
    void I32(int32_t v) { Raw(v); }
    void U32(uint32_t v) { Raw(v); }
    void F64(double v) { Raw(v); }
    void Date(const COleDateTime& t) {
        I32(t.m_status);
        F64(t.m_dt);
    }
    // Code-page text as the format has it; a text with characters the code page cannot hold is
    // written in the format's UTF-16 form instead, so that nothing typed is lost.
    void Text(const std::string& utf8) {
        const std::string ansi = Utf8ToCp1252(utf8);
        if (Cp1252ToUtf8(ansi) == utf8) {
            Length(ansi.size());
            m_out.insert(m_out.end(), ansi.begin(), ansi.end());
            return;
        }
        const std::u16string wide = Utf8ToUtf16(utf8);
        U8(0xFF);
        U16(0xFFFE);
        Length(wide.size());
        for (char16_t c : wide) U16(static_cast<uint16_t>(c));
    }

private:
    std::vector<uint8_t>& m_out;
};

// One field of the lists in TestFields.h as a file of `version` stores it.
template <class T>
void ReadField(Reader& r, int version, FieldKind kind, T& field, FieldInfo info) {
    if (version < info.since) return;
    if constexpr (std::is_same_v<T, COleDateTime>)
        field = version >= 5 ? CompactTimeToLocal(r.U32()) : r.Date();
    else if constexpr (std::is_same_v<T, double>)
        field = r.F64();
    else if constexpr (std::is_same_v<T, int32_t>)
        field = r.I32();
    else if constexpr (std::is_same_v<T, uint16_t>)
        field = r.U16();
    else
        field = kind == FieldKind::Flag ? r.Flag() : r.U8();
}

// One field of the lists in TestFields.h as version 5 stores it (times are written by the caller).
template <class T>
void WriteField(Writer& w, FieldKind kind, const T& field, FieldInfo info) {
    if (info.since > 5) return;
    if constexpr (std::is_same_v<T, double>)
        w.F64(field);
    else if constexpr (std::is_same_v<T, int32_t>)
        w.I32(field);
    else if constexpr (std::is_same_v<T, uint16_t>)
        w.U16(field);
    else if constexpr (std::is_same_v<T, uint8_t>)
        kind == FieldKind::Flag ? w.Flag(field) : w.U8(field);
}

bool ReadMeasurement(Reader& r, int version, PCMDataType& m) {
    ForEachMeasurementField(m, [&](FieldKind kind, auto& f, FieldInfo info) { ReadField(r, version, kind, f, info); });
    return r.Ok();
}

bool ReadTest(Reader& r, int version, TestDataType& t, const PCMDataType& proto) {
    ForEachTestField(t, [&](FieldKind kind, auto& f, FieldInfo info) { ReadField(r, version, kind, f, info); });
    const uint32_t count = r.U32();
    if (!r.Ok() || count > r.Remaining() / MeasBlockSize(version)) return false;
    t.m_Steps.assign(count, proto);
    for (auto& m : t.m_Steps)
        if (!ReadMeasurement(r, version, m)) return false;
    return true;
}

}  // namespace

// Layout versions up to this one may be documents of another release of the program.
constexpr int32_t kLastPlausibleVersion = 99;

Result ReadTrv(const std::vector<uint8_t>& bytes, CTRVDoc& doc) {
    Reader r(bytes);
    CTRVDoc tmp;
    tmp.m_nVersion = r.I32();
    if (!r.Ok()) return Result::Fail(LoadStr(IDS_ERR_FILE_SHORT));
    if (tmp.m_nVersion < 2 || tmp.m_nVersion > 5) {
        // Not a layout this program knows (or not a document at all): refused, so that nothing can be
        // saved over it.
        // A version far from the known ones is the start of some other kind of file, not a document of
        // a newer or older program: say so instead of naming a meaningless number.
        if (tmp.m_nVersion < 0 || tmp.m_nVersion > kLastPlausibleVersion)
            return Result::Fail(LoadStr(IDS_ERR_NOT_TRV_DOCUMENT));
        return Result::Fail(FmtId(IDS_ERR_UNKNOWN_LAYOUT, static_cast<int>(tmp.m_nVersion)));
    }
    const int version = tmp.m_nVersion;
    const uint32_t tests = r.U32();
    if (!r.Ok() || tests > r.Remaining() / kMinTestBlock) return Result::Fail(LoadStr(IDS_ERR_FILE_TEST_COUNT));
    const PCMDataType proto;  // one construction, copied into every record
    tmp.m_Tests.resize(tests);
    for (auto& t : tmp.m_Tests) {
        if (!ReadTest(r, version, t, proto)) return Result::Fail(LoadStr(IDS_ERR_FILE_DAMAGED));
    }
    UserDataType& u = tmp.m_UserData;
    u.m_strFirstName = r.Text(kUserTextMax);
    u.m_strLastName = r.Text(kUserTextMax);
    u.m_strStreet = r.Text(kUserTextMax);
    u.m_strPostCode = r.Text(kUserTextMax);
    u.m_strTown = r.Text(kUserTextMax);
    u.m_strPhone = r.Text(kUserTextMax);
    u.m_strEmail = r.Text(kUserTextMax);
    u.m_dWeight = r.F64();
    u.m_dHeight = r.F64();
    u.m_BirthDate = r.Date();
    u.m_nSex = r.I32();
    u.m_strRemarks = r.Text();
    if (version >= 5) {
        tmp.m_strDeviceId = r.Text();
        tmp.m_dFirmware = r.F64();
        // An empty ID (an old file saved once) names no analyser.
        tmp.m_bDeviceBound = !tmp.m_strDeviceId.empty();
    }
    if (!r.Ok()) return Result::Fail(LoadStr(IDS_ERR_FILE_DAMAGED));
    tmp.SetPathName(doc.GetPathName());
    doc = std::move(tmp);
    return Result::Ok();
}

Result WriteTrv(const CTRVDoc& doc, std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out;
    size_t measurements = 0;
    for (const auto& t : doc.m_Tests) measurements += t.m_Steps.size();
    out.reserve(64 + doc.m_Tests.size() * 64 + measurements * 44);
    Writer w(out);
    w.I32(5);
    w.U32(static_cast<uint32_t>(doc.m_Tests.size()));
    for (const auto& t : doc.m_Tests) {
        ForEachTestField(t, [&](FieldKind kind, const auto& f, FieldInfo info) { WriteField(w, kind, f, info); });
        w.U32(static_cast<uint32_t>(t.m_Steps.size()));
        for (const auto& m : t.m_Steps) {
            uint32_t compact = 0;
            if (!LocalToCompactTime(m.m_Time, compact)) {
                const std::string when = m.m_Time.FormatDate() + " " + m.m_Time.FormatTime();
                return Result::Fail(FmtId(IDS_ERR_TIME_NOT_STORABLE, static_cast<int>(m.m_nMeasId),
                                          m.m_Time.IsValid() ? when.c_str() : LoadStr(IDS_ERR_TIME_INVALID)));
            }
            ForEachMeasurementField(m, [&](FieldKind kind, const auto& f, FieldInfo info) {
                if constexpr (std::is_same_v<std::decay_t<decltype(f)>, COleDateTime>)
                    w.U32(compact);
                else
                    WriteField(w, kind, f, info);
            });
        }
    }
    const UserDataType& u = doc.m_UserData;
    for (const std::string* s : {&u.m_strFirstName, &u.m_strLastName, &u.m_strStreet, &u.m_strPostCode, &u.m_strTown,
                                 &u.m_strPhone, &u.m_strEmail})
        w.Text(*s);
    w.F64(u.m_dWeight);
    w.F64(u.m_dHeight);
    w.Date(u.m_BirthDate);
    w.I32(u.m_nSex);
    w.Text(u.m_strRemarks);
    w.Text(doc.m_strDeviceId);
    w.F64(doc.m_dFirmware);
    bytes = std::move(out);
    return Result::Ok();
}

std::vector<MovedReading> ReadingsMovedByLayout(const CTRVDoc& doc) {
    std::vector<MovedReading> moved;
    for (const TestDataType& t : doc.m_Tests)
        for (const PCMDataType& m : t.m_Steps) {
            uint32_t compact = 0;
            if (!m.m_Time.IsValid() || !LocalToCompactTime(m.m_Time, compact)) continue;
            const COleDateTime back = CompactTimeToLocal(compact);
            if (back.FormatIso() != m.m_Time.FormatIso()) moved.push_back({m.m_nMeasId, m.m_Time, back});
        }
    return moved;
}

std::string MovedReadingsText(const std::vector<MovedReading>& moved) {
    if (moved.empty()) return {};
    std::string text = LoadStr(IDS_DST_MOVED_HEAD);
    constexpr size_t kListed = 12;
    for (size_t i = 0; i < moved.size() && i < kListed; ++i) {
        const MovedReading& r = moved[i];
        const long minutes = std::lround((r.stored.m_dt - r.reported.m_dt) * 24 * 60);
        text += "\n" + FmtId(IDS_DST_MOVED_LINE, static_cast<int>(r.measId), r.reported.FormatDate().c_str(),
                             r.reported.FormatTime().c_str(), r.stored.FormatTime().c_str(), minutes > 0 ? "+" : "",
                             static_cast<int>(minutes));
    }
    if (moved.size() > kListed) text += "\n" + FmtId(IDS_DST_MOVED_MORE, static_cast<int>(moved.size() - kListed));
    return text;
}

FileResult LoadDocument(const std::string& path, CTRVDoc& doc) {
    std::vector<uint8_t> bytes;
    // Taken before reading: should the file change meanwhile, the next save notices (and asks).
    const FileIdentity identity = FileIdentity::Of(path);
    CTRVDoc tmp;
    Result read = ReadWholeFile(path, bytes);
    if (read) read = ReadTrv(bytes, tmp);
    if (!read) return Result::Fail(FmtId(IDS_ERR_CANNOT_OPEN, path.c_str(), read.message.c_str()));
    tmp.SetPathName(path);
    tmp.SetModifiedFlag(false);
    tmp.m_DiskIdentity = identity;
    doc = std::move(tmp);
    return {};
}

FileResult SaveDocument(CTRVDoc& doc, const std::string& path) {
    std::vector<uint8_t> bytes;
    // A write-protected file is the owner's decision: never replace it (the rename of a safe save
    // would, as the folder is writable).
    if (IsWriteProtected(path))
        return {Result::Fail(FmtId(IDS_ERR_CANNOT_SAVE, path.c_str(), LoadStr(IDS_FILE_WRITE_PROTECTED))), true};
    Result written = WriteTrv(doc, bytes);
    if (written) written = WriteFileSafely(path, bytes);
    if (!written) return Result::Fail(FmtId(IDS_ERR_CANNOT_SAVE, path.c_str(), written.message.c_str()));
    doc.m_DiskIdentity = FileIdentity::Of(path);
    doc.m_nVersion = 5;
    doc.SetPathName(path);
    doc.SetModifiedFlag(false);
    return {};
}

}  // namespace trv
