#include "views/OptionSettings.h"

#include <string>

#include "backup/BackupPlace.h"
#include "foundation/AppGlobal.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"

namespace kzm {

TOptionSettings ReadOptionSettings() {
  const TkzmProfile& profile = CurrentProfile();
  TOptionSettings settings;
  settings.selection = AppGlobal().ReadAppBool("STARTUP", "SELECTION", false);
  settings.openMonth = profile.OpenMonthAtStart();
  settings.openToday = profile.OpenTodayAtStart();
  settings.calendar = profile.CalendarAtStart();
  settings.enterToItem = profile.EnterMovesToItem();
  settings.enterToAmount = profile.EnterMovesToAmount();
  settings.enterToAccount = profile.EnterMovesToAccount();
  settings.enterToNote = profile.EnterMovesToNote();
  settings.backupFolder = ChosenBackupFolder();
  return settings;
}

bool StoreOptionSettings(const TOptionSettings& settings) {
  std::string why;
  const bool appSaved = AppGlobal().WriteAppBool("STARTUP", "SELECTION", settings.selection, &why);
  if (!appSaved) WindowSystem().Notify("起動時の設定を保存できませんでした。\n" + why);
  bool backupSaved = true;
  if (settings.backupFolder != ChosenBackupFolder()) {
    backupSaved = ChooseBackupFolder(settings.backupFolder, why);
    if (!backupSaved) WindowSystem().Notify("バックアップの置き場所を変えられませんでした。\n" + why);
  }
  TkzmProfile& profile = CurrentProfile();
  profile.SetOpenMonthAtStart(settings.openMonth);
  profile.SetOpenTodayAtStart(settings.openToday);
  profile.SetCalendarAtStart(settings.calendar);
  profile.SetEnterMovesToItem(settings.enterToItem);
  profile.SetEnterMovesToAmount(settings.enterToAmount);
  profile.SetEnterMovesToAccount(settings.enterToAccount);
  profile.SetEnterMovesToNote(settings.enterToNote);
  return profile.Save() && appSaved && backupSaved;
}

}  // namespace kzm
