#pragma once

// The settings of the options window: which passbook opens at start (application.ini) and,
// for the open passbook, the windows it opens with and the Enter-key path of the daily grid.

namespace kzm {

struct TOptionSettings {
  bool selection = false;  // STARTUP/SELECTION: choose from the list at every start
  bool openMonth = false;
  bool openToday = false;
  bool calendar = false;
  bool enterToItem = true;
  bool enterToAmount = true;
  bool enterToAccount = true;
  bool enterToNote = true;
};

// The settings as they are now (application.ini and CurrentProfile()).
[[nodiscard]] TOptionSettings ReadOptionSettings();
// Writes SELECTION to application.ini at once and the rest into CurrentProfile(), then saves
// it. False when something could not be written; the user has been told.
bool StoreOptionSettings(const TOptionSettings& settings);

}  // namespace kzm
