#pragma once

// The 30-year sample passbook (家計簿, months closing on the 25th, up to December 2024), made
// once per test program in a temporary folder: writing it takes seconds, and the tests that
// compare against it only read it (and the settlements its summaries write).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "demo/DemoPassbook.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace kzm::test {

class TSamplePassbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const bool made = !Folder().empty();
    SetWindowSystem(&windows);  // making the sample set up a window system of its own
    ASSERT_TRUE(made);
    CurrentProfile().OpenPassbook(Folder());
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  // The passbook's folder; empty when it could not be made.
  static const std::string& Folder() {
    static const TTempFolder temp;
    static const std::string folder = [] {
      TRecordingWindowSystem quiet;
      TDemoOptions options;
      options.years = 30;
      options.until = 202412;
      std::vector<std::string> folders;
      std::string error;
      if (!MakeDemoPassbooks(temp.Path(), options, folders, error) || folders.empty()) return std::string();
      return folders.front();
    }();
    return folder;
  }

  TRecordingWindowSystem windows;
};

}  // namespace kzm::test
