#include "ui/card/CardBillWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "calendar/BusinessDays.h"
#include "card/CardPayment.h"
#include "controls/Fonts.h"
#include "controls/NoticeEvent.h"
#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/card/CardSetupDialog.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/common/SpokenItems.h"

namespace kzm::ui {

namespace {

bool Open(const TCardCycle& cycle) { return CycleOpen(cycle, Today()); }

}  // namespace

TFmCardBill::TFmCardBill(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmCardBill"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(ProgramFont());
  setWindowTitle(QStringLiteral("カードの請求"));
  resize(520, 420);

  m_cards = new QComboBox(this);
  m_cards->setObjectName(QStringLiteral("ComboCard"));
  m_buttonSetup = new QPushButton(QStringLiteral("設定(&S)…"), this);
  m_buttonSetup->setObjectName(QStringLiteral("ButtonSetup"));
  m_settings = new QLabel(this);
  m_settings->setObjectName(QStringLiteral("LabelSettings"));
  m_settings->setWordWrap(true);
  m_table = new QTableWidget(0, kColCount, this);
  m_table->setObjectName(QStringLiteral("GridCycles"));
  m_table->setAccessibleName(QStringLiteral("請求の一覧"));
  m_table->setTabKeyNavigation(false);  // Tab leaves the table, as in every grid of the program
  m_table->setHorizontalHeaderLabels({"期間", "請求額", "支払日", "支払"});
  m_table->verticalHeader()->hide();
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_table->horizontalHeader()->setSectionResizeMode(kColPeriod, QHeaderView::Stretch);
  m_buttonPay = new QPushButton(QStringLiteral("支払を記入(&P)"), this);
  m_buttonPay->setObjectName(QStringLiteral("ButtonPay"));

  auto* top = new QHBoxLayout;
  auto* cardLabel = new QLabel(QStringLiteral("カード(&C)"), this);
  cardLabel->setBuddy(m_cards);  // Alt+C goes to the list, and the label shows C underlined
  top->addWidget(cardLabel);
  top->addWidget(m_cards, 1);
  top->addWidget(m_buttonSetup);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(m_buttonPay);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_settings);
  layout->addWidget(m_table, 1);
  layout->addLayout(bottom);

  connect(m_cards, &QComboBox::currentTextChanged, this, [this](const QString& name) {
    m_card.card = name.toStdString();
    Reload();
  });
  connect(m_buttonSetup, &QPushButton::clicked, this, &TFmCardBill::ButtonSetupClick);
  connect(m_buttonPay, &QPushButton::clicked, this, &TFmCardBill::ButtonPayClick);
  connect(m_table, &QTableWidget::itemSelectionChanged, this, &TFmCardBill::UpdateButtons);
}

TFmCardBill::~TFmCardBill() = default;

TDataWindow TFmCardBill::DataWindowInfo() const { return {TDataWindowKind::dwOther, 0, 0}; }

void TFmCardBill::ShowCard(const std::string& card) {
  std::string error;
  if (!m_store.Load(CurrentProfile().Folder(), error)) WindowSystem().Notify(error);
  // Every asset may be chosen, so that one not yet a card can be made one here; cards first.
  const THeadList& categories = CurrentProfile().Categories();
  QStringList names;
  for (const TCardSettings& c : m_store.Cards()) names << Q(c.card);
  for (int i = 0; i < categories.Count(); ++i) {
    if (categories.KindOf(i) == kKindAsset && !names.contains(Q(categories.DisplayName(i)))) {
      names << Q(categories.DisplayName(i));
    }
  }
  std::string shown = card;
  if (shown.empty() || !names.contains(Q(shown))) shown = names.isEmpty() ? std::string() : names.front().toStdString();
  {
    const QSignalBlocker block(m_cards);
    m_cards->clear();
    m_cards->addItems(names);
    m_cards->setCurrentText(Q(shown));
  }
  m_card.card = shown;
  Reload();
}

void TFmCardBill::Reload() {
  std::string error;
  if (!m_store.Load(CurrentProfile().Folder(), error)) WindowSystem().Notify(error);
  m_cycles.clear();
  m_usable = false;
  const TCardSettings* card = m_store.Find(m_card.card);
  if (!card) {
    m_settings->setText(QStringLiteral("カードとして設定されていません。「設定」で締め日と支払日を決めてください。"));
    m_settings->setStyleSheet(QString());
  } else {
    m_card = *card;
    const std::string problem = CardProblem(m_card, CurrentProfile().Categories());
    m_usable = problem.empty();
    m_settings->setText(m_usable ? Q("締め日 " + CardDayText(m_card.closingDay) + "、支払日 " +
                                     PaymentMonthText(m_card.paymentMonths) + CardDayText(m_card.paymentDay) +
                                     "、引落口座 " + m_card.fromAccount)
                                 : Q(problem));
    m_settings->setStyleSheet(m_usable ? QString() : QStringLiteral("color: #E02020;"));
  }
  if (m_usable) {
    TCardMovements movements;
    (void)CollectCardMovements(CurrentMonthData(), m_card, 0, 0, movements);
    m_cycles = CardCyclesUpTo(m_card, movements, Today(), ProgramBusinessDays());
    std::reverse(m_cycles.begin(), m_cycles.end());
  }
  FillTable();
}

void TFmCardBill::FillTable() {
  const int selected = m_table->currentRow();
  m_table->setRowCount(static_cast<int>(m_cycles.size()));
  for (int r = 0; r < static_cast<int>(m_cycles.size()); ++r) {
    const TCardCycle& c = m_cycles[static_cast<size_t>(r)];
    m_table->setItem(r, kColPeriod, ReadOnlyItem(Q(FormatDateSlashed(c.first) + "～" + FormatDateSlashed(c.last)), false));
    m_table->setItem(r, kColBilled, AmountItem(c.billed));
    m_table->setItem(r, kColPayment, ReadOnlyItem(Q(FormatDateSlashed(c.paymentDate)), false));
    QTableWidgetItem* state = ReadOnlyItem(Q(CycleStateText(c, Today())), false);
    if (!c.entered && !Open(c)) state->setForeground(QColor(0xE0, 0x20, 0x20));
    m_table->setItem(r, kColState, state);
  }
  if (selected >= 0 && selected < m_table->rowCount()) m_table->selectRow(selected);
  UpdateButtons();
}

void TFmCardBill::UpdateButtons() {
  const int row = m_table->currentRow();
  const bool payable = m_usable && row >= 0 && row < static_cast<int>(m_cycles.size()) &&
                       !m_cycles[static_cast<size_t>(row)].entered && !Open(m_cycles[static_cast<size_t>(row)]);
  m_buttonPay->setEnabled(payable);
  m_buttonSetup->setEnabled(!m_card.card.empty());
}

void TFmCardBill::ButtonSetupClick() {
  if (m_card.card.empty()) return;
  if (EditCardSettings(CurrentProfile().Folder(), m_card.card, CurrentProfile().Categories(), this)) Reload();
}

void TFmCardBill::ButtonPayClick() {
  const int row = m_table->currentRow();
  if (!m_usable || row < 0 || row >= static_cast<int>(m_cycles.size())) return;
  const TCardCycle cycle = m_cycles[static_cast<size_t>(row)];
  // Days typed in open daily windows are stored first; they show the payment afterwards.
  if (!SaveAllDataWindows()) return;
  std::string message;
  {
    // A full disk fails the month file and the settlement: one message, not two.
    TNoticeGroup notices;
    if (!EnterCardPayment(m_card, cycle, CurrentMonthData(), message)) WindowSystem().Notify(message);
  }
  Reload();
}

bool TFmCardBill::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType()) {
    const int message = static_cast<TNoticeEvent*>(event)->Message();
    if (message == kNoticeDataChanged) Reload();
    if (message == kNoticePassbookOpened) ShowCard(std::string());
  }
  return QWidget::event(event);
}

void OpenCardBillWindow() {
  auto* form = new TFmCardBill;
  form->ShowCard(std::string());
  RegisterDataWindow(form);
  CentreOnOpener(*form);
  form->show();
}

}  // namespace kzm::ui
