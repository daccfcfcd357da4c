#include "ui/statement/ImportActions.h"

#include <QLabel>
#include <QPushButton>

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

QPushButton* NewUndoButton(QWidget* window, TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids,
                           std::function<void()> shown) {
  QPushButton* button = NewButton("元に戻す(&U)", "ButtonUndo", window);
  QObject::connect(button, &QPushButton::clicked, window, [&data, &passbookFolder, &ids, shown = std::move(shown)] {
    if (!WindowSystem().AskYesNo("最後の取り込みを元に戻しますか？")) return;
    if (!SaveAllDataWindows()) return;
    const TUndoOutcome outcome = UndoLastImport(data, passbookFolder, ids);
    TellImportOutcome(outcome.failed || outcome.carryFailed || outcome.nothing, outcome.message);
    shown();
  });
  return button;
}

}  // namespace kzm::ui
