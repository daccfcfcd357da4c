// Any bytes as a passbook's category file, colour file and settlement file: opening the
// passbook and summarising the month must report what it cannot read, never crash or throw.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "settlement/SettlementCache.h"

namespace {

const std::string& PassbookFolder() {
  static const std::string folder = [] {
    char name[] = "/tmp/kzm-fuzz-passbook-XXXXXX";
    const char* made = mkdtemp(name);
    std::string path = made ? made : "/tmp";
    (void)mkdir((path + "/Monthly").c_str(), 0700);
    return path;
  }();
  return folder;
}

void Put(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = PassbookFolder();
  for (const char* name : {"/Headfile.dta", "/Colors.clr", "/Monthly/202405.mif", "/Monthly/202404.mif"})
    Put(folder + name, data, size);
  kzm::SettlementCache().Forget();
  kzm::CurrentProfile().OpenPassbook(folder);
  kzm::THeadList summary;
  (void)kzm::BuildMonth(202405, summary);
  (void)kzm::MonthOfDay(kzm::EncodeDate(2024, 5, 1));
  kzm::CurrentMonthData().SetFolder("");
  kzm::CurrentProfile().SetFolder("");
  return 0;
}
