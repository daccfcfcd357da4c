// The 30-year sample passbook the benchmarks measure on (about 100,000 entries up to
// December 2024), made once per run in a temporary data folder that is removed at exit.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "demo/DemoPassbook.h"
#include "foundation/AppGlobal.h"
#include "passbook/Profile.h"

namespace kzm::bench {

class TSampleData {
 public:
  TSampleData() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzm-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    m_path = pattern;
    AppGlobal().UseDataFolder(m_path);
    TDemoOptions options;
    options.years = 30;
    options.seed = 1;
    options.until = 202412;
    std::vector<std::string> folders;
    std::string error;
    if (!MakeDemoPassbooks(m_path, options, folders, error) || folders.empty()) {
      std::fprintf(stderr, "sample passbook: %s\n", error.c_str());
      std::abort();
    }
    m_passbook = folders.front();  // 家計簿
    // Files written in the last two seconds are read again on every lookup, as files still
    // changing; the benchmarks measure a passbook at rest.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  }
  ~TSampleData() { std::filesystem::remove_all(m_path); }
  TSampleData(const TSampleData&) = delete;
  TSampleData& operator=(const TSampleData&) = delete;

  const std::string& Passbook() const { return m_passbook; }

 private:
  std::string m_path;
  std::string m_passbook;
};

// The sample passbook's folder; the first call makes it.
inline const std::string& SamplePassbook() {
  static const TSampleData data;
  return data.Passbook();
}

// Makes the sample passbook the open one.
inline void OpenSamplePassbook() { CurrentProfile().OpenPassbook(SamplePassbook()); }

}  // namespace kzm::bench
