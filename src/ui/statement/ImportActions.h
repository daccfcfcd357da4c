#pragma once

// What the statement import and the move-in windows do alike around a booking: the line on
// an import that stopped part way, telling how a booking or undo went, and the undo itself.

#include <string>

class QLabel;

namespace kzm {
class TImportedIds;
class TkzmDataUnit;
}  // namespace kzm

namespace kzm::ui {

// Shows the notice of the last import when it stopped part way; hides the label otherwise.
void ShowIncompleteImport(QLabel& label, const std::string& passbookFolder);
// A failure as a warning, a success as news.
void TellImportOutcome(bool failed, const std::string& message);
// Asks, stores the open windows' typing and undoes the last import. False when the person
// said no or a window could not be stored: nothing was undone.
bool AskAndUndoLastImport(TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids);

}  // namespace kzm::ui
