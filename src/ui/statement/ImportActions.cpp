#include "ui/statement/ImportActions.h"

#include <QLabel>

#include "controls/UiBasics.h"
#include "foundation/WindowSystem.h"
#include "statement/StatementImport.h"
#include "ui/common/DataWindows.h"

namespace kzm::ui {

void ShowIncompleteImport(QLabel& label, const std::string& passbookFolder) {
  const std::string notice = IncompleteImportNotice(passbookFolder);
  label.setText(Q(notice));
  label.setVisible(!notice.empty());
}

void TellImportOutcome(bool failed, const std::string& message) {
  if (failed) WindowSystem().Notify(message);
  else WindowSystem().Inform(message);
}

bool AskAndUndoLastImport(TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids) {
  if (!WindowSystem().AskYesNo("最後の取り込みを元に戻しますか？")) return false;
  if (!SaveAllDataWindows()) return false;
  const TUndoOutcome outcome = UndoLastImport(data, passbookFolder, ids);
  TellImportOutcome(outcome.failed || outcome.nothing, outcome.message);
  return true;
}

}  // namespace kzm::ui
