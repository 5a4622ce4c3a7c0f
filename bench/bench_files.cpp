// The file layer on the path the data logs take every second: resolving a panel path, and
// opening, appending one line to and closing the long-term log; heap allocations per append.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

#include "bench/AllocHook.h"
#include "platform/Files.h"

namespace {

struct ScratchRoot {
  std::string path;
  ScratchRoot() {
    const char* base = std::getenv("TMPDIR");
    path = std::string(base && base[0] ? base : "/tmp") + "/dryer-bench-XXXXXX";
    if (!mkdtemp(path.data())) std::abort();
    plat::SetFileRoot(path.c_str());
    plat::CreateFolder("\\Hard Disk");
    plat::CreateFolder("\\Hard Disk\\DataLog");
  }
  ~ScratchRoot() {
    plat::DeleteFile("\\Hard Disk\\DataLog\\LongTermDataLog.dat");
    rmdir((path + "/Hard Disk/DataLog").c_str());
    rmdir((path + "/Hard Disk").c_str());
    rmdir(path.c_str());
  }
};

constexpr char kLine[] =
    "10/04/16,07:05:09PM,180,181,179,0,0,0,72,71,70,0,0,0,15.5,12.0,90,85,80,42,1234\r\n";

void BM_ResolveExactCase(benchmark::State& state) {
  ScratchRoot root;
  char out[512];
  for (auto _ : state) {
    bool ok = plat::ResolvePath("\\Hard Disk\\DataLog\\LongTermDataLog.dat", out, sizeof(out));
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_ResolveExactCase);

void BM_ResolveOtherCase(benchmark::State& state) {
  ScratchRoot root;
  char out[512];
  for (auto _ : state) {
    bool ok = plat::ResolvePath("\\HARD DISK\\datalog\\longtermdatalog.DAT", out, sizeof(out));
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_ResolveOtherCase);

void BM_AppendLogLine(benchmark::State& state) {
  ScratchRoot root;
  uint64_t allocations = AllocationCount();
  for (auto _ : state) {
    plat::FileHandle f;
    if (plat::OpenFile("\\Hard Disk\\DataLog\\LongTermDataLog.dat", plat::OpenMode::Append, f) !=
        plat::FileResult::Ok)
      state.SkipWithError("open failed");
    plat::WriteFile(f, kLine, sizeof(kLine) - 1);
    plat::CloseFile(f);
  }
  state.counters["allocs/append"] = benchmark::Counter(
      static_cast<double>(AllocationCount() - allocations) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_AppendLogLine);

}  // namespace

BENCHMARK_MAIN();
