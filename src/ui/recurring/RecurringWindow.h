#pragma once

// 「定期的な記入」: the passbook's recurring entries with the date each comes next, to add,
// change and delete, and the next 12 occurrences of the one selected with the dates they are
// moved to (and the holiday that moved them).

#include <QDialog>

#include "recurring/RecurringStore.h"

class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kzm {
class THeadList;
class TkzmDataUnit;
}  // namespace kzm

namespace kzm::ui {

class TFmRecurring : public QDialog {
  Q_OBJECT

 public:
  // The recurring entries of the passbook in passbookFolder; categories and data must
  // outlive the window. A store that cannot be read is reported and shown empty, and nothing
  // can be added to it.
  TFmRecurring(const THeadList& categories, TkzmDataUnit& data, std::string passbookFolder,
               QWidget* parent = nullptr);

  // Opens the editor on a new template filled from entry (the daily window's "repeat this").
  void AddFromEntry(const TRecurringTemplate& proposal);

  [[nodiscard]] QTableWidget* Table() const { return m_table; }
  [[nodiscard]] QListWidget* NextList() const { return m_next; }
  [[nodiscard]] const TRecurringStore& Store() const { return m_store; }

 private:
  void CreateControls();
  void ShowTemplates(int selectId);
  void ShowNext();
  void AddClick();
  void ChangeClick();
  void DeleteClick();
  // Opens the editor on proposal; true when it was accepted and stored.
  bool Edit(const TRecurringTemplate& proposal);
  bool SaveStore();
  [[nodiscard]] int SelectedId() const;

  const THeadList& m_categories;
  TkzmDataUnit& m_data;
  std::string m_folder;
  TRecurringStore m_store;
  bool m_readable = true;

  QTableWidget* m_table = nullptr;
  QListWidget* m_next = nullptr;
  QPushButton* m_add = nullptr;
  QSpinBox* m_daysAhead = nullptr;
};

}  // namespace kzm::ui
