#pragma once

// "通帳情報と項目": the passbook's information and its categories, and, retitled
// "新規通帳作成", the two-step wizard of a new passbook. The window edits copies; its opener
// stores what was confirmed.

#include "passbook/PassbookRules.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kzm {
class THeadList;
}

namespace kzm::ui {

class TorvDrawGrid;
class TorvCustomDrawGrid;

class TFmInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TFmInfo(QWidget* parent = nullptr);

  // Loads both pages. The memo and total categories list lacks are added to list itself.
  void LoadPages(const TPassbookInfo& info, THeadList& list);
  // 0: information, 1: categories.
  void SetPage(int page);
  // Makes the window the new-passbook wizard: information first ("次へ"), then categories.
  void NewPassbookWizard();

  // Set until the window is confirmed.
  [[nodiscard]] bool Cancelled() const { return m_cancelled; }
  // What was confirmed (the name is the one typed).
  [[nodiscard]] const TPassbookInfo& Info() const { return m_info; }
  [[nodiscard]] const TCategoryRows& Rows() const { return m_rows; }

 private:
  QWidget* CreateInfoPage();
  QWidget* CreateHeadPage();
  void ConnectHeadPage();
  void FocusPage();
  void UpdateExample();
  void SelectRow(int row);
  void SelectionChanged();
  void RefreshGrid(int selected);
  void DrawRow(TorvCustomDrawGrid& grid, QPainter& canvas, int col, int row, const QRect& rect);
  [[nodiscard]] TPassbookInfo TypedInfo() const;
  void ButtonAddClick();
  void ButtonRemoveClick();
  // 「カードの設定」 of the selected asset, stored at once in the passbook's card file.
  void ButtonCardClick();
  void ButtonResetClick();
  void ButtonOKClick();

  TPassbookInfo m_info;
  TCategoryRows m_rows;
  THeadList* m_list = nullptr;
  bool m_isNew = false;
  bool m_wizardFirstStep = false;
  bool m_cancelled = true;
  bool m_updating = false;

  // Each control carries its component name as objectName (PCinfo, EditFolder, ButtonOK, …).
  QTabWidget* m_pages = nullptr;
  QWidget* m_infoPage = nullptr;
  QWidget* m_headPage = nullptr;
  QLineEdit* m_editFolder = nullptr;
  QLineEdit* m_editName = nullptr;
  QLineEdit* m_editUse = nullptr;
  QLineEdit* m_editBirthMonth = nullptr;
  QLineEdit* m_editBirthDay = nullptr;
  QLabel* m_labelCreate = nullptr;
  QComboBox* m_lastDay = nullptr;
  QCheckBox* m_nextMonth = nullptr;
  QLabel* m_month1 = nullptr;
  QLabel* m_month2 = nullptr;
  TorvDrawGrid* m_grid = nullptr;
  QLineEdit* m_editHead = nullptr;
  QLabel* m_labelInfo = nullptr;
  QButtonGroup* m_radioGroup1 = nullptr;
  QWidget* m_kindBox = nullptr;
  QCheckBox* m_checkBox1 = nullptr;
  QPushButton* m_buttonRemove = nullptr;
  QPushButton* m_buttonCard = nullptr;
  QPushButton* m_buttonOK = nullptr;
};

}  // namespace kzm::ui
