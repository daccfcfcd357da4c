#pragma once

// "配色設定": every colour of the passbook's colour scheme in a tree, a picker to change them,
// applying them to every open window, the defaults, undoing, and saving with OK. Modeless;
// at most one is open.

#include <QDialog>

#include "graphics/ColorSetupTree.h"

class QPushButton;

namespace kzm {
class TColorsList;
}

namespace kzm::ui {

class TColorShape;
class TColorTreeView;
class TFrameColorSelect;

class TFormColorSetUp : public QDialog {
  Q_OBJECT

 public:
  // Edits scheme, which must outlive the window.
  explicit TFormColorSetUp(TColorsList& scheme, QWidget* parent = nullptr);

  // The selected colour takes the picker's colour.
  void ColorChanged();

  // Escape closes the window like its close box.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPushButton* ColumnButton(const char* caption, const char* name, int top, int height = 21);
  void BuildTree();
  void SelectionChanged();
  void ButtonSelectClick();
  void BtApplyClick();
  void BtDefaultClick();
  void BtResetClick();
  void BtOKClick();
  void BtSaveClick();
  void BtLoadClick();
  void AllowUndo();
  // Loads the scheme's file again (or the defaults when there is none or it cannot be read).
  void ReloadScheme();
  void NotifyWindows();

  TColorsList& m_scheme;
  TColorSetupTree m_tree;
  bool m_closedByOk = false;

  TColorTreeView* m_treeView = nullptr;
  TColorShape* m_shape = nullptr;
  QPushButton* m_select = nullptr;
  QPushButton* m_apply = nullptr;
  QPushButton* m_reset = nullptr;
  TFrameColorSelect* m_picker = nullptr;
};

}  // namespace kzm::ui
