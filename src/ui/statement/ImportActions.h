#pragma once

// What the statement import and the move-in windows do alike around a booking: the line on
// an import that stopped part way, telling how a booking or undo went, and the undo itself.

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QWidget;

namespace kzm {
class TImportedIds;
class TkzmDataUnit;
}  // namespace kzm

namespace kzm::ui {

// Shows the notice of the last import when it stopped part way; hides the label otherwise.
void ShowIncompleteImport(QLabel& label, const std::string& passbookFolder);
// A failure as a warning, a success as news.
void TellImportOutcome(bool failed, const std::string& message);
// The button 元に戻す of an import window. Pressed, it asks, stores the open windows' typing,
// undoes the last import and tells how it went; then shown() lets the window show what the
// passbook now holds. Nothing is undone when the person says no or a window cannot be stored.
QPushButton* NewUndoButton(QWidget* window, TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids,
                           std::function<void()> shown);

}  // namespace kzm::ui
