#pragma once

// A test whose open passbook lives in a temporary folder, with the core's messages recorded.

#include <gtest/gtest.h>

#include <string>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace kzm::test {

class TPassbookFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentProfile().Load(temp.Path());
    CurrentMonthData().SetFolder(Daily());
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  std::string Daily() const { return temp.Path() + "/Daily"; }

  TTempFolder temp;
  TRecordingWindowSystem windows;
};

}  // namespace kzm::test
