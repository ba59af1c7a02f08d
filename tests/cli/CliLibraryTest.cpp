// trv-cli library and team end to end: a library folder of athletes' documents read by the commands.
#include "../library/LibraryFixture.h"
#include "CliRun.h"
#include "data/Cp1252.h"
#include "res/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace trv;
using namespace trvtest::library;
using namespace trvtest::history;

namespace {

// The objects of a top-level JSON array of documents, each up to the next document.
std::vector<std::string> Docs(const std::string& json) {
    std::vector<std::string> out;
    size_t at = 0;
    while ((at = json.find("{\"file\":", at)) != std::string::npos) {
        const size_t next = json.find("{\"file\":", at + 1);
        out.push_back(json.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = at + 1;
    }
    return out;
}

std::string Str(const std::string& object, const std::string& key) {
    const size_t at = object.find("\"" + key + "\":");
    if (at == std::string::npos) return "<missing>";
    const size_t v = at + key.size() + 3;
    if (object.compare(v, 4, "null") == 0) return "null";
    return object.substr(v + 1, object.find('"', v + 1) - v - 1);
}

double Number(const std::string& object, const std::string& key) {
    const size_t at = object.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    const char* p = object.c_str() + at + key.size() + 3;
    if (std::string(p, 4) == "null") return NAN;
    return std::strtod(p, nullptr);
}

std::string Method(const std::string& doc, const std::string& id) {
    const size_t at = doc.find("{\"id\":\"" + id + "\"");
    if (at == std::string::npos) return {};
    return doc.substr(at, doc.find('}', at) - at + 1);
}

class CliLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        lib.Athlete("Radsport/Müller_Anna.trv", "Müller", "Anna");
        lib.Athlete("Radsport/Zander_Ole.trv", "Zander", "Ole", 2001, 1, 2);
        lib.Athlete("U23/Läufer/O'Brien_Seán.trv", "O'Brien 🏃", "Seán", 2003, 3, 4);
        lib.Athlete("Müller_Anna_2.trv", "Müller", "Anna");
        CTRVDoc empty;
        empty.m_UserData.m_strLastName = "Leer";
        lib.Save("Leer.trv", empty);
        lib.Raw("kaputt.trv", lib.Bytes("Radsport/Zander_Ole.trv").substr(0, 200));
    }
    std::string Dir() const { return "'" + lib.Dir() + "'"; }
    TempLibrary lib;
};

TEST_F(CliLibrary, ListsEveryDocumentWithTheHistorysLastTest) {
    const CliRun r = Cli("library " + Dir() + " --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto docs = Docs(r.out);
    ASSERT_EQ(docs.size(), 6u) << r.out;
    // Ordered by last name, first name, birth date; a damaged file has no name and comes first.
    EXPECT_EQ(Str(docs[0], "file"), "kaputt.trv");
    EXPECT_EQ(Str(docs[0], "error"), "Datei beschädigt");
    EXPECT_EQ(Str(docs[0], "last"), "null");
    EXPECT_EQ(Str(docs[1], "file"), "Leer.trv");
    EXPECT_EQ(Str(docs[1], "last"), "null");
    EXPECT_EQ(Number(docs[1], "step_tests"), 0);
    EXPECT_EQ(Str(docs[2], "file"), "Müller_Anna_2.trv");
    EXPECT_NE(docs[2].find("\"duplicate\":true"), std::string::npos);
    EXPECT_NE(docs[3].find("\"duplicate\":true"), std::string::npos);
    EXPECT_EQ(Str(docs[3], "group"), "Radsport");
    EXPECT_EQ(Str(docs[3], "birth_date"), "1990-05-17");
    EXPECT_EQ(Str(docs[4], "last_name"), "O'Brien 🏃");
    EXPECT_EQ(Str(docs[4], "group"), "U23/Läufer");
    EXPECT_NE(docs[5].find("\"duplicate\":false"), std::string::npos);
    EXPECT_EQ(Str(docs[5], "first_test"), "2023-01-01T09:30:00");
    EXPECT_EQ(Str(docs[5], "last_test"), "2024-09-01T09:30:00");
    EXPECT_EQ(Number(docs[5], "tests"), 6);
    EXPECT_EQ(Number(docs[5], "step_tests"), 4);

    // "last" is the history's newest row with the history's values, for the same options.
    for (const char* options : {"", " --fit 1", " --model 1"}) {
        const CliRun lr = Cli("library " + Dir() + " --json --methods obla_4.0,dmax" + options);
        const CliRun hr =
            Cli("history '" + lib.Path("Radsport/Zander_Ole.trv") + "' --json --methods obla_4.0,dmax" + options);
        ASSERT_EQ(lr.code, 0);
        ASSERT_EQ(hr.code, 0);
        const std::string zander = Docs(lr.out)[5];
        const size_t lastRow = hr.out.rfind("{\"index\":");
        std::string historyLast = hr.out.substr(lastRow, hr.out.rfind("]}]}") - lastRow + 2);
        // The library lists no intervals: the history's interval fields (null without --ci) are not its.
        const std::string noInterval = ",\"ci_low\":null,\"ci_high\":null,\"se\":null,\"change_clear\":null";
        for (size_t k; (k = historyLast.find(noInterval)) != std::string::npos;)
            historyLast.erase(k, noInterval.size());
        const size_t at = zander.find("\"last\":{") + 7;
        EXPECT_EQ(zander.substr(at, zander.find("]}", at) - at + 2),
                  historyLast.substr(0, historyLast.find(",\"steps\"")) +
                      historyLast.substr(historyLast.find(",\"methods\"")))
            << options;
    }
    // Against hand arithmetic: September's 4 mmol/l load and its change against March's.
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    const double september = Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18);
    const std::string obla = Method(docs[5], "obla_4.0");
    EXPECT_NEAR(Number(obla, "load") * 3.6, september, 1e-6);
    EXPECT_NEAR(Number(obla, "load_change") * 3.6, september - march, 1e-6);
}

TEST_F(CliLibrary, SearchesCaseAndAccentInsensitively) {
    const struct {
        const char* text;
        std::vector<std::string> files;
    } cases[] = {
        {"MULLER", {"Müller_Anna_2.trv", "Radsport/Müller_Anna.trv"}},
        {"anna radsport", {"Radsport/Müller_Anna.trv"}},
        {"sean 2003", {"U23/Läufer/O'Brien_Seán.trv"}},
        {"laufer o'brien", {"U23/Läufer/O'Brien_Seán.trv"}},
        {"1990 ole", {}},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli("library " + Dir() + " --search \"" + c.text + "\" --json");
        ASSERT_EQ(r.code, 0) << r.err;
        std::vector<std::string> files;
        for (const auto& d : Docs(r.out)) files.push_back(Str(d, "file"));
        EXPECT_EQ(files, c.files) << c.text;
    }
}

TEST_F(CliLibrary, BadInputGetsAGermanMessage) {
    const struct {
        std::string args;
        int code;
        const char* message;
    } cases[] = {
        {"library /nonexistent/trv-lib --json", 2, "existiert nicht"},
        {"library '" + lib.Path("Leer.trv") + "' --json", 2, "ist kein Ordner"},
        {"library " + Dir(), 1, "Aufruf"},
        {"library " + Dir() + " --json --methods nope", 1, "nope"},
        {"library " + Dir() + " --json --fit 2", 1, "Aufruf"},
        {"team " + Dir() + " --json --csv x.csv", 1, "Aufruf"},
        {"team " + Dir() + " --json --before 2024-13-01", 1, "2024-13-01"},
        {"team " + Dir() + " --json --group Fußball", 2, "Fußball"},
        {"team " + Dir() + " --csv /nonexistent/dir/x.csv", 2, "/nonexistent/dir/x.csv"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_EQ(r.err.rfind("trv-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    }
    // An empty library is a library: an empty list.
    TempLibrary empty;
    const CliRun r = Cli("library '" + empty.Dir() + "' --json");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "[]\n");
    // Nothing in the folder was written by reading it.
    EXPECT_EQ(lib.Bytes("kaputt.trv").size(), 200u);
}

TEST_F(CliLibrary, TeamGivesTheLastTestWithZonesAsJsonCsvAndPdf) {
    const CliRun r = Cli("team " + Dir() + " --group Radsport --json --methods obla_4.0");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto docs = Docs(r.out);
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(Str(docs[0], "file"), "Radsport/Müller_Anna.trv");
    EXPECT_NE(docs[0].find("\"zones\":[{\"name\":\"REKOM\""), std::string::npos) << docs[0];
    // Zones of the thresholds command for the same test.
    const CliRun t = Cli("thresholds '" + lib.Path("Radsport/Zander_Ole.trv") + "' --tests 1 --json");
    auto zonesOf = [](const std::string& json) {
        const size_t at = json.find("\"zones\":[");
        return at == std::string::npos ? std::string() : json.substr(at, json.find(']', at) - at + 1);
    };
    EXPECT_NE(zonesOf(t.out), "");
    EXPECT_EQ(zonesOf(docs[1]), zonesOf(t.out));

    // Before the September test: March's field test, no change; before any test: "kein Stufentest".
    const CliRun b = Cli("team " + Dir() + " --search zander --before 2024-08-01 --json --methods obla_4.0");
    ASSERT_EQ(b.code, 0) << b.err;
    EXPECT_EQ(Number(Docs(b.out)[0], "index"), 3);
    EXPECT_TRUE(std::isnan(Number(Method(b.out, "obla_4.0"), "load_change")));
    const CliRun none = Cli("team " + Dir() + " --search zander --before 2020-01-01 --json");
    EXPECT_NE(none.out.find("\"last\":null,\"zones\":null"), std::string::npos) << none.out;

    const std::string csv = (lib.root / "team.csv").string();
    const CliRun c = Cli("team " + Dir() + " --methods obla_4.0 --csv '" + csv + "'");
    ASSERT_EQ(c.code, 0) << c.err;
    const std::string bytes = lib.Bytes("../team.csv");
    const std::string text = Cp1252ToUtf8(bytes);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "Nachname;Vorname;Geburtsdatum;Gruppe;Datum;Testart;Einheit;OBLA 4,0 Last;OBLA 4,0 HF;"
              "OBLA 4,0 Laktat;OBLA 4,0 Änderung;Zonengrenzen")
        << text;
    EXPECT_NE(bytes.find("M\xfcller;Anna;17.05.1990;Radsport;01.09.2024;"), std::string::npos);
    EXPECT_NE(text.find("Leer;;;;kein Stufentest"), std::string::npos);
    EXPECT_NE(text.find(Fmt("%.1f", Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18))), std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);

    if (!CliDraws()) return;  // built without the desktop program: no PDF
    const std::string pdf = (lib.root / "team.pdf").string();
    const CliRun p = Cli("team " + Dir() + " --pdf '" + pdf + "'");
    ASSERT_EQ(p.code, 0) << p.err;
    const std::string info = [&] {
        FILE* f = ::popen(("pdfinfo '" + pdf + "' 2>/dev/null").c_str(), "r");
        std::string s;
        char buf[512];
        while (f && std::fgets(buf, sizeof buf, f)) s += buf;
        if (f) ::pclose(f);
        return s;
    }();
    if (!info.empty()) {
        EXPECT_NE(info.find("842 x 595"), std::string::npos) << info;  // A4 landscape
    }
    FILE* f = ::popen(("pdftotext '" + pdf + "' - 2>/dev/null").c_str(), "r");
    std::string text2;
    char buf[512];
    while (f && std::fgets(buf, sizeof buf, f)) text2 += buf;
    if (f) ::pclose(f);
    if (!text2.empty()) {
        EXPECT_NE(text2.find("Seite 1 von 1"), std::string::npos) << text2;
        EXPECT_NE(text2.find("Teamübersicht"), std::string::npos);
        EXPECT_NE(text2.find("Zander"), std::string::npos) << text2;
    }
}

}  // namespace
