#include "ui/budget/BudgetWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <iterator>

#include "controls/Fonts.h"
#include "controls/NoticeEvent.h"
#include "controls/UiBasics.h"
#include "foundation/ColorScheme.h"
#include "foundation/DateTexts.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"
#include "report/YearReport.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/common/SpokenItems.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

namespace {

// The bar's share of the budget used, 0 to 1, and whether it is past the budget.
constexpr int kShareRole = Qt::UserRole;
constexpr int kOverRole = Qt::UserRole + 1;

// Paints the bar column: the used share of the budget in the program's payment colour,
// the whole width in red once over.
class TBarDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QVariant share = index.data(kShareRole);
    if (!share.isValid()) return;
    const bool over = index.data(kOverRole).toBool();
    const QRect box = option.rect.adjusted(3, 4, -3, -4);
    painter->save();
    painter->setPen(QColor(0x80, 0x80, 0x80));
    painter->setBrush(Qt::white);
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    const TColor used = ColorScheme().GetColor("月間表示\\セル\\支出2");
    const int width = over ? box.width() : static_cast<int>(box.width() * std::clamp(share.toDouble(), 0.0, 1.0));
    painter->fillRect(QRect(box.x() + 1, box.y() + 1, std::max(0, width - 2), box.height() - 2),
                      over ? QColor(0xE0, 0x20, 0x20) : ToQColor(used).darker(130));
    // Red alone does not say "over" to everyone: the bar says it in words too.
    if (over) {
      painter->setPen(Qt::white);
      painter->drawText(box, Qt::AlignCenter, index.data(Qt::AccessibleTextRole).toString());
    }
    painter->restore();
  }
};

// Reads the budgets quietly; a file that cannot be read leaves editing off.
bool ReadBudgets(TBudgets& budgets) {
  std::string error;
  if (budgets.Load(CurrentProfile().Folder(), error)) return true;
  WindowSystem().Notify(error);
  return false;
}

}  // namespace

TFmBudget::TFmBudget(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmBudget"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(ProgramFont());
  resize(520, 440);

  m_title = new QLabel(this);
  m_title->setObjectName(QStringLiteral("LabelMonth"));
  QFont big = font();
  big.setPointSize(14);
  big.setBold(true);
  m_title->setFont(big);
  m_table = new QTableWidget(0, kColCount, this);
  m_table->setObjectName(QStringLiteral("GridBudget"));
  m_table->setAccessibleName(QStringLiteral("項目ごとの予算"));
  // Tab leaves the table for the next control, as in every grid of the program; the arrows move
  // between cells. Otherwise a keyboard user tabs through every cell to reach the buttons.
  m_table->setTabKeyNavigation(false);
  m_table->setHorizontalHeaderLabels({"項目", "予算", "実績", "残り", ""});
  m_table->verticalHeader()->hide();
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  m_table->setItemDelegateForColumn(kColBar, new TBarDelegate(m_table));
  m_table->horizontalHeader()->setSectionResizeMode(kColBar, QHeaderView::Stretch);
  m_totals = new QLabel(this);
  m_totals->setObjectName(QStringLiteral("LabelTotals"));

  m_buttonBefore = NewButton("前月(&B)", "ButtonBefore", this);
  m_buttonNext = NewButton("次月(&N)", "ButtonNext", this);
  m_buttonLastMonth = NewButton("先月と同じ(&L)", "ButtonLastMonth", this);
  m_buttonAverage = NewButton("過去12か月の平均(&A)", "ButtonAverage", this);

  auto* top = new QHBoxLayout;
  top->addWidget(m_buttonBefore);
  top->addWidget(m_title, 1, Qt::AlignCenter);
  top->addWidget(m_buttonNext);
  auto* fills = new QHBoxLayout;
  fills->addWidget(m_buttonLastMonth);
  fills->addWidget(m_buttonAverage);
  fills->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_table, 1);
  layout->addWidget(m_totals);
  layout->addLayout(fills);
  // Tab goes as the window reads: the month's buttons, the table, the buttons below it.
  QWidget* const chain[] = {m_buttonBefore, m_buttonNext, m_table, m_buttonLastMonth, m_buttonAverage};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);

  connect(m_buttonBefore, &QPushButton::clicked, this, [this] { ShowMonth(PrevMonthKey(m_month.key)); });
  connect(m_buttonNext, &QPushButton::clicked, this, [this] { ShowMonth(NextMonthKey(m_month.key)); });
  connect(m_buttonLastMonth, &QPushButton::clicked, this, [this] { Propose(ProposeFromLastMonth(m_month.key)); });
  connect(m_buttonAverage, &QPushButton::clicked, this, [this] { Propose(ProposeFromAverage(m_month.key)); });
  connect(m_table, &QTableWidget::itemChanged, this, &TFmBudget::ItemChanged);
}

TFmBudget::~TFmBudget() = default;

TDataWindow TFmBudget::DataWindowInfo() const { return {TDataWindowKind::dwOther, m_month.period.first, m_month.period.last}; }

void TFmBudget::ShowMonth(TMonthKey key) {
  m_budgetsRead = ReadBudgets(m_budgets);
  try {
    m_month = BudgetMonth(NormaliseMonthKey(key), m_budgets);
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
    m_month = TBudgetMonth();
    m_month.key = NormaliseMonthKey(key);
  }
  Fill();
}

void TFmBudget::Fill() {
  const QSignalBlocker block(m_table);
  const QString month = Q(YearMonthLabel(m_month.key));
  setWindowTitle(QStringLiteral("予算 ") + month);
  m_title->setText(month + QStringLiteral("  ") + Q(FormatMonthDay(m_month.period.first)) + QStringLiteral("-") +
                   Q(FormatMonthDay(m_month.period.last)));
  m_table->setRowCount(static_cast<int>(m_month.rows.size()));
  for (int r = 0; r < static_cast<int>(m_month.rows.size()); ++r) {
    const TBudgetRow& row = m_month.rows[static_cast<size_t>(r)];
    const bool receipt = KeyKind(row.key) == kKindReceipt;
    m_table->setItem(r, kColName, ReadOnlyItem(Q(KeyName(row.key)) + (receipt ? QStringLiteral(" (収入)") : QString()), false));
    QTableWidgetItem* budget = ReadOnlyItem(row.budget ? Q(FormatThousands(*row.budget)) : QString(), true);
    if (m_budgetsRead) budget->setFlags(budget->flags() | Qt::ItemIsEditable);
    m_table->setItem(r, kColBudget, budget);
    m_table->setItem(r, kColActual, AmountItem(row.actual));
    QTableWidgetItem* left = row.budget ? AmountItem(row.Left()) : ReadOnlyItem(QString(), true);
    if (row.Over() && !receipt) left->setForeground(QColor(0xE0, 0x20, 0x20));
    m_table->setItem(r, kColLeft, left);
    QTableWidgetItem* bar = ReadOnlyItem(QString(), false);
    if (row.budget && !receipt) {
      const double share = *row.budget > 0 ? static_cast<double>(row.actual) / *row.budget : 1.0;
      bar->setData(kShareRole, share);
      bar->setData(kOverRole, row.Over());
      bar->setData(Qt::AccessibleTextRole, row.Over() ? QStringLiteral("超過")
                                                      : QStringLiteral("予算の%1%").arg(static_cast<int>(share * 100)));
    }
    m_table->setItem(r, kColBar, bar);
  }
  m_totals->setText(TotalsText());
  m_totals->setAccessibleName(TotalsText(SpokenAmount));
  m_buttonLastMonth->setEnabled(m_budgetsRead);
  m_buttonAverage->setEnabled(m_budgetsRead);
}

QString TFmBudget::TotalsText(std::string (*amount)(int64_t)) const {
  const auto line = [amount](const char* what, const TBudgetTotals& t) {
    return QString::fromUtf8(what) + QStringLiteral(" 予算 ") + Q(amount(t.budget)) + QStringLiteral("  実績 ") +
           Q(amount(t.actual)) + QStringLiteral("  残り ") + Q(amount(t.Left()));
  };
  // The sums cover only budgeted categories; "実績 0" beside a month of spending would read as wrong.
  const bool anyBudget = std::any_of(m_month.rows.begin(), m_month.rows.end(),
                                     [](const TBudgetRow& row) { return row.budget.has_value(); });
  if (!anyBudget) return QStringLiteral("この月の予算はまだありません（予算の欄に金額を入れてください）");
  QString text = line("支出（予算のある項目）", m_month.spending);
  if (m_month.income.budget != 0) text += QStringLiteral("\n") + line("収入", m_month.income);
  return text;
}

void TFmBudget::ItemChanged(QTableWidgetItem* item) {
  if (item->column() != kColBudget || item->row() >= static_cast<int>(m_month.rows.size())) return;
  const std::string key = m_month.rows[static_cast<size_t>(item->row())].key;
  const std::string text = item->text().toStdString();
  const int current = item->row();
  // The table is filled again, which replaces the item whose change is being announced.
  QMetaObject::invokeMethod(
      this,
      [this, key, text, current] {
        std::optional<int32_t> amount;
        if (!ReadBudgetInput(text, amount)) {
          WindowSystem().Notify("予算の金額が読めません: " + text);
          Fill();
        } else if (ChangeBudgets([&] { m_budgets.Set(key, m_month.key, amount); })) {
          ShowMonth(m_month.key);
        }
        m_table->setCurrentCell(current, kColBudget);
      },
      Qt::QueuedConnection);
}

void TFmBudget::Propose(const std::vector<TBudgetProposal>& proposals) {
  if (ChangeBudgets([&] { ApplyProposals(m_budgets, m_month.key, proposals); })) ShowMonth(m_month.key);
}

bool TFmBudget::ChangeBudgets(const std::function<void()>& change) {
  // Read again first: another budget window may have saved since this one read the file.
  m_budgetsRead = ReadBudgets(m_budgets);
  std::string error;
  if (m_budgetsRead) {
    change();
    if (m_budgets.Save(CurrentProfile().Folder(), error)) return true;
    WindowSystem().Notify(error);
  }
  ShowMonth(m_month.key);  // back to what the file holds
  return false;
}

bool TFmBudget::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType()) {
    const auto* notice = static_cast<TNoticeEvent*>(event);
    const bool inside = m_month.period.first <= notice->First() && notice->First() <= m_month.period.last;
    if (notice->Message() == kNoticeDataChanged && (notice->First() == 0 || inside)) ShowMonth(m_month.key);
  }
  return QWidget::event(event);
}

void OpenBudgetWindow(TMonthKey key) {
  auto* form = new TFmBudget;
  form->ShowMonth(key);
  RegisterDataWindow(form);
  CentreOnOpener(*form);
  form->show();
}

}  // namespace kzm::ui
