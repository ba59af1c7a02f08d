// Open and save of a large document: prints times and peak memory (not a test).
#include "data/TrvFile.h"

#include <sys/resource.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace trv;

namespace {
long PeakRssKb() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}
}  // namespace

// Opens the file in a process of its own, so that the peak memory is that of opening alone.
int OpenOnly(const char* path) {
    CTRVDoc doc;
    const auto a = std::chrono::steady_clock::now();
    const FileResult r = LoadDocument(path, doc);
    const auto b = std::chrono::steady_clock::now();
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", r.message.c_str());
        return 1;
    }
    std::printf("open: %.1f ms, %d tests, peak memory of the opening process %.1f MB\n",
                std::chrono::duration<double, std::milli>(b - a).count(), doc.GetTestCount(), PeakRssKb() / 1024.0);
    return 0;
}

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--open") return OpenOnly(argv[2]);
    const int tests = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int steps = 8;
    const auto path = std::filesystem::temp_directory_path() / "trv-bench-document.trv";
    {
        CTRVDoc doc;
        const COleDateTime t0 = COleDateTime::FromParts(2024, 5, 1, 8, 0, 0);
        doc.m_Tests.resize(static_cast<size_t>(tests));
        uint16_t id = 1;
        for (auto& t : doc.m_Tests) {
            t.m_Steps.resize(steps);
            for (int k = 0; k < steps; ++k) {
                auto& m = t.m_Steps[static_cast<size_t>(k)];
                m.m_nMeasId = id++;
                m.m_nMeasType = MeasLoad;
                m.m_nLactate = static_cast<uint16_t>(10 + k * 7);
                m.m_dSpeed = 2.0 + 0.5 * k;
                m.m_Time = COleDateTime(t0.m_dt + id / 1440.0);
            }
        }
        const auto a = std::chrono::steady_clock::now();
        const FileResult r = SaveDocument(doc, path.string());
        const auto b = std::chrono::steady_clock::now();
        if (!r.ok) {
            std::fprintf(stderr, "%s\n", r.message.c_str());
            return 1;
        }
        std::printf("save: %d tests x %d measurements, %.1f ms, %lld bytes\n", tests, steps,
                    std::chrono::duration<double, std::milli>(b - a).count(),
                    static_cast<long long>(std::filesystem::file_size(path)));
    }
    std::printf("peak memory of the saving process: %.1f MB\n", PeakRssKb() / 1024.0);
    std::fflush(stdout);
    const std::string cmd = std::string("\"") + argv[0] + "\" --open \"" + path.string() + "\"";
    const int rc = std::system(cmd.c_str());
    std::filesystem::remove(path);
    return rc == 0 ? 0 : 1;
}
