// Start-up of the program: from starting the process to the main window's first paint, with
// a data folder holding one passbook, beside a bare Qt window started the same way and one
// with the program's menu bar (bench_bare_qt_window). Needs a display (run under xvfb-run -a) and the program built
// beside the benchmarks (build/bin/tavimrok, or KZM_BIN_DIR).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

extern char** environ;

namespace {

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::string ProgramPath() {
  if (const char* bin = std::getenv("KZM_BIN_DIR")) return std::string(bin) + "/tavimrok";
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path() / "bin" / "tavimrok").string();
}

std::string BareWindowPath() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "bench_bare_qt_window").string();
}

// Runs the program once; the time from starting it to its report of the first paint, in
// nanoseconds, or -1 when it reported none.
long long StartOnce(const std::string& program, const std::string& dataFolder, std::string first = "--data-folder") {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string arg0 = program, arg1 = std::move(first), arg2 = dataFolder;
  char* argv[] = {arg0.data(), arg1.data(), arg2.data(), nullptr};
  const long long start = MonotonicNs();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  long long painted = -1;
  if (spawned == 0) {
    FILE* in = fdopen(out[0], "r");
    char line[128];
    while (in && std::fgets(line, sizeof line, in)) {
      long long ns = 0;
      if (std::sscanf(line, "first-paint %lld", &ns) == 1) painted = ns;
    }
    if (in) std::fclose(in);
    int status = 0;
    waitpid(pid, &status, 0);
  } else {
    close(out[0]);
  }
  return painted < 0 ? -1 : painted - start;
}

// A data folder with one passbook (a folder holding nbkr.ini: the program fills in the
// defaults), warmed up by a first run; removed at exit.
struct TDemoFolder {
  TDemoFolder() {
    char pattern[] = "/tmp/kzm-bench-XXXXXX";
    path = mkdtemp(pattern);
    std::filesystem::create_directories(path + "/通帳1");
    std::ofstream(path + "/通帳1/nbkr.ini").put('\n');
    ready = StartOnce(ProgramPath(), path) >= 0;
  }
  ~TDemoFolder() { std::filesystem::remove_all(path); }
  std::string path;
  bool ready = false;
};

void Starts(benchmark::State& state, const std::string& program, const std::string& first = "--data-folder") {
  setenv("KZM_STARTUP_PROBE", "1", 1);
  static TDemoFolder demo;
  if (!demo.ready) {
    state.SkipWithError(("no first paint from " + ProgramPath()).c_str());
    return;
  }
  for (auto _ : state) {
    const long long ns = StartOnce(program, demo.path, first);
    if (ns < 0) {
      state.SkipWithError("no first paint");
      break;
    }
    state.SetIterationTime(static_cast<double>(ns) / 1e9);
  }
}
void BM_StartupToFirstPaint(benchmark::State& state) { Starts(state, ProgramPath()); }
void BM_BareQtWindowToFirstPaint(benchmark::State& state) { Starts(state, BareWindowPath(), "--bare"); }
void BM_QtWindowWithMenuToFirstPaint(benchmark::State& state) { Starts(state, BareWindowPath(), "--menu"); }

// One start per repetition: the median of the ten is the figure.
BENCHMARK(BM_StartupToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BareQtWindowToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_QtWindowWithMenuToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
