#include "ui/card/CardSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

#include <algorithm>

#include "controls/UiBasics.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "ui/common/Openers.h"

namespace kzm::ui {

namespace {

// 1日 … 28日, then 月末; the item's data is the day as TCardSettings keeps it.
QComboBox* DayCombo(QWidget* parent, const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  for (int day = 1; day <= kCardLastDay; ++day) combo->addItem(Q(CardDayText(day)), day);
  combo->addItem(Q(CardDayText(kCardMonthEnd)), kCardMonthEnd);
  return combo;
}

// Room a title bar takes besides its text: the window's icon, three buttons and margins.
constexpr int kTitleBarButtons = 120;

// The width at which the window manager need not cut the title; title bars mostly set it in
// a bold face of about the program's size.
int WidthForTitle(const QWidget& window) {
  QFont bold = window.font();
  bold.setBold(true);
  return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + kTitleBarButtons;
}

void SelectData(QComboBox* combo, int value) {
  const int index = combo->findData(value);
  if (index >= 0) combo->setCurrentIndex(index);
}

}  // namespace

TFmCardSetup::TFmCardSetup(const TCardSettings& source, bool isCard, const THeadList& categories, QWidget* parent)
    : QDialog(parent), m_categories(categories), m_settings(source), m_isCard(isCard) {
  setObjectName(QStringLiteral("FmCardSetup"));
  setWindowTitle(QStringLiteral("カードの設定 - ") + Q(source.card));
  auto* form = new QFormLayout(this);
  m_card = new QCheckBox(QStringLiteral("カード(&C)"), this);
  m_card->setObjectName(QStringLiteral("CheckCard"));
  m_card->setChecked(isCard);
  form->addRow(m_card);
  m_closing = DayCombo(this, "ComboClosing");
  form->addRow(QStringLiteral("締め日(&S)"), m_closing);
  m_month = new QComboBox(this);
  m_month->setObjectName(QStringLiteral("ComboMonth"));
  m_month->addItem(Q(PaymentMonthText(1)), 1);
  m_month->addItem(Q(PaymentMonthText(2)), 2);
  form->addRow(QStringLiteral("支払月(&M)"), m_month);
  m_payment = DayCombo(this, "ComboPayment");
  form->addRow(QStringLiteral("支払日(&P)"), m_payment);
  m_from = new QComboBox(this);
  m_from->setObjectName(QStringLiteral("ComboFrom"));
  for (int i = 0; i < categories.Count(); ++i) {
    if (categories.KindOf(i) == kKindAsset && categories.DisplayName(i) != source.card) {
      m_from->addItem(Q(categories.DisplayName(i)));
    }
  }
  // A 引落口座 the passbook no longer has stays shown as it is, so that OK names it.
  if (!source.fromAccount.empty() && m_from->findText(Q(source.fromAccount)) < 0)
    m_from->addItem(Q(source.fromAccount));
  form->addRow(QStringLiteral("引落口座(&B)"), m_from);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFmCardSetup::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_card, &QCheckBox::toggled, this, [this] { EnableFields(); });

  setMinimumWidth(std::max(minimumSizeHint().width(), WidthForTitle(*this)));
  SelectData(m_closing, source.closingDay);
  SelectData(m_payment, source.paymentDay);
  SelectData(m_month, source.paymentMonths);
  if (!source.fromAccount.empty()) m_from->setCurrentText(Q(source.fromAccount));
  EnableFields();
}

void TFmCardSetup::EnableFields() {
  for (QWidget* field : {static_cast<QWidget*>(m_closing), static_cast<QWidget*>(m_payment),
                         static_cast<QWidget*>(m_month), static_cast<QWidget*>(m_from)}) {
    field->setEnabled(m_card->isChecked());
  }
}

TCardSettings TFmCardSetup::Edited() const {
  TCardSettings card = m_settings;
  card.closingDay = m_closing->currentData().toInt();
  card.paymentDay = m_payment->currentData().toInt();
  card.paymentMonths = m_month->currentData().toInt();
  card.fromAccount = m_from->currentText().toStdString();
  return card;
}

void TFmCardSetup::accept() {
  const TCardSettings card = Edited();
  if (m_card->isChecked()) {
    const std::string problem = CardProblem(card, m_categories);
    if (!problem.empty()) {
      WindowSystem().Notify(problem);
      return;
    }
  }
  m_isCard = m_card->isChecked();
  m_settings = card;
  QDialog::accept();
}

bool EditCardSettings(const std::string& folder, const std::string& card, const THeadList& categories,
                      QWidget* parent) {
  TCardStore store;
  std::string error;
  if (!store.Load(folder, error)) {
    WindowSystem().Notify(error);
    return false;
  }
  const TCardSettings* old = store.Find(card);
  TCardSettings settings = old ? *old : TCardSettings{};
  settings.card = card;
  TFmCardSetup dialog(settings, old != nullptr, categories, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (dialog.IsCard()) store.Set(dialog.Settings());
  else store.Remove(card);
  if (store.Save(error)) return true;
  WindowSystem().Notify(error);
  return false;
}

}  // namespace kzm::ui
