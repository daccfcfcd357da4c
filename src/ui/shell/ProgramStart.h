#pragma once

// The window side of starting and ending the program: one copy per user, the passbook to
// start on, and saving at the end.

#include <QString>

namespace kzm::ui {

class TInstanceChannel;

// The program's name for the desktop, its fonts, and Qt's own Japanese texts for standard
// buttons and dialogs. No application display name is set: Qt would append it to every
// window title. Call once, after the QApplication.
void SetUpApplication();

// Ends at once when another copy runs: that copy is brought forward, or, when it belongs to
// another user, the user is told. True when this copy may go on; it then listens on channel
// for later copies.
[[nodiscard]] bool ClaimSingleInstance(TInstanceChannel& channel, const QString& channelName);

// Opens the passbook to start on: the only one, the last one used, one the user chooses from
// the list, or a new one made with the wizard when there is none. False when none was opened
// (the user cancelled); the program then ends.
[[nodiscard]] bool OpenStartupPassbook();

// Start-up as a whole: default colours, single instance, passbook.
[[nodiscard]] bool StartUp(TInstanceChannel& channel);

// Saves the open passbook's settings and the loaded month. False when one could not be
// written (the user has been told).
bool SaveAtExit();

}  // namespace kzm::ui
