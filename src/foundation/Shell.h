#pragma once

// Handing things to the desktop, through the window system the UI installs.

#include <string>

namespace kzm {

// Opens a document, folder or link with the desktop's program for it.
bool OpenDocument(const std::string& path);
// Opens a web link; anything else is taken for a mail address ("mailto:" is put in front).
bool OpenLink(const std::string& address);
// Moves a file or folder to the desktop trash; false when that failed.
bool MoveToRecycleBin(const std::string& path);
// Sends a notice to every window, in window order, before returning.
void BroadcastToForms(int message, int first, int second);

}  // namespace kzm
