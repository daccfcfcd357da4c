#include "ui/common/Openers.h"

#include "backup/BackupPlace.h"
#include "foundation/AppGlobal.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"
#include "sync/SyncMerge.h"
#include "ui/settings/InfoWindow.h"
#include "ui/settings/OptionWindow.h"
#include "ui/settings/ProfileSelectWindow.h"

namespace kzm::ui {

namespace {

void StoreConfirmed(const TFmInfo& window, TkzmProfile& profile) {
  StorePassbookInfo(window.Info(), profile);
  window.Rows().StoreInto(profile.Categories());
}

}  // namespace

bool OpenPassbookInfo(int page, QWidget* parent) {
  TkzmProfile& profile = CurrentProfile();
  TFmInfo window(parent);
  window.LoadPages(PassbookInfoOf(profile), profile.Categories());
  window.SetPage(page);
  window.exec();
  const bool confirmed = !window.Cancelled();
  if (confirmed) {
    StoreConfirmed(window, profile);
    profile.Save();
    const std::string before = profile.Folder();
    std::string error;
    if (window.Info().name != profile.Name() && profile.RenamePassbook(window.Info().name) &&
        !KeepBackupsOfRenamed(before, profile.Folder(), error)) {
      WindowSystem().Notify(error);
    }
  }
  WindowSystem().BroadcastToForms(kNoticeDataChanged, 0, 0);
  return confirmed;
}

bool NewPassbook(QWidget* parent) {
  TkzmProfile& profile = CurrentProfile();
  const std::string previous = profile.Folder();
  profile.Save();
  CurrentMonthData().Save();
  profile.Load("");
  TFmInfo window(parent);
  window.LoadPages(PassbookInfoOf(profile), profile.Categories());
  window.NewPassbookWizard();
  window.exec();
  if (!window.Cancelled()) {
    StoreConfirmed(window, profile);
    profile.SetFolder(AppGlobal().DataPath() + window.Info().name);
    if (profile.Save() && OpenPassbookCarried(profile.Folder())) return true;
  }
  // Never leave the user without a passbook when there was one.
  if (!previous.empty()) {
    OpenPassbookCarried(previous);
  } else {
    profile.Load("");
  }
  return false;
}

bool SelectPassbook(QWidget* parent) {
  WindowSystem().CloseDataWindows();
  TkzmProfile& profile = CurrentProfile();
  profile.Save();
  CurrentMonthData().Save();
  // A passbook another writer holds is refused (told); the person chooses again.
  for (;;) {
    TFmProfileSelect window(profile.Folder(), parent);
    window.exec();
    const std::string folder = window.SelectedFolder();
    if (window.Cancelled() || folder.empty()) return false;
    if (OpenPassbookSynced(folder)) return true;
  }
}

void OpenOptions(int page, QWidget* parent) {
  TFmOption window(ReadOptionSettings(), AppGlobal().DataFolder(), parent);
  window.SetPage(page);
  if (window.exec() == QDialog::Accepted) StoreOptionSettings(window.Settings());
}

}  // namespace kzm::ui
