#include "ui/recurring/RecurringWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "calendar/BusinessDays.h"
#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "recurring/RecurringEntering.h"
#include "ui/recurring/RecurringEditDialog.h"

namespace kzm::ui {

namespace {

constexpr int kNextCount = 12;
constexpr const char* kWeekdayMarks[] = {"日", "月", "火", "水", "木", "金", "土"};

QTableWidgetItem* Cell(const std::string& text, int id) {
  auto* item = new QTableWidgetItem(Q(text));
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  item->setData(Qt::UserRole, id);
  return item;
}

std::string DayText(TDayNumber day) {
  return FormatDateSlashed(day) + " (" + kWeekdayMarks[DayOfWeek(day)] + ")";
}

// "2027/03/26 (金)  3/27 土曜日 から" for an occurrence moved off a closed day.
std::string OccurrenceText(const TOccurrence& o, TBusinessDays& days) {
  std::string text = DayText(o.date);
  if (o.date == o.scheduled) return text;
  const TYmd from = DecodeDate(o.scheduled);
  return text + "  ← " + std::to_string(from.month) + "/" + std::to_string(from.day) + " " +
         days.ClosedReason(o.scheduled);
}

}  // namespace

TFmRecurring::TFmRecurring(const THeadList& categories, TkzmDataUnit& data, std::string passbookFolder,
                           QWidget* parent)
    : QDialog(parent), m_categories(categories), m_data(data), m_folder(std::move(passbookFolder)) {
  setObjectName(QStringLiteral("FmRecurring"));
  setWindowTitle(QStringLiteral("定期的な記入"));
  CreateControls();
  std::string error;
  if (!OpenRecurring(m_folder, m_store, m_data, error)) {
    m_readable = false;
    m_add->setEnabled(false);
    WindowSystem().Notify(error);
  }
  m_daysAhead->setValue(m_store.DaysAhead());
  m_daysAhead->setEnabled(m_readable);
  connect(m_daysAhead, &QSpinBox::valueChanged, this, [this](int days) {
    m_store.SetDaysAhead(days);
    (void)SaveStore();
  });
  ShowTemplates(0);
}

void TFmRecurring::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  m_table = new QTableWidget(0, 6, this);
  m_table->setObjectName(QStringLiteral("TemplateTable"));
  m_table->setAccessibleName(QStringLiteral("定期的な記入の一覧"));
  m_table->setTabKeyNavigation(false);  // Tab leaves the table, as in every grid of the program
  m_table->setHorizontalHeaderLabels({QStringLiteral("種類"), QStringLiteral("内容"), QStringLiteral("項目"),
                                      QStringLiteral("金額"), QStringLiteral("くり返し"), QStringLiteral("次の日付")});
  m_table->verticalHeader()->hide();
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The text column takes the room left, so the table fills the window whatever the texts.
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  layout->addWidget(m_table, 2);

  auto* buttons = new QHBoxLayout();
  const struct {
    const char* name;
    const char* caption;
    void (TFmRecurring::*click)();
  } defs[] = {{"ButtonAdd", "追加(&A)…", &TFmRecurring::AddClick},
              {"ButtonChange", "変更(&C)…", &TFmRecurring::ChangeClick},
              {"ButtonDelete", "削除(&D)", &TFmRecurring::DeleteClick}};
  for (const auto& def : defs) {
    auto* button = new QPushButton(QString::fromUtf8(def.caption), this);
    button->setObjectName(QString::fromUtf8(def.name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, def.click);
    buttons->addWidget(button);
  }
  m_add = findChild<QPushButton*>(QStringLiteral("ButtonAdd"));
  buttons->addStretch();
  auto* aheadLabel = new QLabel(QStringLiteral("確認の先読み(&P)"), this);
  m_daysAhead = new QSpinBox(this);
  m_daysAhead->setObjectName(QStringLiteral("SpinDaysAhead"));
  m_daysAhead->setRange(0, kMaxDaysAhead);
  m_daysAhead->setSuffix(QStringLiteral(" 日"));
  m_daysAhead->setToolTip(QStringLiteral("今日から何日先の分まで、定期的な記入の確認に出すか"));
  aheadLabel->setBuddy(m_daysAhead);
  buttons->addWidget(aheadLabel);
  buttons->addWidget(m_daysAhead);
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("ButtonClose"));
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  auto* label = new QLabel(QStringLiteral("これからの%1回(&N)").arg(kNextCount), this);
  m_next = new QListWidget(this);
  m_next->setObjectName(QStringLiteral("NextList"));
  label->setBuddy(m_next);
  m_next->setAccessibleName(QStringLiteral("これからの%1回").arg(kNextCount));  // a list takes no name from its label
  layout->addWidget(label);
  layout->addWidget(m_next, 1);
  connect(m_table, &QTableWidget::itemSelectionChanged, this, &TFmRecurring::ShowNext);
  connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { ChangeClick(); });
  resize(640, 480);
}

void TFmRecurring::ShowTemplates(int selectId) {
  const auto& templates = m_store.Templates();
  m_table->setRowCount(static_cast<int>(templates.size()));
  int selectRow = templates.empty() ? -1 : 0;
  for (int row = 0; row < static_cast<int>(templates.size()); ++row) {
    const TRecurringTemplate& t = templates[static_cast<size_t>(row)];
    const TDayNumber next = NextOpenDate(m_store, t, t.schedule.first - 31, ProgramBusinessDays());
    const std::string target = t.kind == TRecurringKind::rkMove ? t.account + "→" + t.category : t.category;
    const std::string cells[] = {RecurringKindName(t.kind), t.item, target,
                                 FormatThousands(t.amount) + (t.estimate ? " (見込み)" : ""), ScheduleText(t.schedule),
                                 next == 0 ? "終了" : DayText(next)};
    for (int column = 0; column < 6; ++column) m_table->setItem(row, column, Cell(cells[column], t.id));
    if (t.id == selectId) selectRow = row;
  }
  if (selectRow >= 0) m_table->selectRow(selectRow);
  ShowNext();
}

int TFmRecurring::SelectedId() const {
  const QList<QTableWidgetItem*> selected = m_table->selectedItems();
  return selected.isEmpty() ? 0 : selected.front()->data(Qt::UserRole).toInt();
}

void TFmRecurring::ShowNext() {
  m_next->clear();
  const TRecurringTemplate* t = m_store.Find(SelectedId());
  if (!t) return;
  TBusinessDays& days = ProgramBusinessDays();
  for (const TOccurrence& o : NextOccurrences(*t, Today(), kNextCount, days)) {
    m_next->addItem(Q(OccurrenceText(o, days)));
  }
}

bool TFmRecurring::SaveStore() {
  std::string error;
  if (m_store.Save(error)) return true;
  WindowSystem().Notify(error);
  // What is on disk is what holds: the change is dropped.
  std::string reread;
  if (!m_store.Load(m_folder, reread)) m_readable = false;
  return false;
}

bool TFmRecurring::Edit(const TRecurringTemplate& proposal) {
  TFmRecurringEdit editor(proposal, m_categories, this);
  if (editor.exec() != QDialog::Accepted) return false;
  const TRecurringTemplate& edited = editor.Template();
  int id = edited.id;
  if (id == 0) {
    id = m_store.Add(edited);
  } else {
    m_store.Change(edited);
  }
  const bool saved = SaveStore();
  ShowTemplates(id);
  return saved;
}

void TFmRecurring::AddFromEntry(const TRecurringTemplate& proposal) {
  if (m_readable) (void)Edit(proposal);
}

void TFmRecurring::AddClick() {
  if (!m_readable) return;
  TRecurringTemplate proposal;
  proposal.schedule.first = Today();
  proposal.schedule.day = DecodeDate(Today()).day;
  (void)Edit(proposal);
}

void TFmRecurring::ChangeClick() {
  const TRecurringTemplate* t = m_store.Find(SelectedId());
  if (t && m_readable) (void)Edit(*t);
}

void TFmRecurring::DeleteClick() {
  const TRecurringTemplate* t = m_store.Find(SelectedId());
  if (!t || !m_readable) return;
  if (!WindowSystem().AskYesNo("定期的な記入「" + t->item + "」を削除しますか。\n記入済みの記録は残ります。")) return;
  m_store.Remove(t->id);
  (void)SaveStore();
  ShowTemplates(0);
}

}  // namespace kzm::ui
