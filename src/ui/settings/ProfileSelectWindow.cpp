#include "ui/settings/ProfileSelectWindow.h"

#include "controls/CentreOnScreen.h"
#include "foundation/ColorScheme.h"
#include "foundation/WindowSystem.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kzm::ui {

TFmProfileSelect::TFmProfileSelect(std::string openFolder, QWidget* parent)
    : QDialog(parent), m_openFolder(std::move(openFolder)) {
  setObjectName(QStringLiteral("FmProfileSelect"));
  setWindowTitle(QStringLiteral("通帳の選択"));
  // No title-bar buttons: the window is left through its own buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  const TColor back = ColorScheme().GetColor("全般\\背景色", kColorWhite);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(RedOf(back), GreenOf(back), BlueOf(back)));
  setPalette(palette);
  setAutoFillBackground(true);

  m_listView = new QTableWidget(0, 4, this);
  m_listView->setObjectName(QStringLiteral("ListView"));
  m_listView->setAccessibleName(QStringLiteral("通帳の一覧"));
  m_listView->setHorizontalHeaderLabels({QStringLiteral("通帳名"), QStringLiteral("おなまえ"),
                                         QStringLiteral("使いみち"), QStringLiteral("フォルダ")});
  m_listView->verticalHeader()->hide();
  m_listView->setShowGrid(true);
  m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
  m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The arrows walk the rows; Tab leaves the list for the buttons (削除 first).
  m_listView->setTabKeyNavigation(false);
  QFont listFont = m_listView->font();
  listFont.setPixelSize(13);
  m_listView->setFont(listFont);
  const int unit = QFontMetrics(font()).height() + 5;
  // One line per passbook: long texts are cut short with "…" (the whole text is the cell's
  // tool tip); only the folder takes what width is left, so no scroll bar is needed.
  m_listView->setWordWrap(false);
  m_listView->setTextElideMode(Qt::ElideRight);
  QHeaderView* header = m_listView->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setSectionResizeMode(3, QHeaderView::Stretch);
  m_listView->setColumnWidth(0, 4 * unit);
  m_listView->setColumnWidth(1, 5 * unit);
  m_listView->setColumnWidth(2, 5 * unit);
  m_listView->setMinimumSize(20 * unit, 10 * unit);

  m_buttonDelete = new QPushButton(QStringLiteral("削除"), this);
  m_buttonDelete->setObjectName(QStringLiteral("ButtonDelete"));
  m_buttonCancel = new QPushButton(QStringLiteral("キャンセル"), this);
  m_buttonCancel->setObjectName(QStringLiteral("ButtonCancel"));
  auto* set = new QPushButton(QStringLiteral("選択"), this);
  set->setObjectName(QStringLiteral("ButtonSet"));
  set->setDefault(true);
  connect(m_buttonDelete, &QPushButton::clicked, this, [this] { ButtonDeleteClick(); });
  connect(m_buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(set, &QPushButton::clicked, this, [this] {
    // Without a passbook to go back to, one must be chosen.
    if (SelectedRow() < 0 && !m_buttonCancel->isEnabled()) return;
    m_cancelled = false;
    accept();
  });
  connect(m_listView, &QTableWidget::cellDoubleClicked, set, &QPushButton::click);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_buttonDelete);
  buttons->addStretch();
  buttons->addWidget(m_buttonCancel);
  buttons->addWidget(set);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_listView);
  layout->addLayout(buttons);
  resize(28 * unit + 24, 14 * unit);
  Fill();
  // Enter chooses the selected passbook.
  m_listView->setFocus();
  CentreOnScreenWhenShown(*this);
}

void TFmProfileSelect::Fill() {
  m_passbooks = ListPassbookRows();
  m_listView->setRowCount(static_cast<int>(m_passbooks.size()));
  int selected = 0;
  for (int row = 0; row < m_listView->rowCount(); ++row) {
    const TPassbookListRow& passbook = m_passbooks[static_cast<size_t>(row)];
    const std::string* texts[] = {&passbook.name, &passbook.ownerName, &passbook.purpose, &passbook.folder};
    for (int col = 0; col < 4; ++col) {
      auto* item = new QTableWidgetItem(QString::fromStdString(*texts[col]));
      item->setToolTip(item->text());
      m_listView->setItem(row, col, item);
    }
    if (passbook.folder == m_openFolder) selected = row;
  }
  // Short names show whole: a column narrower than its longest text widens to it, up to twice
  // its width (a very long name is still cut, so the list never needs a sideways scroll).
  for (int col = 0; col < 3; ++col) {
    const int before = m_listView->columnWidth(col);
    m_listView->resizeColumnToContents(col);
    m_listView->setColumnWidth(col, std::clamp(m_listView->columnWidth(col), before, 2 * before));
  }
  if (m_listView->rowCount() > 0) m_listView->selectRow(selected);
  m_buttonDelete->setEnabled(m_listView->rowCount() > 1);
}

int TFmProfileSelect::SelectedRow() const {
  const QList<QTableWidgetItem*> items = m_listView->selectedItems();
  if (items.isEmpty()) return -1;
  const int row = items.front()->row();
  return row < static_cast<int>(m_passbooks.size()) ? row : -1;
}

std::string TFmProfileSelect::SelectedFolder() const {
  const int row = SelectedRow();
  return row < 0 ? std::string() : m_passbooks[static_cast<size_t>(row)].folder;
}

void TFmProfileSelect::ButtonDeleteClick() {
  const int row = SelectedRow();
  if (row < 0 || m_listView->rowCount() <= 1) return;
  const std::string folder = m_passbooks[static_cast<size_t>(row)].folder;
  const std::string name = m_passbooks[static_cast<size_t>(row)].name;
  if (!WindowSystem().AskYesNoDefaultNo("この通帳プロファイルを本当に削除しますか？\n[" + name + "]")) return;
  if (!WindowSystem().MoveToRecycleBin(folder)) {
    WindowSystem().Notify("通帳「" + name + "」をごみ箱に移せませんでした。");
    return;
  }
  if (folder == m_openFolder) m_buttonCancel->setEnabled(false);
  Fill();
  // Never leave the focus on 削除, where the next Enter would delete another passbook.
  m_listView->setFocus(Qt::OtherFocusReason);
}

void TFmProfileSelect::reject() {
  if (m_buttonCancel->isEnabled()) QDialog::reject();
}

}  // namespace kzm::ui
