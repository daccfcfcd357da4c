// tavimrok-killloop: saves a passbook in a loop in a child process and kills the child at a
// random moment, again and again, then checks that every file the program writes is whole
// and that opening the passbook again leaves no temporary file behind. With --replace the
// child runs category replacements over ten years of month files instead, back and forth.
//
//   tavimrok-killloop FOLDER [--kills N] [--seed S] [--replace]
//
// FOLDER must not exist; it becomes the data folder of the trial. Exit code 0 when every
// check held, 1 when one failed (what failed is printed), 2 for a usage mistake.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "foundation/AppGlobal.h"
#include "foundation/AtomicFile.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "foundation/ProfileList.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthFile.h"
#include "passbook/Profile.h"
#include "search/CategoryReplace.h"
#include "settlement/AccountingMonth.h"

namespace {

using namespace kzm;

constexpr int kMonths = 3;  // the child writes March to May 2024 in turn
// A child that ends by itself could not open the passbook for writing.
constexpr int kNotOpened = 3;

// Opens the passbook for writing, as the program does, or ends the child.
void OpenOrEnd(const std::string& passbook) {
  if (!CurrentProfile().OpenPassbook(passbook)) ::_exit(kNotOpened);
}

// The child: saves for ever. Every month it writes holds n entries whose note is n, so a
// reader can tell a whole file from a cut one; the settings carry a round number likewise.
[[noreturn]] void SaveForEver(const std::string& passbook, unsigned seed) {
  OpenOrEnd(passbook);
  std::mt19937 random(seed);
  for (int round = 1;; ++round) {
    const int month = 3 + round % kMonths;
    TkzmDataUnit& data = CurrentMonthData();
    data.SelectDay(EncodeDate(2024, month, 1));
    const int count = 1 + static_cast<int>(random() % 400);
    for (int day = 1; day <= DaysInMonth(2024, month); ++day) {
      data.SelectDay(EncodeDate(2024, month, day));
      data.DeleteDayEntries();
    }
    for (int i = 0; i < count; ++i) {
      data.SelectDay(EncodeDate(2024, month, 1 + i % DaysInMonth(2024, month)));
      data.AddEntry(MakeKey("食費", 1), MakeKey("現金", 2), std::to_string(count), "買い物 " + std::to_string(i),
                    100 + i);
    }
    (void)data.Save();
    CurrentProfile().SetOwnerName("round " + std::to_string(round));
    (void)CurrentProfile().Save();
    THeadList summary;
    (void)BuildMonth(202400 + month, summary);
    (void)AppGlobal().WriteAppInteger("KILLLOOP", "ROUND", round);
  }
}

// The replacement trial: ten years of months, each with n entries of 食費 whose note is n.
constexpr int kReplaceFirstYear = 2015;
constexpr int kReplaceYears = 10;
const std::string kFood = MakeKey("食費", 1);
const std::string kEatingOut = MakeKey("外食", 1);

void WriteReplaceMonths(std::mt19937& random) {
  TkzmDataUnit& data = CurrentMonthData();
  for (int year = kReplaceFirstYear; year < kReplaceFirstYear + kReplaceYears; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const int count = 1 + static_cast<int>(random() % 120);
      for (int i = 0; i < count; ++i) {
        data.SelectDay(EncodeDate(year, month, 1 + i % DaysInMonth(year, month)));
        data.AddEntry(kFood, MakeKey("現金", 2), std::to_string(count), "買い物 " + std::to_string(i), 100 + i);
      }
    }
  }
  (void)data.Save();
}

// The child of the replacement trial: 食費 to 外食 over every month, then back, for ever.
[[noreturn]] void ReplaceForEver(const std::string& passbook) {
  OpenOrEnd(passbook);
  for (int round = 0;; ++round) {
    const bool there = round % 2 == 0;
    (void)ReplaceAllMonths(CurrentMonthData(), {there ? kFood : kEatingOut, there ? kEatingOut : kFood});
  }
}

// A month file is whole when its n entries all carry the note n and nothing was kept; with
// sameCategory, when they also all have one category (a replace changes a month at once).
bool MonthWhole(const std::string& path, int month, std::string& why, int year = 2024, bool sameCategory = false) {
  std::vector<TkzmEntry> entries;
  std::vector<TKeptLine> kept;
  const int32_t first = EncodeDate(year, month, 1);
  const TMonthFileRead read = ReadMonthFile(path, first, first + DaysInMonth(year, month) - 1, entries, kept);
  if (read.status == TMonthFileStatus::mfMissing) return true;
  if (read.status != TMonthFileStatus::mfRead || !kept.empty() || entries.empty()) {
    why = path + ": unreadable or holds foreign lines";
    return false;
  }
  for (const TkzmEntry& entry : entries) {
    if (entry.note != std::to_string(entries.size())) {
      why = path + ": " + std::to_string(entries.size()) + " entries, one says " + entry.note;
      return false;
    }
    if (sameCategory && entry.categoryKey != entries.front().categoryKey) {
      why = path + ": half replaced";
      return false;
    }
  }
  return true;
}

// Settings end with the last key the program writes; a cut file lacks it.
bool SettingsWhole(const std::string& path, const char* section, const char* key, std::string& why) {
  if (!FileExists(path)) return true;
  TprofileList settings;
  if (!settings.LoadFromFile(path) || settings.IndexOfKey(section, key) < 0) {
    why = path + ": cut short";
    return false;
  }
  return true;
}

bool XmlWhole(const std::string& path, std::string& why) {
  if (!FileExists(path)) return true;
  try {
    THeadList list;
    list.LoadFromFile(path);
    return true;
  } catch (const std::exception& error) {
    why = path + ": " + error.what();
    return false;
  }
}

// A kill may land before a folder exists, or while a writer swaps a file: a folder that is
// not there holds nothing, and nothing here may end the trial with an exception.
std::vector<std::string> TemporaryFiles(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->path().filename().string().find(".tmp") != std::string::npos) found.push_back(it->path().string());
  }
  return found;
}

// The settlement files the child has written so far.
std::vector<std::string> SettlementFiles(const std::string& passbook) {
  std::vector<std::string> found;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator(passbook + "/Monthly", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (it->path().extension() == ".mif") found.push_back(it->path().string());
  }
  return found;
}

bool ReplaceMonthsWhole(const std::string& passbook, std::string& why) {
  for (int year = kReplaceFirstYear; year < kReplaceFirstYear + kReplaceYears; ++year) {
    for (int month = 1; month <= 12; ++month) {
      char name[32];
      std::snprintf(name, sizeof name, "/Daily/%04d%02d.kzm", year, month);
      if (!FileExists(passbook + name)) {
        why = passbook + name + ": gone";
        return false;
      }
      if (!MonthWhole(passbook + name, month, why, year, true)) return false;
    }
  }
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: tavimrok-killloop FOLDER [--kills N] [--seed S] [--replace]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string dataFolder = argv[1];
  int kills = 200;
  unsigned seed = 1;
  bool replace = false;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--replace") replace = true;
    else if (option == "--kills" && i + 1 < argc) kills = std::atoi(argv[++i]);
    else if (option == "--seed" && i + 1 < argc) seed = static_cast<unsigned>(std::atoi(argv[++i]));
    else return Usage();
  }
  std::error_code there;
  if (std::filesystem::exists(dataFolder, there) || there || kills < 1) return Usage();

  AppGlobal().UseDataFolder(dataFolder);
  const std::string passbook = dataFolder + "/試験";
  CurrentProfile().Load("");
  CurrentProfile().SetFolder(passbook);
  if (!CurrentProfile().Save()) return 1;

  std::mt19937 random(seed);
  if (replace) {
    if (!CurrentProfile().OpenPassbook(passbook)) return 1;
    WriteReplaceMonths(random);
    // One writer at a time: the children write, so the parent lets go of the passbook.
    if (!CurrentProfile().OpenPassbook(passbook, TPassbookAccess::paRead)) return 1;
  }
  int whole = 0;
  size_t mostLeft = 0;
  int leftAfterOpen = 0;
  std::vector<std::string> failures;
  for (int kill = 0; kill < kills; ++kill) {
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
      if (replace) ReplaceForEver(passbook);
      SaveForEver(passbook, seed + static_cast<unsigned>(kill));
    }
    // From 2 ms (still opening) to 80 ms (many saves in).
    ::usleep(2000 + static_cast<useconds_t>(random() % 78000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNotOpened) {
      failures.push_back("kill " + std::to_string(kill + 1) + ": the child could not open the passbook for writing");
      continue;
    }

    const size_t left = TemporaryFiles(dataFolder).size();
    if (left > mostLeft) mostLeft = left;
    bool ok = true;
    std::string why;
    if (replace) {
      if (ReplaceMonthsWhole(passbook, why)) ++whole;
      else failures.push_back("kill " + std::to_string(kill + 1) + ": " + why);
      continue;
    }
    for (int month = 3; month < 3 + kMonths && ok; ++month) {
      char name[32];
      std::snprintf(name, sizeof name, "/Daily/2024%02d.kzm", month);
      ok = MonthWhole(passbook + name, month, why);
    }
    ok = ok && SettingsWhole(passbook + "/nbkr.ini", "DAILY", "enter4", why) &&
         XmlWhole(passbook + "/Headfile.dta", why) &&
         SettingsWhole(dataFolder + "/application.ini", "KILLLOOP", "ROUND", why);
    for (const std::string& file : SettlementFiles(passbook)) ok = ok && XmlWhole(file, why);
    if (ok) ++whole;
    else failures.push_back("kill " + std::to_string(kill + 1) + ": " + why);
  }
  // The next open clears what the killed writers left.
  if (!CurrentProfile().OpenPassbook(passbook)) failures.push_back("the passbook could not be opened at the end");
  TorvGlobal next;
  next.UseDataFolder(dataFolder);
  (void)next.IsAlreadyRunning();
  leftAfterOpen = static_cast<int>(TemporaryFiles(dataFolder).size());

  std::printf("kills %d, files whole after %d, temporary files at most %zu before an open, %d after the last open\n",
              kills, whole, mostLeft, leftAfterOpen);
  for (const std::string& failure : failures) std::printf("  %s\n", failure.c_str());
  return failures.empty() && leftAfterOpen == 0 ? 0 : 1;
}
