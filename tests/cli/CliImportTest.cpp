// trv-cli import, run as a script would run it.
#include "data/TrvFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace trv;

namespace {

class CliImport : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/trv-import-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const std::string& name) const { return (dir / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::string Slurp(const std::string& name) const {
        std::ifstream f(dir / name, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    // Runs trv-cli with `input` on its standard input.
    int Cli(const std::string& args, const std::string& input = "") {
        Write("stdin", input);
        const std::string cmd =
            std::string(TRV_CLI) + " " + args + " <" + P("stdin") + " >" + P("out") + " 2>" + P("err");
        const int status = std::system(cmd.c_str());
        out = Slurp("out");
        err = Slurp("err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    CTRVDoc Doc(const std::string& name) const {
        CTRVDoc doc;
        EXPECT_TRUE(LoadDocument(P(name), doc).ok);
        return doc;
    }
    fs::path dir;
    std::string out, err;
};

}  // namespace

TEST_F(CliImport, TheSummaryCountsInGerman) {
    // An existing document without tests: afterwards it holds "1 Test", not "1 Tests".
    CTRVDoc empty;
    ASSERT_TRUE(SaveDocument(empty, P("e.trv")).ok);
    Write("run.csv", "Belastung;Laktat\n8,0;1,1\n10,0;1,6\n12,0;2,9\n");
    ASSERT_EQ(Cli("import " + P("e.trv") + " " + P("run.csv") + " --date 2026-02-14T08:15:00"), 0) << err;
    EXPECT_EQ(out, "Test 0 mit 3 Messwerten übernommen (Laufband, km/h); 1 Test im Dokument.\n");
}

TEST_F(CliImport, MakesTheFileThenAddsToIt) {
    Write("run.csv",
          "Stufe;Belastung;Laktat;HF\r\n1;8,0;1,1;128\r\n2;10,0;1,6;146\r\n3;12,0;2,9;163\r\n4;14,0;5,2;179\r\n");
    ASSERT_EQ(Cli("import " + P("a.trv") + " " + P("run.csv") + " --date 2026-02-14T08:15:00"), 0) << err;
    // The file did not exist: the line says that it was made, so that a mistyped name is noticed.
    EXPECT_EQ(out, "Test 0 mit 4 Messwerten übernommen (Laufband, km/h); " + P("a.trv") +
                       " gab es nicht und wurde als neues Dokument angelegt.\n");
    // Ergometer by option: the loads are watts unless a unit is named.
    Write("bike.csv", "Power,Lactate,HR\n100,0.9,110\n150,1.4,128\n200,2.6,149\n250,4.9,168\n");
    ASSERT_EQ(Cli("import " + P("a.trv") + " " + P("bike.csv") + " --test-type 1 --date 2026-02-15T17:00:00"), 0)
        << err;
    EXPECT_EQ(out, "Test 1 mit 4 Messwerten übernommen (Ergometer, W); 2 Tests im Dokument.\n");
    // m/s chosen for a treadmill file.
    Write("ms.csv", "Load\tLa\n2.5\t1.0\n3.0\t2.0\n3.5\t4.5\n");
    ASSERT_EQ(Cli("import " + P("a.trv") + " " + P("ms.csv") + " --load-unit 1 --date 2026-02-16T07:00:00"), 0) << err;

    const CTRVDoc doc = Doc("a.trv");
    ASSERT_EQ(doc.GetTestCount(), 3);
    const TestDataType& run = doc.GetTest(0);
    EXPECT_EQ(run.m_nLoadUnit, UnitKmh);
    EXPECT_EQ(run.m_bIndividualLoads, 1);
    EXPECT_EQ(run.m_bParamsEntered, 1);
    EXPECT_EQ(run.m_Steps[0].m_nMeasId, 60000);
    EXPECT_NEAR(run.m_Steps[3].m_dSpeed, 14.0 / 3.6, 1e-12);
    EXPECT_EQ(run.m_Steps[3].m_nLactate, 52);
    EXPECT_EQ(run.m_Steps[3].m_Time.FormatIso(), "2026-02-14T08:24:00");
    const TestDataType& bike = doc.GetTest(1);
    EXPECT_EQ(bike.m_nTestType, TestErgometer);
    EXPECT_EQ(bike.m_nLoadUnit, UnitWatt);
    EXPECT_EQ(bike.m_Steps[0].m_nMeasId, 60004);
    EXPECT_DOUBLE_EQ(bike.m_Steps[2].m_dPower, 200.0);
    EXPECT_EQ(bike.m_Steps[3].m_nHeartRate, 168);
    EXPECT_DOUBLE_EQ(doc.GetTest(2).m_Steps[1].m_dSpeed, 3.0);

    // The test's own export comes back with the same values.
    ASSERT_EQ(Cli("export " + P("a.trv") + " -o " + P("bike-out.csv") + " --tests 1"), 0) << err;
    ASSERT_EQ(Cli("import " + P("b.trv") + " " + P("bike-out.csv")), 0) << err;
    ASSERT_EQ(Cli("export " + P("b.trv") + " -o " + P("bike-again.csv") + " --all"), 0) << err;
    EXPECT_EQ(Slurp("bike-again.csv"), Slurp("bike-out.csv"));
    EXPECT_NE(
        Slurp("bike-out.csv").find("\r\nmanuell;;15.02.2026;17:06:00;Ergometer;03:00 (PC);200,0;W;2,6;149;Ld\r\n"),
        std::string::npos)
        << Slurp("bike-out.csv");
}

TEST_F(CliImport, RefusedFilesLeaveTheFileByteForByte) {
    Write("good.csv", "Belastung;Laktat\n8;1,0\n10;2,0\n12;4,0\n");
    ASSERT_EQ(Cli("import " + P("a.trv") + " " + P("good.csv")), 0) << err;
    const std::string before = Slurp("a.trv");
    struct Case {
        std::string bytes, line;
    };
    std::string many = "Belastung;Laktat\n";
    for (int i = 0; i <= 1000; ++i) many += std::to_string(i) + ";1,0\n";
    const Case cases[] = {
        {std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "Zeile 1: Die Datei ist keine Textdatei mit Messwerten."},
        {"Belastung;HF\n8;120\n", "Zeile 1: Keine Spalte mit Laktatwerten"},
        {"Belastung;Laktat\n", "Zeile 1: Nach der Kopfzeile folgt keine Zeile mit Messwerten."},
        {many, "Zeile 1002: Die Datei enthält mehr als 1000 Messwerte"},
        {"Belastung;Laktat\n8;1,0\n10;-2,0\n", "Zeile 3: Der Laktatwert darf nicht negativ sein."},
        {"Belastung;Laktat;HF\n8;1,0;120\n10;;130\n", "Zeile 3: Der Laktatwert fehlt."},
        {"Belastung;Laktat\n10;1,0\n8;2,0\n10,0;4,0\n", "Zeile 2 und Zeile 4: Zwei Stufen haben dieselbe Belastung"},
    };
    for (const Case& c : cases) {
        Write("bad.csv", c.bytes);
        EXPECT_EQ(Cli("import " + P("a.trv") + " " + P("bad.csv")), 2) << c.line;
        EXPECT_EQ(err.rfind("trv-cli: " + P("bad.csv") + ": " + c.line, 0), 0u) << err;
        EXPECT_EQ(Slurp("a.trv"), before) << c.line;
        // A missing document is not made either.
        EXPECT_EQ(Cli("import " + P("new.trv") + " " + P("bad.csv")), 2);
        EXPECT_FALSE(fs::exists(P("new.trv")));
    }
    EXPECT_EQ(Cli("import " + P("a.trv") + " " + P("missing.csv")), 2);
    EXPECT_EQ(err.rfind("trv-cli: Die Datei \"" + P("missing.csv") + "\" kann nicht gelesen werden.", 0), 0u) << err;
    // A document that cannot be read is not overwritten.
    Write("broken.trv", std::string("\x05\0\0\0\x09", 5));
    EXPECT_EQ(Cli("import " + P("broken.trv") + " " + P("good.csv")), 2);
    EXPECT_EQ(Slurp("broken.trv"), std::string("\x05\0\0\0\x09", 5));
    EXPECT_EQ(Slurp("a.trv"), before);
}

TEST_F(CliImport, ImplausibleValuesAreAskedFor) {
    Write("doc.csv", "Belastung;Laktat;HF\n8;1,0;120\n10;2,0;140\n12;35,0;262\n");
    ASSERT_EQ(Cli("import " + P("a.trv") + " " + P("good.csv")), 2);  // no such file yet: nothing made
    EXPECT_EQ(Cli("import " + P("a.trv") + " " + P("doc.csv"), "n\n"), 2);
    EXPECT_NE(err.find("Zeile 4: Laktat 35,0 mmol/l liegt über 30 mmol/l.\n"), std::string::npos) << err;
    EXPECT_NE(err.find("Zeile 4: Herzfrequenz 262 S/min liegt über 250 S/min.\n"), std::string::npos) << err;
    EXPECT_NE(err.find("Trotzdem übernehmen? (j/n)"), std::string::npos);
    EXPECT_FALSE(fs::exists(P("a.trv")));
    // No answer at all (end of input) is no consent either.
    EXPECT_EQ(Cli("import " + P("a.trv") + " " + P("doc.csv")), 2);
    EXPECT_FALSE(fs::exists(P("a.trv")));
    ASSERT_EQ(Cli("import " + P("a.trv") + " " + P("doc.csv"), "j\n"), 0) << err;
    EXPECT_EQ(Doc("a.trv").GetTest(0).m_Steps[2].m_nLactate, 350);
}

TEST_F(CliImport, UsageErrors) {
    Write("good.csv", "Belastung;Laktat\n8;1,0\n");
    for (const std::string& args :
         {"import " + P("a.trv"), "import " + P("a.trv") + " " + P("good.csv") + " --test-type 3",
          "import " + P("a.trv") + " " + P("good.csv") + " --load-unit",
          "import " + P("a.trv") + " " + P("good.csv") + " --date 2026-02-30T10:00:00",
          "import " + P("a.trv") + " " + P("good.csv") + " --date 14.02.2026",
          "import " + P("a.trv") + " " + P("good.csv") + " --tests 0"}) {
        EXPECT_EQ(Cli(args), 1) << args;
        EXPECT_EQ(err.rfind("trv-cli: ", 0), 0u) << err;
    }
    EXPECT_FALSE(fs::exists(P("a.trv")));
}
