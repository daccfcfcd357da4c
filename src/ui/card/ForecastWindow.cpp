#include "ui/card/ForecastWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "calendar/BusinessDays.h"
#include "card/CardSettings.h"
#include "controls/Fonts.h"
#include "controls/NoticeEvent.h"
#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "ui/card/ForecastChart.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/common/SpokenItems.h"

namespace kzm::ui {

namespace {

constexpr int kMonthChoices[] = {3, 6, 12};

}  // namespace

TFmForecast::TFmForecast(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmForecast"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(ProgramFont());
  setWindowTitle(QStringLiteral("これからの残高"));
  resize(640, 560);

  m_monthsBox = new QComboBox(this);
  m_monthsBox->setObjectName(QStringLiteral("ComboMonths"));
  for (const int months : kMonthChoices) m_monthsBox->addItem(QString::number(months) + QStringLiteral("か月"), months);
  m_chart = new TForecastChart(this);
  // A reader finds the same numbers in the table below the chart.
  m_chart->setAccessibleName(QStringLiteral("残高の見込みのグラフ（数字は下の表）"));
  m_table = new QTableWidget(0, kColCount, this);
  m_table->setObjectName(QStringLiteral("GridLowest"));
  m_table->setAccessibleName(QStringLiteral("口座ごとの残高の見込み"));
  m_table->setTabKeyNavigation(false);  // Tab leaves the table, as in every grid of the program
  m_table->setHorizontalHeaderLabels({"口座", "今日の残高", "最低の残高", "その日", "残高が足りなくなる日"});
  m_table->verticalHeader()->hide();
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->horizontalHeader()->setSectionResizeMode(kColShort, QHeaderView::Stretch);
  m_problems = new QLabel(this);
  m_problems->setObjectName(QStringLiteral("LabelProblems"));
  m_problems->setWordWrap(true);
  m_problems->setStyleSheet(QStringLiteral("color: #E02020;"));

  auto* top = new QHBoxLayout;
  auto* monthsLabel = new QLabel(QStringLiteral("今日から(&M)"), this);
  monthsLabel->setBuddy(m_monthsBox);  // Alt+M goes to the choice of months
  top->addWidget(monthsLabel);
  top->addWidget(m_monthsBox);
  top->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_chart, 3);
  layout->addWidget(m_table, 2);
  layout->addWidget(m_problems);

  connect(m_monthsBox, &QComboBox::currentIndexChanged, this,
          [this] { ShowMonths(m_monthsBox->currentData().toInt()); });
  connect(m_table, &QTableWidget::itemChanged, this, &TFmForecast::ShownChanged);
}

TFmForecast::~TFmForecast() = default;

TDataWindow TFmForecast::DataWindowInfo() const { return {TDataWindowKind::dwOther, 0, 0}; }

void TFmForecast::ShowMonths(int months) {
  // Finishing a stopped recurring entering tells every window, this one among them.
  if (m_working) return;
  const QScopedValueRollback working(m_working, true);
  m_months = months;
  {
    const QSignalBlocker block(m_monthsBox);
    m_monthsBox->setCurrentIndex(std::max(0, m_monthsBox->findData(months)));
  }
  const std::string folder = CurrentProfile().Folder();
  QStringList lines;
  TRecurringStore recurring;
  std::string error;
  // A recurring file that cannot be read foresees none of its entries; the person is told.
  if (!OpenRecurring(folder, recurring, CurrentMonthData(), error)) lines << Q(error);
  TCardStore cards;
  if (!cards.Load(folder, error)) lines << Q(error);
  m_forecast = PassbookForecast(recurring, cards, Today(), months, ProgramBusinessDays());
  for (const std::string& p : m_forecast.problems) lines << Q(p);
  if (!m_forecast.complete) lines << QStringLiteral("読めない月のファイルがあるため、見込みは正しくありません。");
  m_problems->setText(lines.join(QStringLiteral("\n")));
  m_problems->setVisible(!lines.isEmpty());
  m_shown.resize(m_forecast.accounts.size(), true);
  FillTable();
  m_chart->SetForecast(m_forecast, m_shown);
}

void TFmForecast::FillTable() {
  const QSignalBlocker block(m_table);
  const QColor red(0xE0, 0x20, 0x20);
  m_table->setRowCount(static_cast<int>(m_forecast.accounts.size()));
  for (int r = 0; r < static_cast<int>(m_forecast.accounts.size()); ++r) {
    const TAccountForecast& a = m_forecast.accounts[static_cast<size_t>(r)];
    // The tick beside the name shows or hides the account's line.
    QTableWidgetItem* name =
        ReadOnlyItem(Q(KeyName(a.accountKey)) + (a.card ? QStringLiteral(" (カード)") : QString()), false);
    name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
    name->setCheckState(m_shown[static_cast<size_t>(r)] ? Qt::Checked : Qt::Unchecked);
    m_table->setItem(r, kColAccount, name);
    m_table->setItem(r, kColToday, AmountItem(a.start));
    QTableWidgetItem* lowest = AmountItem(a.lowest);
    QTableWidgetItem* shortDay = ReadOnlyItem(a.shortDate == 0 ? QString() : Q(FormatDateSlashed(a.shortDate)), false);
    if (a.shortDate != 0) {
      lowest->setForeground(red);
      shortDay->setForeground(red);
    }
    m_table->setItem(r, kColLowest, lowest);
    m_table->setItem(r, kColLowestDate, ReadOnlyItem(Q(FormatDateSlashed(a.lowestDate)), false));
    m_table->setItem(r, kColShort, shortDay);
  }
}

void TFmForecast::ShownChanged(QTableWidgetItem* item) {
  if (item->column() != kColAccount || item->row() >= static_cast<int>(m_shown.size())) return;
  m_shown[static_cast<size_t>(item->row())] = item->checkState() == Qt::Checked;
  m_chart->SetForecast(m_forecast, m_shown);
}

bool TFmForecast::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType()) {
    const int message = static_cast<TNoticeEvent*>(event)->Message();
    if (message == kNoticeDataChanged || message == kNoticePassbookOpened) ShowMonths(m_months);
  }
  return QWidget::event(event);
}

void OpenForecastWindow() {
  auto* form = new TFmForecast;
  form->ShowMonths(3);
  RegisterDataWindow(form);
  CentreOnOpener(*form);
  form->show();
}

}  // namespace kzm::ui
