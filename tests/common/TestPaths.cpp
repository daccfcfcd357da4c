// Linked into every test program: the folders of TestPaths.h, and what ctest sets for the
// tests, set here too when missing, so that a test program run by hand behaves as under ctest.
#include "common/TestPaths.h"

#include <cstdlib>

namespace kzm::test {

std::string SourceDir() {
  const char* dir = std::getenv("KZM_SOURCE_DIR");
  return dir && *dir ? dir : KZM_TEST_SOURCE_DIR;
}

std::string BinDir() {
  const char* dir = std::getenv("KZM_BIN_DIR");
  return dir && *dir ? dir : KZM_TEST_BIN_DIR;
}

namespace {

struct TDirectRunEnvironment {
  TDirectRunEnvironment() {
    // Dates are tested in Japan's time zone; windows are made without a display.
    setenv("TZ", "Asia/Tokyo", 0);
    setenv("LC_ALL", "C.UTF-8", 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
};

const TDirectRunEnvironment kDirectRunEnvironment;

}  // namespace

}  // namespace kzm::test
