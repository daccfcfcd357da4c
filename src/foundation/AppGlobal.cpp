#include "foundation/AppGlobal.h"

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace kzm {

namespace {

constexpr char kCompanyName[] = KZM_COMPANY_NAME;
constexpr char kProductName[] = KZM_PRODUCT_NAME;
constexpr char kInternalName[] = KZM_INTERNAL_NAME;

std::string ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return StripTrailingBackslashes(config);
  return SpecialFolder(TSpecialFolder::sfHome) + "/.config";
}

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./" + std::string(kInternalName);
  return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace

TGlobalSetup TGlobalSetup::FromSystem() {
  TGlobalSetup s;
  s.exePath = ExecutablePath();
  const std::string settingsName = std::string("/") + kCompanyName + "/" + kInternalName + ".ini";
  s.userConfigFile = ConfigHome() + settingsName;
  s.machineConfigFile = "/etc/xdg" + settingsName;
  return s;
}

TorvGlobal::TorvGlobal() : TorvGlobal(TGlobalSetup::FromSystem()) {}

TorvGlobal::TorvGlobal(TGlobalSetup setup) : m_setup(std::move(setup)) {
  const size_t slash = m_setup.exePath.rfind('/');
  m_appFolder = slash == std::string::npos ? "." : m_setup.exePath.substr(0, slash);
  m_exeFileName = slash == std::string::npos ? m_setup.exePath : m_setup.exePath.substr(slash + 1);
}

TorvGlobal::~TorvGlobal() {
  if (m_lockFd >= 0) ::close(m_lockFd);
}

std::string TorvGlobal::CompanyName() const { return kCompanyName; }
std::string TorvGlobal::ProductName() const { return kProductName; }
std::string TorvGlobal::InternalName() const { return kInternalName; }
std::string TorvGlobal::Version() const { return KZM_VERSION; }

const std::string& TorvGlobal::DataFolder() {
  if (m_dataFolder.empty() && !m_overrideRead) {
    m_overrideRead = true;
    TprofileList user;
    user.LoadFromFile(m_setup.userConfigFile);
    const std::string configured = user.ReadString("DATA", "PATH", "");
    if (!configured.empty()) SetDataFolder(configured);
  }
  if (m_dataFolder.empty()) ComputeDataFolder();
  return m_dataFolder;
}

std::string TorvGlobal::DataPath() { return DataFolder() + "/"; }

void TorvGlobal::SetDataFolder(const std::string& folder) {
  AdoptDataFolder(folder);
  if (m_dataFolder.empty()) return;
  TprofileList user;
  user.LoadFromFile(m_setup.userConfigFile);
  user.WriteString("DATA", "PATH", m_dataFolder);
  const size_t slash = m_setup.userConfigFile.rfind('/');
  if (slash != std::string::npos) EnsureFolder(m_setup.userConfigFile.substr(0, slash));
  // Failing to remember the folder costs nothing now; the next start works it out again.
  (void)user.SaveToFile(m_setup.userConfigFile);
}

void TorvGlobal::UseDataFolder(const std::string& folder) {
  m_overrideRead = true;
  AdoptDataFolder(folder);
}

void TorvGlobal::AdoptDataFolder(const std::string& folder) {
  std::string path = StripTrailingBackslashes(folder);
  if (!path.empty() && path.front() != '/') {
    std::error_code ec;
    path = StripTrailingBackslashes(std::filesystem::absolute(path, ec).lexically_normal().string());
  }
  m_dataFolder = path;
  m_appSettings.reset();  // application.ini lives in the data folder
  if (!m_dataFolder.empty()) EnsureFolder(m_dataFolder);
}

bool TorvGlobal::IsPortableCopy() const {
  // Without the mark, a copy whose folder happens to be writable (an installation run as
  // root, a package unpacked by hand) would scatter data into its program folder. A copy that
  // already keeps its passbooks in Data beside it was portable before the mark existed, and
  // stays so rather than seem to lose them.
  if (!FileExists(AppPath() + kPortableMarkName) && !FolderExists(AppPath() + "Data")) return false;
  TprofileList machine;
  machine.LoadFromFile(m_setup.machineConfigFile);
  const std::string appDir = StripTrailingBackslashes(machine.ReadString("", "AppDir", ""));
  return LowerCase(appDir) != LowerCase(m_appFolder) && IsFolderWritable(AppPath());
}

void TorvGlobal::ComputeDataFolder() {
  if (IsPortableCopy()) {
    m_dataFolder = m_appFolder + "/Data";
  } else {
    m_dataFolder = SpecialFolder(TSpecialFolder::sfAppData) + "/" + kCompanyName + "/" + kProductName;
  }
  EnsureFolder(m_dataFolder);
}

bool TorvGlobal::IsFolderWritable(const std::string& path) {
  const std::string folder = StripTrailingBackslashes(path);
  if (!FolderExists(folder.empty() ? "/" : folder)) return false;
  for (int n = 0; n < 1000; ++n) {
    const std::string name = folder + "/WriteTest" + std::to_string(n) + ".tmp";
    if (::access(name.c_str(), F_OK) == 0) continue;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(name.c_str());
    return true;
  }
  return false;
}

bool TorvGlobal::IsAlreadyRunning() {
  if (m_lockFd >= 0) return false;
  // Readable by everyone, so copies started by other users on a shared folder see it too.
  const std::string lockFile = DataPath() + kLockFileName;
  // Only a plain file is a lock: opening a named pipe put there would wait for ever.
  const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
  if (fd < 0) return false;  // no lock to be had: better to run than to refuse
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
  }
  m_lockFd = fd;
  // This copy owns the folder now: temporary files of a copy that was killed can go.
  RemoveStaleTempFiles(DataFolder());
  return false;
}

std::string TorvGlobal::InstanceKey() {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(DataFolder(), ec);
  return ec ? DataFolder() : real.string();
}

int TorvGlobal::OsMajorVersion() const {
  utsname u{};
  if (::uname(&u) != 0) return 0;
  return ParseInt(std::string_view(u.release).substr(0, std::string_view(u.release).find('.')), 0);
}

int TorvGlobal::DefaultTextHeight() const { return WindowSystem().DefaultTextHeight(); }

TprofileList& TorvGlobal::AppSettings() {
  if (!m_appSettings) {
    m_appSettings = std::make_unique<TprofileList>();
    const std::string path = DataPath() + "application.ini";
    std::string bytes;
    int error = 0;
    const TReadStatus status = ReadFileUpTo(path, std::numeric_limits<size_t>::max(), bytes, &error);
    if (status == TReadStatus::rsRead) m_appSettings->LoadFromText(DecodeCp932(bytes));
    // Writing merges into the file and so never replaces one that cannot be read.
    if (status == TReadStatus::rsFailed && m_toldUnreadable.insert(path).second) {
      WindowSystem().Notify("設定ファイル「" + path + "」を読み込めませんでした。\n" + SystemErrorText(error) +
                            "\nウィンドウの位置などは既定の値を使い、このファイルには書き込みません。");
    }
  }
  return *m_appSettings;
}

bool TorvGlobal::SaveAppSettings(std::string* error) {
  return AppSettings().SaveToFile(DataPath() + "application.ini", error);
}

std::string TorvGlobal::ReadAppString(std::string_view section, std::string_view key, std::string_view fallback) {
  return AppSettings().ReadString(section, key, fallback);
}

int32_t TorvGlobal::ReadAppInteger(std::string_view section, std::string_view key, int32_t fallback) {
  return AppSettings().ReadInteger(section, key, fallback);
}

bool TorvGlobal::ReadAppBool(std::string_view section, std::string_view key, bool fallback) {
  return AppSettings().ReadBool(section, key, fallback);
}

bool TorvGlobal::WriteAppString(std::string_view section, std::string_view key, std::string value,
                                std::string* error) {
  AppSettings().WriteString(section, key, std::move(value));
  return SaveAppSettings(error);
}

bool TorvGlobal::WriteAppInteger(std::string_view section, std::string_view key, int32_t value, std::string* error) {
  AppSettings().WriteInteger(section, key, value);
  return SaveAppSettings(error);
}

bool TorvGlobal::WriteAppBool(std::string_view section, std::string_view key, bool value, std::string* error) {
  AppSettings().WriteBool(section, key, value);
  return SaveAppSettings(error);
}

TorvGlobal& AppGlobal() {
  static TorvGlobal instance;
  return instance;
}

}  // namespace kzm
