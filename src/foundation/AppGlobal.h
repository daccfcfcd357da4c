#pragma once

// TorvGlobal: where the program lives, what it is called and where its files go. The one
// instance is AppGlobal().
//
// Data folder, in this order: the folder given with --data-folder (this session only); the
// user's override, DATA/PATH in $XDG_CONFIG_HOME/Orvik/tavimrok.ini; for a portable copy (a
// file kPortableMarkName or an existing "Data" folder beside the program, its folder not named
// as AppDir in /etc/xdg/Orvik/tavimrok.ini) a writable "Data" folder beside the program; for every other
// copy the per-user folder $XDG_DATA_HOME/Orvik/もるぽ通帳. An installed program never keeps
// its data in its program folder, even when it runs as root and could write there.

#include "foundation/ProfileList.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace kzm {

// The places TorvGlobal looks at; the defaults come from the running process and the XDG
// environment, tests give their own.
struct TGlobalSetup {
  std::string exePath;            // the running executable
  std::string userConfigFile;     // holds DATA/PATH, the user's data-folder override
  std::string machineConfigFile;  // holds AppDir, the folder the installer put the program in

  [[nodiscard]] static TGlobalSetup FromSystem();
};

// The file beside the program that makes a copy portable: its data goes into "Data" beside it.
// Only its presence counts. The build tree carries one; an installation never does.
inline constexpr const char* kPortableMarkName = "portable";

// The lock file of the copy of the program that works on a data folder, inside that folder.
inline constexpr const char* kLockFileName = "tavimrok.lock";

class TorvGlobal {
 public:
  TorvGlobal();
  explicit TorvGlobal(TGlobalSetup setup);
  ~TorvGlobal();
  TorvGlobal(const TorvGlobal&) = delete;
  TorvGlobal& operator=(const TorvGlobal&) = delete;

  // Program folder without, and with, a trailing "/"; executable file name.
  [[nodiscard]] const std::string& AppFolder() const { return m_appFolder; }
  [[nodiscard]] std::string AppPath() const { return m_appFolder + "/"; }
  [[nodiscard]] const std::string& ExeFileName() const { return m_exeFileName; }
  [[nodiscard]] std::string CompanyName() const;   // "Orvik"
  [[nodiscard]] std::string ProductName() const;   // "もるぽ通帳"
  [[nodiscard]] std::string InternalName() const;  // "tavimrok"
  [[nodiscard]] std::string Version() const;       // "1.0.0"

  // Whether this copy keeps its data beside itself (see the rule at the top of this file).
  [[nodiscard]] bool IsPortableCopy() const;
  // The data folder without trailing "/", worked out and created on first use.
  [[nodiscard]] const std::string& DataFolder();
  // DataFolder() + "/".
  [[nodiscard]] std::string DataPath();
  // Adopts folder (created with its parents) and remembers it as the user's override. An
  // empty folder means "work it out again".
  void SetDataFolder(const std::string& folder);
  // Adopts folder for this run only, leaving the user's override alone (--data-folder).
  void UseDataFolder(const std::string& folder);

  // True when a file can be created in the folder (created and deleted again to find out).
  [[nodiscard]] static bool IsFolderWritable(const std::string& path);
  // True when another copy of the program works on this data folder: it holds the lock file
  // kLockFileName inside the folder (flock, so a copy that was killed holds nothing).
  // Otherwise takes the lock (held until the process ends) and returns false. Copies on other
  // data folders run side by side.
  [[nodiscard]] bool IsAlreadyRunning();
  // What names this data folder for the copy that works on it: its real path (links
  // resolved), so two spellings of one folder give one key.
  [[nodiscard]] std::string InstanceKey();
  // Major version of the running kernel.
  [[nodiscard]] int OsMajorVersion() const;
  // Height of "0" in the default font at 9 points, as the window system measures it.
  [[nodiscard]] int DefaultTextHeight() const;

  // Settings of application.ini in the data folder; the default when absent.
  [[nodiscard]] std::string ReadAppString(std::string_view section, std::string_view key, std::string_view fallback);
  [[nodiscard]] int32_t ReadAppInteger(std::string_view section, std::string_view key, int32_t fallback);
  [[nodiscard]] bool ReadAppBool(std::string_view section, std::string_view key, bool fallback);
  // Each write goes to disk at once; false (with error) when it could not.
  bool WriteAppString(std::string_view section, std::string_view key, std::string value,
                      std::string* error = nullptr);
  bool WriteAppInteger(std::string_view section, std::string_view key, int32_t value, std::string* error = nullptr);
  bool WriteAppBool(std::string_view section, std::string_view key, bool value, std::string* error = nullptr);

 private:
  void ComputeDataFolder();
  void AdoptDataFolder(const std::string& folder);
  TprofileList& AppSettings();
  bool SaveAppSettings(std::string* error);

  TGlobalSetup m_setup;
  std::string m_appFolder;
  std::string m_exeFileName;
  std::string m_dataFolder;
  bool m_overrideRead = false;
  std::unique_ptr<TprofileList> m_appSettings;
  int m_lockFd = -1;
  std::set<std::string> m_toldUnreadable;  // settings files the user has heard about
};

// The program's one TorvGlobal.
[[nodiscard]] TorvGlobal& AppGlobal();

}  // namespace kzm
