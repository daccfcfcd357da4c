#include "ui/settings/ColorSetUpWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QPushButton>
#include <QScreen>

#include "controls/Fonts.h"
#include "controls/UiBasics.h"
#include "foundation/AppGlobal.h"
#include "foundation/ColorScheme.h"
#include "foundation/Errors.h"
#include "foundation/WindowSystem.h"
#include "ui/common/Openers.h"
#include "ui/settings/ColorSelectFrame.h"
#include "ui/settings/ColorTreeView.h"

namespace kzm::ui {

namespace {

constexpr int kTreeLeft = 8;
constexpr int kTreeTop = 8;
constexpr int kTreeWidth = 189;
constexpr int kPickerLeft = 278;
constexpr int kPickerHeight = 374;
constexpr int kButtonsLeft = 202;
constexpr int kButtonWidth = 76;
constexpr int kMinWidth = 292;
constexpr int kMinHeight = 300;

const char* const kFileFilter = "色設定ファイル (*.clr)";

}  // namespace

TFormColorSetUp::TFormColorSetUp(TColorsList& scheme, QWidget* parent) : QDialog(parent), m_scheme(scheme) {
  setObjectName(QStringLiteral("FormColorSetUp"));
  setWindowTitle(QStringLiteral("配色設定 ") + QString::fromStdString(AppGlobal().ProductName()));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(ProgramFont(9));
  setMinimumSize(kMinWidth, kMinHeight);

  m_treeView = new TColorTreeView(m_tree, this);
  m_treeView->setObjectName(QStringLiteral("TreeView1"));
  m_treeView->setAccessibleName(QStringLiteral("色を決める場所"));
  m_treeView->setGeometry(kTreeLeft, kTreeTop, kTreeWidth, 357);
  m_shape = new TColorShape(this);
  m_shape->setObjectName(QStringLiteral("ShapeColor"));
  m_shape->setGeometry(kButtonsLeft, 8, kButtonWidth, 75);
  m_shape->SetFrameColor(palette().color(QPalette::Dark));

  m_select = ColumnButton("色選択>>", "ButtonSelect", 96, 20);
  m_apply = ColumnButton("反映させる", "BtApply", 120);
  m_apply->setEnabled(false);
  QPushButton* save = ColumnButton("書出し", "BtSave", 152);
  save->setVisible(false);
  QPushButton* load = ColumnButton("読込み", "BtLoad", 172);
  load->setVisible(false);
  ColumnButton("初期値", "BtDefault", 272);
  m_reset = ColumnButton("元に戻す", "BtReset", 294);
  m_reset->setEnabled(false);
  QPushButton* ok = ColumnButton("OK", "BtOK", 346);

  m_picker = new TFrameColorSelect(this);
  m_picker->move(kPickerLeft, 0);
  // Hidden until 色選択>> widens the window: the narrow window would show a strip of it.
  m_picker->hide();

  connect(m_select, &QPushButton::clicked, this, &TFormColorSetUp::ButtonSelectClick);
  connect(m_apply, &QPushButton::clicked, this, &TFormColorSetUp::BtApplyClick);
  connect(save, &QPushButton::clicked, this, &TFormColorSetUp::BtSaveClick);
  connect(load, &QPushButton::clicked, this, &TFormColorSetUp::BtLoadClick);
  connect(findChild<QPushButton*>(QStringLiteral("BtDefault")), &QPushButton::clicked, this,
          &TFormColorSetUp::BtDefaultClick);
  connect(m_reset, &QPushButton::clicked, this, &TFormColorSetUp::BtResetClick);
  connect(ok, &QPushButton::clicked, this, &TFormColorSetUp::BtOKClick);
  connect(m_treeView, &QTreeWidget::currentItemChanged, this, &TFormColorSetUp::SelectionChanged);
  connect(m_treeView, &QTreeWidget::itemDoubleClicked, this, &TFormColorSetUp::ButtonSelectClick);
  m_treeView->OnColorDropped = [this](int node, TColor color) {
    m_tree.SetColor(node, color);
    if (node == m_treeView->CurrentNode()) SelectionChanged();
    m_apply->setEnabled(true);
  };
  // A swatch of the palette takes the colour of the selected entry, which the drag began on.
  m_treeView->OnColorDroppedOutside = [this](QPoint globalPos, TColor) {
    return rect().contains(mapFromGlobal(globalPos)) && m_picker->isVisible() &&
           m_picker->DropOnPalette(globalPos, m_shape->Color());
  };

  // The picker starts outside the window; 色選択>> widens the window to show it.
  resize(std::max(kPickerLeft + kTreeLeft, kMinWidth), kPickerHeight);
  if (QScreen* screen = QApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
  BuildTree();
}

QPushButton* TFormColorSetUp::ColumnButton(const char* caption, const char* name, int top, int height) {
  QPushButton* button = NewButton(caption, name, this);
  button->setGeometry(kButtonsLeft, top, kButtonWidth, height);
  return button;
}

void TFormColorSetUp::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  m_treeView->resize(kTreeWidth, std::max(height() - 2 * kTreeTop, 100));
}

void TFormColorSetUp::BuildTree() {
  m_tree.Build(m_scheme);
  m_treeView->Rebuild();
  SelectionChanged();
}

void TFormColorSetUp::SelectionChanged() {
  const int node = m_treeView->CurrentNode();
  const bool colour = node >= 0 && !m_tree.Node(node).group;
  m_select->setEnabled(colour);
  m_shape->setEnabled(colour);
  m_picker->SetPickerEnabled(colour);
  if (colour) {
    m_shape->SetColor(m_tree.ShownColor(node));
    m_picker->SetColor(m_tree.ShownColor(node));
  } else {
    m_shape->SetColor(kColorWhite);
  }
}

void TFormColorSetUp::ColorChanged() {
  const int node = m_treeView->CurrentNode();
  if (node < 0 || m_tree.Node(node).group) return;
  m_tree.SetColor(node, m_picker->Color());
  m_shape->SetColor(m_picker->Color());
  m_treeView->viewport()->update();
}

void TFormColorSetUp::AllowUndo() {
  m_apply->setEnabled(true);
  m_reset->setEnabled(true);
}

void TFormColorSetUp::ButtonSelectClick() {
  AllowUndo();
  if (m_treeView->CurrentNode() < 0) return;
  if (m_select->text() != QStringLiteral("色変更")) {
    m_select->setText(QStringLiteral("色変更"));
    resize(kPickerLeft + m_picker->width(), height());
    m_picker->show();
    m_picker->SetColor(m_shape->Color());
  } else {
    ColorChanged();
  }
}

void TFormColorSetUp::NotifyWindows() { WindowSystem().BroadcastToForms(kNoticeColorChanged, 0, 0); }

void TFormColorSetUp::BtApplyClick() {
  m_tree.WriteInto(m_scheme);
  NotifyWindows();
}

void TFormColorSetUp::BtDefaultClick() {
  AllowUndo();
  m_scheme.LoadDefaultColors();
  BuildTree();
}

void TFormColorSetUp::ReloadScheme() {
  try {
    m_scheme.LoadColors();
  } catch (const EkzmError& e) {
    // A file that cannot be read is left as it is; the defaults stand in for it.
    m_scheme.LoadDefaultColors();
    WindowSystem().Notify("配色ファイルを読み込めなかったため、初期値の配色にしました。\n" + m_scheme.FileName() +
                          "\n" + e.what());
  }
}

void TFormColorSetUp::BtResetClick() {
  ReloadScheme();
  BuildTree();
}

void TFormColorSetUp::BtOKClick() {
  m_tree.WriteInto(m_scheme);
  try {
    m_scheme.SaveColors();
  } catch (const EkzmError& e) {
    // Nothing is lost: the window stays open with the colours, and the user may try again.
    WindowSystem().Notify(std::string("配色を保存できませんでした。\n") + e.what());
    return;
  }
  m_closedByOk = true;
  close();
}

void TFormColorSetUp::reject() { close(); }

void TFormColorSetUp::closeEvent(QCloseEvent* event) {
  // Only OK keeps what was applied; every other way out goes back to the saved colours.
  if (!m_closedByOk) ReloadScheme();
  NotifyWindows();
  // Not QDialog's own handler: it would go round through reject().
  event->accept();
}

void TFormColorSetUp::BtLoadClick() {
  const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("色設定の読込み"),
                                                    QString::fromStdString(AppGlobal().DataPath()),
                                                    QString::fromUtf8(kFileFilter));
  if (file.isEmpty()) return;
  try {
    m_scheme.LoadColorsFrom(file.toStdString());
  } catch (const EkzmError& e) {
    WindowSystem().Notify(std::string("配色ファイルを読み込めませんでした。\n") + e.what());
    ReloadScheme();
  }
  BuildTree();
}

void TFormColorSetUp::BtSaveClick() {
  QFileDialog dialog(this, QStringLiteral("色設定の書出し"), QString::fromStdString(AppGlobal().DataPath()),
                     QString::fromUtf8(kFileFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("clr"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  m_tree.WriteInto(m_scheme);
  try {
    m_scheme.SaveColorsTo(dialog.selectedFiles().constFirst().toStdString());
  } catch (const EkzmError& e) {
    WindowSystem().Notify(std::string("配色ファイルを書き出せませんでした。\n") + e.what());
  }
}

void OpenColorSetUp(QWidget* parent) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* open = qobject_cast<TFormColorSetUp*>(w)) {
      if (open->isVisible()) {
        open->raise();
        open->activateWindow();
        return;
      }
    }
  }
  auto* window = new TFormColorSetUp(ColorScheme(), parent);
  window->show();
}

}  // namespace kzm::ui
