#pragma once

// The window side of starting and ending the program: one copy per user, the passbook to
// start on, and saving at the end.

#include <QString>

namespace kzm::ui {

class TInstanceChannel;

// Ends at once when another copy runs: that copy is brought forward, or, when it belongs to
// another user, the user is told. True when this copy may go on; it then listens on channel
// for later copies.
[[nodiscard]] bool ClaimSingleInstance(TInstanceChannel& channel, const QString& channelName);

// Opens the passbook to start on: the only one, the last one used, or (until the passbook
// dialogs exist) a new one with the defaults when there is none and the first one when the
// user would choose. False when none could be opened; the program then ends.
[[nodiscard]] bool OpenStartupPassbook();

// Start-up as a whole: default colours, single instance, passbook.
[[nodiscard]] bool StartUp(TInstanceChannel& channel);

// Saves the open passbook's settings and the loaded month. False when one could not be
// written (the user has been told).
bool SaveAtExit();

}  // namespace kzm::ui
