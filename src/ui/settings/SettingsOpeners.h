#pragma once

// The openers of the settings dialogs: each runs its dialog modally and stores what the user
// confirmed into the open passbook.

class QWidget;

namespace kzm::ui {

// The passbook's information (page 0) or categories (page 1). Unless cancelled: saves the
// passbook, renames its folder when the name changed. Every window is then told that the data
// may have changed. True when confirmed.
bool OpenPassbookInfo(int page, QWidget* parent = nullptr);

// The new-passbook wizard. When confirmed the new passbook's folder is created and opened
// (true). When cancelled, or when the folder cannot be made, the passbook open before opens
// again (false).
bool NewPassbook(QWidget* parent = nullptr);

// Closes the data windows, saves, and lets the user choose a passbook (or delete some). True
// when one was chosen and opened.
bool SelectPassbook(QWidget* parent = nullptr);

// The options, on page 0 (start-up), 1 (daily grid) or 2 (data folder).
void OpenOptions(int page, QWidget* parent = nullptr);

}  // namespace kzm::ui
