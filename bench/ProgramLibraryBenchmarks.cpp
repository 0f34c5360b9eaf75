#include "ScratchLibrary.h"
#include "programs/ProgramLibrary.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace Korvatune::bench {
namespace {

namespace fs = std::filesystem;

// What opening the program menu costs: listing the folders and checking each file's start.
void scanLibraryOfAThousandFiles(benchmark::State& state) {
    const fs::path& folder = scratchLibrary().folder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanProgramLibrary(folder));
    }
}
BENCHMARK(scanLibraryOfAThousandFiles)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace Korvatune::bench
