#pragma once

// "検索": finds entries of the open passbook over all its month files by date range, category,
// item text, note, account, amount bounds and kind; the results are sorted in the grid,
// written to a CSV file or printed.

#include "search/Search.h"
#include "ui/common/DataWindows.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace kzm::ui {

class TCheckedDatePicker;
class TFindGrid;
class TorvFormFunc;

class TFmFind : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  explicit TFmFind(QWidget* parent = nullptr);
  ~TFmFind() override;

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;

  // The conditions as the controls show them.
  [[nodiscard]] kzm::TSearchConditions Conditions() const;
  [[nodiscard]] TFindGrid* Grid() const { return m_grid; }
  [[nodiscard]] bool Searching() const { return m_searching; }
  [[nodiscard]] QString StatusText() const;

  void ButtonNewClick();
  void ButtonAddClick();
  void ButtonStopClick();
  void ButtonPrintClick();
  void ButtonCSVClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateConditions();
  QWidget* CreateButtons();
  void FillCategoryLists();
  // Runs the search over every month file, letting the window work between months. False
  // when a search is running already.
  bool Search();
  void SetSearching(bool searching);
  void SetStatus(const QString& text);
  void OpenResult(kzm::TDayNumber day);

  TorvFormFunc* m_formFunc = nullptr;
  QComboBox* m_head = nullptr;
  QComboBox* m_detail = nullptr;
  QComboBox* m_option = nullptr;
  QComboBox* m_from = nullptr;
  QLineEdit* m_upper = nullptr;
  QCheckBox* m_useUpper = nullptr;
  QLineEdit* m_lower = nullptr;
  QCheckBox* m_useLower = nullptr;
  TCheckedDatePicker* m_first = nullptr;
  TCheckedDatePicker* m_last = nullptr;
  QCheckBox* m_payment = nullptr;
  QCheckBox* m_receipt = nullptr;
  QCheckBox* m_assets = nullptr;
  QCheckBox* m_memo = nullptr;
  QPushButton* m_buttonNew = nullptr;
  QPushButton* m_buttonAdd = nullptr;
  QPushButton* m_buttonStop = nullptr;
  QPushButton* m_buttonPrint = nullptr;
  QPushButton* m_buttonCsv = nullptr;
  TFindGrid* m_grid = nullptr;
  QStatusBar* m_statusBar = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;

  bool m_searching = false;
  bool m_stop = false;
  bool m_closeWhenStopped = false;
};

}  // namespace kzm::ui
