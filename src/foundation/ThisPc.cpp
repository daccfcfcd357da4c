#include "foundation/ThisPc.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "foundation/Text.h"

namespace kzm {

namespace {

constexpr std::string_view kPcMark = ".pc-";

std::string FirstLineOf(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return std::string(Trim(line));
}

}  // namespace

std::string PcStateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/') return std::string(state) + "/Orvik/tavimrok";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/state/Orvik/tavimrok";
}

std::string ThisPcName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "PC";
  return name;
}

std::string ThisPcId() {
  // Asked for at every journal path; the machine's id does not change while the program runs,
  // so it is read once.
  static const std::string machine = [] {
    const std::string id = FirstLineOf("/etc/machine-id");
    return id.empty() ? ThisPcName() : id;
  }();
  char id[17];
  std::snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(Fnv1a(machine + "\n" + PcStateFolder())));
  return std::string(id, 12);
}

std::string PcOwnName(std::string_view name) {
  const std::string mark = std::string(kPcMark) + ThisPcId();
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::string(name) + mark;
  return std::string(name.substr(0, dot)) + mark + std::string(name.substr(dot));
}

bool IsPcOwnName(std::string_view name) { return name.find(kPcMark) != std::string_view::npos; }

std::string PcOwnPath(const std::string& folder, std::string_view oldName) {
  std::string own = folder + "/" + PcOwnName(oldName);
  struct stat st {};
  if (::lstat(own.c_str(), &st) == 0) return own;
  std::string old = folder + "/" + std::string(oldName);
  return ::lstat(old.c_str(), &st) == 0 ? old : own;
}

}  // namespace kzm
