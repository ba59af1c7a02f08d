// Writers meeting on one document, 50 runs of each pairing (or the count given as the first
// argument): two trv-cli imports, an import against a window holding the document, a download from
// the simulated analyser (at the real line rate) against an import. Prints runs, writers, accepted
// and refused writers and the readings lost (which must be 0).
#include "../cli/WriterStress.h"

#include <cstdlib>

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    trv::stress::Bench bench(TRV_CLI);
    trv::stress::Print("two imports", bench.TwoImports(runs));
    if (bench.PrepareWindowTest()) trv::stress::Print("import against a window", bench.ImportAgainstWindow(runs));
    trv::stress::Print("download (paced) against import", bench.DownloadAgainstImport(runs, true));
    return 0;
}
