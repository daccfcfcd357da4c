#include "sync/ConflictNames.h"

#include <algorithm>

namespace kzm {

namespace {

bool Digits(std::string_view text, size_t at, size_t count) {
  if (at + count > text.size()) return false;
  return std::all_of(text.begin() + at, text.begin() + at + count, [](char c) { return c >= '0' && c <= '9'; });
}

// The extension of name with its dot ("." + EXT), empty for none, found after the mark.
std::string_view ExtensionAfter(std::string_view name, size_t markEnd) {
  const size_t dot = name.find('.', markEnd);
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

bool Syncthing(std::string_view name, std::string& original, std::string& made) {
  static constexpr std::string_view kMark = ".sync-conflict-";
  const size_t mark = name.find(kMark);
  if (mark == std::string_view::npos || mark == 0) return false;
  const size_t stamp = mark + kMark.size();
  // YYYYMMDD-HHMMSS-DEVICE, the device a run of capital letters and digits.
  if (!Digits(name, stamp, 8) || name.substr(stamp + 8, 1) != "-" || !Digits(name, stamp + 9, 6) ||
      name.substr(stamp + 15, 1) != "-") {
    return false;
  }
  const std::string_view ext = ExtensionAfter(name, stamp + 16);
  const size_t deviceEnd = name.size() - ext.size();
  if (deviceEnd <= stamp + 16) return false;
  for (size_t i = stamp + 16; i < deviceEnd; ++i) {
    if (!((name[i] >= 'A' && name[i] <= 'Z') || (name[i] >= '0' && name[i] <= '9'))) return false;
  }
  original = std::string(name.substr(0, mark)) + std::string(ext);
  made = std::string(name.substr(stamp, 8)) + std::string(name.substr(stamp + 9, 6));
  return true;
}

// "NAME (… conflicted copy STAMP).EXT" of Nextcloud and Dropbox.
bool Bracketed(std::string_view name, std::string& original, std::string& made) {
  static constexpr std::string_view kMark = "conflicted copy ";
  const size_t open = name.find(" (");
  if (open == std::string_view::npos || open == 0) return false;
  const size_t close = name.find(')', open);
  if (close == std::string_view::npos) return false;
  const std::string_view inside = name.substr(open + 2, close - open - 2);
  const size_t mark = inside.find(kMark);
  if (mark == std::string_view::npos) return false;
  // Nextcloud's mark begins the brackets; Dropbox puts who made it first ("X's ").
  if (mark != 0 && inside.substr(mark - 1, 1) != " ") return false;
  const std::string_view stamp = inside.substr(mark + kMark.size());
  const bool day = stamp.size() >= 10 && Digits(stamp, 0, 4) && stamp[4] == '-' && Digits(stamp, 5, 2) &&
                   stamp[7] == '-' && Digits(stamp, 8, 2);
  if (!day) return false;
  std::string time = "000000";
  if (stamp.size() == 17 && stamp[10] == ' ' && Digits(stamp, 11, 6)) {
    time = std::string(stamp.substr(11, 6));
  } else if (stamp.size() != 10) {
    return false;
  }
  const std::string_view rest = name.substr(close + 1);
  if (!rest.empty() && rest.front() != '.') return false;
  original = std::string(name.substr(0, open)) + std::string(rest);
  made = std::string(stamp.substr(0, 4)) + std::string(stamp.substr(5, 2)) + std::string(stamp.substr(8, 2)) + time;
  return true;
}

}  // namespace

bool ParseConflictName(std::string_view name, std::string& original, std::string& made) {
  return Syncthing(name, original, made) || Bracketed(name, original, made);
}

}  // namespace kzm
