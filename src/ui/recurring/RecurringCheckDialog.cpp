#include "ui/recurring/RecurringCheckDialog.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string>

#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/AmountExpression.h"

namespace kzm::ui {

namespace {

enum TColumn { cTick, cDate, cItem, cAmount, cColumnCount };

const QColor kEstimateColour(255, 244, 200);

}  // namespace

TFmRecurringCheck::TFmRecurringCheck(std::vector<TDueOccurrence> due, QWidget* parent)
    : QDialog(parent), m_due(std::move(due)) {
  setObjectName(QStringLiteral("FmRecurringCheck"));
  setWindowTitle(QStringLiteral("定期的な記入の確認"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("記入の日が来た定期的な記入があります。記入するものにしるしを付けてください。\n"
                                              "色の付いた金額は見込みです。実際の金額に直してから記入してください。"),
                               this));
  m_table = new QTableWidget(static_cast<int>(m_due.size()), cColumnCount, this);
  m_table->setObjectName(QStringLiteral("OccurrenceTable"));
  m_table->setAccessibleName(QStringLiteral("記入する回"));
  m_table->setTabKeyNavigation(false);  // Tab leaves the table, as in every grid of the program
  m_table->setHorizontalHeaderLabels({QStringLiteral("記入"), QStringLiteral("日付"), QStringLiteral("内容"),
                                      QStringLiteral("金額")});
  m_table->verticalHeader()->hide();
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  for (int row = 0; row < static_cast<int>(m_due.size()); ++row) {
    const TDueOccurrence& d = m_due[static_cast<size_t>(row)];
    auto* tick = new QTableWidgetItem();
    tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    tick->setCheckState(Qt::Checked);
    m_table->setItem(row, cTick, tick);
    m_table->setItem(row, cDate, ReadOnlyItem(Q(FormatDateSlashed(d.occurrence.date))));
    m_table->setItem(row, cItem, ReadOnlyItem(Q(d.source.item.empty() ? d.source.category : d.source.item)));
    auto* amount = new QTableWidgetItem(Q(FormatThousands(d.source.amount)));
    amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (d.source.estimate) {
      amount->setBackground(QBrush(kEstimateColour));
      amount->setToolTip(QStringLiteral("見込みの金額です"));
    }
    m_table->setItem(row, cAmount, amount);
  }
  // The text takes the room left; the amount keeps room to type a larger figure.
  m_table->resizeColumnsToContents();
  m_table->setColumnWidth(cAmount, std::max(m_table->columnWidth(cAmount), 110));
  m_table->horizontalHeader()->setSectionResizeMode(cItem, QHeaderView::Stretch);
  layout->addWidget(m_table);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  const struct {
    const char* name;
    const char* caption;
  } defs[] = {{"ButtonEnter", "記入する(&E)"}, {"ButtonLater", "あとで(&L)"}, {"ButtonSkip", "スキップ(&S)"}};
  for (const auto& def : defs) {
    auto* button = new QPushButton(QString::fromUtf8(def.caption), this);
    button->setObjectName(QString::fromUtf8(def.name));
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  connect(findChild<QPushButton*>(QStringLiteral("ButtonEnter")), &QPushButton::clicked, this,
          [this] { Decide(TChoice::cEnter); });
  connect(findChild<QPushButton*>(QStringLiteral("ButtonSkip")), &QPushButton::clicked, this,
          [this] { Decide(TChoice::cSkip); });
  connect(findChild<QPushButton*>(QStringLiteral("ButtonLater")), &QPushButton::clicked, this, &QDialog::reject);
  layout->addLayout(buttons);
  resize(520, 320);
  if (!m_due.empty()) m_table->setCurrentCell(0, cTick);
}

void TFmRecurringCheck::Decide(TChoice ticked) {
  std::vector<TOccurrenceChoice> choices;
  for (int row = 0; row < static_cast<int>(m_due.size()); ++row) {
    const TDueOccurrence& d = m_due[static_cast<size_t>(row)];
    const bool on = m_table->item(row, cTick)->checkState() == Qt::Checked;
    const std::string typed = m_table->item(row, cAmount)->text().toStdString();
    const std::optional<int32_t> amount = ReadTypedAmount(typed);
    const bool entered = on && ticked == TChoice::cEnter;
    if (entered && !amount) {
      m_table->setCurrentCell(row, cAmount);
      WindowSystem().Notify(FormatDateSlashed(d.occurrence.date) + " の" + BadAmountMessage(typed));
      return;
    }
    choices.push_back({d, on ? ticked : TChoice::cLater, entered ? *amount : d.source.amount});
  }
  m_choices = std::move(choices);
  accept();
}

}  // namespace kzm::ui
