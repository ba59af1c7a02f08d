// trv-cli in German and English: messages, result texts and printed pages change with --lang or TRV_LANG;
// JSON keys and the CSV of "Daten exportieren" never do.
#include "../print/PdfText.h"
#include "CliRun.h"
#include "KnownCurve.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct LangCase {
    const char* code;
    // The chart's result box of the known curve below, and the line of a missing file.
    const char* resultText;
    const char* missingFile;
    // Words of the printed protocol's first page.
    std::vector<const char*> printed;
};

const LangCase kCases[] = {
    {"de",
     "Madermodell:\\rv = 5,00 m/s\\rLaktat = 4,00 mmol/l\\rHR = 150 S/min",
     "kann nicht geöffnet werden. Die Datei oder der Ordner existiert nicht.",
     {"Testperson:", "Vorname:", "Anna", "Protokoll vom", "Laktat IANS:", "4,00 mmol/l", "5,00 m/s", "14.07.1994",
      "weiblich", "Seite 1 / 2"}},
    {"en",
     "Mader model:\\rv = 5.00 m/s\\rLactate = 4.00 mmol/l\\rHR = 150 bpm",
     "cannot be opened. The file or folder does not exist.",
     {"Athlete:", "First name:", "Anna", "Report of", "Lactate at IAT:", "4.00 mmol/l", "5.00 m/s", "14/07/1994",
      "female", "Page 1 / 2"}},
};

class CliLanguage : public ::testing::TestWithParam<LangCase> {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv-cli-lang-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        WriteKnownCurve(dir / "curve.trv", true);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

}  // namespace

TEST_P(CliLanguage, OptionAndEnvironmentChooseTheLanguageOfTexts) {
    const LangCase& c = GetParam();
    const std::string lang = std::string(" --lang ") + c.code;
    const CliRun byOption = Cli("evaluate " + P("curve.trv") + " --tests 0 --json" + lang);
    ASSERT_EQ(byOption.code, 0) << byOption.err;
    EXPECT_NE(byOption.out.find(std::string("\"result_text\":\"") + c.resultText + "\""), std::string::npos)
        << byOption.out;
    // TRV_LANG does the same; the option wins over it.
    const std::string envRun =
        std::string("env TRV_LANG=") + c.code + " " + TRV_CLI + " evaluate " + P("curve.trv") + " --tests 0 --json";
    EXPECT_EQ(trvtest::RunShell(envRun), byOption.out);
    const std::string other = std::string(c.code) == "de" ? "en" : "de";
    EXPECT_EQ(trvtest::RunShell("env TRV_LANG=" + other + " " + TRV_CLI + " --lang=" + c.code + " evaluate " +
                                P("curve.trv") + " --tests 0 --json"),
              byOption.out);
    // Apart from the result text the JSON is the same in every language: keys, ids and numbers.
    const CliRun otherRun = Cli("evaluate " + P("curve.trv") + " --tests 0 --json --lang " + other);
    const std::regex resultText("\"result_text\":\"[^\"]*\"");
    EXPECT_NE(otherRun.out, byOption.out);
    EXPECT_EQ(std::regex_replace(byOption.out, resultText, ""), std::regex_replace(otherRun.out, resultText, ""));

    const CliRun missing = Cli("info " + P("missing.trv") + " --json" + lang);
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err.rfind("trv-cli: ", 0), 0u) << missing.err;
    EXPECT_NE(missing.err.find(c.missingFile), std::string::npos) << missing.err;
}

TEST_P(CliLanguage, TheCsvExportStaysGermanByteForByte) {
    const std::string lang = std::string(" --lang ") + GetParam().code;
    ASSERT_EQ(Cli("export " + P("curve.trv") + " -o " + P("de.csv") + " --all").code, 0);
    ASSERT_EQ(Cli("export " + P("curve.trv") + " -o " + P("x.csv") + " --all" + lang).code, 0);
    const std::string csv = ReadAll(P("x.csv"));
    EXPECT_EQ(csv, ReadAll(P("de.csv")));
    EXPECT_EQ(csv.rfind("MID;Mem Pos;Date;Time;Test type;", 0), 0u) << csv;
    EXPECT_NE(csv.find(";Laufband;"), std::string::npos) << csv;
}

TEST_P(CliLanguage, PrintedProtocolInTheChosenLanguage) {
    if (trvtest::RunShell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    if (!CliDraws()) GTEST_SKIP() << "built without the desktop program: no printed pages";
    const LangCase& c = GetParam();
    const CliRun r = Cli("print " + P("curve.trv") + " --tests 0 -o " + P("p.pdf") + " --lang " + c.code);
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = trvtest::RunShell("pdftotext -f 1 -l 1 '" + P("p.pdf") + "' -");
    for (const char* word : c.printed) EXPECT_NE(text.find(word), std::string::npos) << word << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(Languages, CliLanguage, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.code); });

TEST(CliLanguageChoice, UnknownLanguageIsAUsageError) {
    const CliRun r = Cli("--lang fr --help");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "trv-cli: Unbekannte Sprache \"fr\" (erwartet de oder en).\n");
    const CliRun help = Cli("--help --lang en");
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: trv-cli COMMAND", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--lang de|en"), std::string::npos);
}

TEST(CliLanguageChoice, EveryCommandsUsageLineSpeaksTheChosenLanguage) {
    const struct {
        const char* lang;
        const char* start;
    } langs[] = {{"de", "trv-cli: Aufruf: trv-cli "}, {"en", "trv-cli: Usage: trv-cli "}};
    for (const auto& l : langs) {
        for (const char* command : {"info", "history", "library", "team", "assign"}) {
            const CliRun r = Cli(std::string(command) + " --lang " + l.lang);
            EXPECT_EQ(r.code, 1) << command;
            EXPECT_EQ(r.err.rfind(std::string(l.start) + command + " ", 0), 0u) << l.lang << ": " << r.err;
        }
    }
}
