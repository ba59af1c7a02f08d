#include "Cli.h"

#include "data/DocLock.h"
#include "data/FileIdentity.h"
#include "data/TrvFile.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace trv::cli {

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "trv-cli: %s\n", message.c_str());
    return code;
}

int LockForWriting(const std::string& path, CDocLock& lock) {
    const CDocLock::Result r = lock.Acquire(path);
    if (r.Taken()) return ExitOk;
    return Fail(r.status == CDocLock::Status::HeldByOther ? ExitInUse : ExitFile, r.Message());
}

int CheckUnchangedOnDisk(const CTRVDoc& doc, const std::string& path) {
    if (FileIdentity::Of(path) == doc.m_DiskIdentity) return ExitOk;
    return Fail(ExitInUse, LoadStr(IDS_DISK_CHANGED_CLI));
}

Args::Args(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) m_args.emplace_back(argv[i]);
}

bool Args::Has(const std::string& flag) const {
    for (const auto& a : m_args)
        if (a == flag) return true;
    return false;
}

std::optional<std::string> Args::Value(const std::string& option, bool* missingValue) const {
    if (missingValue) *missingValue = false;
    for (size_t i = 0; i < m_args.size(); ++i) {
        if (m_args[i] == option) {
            if (i + 1 < m_args.size()) return m_args[i + 1];
            if (missingValue) *missingValue = true;
            return std::nullopt;
        }
        if (m_args[i].rfind(option + "=", 0) == 0) return m_args[i].substr(option.size() + 1);
    }
    return std::nullopt;
}

std::vector<std::string> Args::Positional(const std::vector<std::string>& withValue) const {
    std::vector<std::string> out;
    for (size_t i = 0; i < m_args.size(); ++i) {
        const std::string& a = m_args[i];
        bool takesValue = false;
        for (const auto& o : withValue)
            if (a == o) takesValue = true;
        if (takesValue) {
            ++i;
            continue;
        }
        if (a.size() > 1 && a[0] == '-') continue;
        out.push_back(a);
    }
    return out;
}

std::vector<std::string> Args::Unknown(const std::vector<std::string>& known) const {
    std::vector<std::string> out;
    for (const auto& a : m_args) {
        if (a.size() < 2 || a[0] != '-') continue;
        std::string name = a.substr(0, a.find('='));
        bool ok = false;
        for (const auto& k : known)
            if (name == k) ok = true;
        if (!ok) out.push_back(a);
    }
    return out;
}

bool ParseIndexList(const std::string& text, std::vector<int>& out) {
    out.clear();
    if (text.empty()) return false;
    size_t i = 0;
    while (i <= text.size()) {
        size_t j = text.find(',', i);
        if (j == std::string::npos) j = text.size();
        std::string part = text.substr(i, j - i);
        if (part.empty() || part.size() > 9) return false;
        for (char c : part)
            if (c < '0' || c > '9') return false;
        out.push_back(std::stoi(part));
        i = j + 1;
    }
    return true;
}

bool ParseCodeOption(const std::optional<std::string>& text, int maxCode, int& code) {
    if (!text) return true;
    if (text->size() != 1 || (*text)[0] < '0' || (*text)[0] > '0' + maxCode) return false;
    code = (*text)[0] - '0';
    return true;
}

int LoadDocumentAndTests(const std::string& path, const std::string* list, CTRVDoc& doc, std::vector<int>& indices) {
    indices.clear();
    if (list && !ParseIndexList(*list, indices)) return Fail(ExitUsage, FmtId(IDS_CLI_BAD_TEST_LIST, list->c_str()));
    const FileResult r = LoadDocument(path, doc);
    if (!r.ok) return Fail(ExitFile, r.message);
    if (!list)
        for (int i = 0; i < doc.GetTestCount(); ++i) indices.push_back(i);
    for (int i : indices)
        if (!doc.IsValidTest(i)) return Fail(ExitUsage, FmtId(IDS_CLI_NO_SUCH_TEST, i, doc.GetTestCount()));
    return ExitOk;
}

int ReadFitModelArgs(const Args& args, const char* command, CTRVDoc& doc, std::vector<int>& indices, int& fit,
                     int& model) {
    const std::vector<std::string> valued{"--tests", "--fit", "--model"};
    const auto files = args.Positional(valued);
    const auto list = args.Value("--tests");
    const std::string usage =
        FmtId(IDS_CLI_USAGE, (std::string(command) + " FILE --tests LIST [--fit 0|1] [--model 0|1|2] --json").c_str());
    if (files.size() != 1 || !list || !args.Has("--json") ||
        !args.Unknown({"--tests", "--fit", "--model", "--json"}).empty())
        return Fail(ExitUsage, usage);
    fit = FitCubic;
    model = ModelMader;
    if (!ParseCodeOption(args.Value("--fit"), 1, fit) || !ParseCodeOption(args.Value("--model"), 2, model))
        return Fail(ExitUsage, usage);
    return LoadDocumentAndTests(files[0], &*list, doc, indices);
}

void Json::Print() const {
    std::fwrite(m_out.data(), 1, m_out.size(), stdout);
    std::fputc('\n', stdout);
}

void Json::Sep() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) m_out += ',';
        m_first.back() = false;
    }
}

Json& Json::BeginObject() {
    Sep();
    m_out += '{';
    m_first.push_back(true);
    return *this;
}
Json& Json::EndObject() {
    m_out += '}';
    m_first.pop_back();
    return *this;
}
Json& Json::BeginArray() {
    Sep();
    m_out += '[';
    m_first.push_back(true);
    return *this;
}
Json& Json::EndArray() {
    m_out += ']';
    m_first.pop_back();
    return *this;
}
Json& Json::Key(const std::string& key) {
    Str(key);
    m_out += ':';
    m_afterKey = true;
    return *this;
}
Json& Json::Str(const std::string& s) {
    Sep();
    m_out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                m_out += "\\\"";
                break;
            case '\\':
                m_out += "\\\\";
                break;
            case '\n':
                m_out += "\\n";
                break;
            case '\r':
                m_out += "\\r";
                break;
            case '\t':
                m_out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    m_out += buf;
                } else {
                    m_out += static_cast<char>(c);
                }
        }
    }
    m_out += '"';
    return *this;
}
Json& Json::Num(double v) {
    if (!std::isfinite(v)) return Null();
    Sep();
    // Shortest text that reads back as the same double, with a decimal point whatever the locale.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, v);
    *res.ptr = '\0';
    m_out += buf;
    return *this;
}
Json& Json::Int(long long v) {
    Sep();
    m_out += std::to_string(v);
    return *this;
}
Json& Json::Bool(bool b) {
    Sep();
    m_out += b ? "true" : "false";
    return *this;
}
Json& Json::Null() {
    Sep();
    m_out += "null";
    return *this;
}

}  // namespace trv::cli
