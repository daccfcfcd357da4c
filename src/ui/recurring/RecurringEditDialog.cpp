#include "ui/recurring/RecurringEditDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <optional>

#include "controls/DateField.h"
#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/AmountExpression.h"
#include "passbook/Categories.h"

namespace kzm::ui {

namespace {

constexpr const char* kWeekdays[] = {"月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日"};
enum TEnd { eNone, eUntil, eCount };

QDateEdit* DateEdit(QWidget* parent, const char* name) {
  auto* edit = new TDateField(parent);
  edit->setObjectName(QString::fromUtf8(name));
  return edit;
}

int KindOfCategory(TRecurringKind kind) {
  switch (kind) {
    case TRecurringKind::rkPayment: return kKindPayment;
    case TRecurringKind::rkReceipt: return kKindReceipt;
    case TRecurringKind::rkMove: return kKindAsset;
  }
  return kKindPayment;
}

}  // namespace

TFmRecurringEdit::TFmRecurringEdit(const TRecurringTemplate& source, const THeadList& categories, QWidget* parent)
    : QDialog(parent), m_categories(categories), m_template(source) {
  setObjectName(QStringLiteral("FmRecurringEdit"));
  setWindowTitle(source.id == 0 ? QStringLiteral("定期的な記入の追加") : QStringLiteral("定期的な記入の変更"));
  CreateControls();
  ShowTemplate();
}

void TFmRecurringEdit::CreateControls() {
  auto* form = new QFormLayout(this);
  m_kind = new QComboBox(this);
  m_kind->setObjectName(QStringLiteral("ComboKind"));
  for (const TRecurringKind k : {TRecurringKind::rkPayment, TRecurringKind::rkReceipt, TRecurringKind::rkMove}) {
    m_kind->addItem(QString::fromUtf8(RecurringKindName(k)));
  }
  form->addRow(QStringLiteral("種類(&K)"), m_kind);
  m_category = new QComboBox(this);
  m_category->setObjectName(QStringLiteral("ComboCategory"));
  m_categoryLabel = new QLabel(QStringLiteral("項目(&G)"), this);
  m_categoryLabel->setBuddy(m_category);
  form->addRow(m_categoryLabel, m_category);
  m_account = new QComboBox(this);
  m_account->setObjectName(QStringLiteral("ComboAccount"));
  m_accountLabel = new QLabel(QStringLiteral("口座(&B)"), this);
  m_accountLabel->setBuddy(m_account);
  form->addRow(m_accountLabel, m_account);
  m_item = new QLineEdit(this);
  m_item->setObjectName(QStringLiteral("EditItem"));
  form->addRow(QStringLiteral("内容(&I)"), m_item);
  m_note = new QLineEdit(this);
  m_note->setObjectName(QStringLiteral("EditNote"));
  form->addRow(QStringLiteral("備考(&N)"), m_note);
  m_amount = new QLineEdit(this);
  m_amount->setObjectName(QStringLiteral("EditAmount"));
  m_estimate = new QCheckBox(QStringLiteral("見込みの金額(&E)"), this);
  m_estimate->setObjectName(QStringLiteral("CheckEstimate"));
  auto* amountRow = new QHBoxLayout();
  amountRow->addWidget(m_amount);
  amountRow->addWidget(m_estimate);
  auto* amountLabel = new QLabel(QStringLiteral("金額(&M)"), this);
  amountLabel->setBuddy(m_amount);
  form->addRow(amountLabel, amountRow);

  // Made in the order they stand, so that Tab goes the way the eye does: the number, its unit,
  // the day.
  m_interval = new QSpinBox(this);
  m_interval->setObjectName(QStringLiteral("SpinInterval"));
  m_interval->setRange(1, kMaxInterval);
  m_repeat = new QComboBox(this);
  m_repeat->setObjectName(QStringLiteral("ComboRepeat"));
  m_repeat->addItems({QStringLiteral("か月ごと"), QStringLiteral("週ごと"), QStringLiteral("年ごと"), QStringLiteral("日ごと")});
  m_day = new QComboBox(this);
  m_day->setObjectName(QStringLiteral("ComboDay"));
  auto* repeatRow = new QHBoxLayout();
  repeatRow->addWidget(m_interval);
  repeatRow->addWidget(m_repeat);
  repeatRow->addWidget(m_day);
  auto* repeatLabel = new QLabel(QStringLiteral("くり返し(&R)"), this);
  repeatLabel->setBuddy(m_interval);
  form->addRow(repeatLabel, repeatRow);
  m_shift = new QComboBox(this);
  m_shift->setObjectName(QStringLiteral("ComboShift"));
  m_shift->addItems({QStringLiteral("そのまま"), QStringLiteral("前の営業日"), QStringLiteral("次の営業日")});
  form->addRow(QStringLiteral("休日のとき(&H)"), m_shift);
  m_first = DateEdit(this, "DateFirst");
  form->addRow(QStringLiteral("開始日(&F)"), m_first);
  m_end = new QComboBox(this);
  m_end->setObjectName(QStringLiteral("ComboEnd"));
  m_end->addItems({QStringLiteral("なし"), QStringLiteral("終了日まで"), QStringLiteral("回数")});
  m_until = DateEdit(this, "DateUntil");
  m_count = new QSpinBox(this);
  m_count->setObjectName(QStringLiteral("SpinCount"));
  m_until->setAccessibleName(QStringLiteral("終わりの日"));
  m_count->setAccessibleName(QStringLiteral("終わりまでの回数"));
  m_count->setRange(1, 100000);
  auto* endRow = new QHBoxLayout();
  endRow->addWidget(m_end);
  endRow->addWidget(m_until);
  endRow->addWidget(m_count);
  auto* endLabel = new QLabel(QStringLiteral("終わり(&U)"), this);
  endLabel->setBuddy(m_end);
  form->addRow(endLabel, endRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFmRecurringEdit::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);

  connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { FillCategories(); });
  connect(m_repeat, &QComboBox::currentIndexChanged, this, [this] { FillDays(); });
  connect(m_end, &QComboBox::currentIndexChanged, this, [this] { EndChanged(); });
}

void TFmRecurringEdit::FillCategories() {
  const TRecurringKind kind = static_cast<TRecurringKind>(m_kind->currentIndex());
  const QString category = m_category->currentText();
  const QString account = m_account->currentText();
  m_category->clear();
  m_account->clear();
  const int wanted = KindOfCategory(kind);
  for (int i = 0; i < m_categories.Count(); ++i) {
    if (m_categories.KindOf(i) == wanted) m_category->addItem(Q(m_categories.DisplayName(i)));
    if (m_categories.KindOf(i) == kKindAsset) m_account->addItem(Q(m_categories.DisplayName(i)));
  }
  m_category->setCurrentIndex(std::max(0, m_category->findText(category)));
  m_account->setCurrentIndex(std::max(0, m_account->findText(account)));
  const bool move = kind == TRecurringKind::rkMove;
  m_categoryLabel->setText(move ? QStringLiteral("移動先(&G)") : QStringLiteral("項目(&G)"));
  m_accountLabel->setText(move ? QStringLiteral("移動元(&B)") : QStringLiteral("口座(&B)"));
}

void TFmRecurringEdit::FillDays() {
  const int keep = m_day->currentIndex();
  m_day->clear();
  switch (static_cast<TRepeat>(m_repeat->currentIndex())) {
    case TRepeat::rpMonthly:
      for (int d = 1; d <= 31; ++d) m_day->addItem(QString::number(d) + QStringLiteral("日"), d);
      m_day->addItem(QStringLiteral("月末"), kMonthEnd);
      break;
    case TRepeat::rpWeekly:
      for (int d = 1; d <= 7; ++d) m_day->addItem(QString::fromUtf8(kWeekdays[d - 1]), d);
      break;
    case TRepeat::rpYearly:
      for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= DaysInMonth(2000, m); ++d) {
          m_day->addItem(QStringLiteral("%1月%2日").arg(m).arg(d), m * 100 + d);
        }
      }
      break;
    case TRepeat::rpDays: break;
  }
  m_day->setEnabled(m_day->count() > 0);
  if (keep >= 0 && keep < m_day->count()) m_day->setCurrentIndex(keep);
}

void TFmRecurringEdit::EndChanged() {
  m_until->setEnabled(m_end->currentIndex() == eUntil);
  m_count->setEnabled(m_end->currentIndex() == eCount);
}

void TFmRecurringEdit::ShowTemplate() {
  const TRecurringTemplate& t = m_template;
  const TSchedule& s = t.schedule;
  m_kind->setCurrentIndex(static_cast<int>(t.kind));
  FillCategories();
  m_category->setCurrentIndex(std::max(0, m_category->findText(Q(t.category))));
  m_account->setCurrentIndex(std::max(0, m_account->findText(Q(t.account))));
  m_item->setText(Q(t.item));
  m_note->setText(Q(t.note));
  m_amount->setText(Q(FormatThousands(t.amount)));
  m_estimate->setChecked(t.estimate);
  m_repeat->setCurrentIndex(static_cast<int>(s.repeat));
  FillDays();
  m_day->setCurrentIndex(std::max(0, m_day->findData(s.day)));
  m_interval->setValue(s.interval);
  m_shift->setCurrentIndex(static_cast<int>(s.shift));
  m_first->setDate(ToQDate(s.first == 0 ? Today() : s.first));
  m_end->setCurrentIndex(s.until != 0 ? eUntil : s.count > 0 ? eCount : eNone);
  m_until->setDate(ToQDate(s.until != 0 ? s.until : (s.first == 0 ? Today() : s.first)));
  m_count->setValue(std::max(1, s.count));
  EndChanged();
}

TRecurringTemplate TFmRecurringEdit::Edited() const {
  TRecurringTemplate t = m_template;
  t.kind = static_cast<TRecurringKind>(m_kind->currentIndex());
  t.category = m_category->currentText().toStdString();
  t.account = m_account->currentText().toStdString();
  t.item = m_item->text().toStdString();
  t.note = m_note->text().toStdString();
  t.estimate = m_estimate->isChecked();
  TSchedule& s = t.schedule;
  s.repeat = static_cast<TRepeat>(m_repeat->currentIndex());
  s.interval = m_interval->value();
  s.day = m_day->count() > 0 ? m_day->currentData().toInt() : 0;
  s.shift = static_cast<TBusinessShift>(m_shift->currentIndex());
  s.first = ToDay(m_first->date());
  s.until = m_end->currentIndex() == eUntil ? ToDay(m_until->date()) : 0;
  s.count = m_end->currentIndex() == eCount ? m_count->value() : 0;
  return t;
}

void TFmRecurringEdit::accept() {
  TRecurringTemplate t = Edited();
  const std::string typed = m_amount->text().toStdString();
  const std::optional<int32_t> amount = ReadTypedAmount(typed);
  if (!amount) {
    m_amount->setFocus();
    WindowSystem().Notify(BadAmountMessage(typed));
    return;
  }
  t.amount = *amount;
  const std::string problem = TemplateProblem(t, m_categories);
  if (!problem.empty()) {
    WindowSystem().Notify(problem);
    return;
  }
  m_template = std::move(t);
  QDialog::accept();
}

}  // namespace kzm::ui
