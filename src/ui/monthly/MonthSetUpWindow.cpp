#include "ui/monthly/MonthSetUpWindow.h"

#include "controls/DateField.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/Fonts.h"
#include "controls/UiBasics.h"
#include "foundation/ColorScheme.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "settlement/MonthSetup.h"

namespace kzm::ui {

namespace {

constexpr int kBalanceRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

// The accounts list shows each key as its display name on the row's own background.
class TAccountDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const std::string key = index.data(kKeyRole).toByteArray().toStdString();
    painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      QString::fromStdString(KeyName(key)));
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {80, std::max(12, option.fontMetrics.height() + 2)};
  }
};

QDateEdit* NewDatePicker(const char* name, QWidget* parent) {
  auto* picker = new TDateField(parent);
  picker->setObjectName(QString::fromLatin1(name));
  return picker;
}

}  // namespace

TFmMonthSetUp::TFmMonthSetUp(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FmMonthSetUp"));
  setWindowTitle(QStringLiteral("の設定"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(ProgramFont(9));
  QPalette pal = palette();
  const TColor back = ColorScheme().GetColor("全般\\背景色", kColorWhite);
  pal.setColor(QPalette::Window, QColor(RedOf(back), GreenOf(back), BlueOf(back)));
  setPalette(pal);

  auto* period = new QGroupBox(QStringLiteral("月期間設定"), this);
  period->setObjectName(QStringLiteral("GroupBox1"));
  m_dateTimePicker1 = NewDatePicker("DateTimePicker1", period);
  m_dateTimePicker2 = NewDatePicker("DateTimePicker2", period);
  auto* periodLayout = new QGridLayout(period);
  auto* firstLabel = new QLabel(QStringLiteral("開始の日"), period);
  firstLabel->setBuddy(m_dateTimePicker1);  // so a screen reader names the field
  periodLayout->addWidget(firstLabel, 0, 0);
  periodLayout->addWidget(m_dateTimePicker1, 0, 1);
  auto* lastLabel = new QLabel(QStringLiteral("終了の日"), period);
  lastLabel->setBuddy(m_dateTimePicker2);
  periodLayout->addWidget(lastLabel, 1, 0);
  periodLayout->addWidget(m_dateTimePicker2, 1, 1);

  auto* carried = new QGroupBox(QStringLiteral("口座繰越金"), this);
  carried->setObjectName(QStringLiteral("GroupBox2"));
  m_listBox1 = new QListWidget(carried);
  m_listBox1->setObjectName(QStringLiteral("ListBox1"));
  m_listBox1->setAccessibleName(QStringLiteral("資産の繰越金"));
  m_listBox1->setItemDelegate(new TAccountDelegate(m_listBox1));
  m_listBox1->setMinimumHeight(90);
  m_edit1 = new QLineEdit(QStringLiteral("0"), carried);
  m_edit1->setObjectName(QStringLiteral("Edit1"));
  m_edit1->setAlignment(Qt::AlignRight);
  auto* refer = NewButton("前月残高記入", "ButtonRefer", carried);
  auto* carriedLayout = new QGridLayout(carried);
  carriedLayout->addWidget(m_listBox1, 0, 0, 3, 1);
  carriedLayout->addWidget(new QLabel(QStringLiteral("繰越金"), carried), 0, 1);
  carriedLayout->addWidget(m_edit1, 1, 1);
  carriedLayout->addWidget(refer, 2, 1, Qt::AlignTop);

  auto* reset = NewButton("元に戻す", "ButtonReset", this);
  auto* cancel = NewButton("キャンセル", "ButtonCancel", this);
  auto* ok = NewButton("OK", "ButtonOK", this);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(reset);
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(period);
  layout->addWidget(carried);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_listBox1, &QListWidget::currentRowChanged, this, &TFmMonthSetUp::ListBox1Change);
  connect(m_edit1, &QLineEdit::textChanged, this, &TFmMonthSetUp::Edit1Change);
  connect(refer, &QPushButton::clicked, this, &TFmMonthSetUp::ButtonReferClick);
  connect(reset, &QPushButton::clicked, this, &TFmMonthSetUp::FillFromList);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ok, &QPushButton::clicked, this, &TFmMonthSetUp::ButtonOKClick);
}

void TFmMonthSetUp::Fill(kzm::TMonthKey key, const kzm::THeadList& monthList) {
  m_key = NormaliseMonthKey(key);
  m_monthList = &monthList;
  m_confirmed = false;
  FillFromList();
}

bool TFmMonthSetUp::EditMonth(kzm::TMonthKey key, const kzm::THeadList& monthList) {
  Fill(key, monthList);
  exec();
  return m_confirmed;
}

void TFmMonthSetUp::FillFromList() {
  if (!m_monthList) return;
  m_listBox1->clear();
  for (int c = 0; c < m_monthList->Count(); ++c) {
    if (m_monthList->KindOf(c) != kKindAsset) continue;
    auto* item = new QListWidgetItem(QString::fromStdString(m_monthList->DisplayName(c)), m_listBox1);
    // Keys are raw bytes (the first is FF), so they are kept as bytes, not as text.
    item->setData(kKeyRole, QByteArray::fromStdString(m_monthList->Items(c).key));
    item->setData(kBalanceRole, static_cast<qlonglong>(m_monthList->Items(c).balance));
  }
  if (m_listBox1->count() > 0) m_listBox1->setCurrentRow(0);
  ListBox1Change();
  setWindowTitle(QStringLiteral("%1年%2月の設定").arg(KeyYear(m_key)).arg(KeyMonth(m_key)));
  m_dateTimePicker1->setDate(ToQDate(m_monthList->First()));
  m_dateTimePicker2->setDate(ToQDate(m_monthList->Last()));
}

std::vector<int64_t> TFmMonthSetUp::Balances() const {
  std::vector<int64_t> balances;
  for (int i = 0; i < m_listBox1->count(); ++i) balances.push_back(m_listBox1->item(i)->data(kBalanceRole).toLongLong());
  return balances;
}

void TFmMonthSetUp::ListBox1Change() {
  const QListWidgetItem* item = m_listBox1->currentItem();
  m_edit1->setText(item ? QString::number(item->data(kBalanceRole).toLongLong()) : QStringLiteral("0"));
}

void TFmMonthSetUp::Edit1Change() {
  QListWidgetItem* item = m_listBox1->currentItem();
  // Whatever is no number counts as 0; separators and yen signs are allowed.
  if (item) item->setData(kBalanceRole, ParseAmount(m_edit1->text().toStdString()));
}

void TFmMonthSetUp::ButtonReferClick() {
  m_edit1->setText(QStringLiteral("0"));
  const QListWidgetItem* item = m_listBox1->currentItem();
  if (!item) return;
  const int64_t balance =
      PreviousMonthBalance(m_key, ToDay(m_dateTimePicker1->date()), item->data(kKeyRole).toByteArray().toStdString());
  m_edit1->setText(QString::number(balance));
}

void TFmMonthSetUp::ButtonOKClick() {
  if (!m_monthList) return;
  const TDayNumber first = ToDay(m_dateTimePicker1->date());
  const TDayNumber last = ToDay(m_dateTimePicker2->date());
  const std::string refusal = CheckMonthPeriod(m_key, first, last);
  if (!refusal.empty()) {
    WindowSystem().Notify(refusal);
    return;
  }
  // A store that fails has been reported and changed nothing: the dialog stays for another try.
  if (!StoreMonthSetup(m_key, *m_monthList, Balances(), first, last)) return;
  m_confirmed = true;
  accept();
}

}  // namespace kzm::ui
