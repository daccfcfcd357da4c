#include "ui/analysis/ReplaceWindow.h"
#include "ui/common/BackupRuns.h"

#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "controls/CheckedDateEdit.h"
#include "controls/Fonts.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "search/CategoryReplace.h"
#include "search/ReplacePending.h"
#include "ui/common/DataWindows.h"

namespace kzm::ui {

namespace {

constexpr int kClientWidth = 361;
constexpr int kClientHeight = 189;

QComboBox* NewHeadList(const std::vector<TReplaceName>& names, const char* objectName, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  for (const TReplaceName& n : names) box->addItem(QString::fromStdString(n.name), n.kind);
  box->setCurrentIndex(-1);
  box->setMinimumContentsLength(10);
  return box;
}

QComboBox* NewKindList(const char* objectName, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  for (int kind : ReplaceKinds()) box->addItem(QString::fromStdString(KindNames()[static_cast<size_t>(kind)]), kind);
  box->setCurrentIndex(0);
  return box;
}

// One group: a name list and a kind list under their labels.
QGroupBox* NewGroup(const char* caption, const char* objectName, QComboBox*& head, QComboBox*& kind,
                    const std::vector<TReplaceName>& names, const char* headName, const char* kindName,
                    QWidget* parent) {
  auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
  group->setObjectName(QString::fromLatin1(objectName));
  head = NewHeadList(names, headName, group);
  kind = NewKindList(kindName, group);
  // A reader hears which side each list is on: "置き換え後の項目", the field inside the list too.
  const QString side = QString::fromUtf8(caption);
  head->setAccessibleName(side + QStringLiteral("の項目"));
  if (head->lineEdit()) head->lineEdit()->setAccessibleName(head->accessibleName());
  kind->setAccessibleName(side + QStringLiteral("の分類"));
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(QStringLiteral("項目"), group), 0, 0);
  grid->addWidget(head, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("分類"), group), 1, 0);
  grid->addWidget(kind, 1, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

std::string TextOf(const QComboBox* box) { return box->currentText().toStdString(); }

}  // namespace

TFmReplace::TFmReplace(const THeadList& categories, TkzmDataUnit& data, QWidget* parent)
    : QDialog(parent), m_categories(categories), m_data(data) {
  setObjectName(QStringLiteral("FmReplace"));
  setWindowTitle(QStringLiteral("項目の置換"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(ProgramFont(9));
  CreateControls();
}

void TFmReplace::CreateControls() {
  const std::vector<TReplaceName> names = ReplaceNames(m_categories);
  QGroupBox* before = NewGroup("置き換え対象", "GroupBox1", m_headBf, m_kindBf, names, "CmbHeadBf", "CmbKindBf", this);
  QGroupBox* after = NewGroup("置き換え後", "GroupBox2", m_headAf, m_kindAf, names, "CmbHeadAf", "CmbKindAf", this);
  connect(m_headBf, &QComboBox::activated, this, [this] { HeadSelected(m_headBf, m_kindBf); });
  connect(m_headAf, &QComboBox::activated, this, [this] { HeadSelected(m_headAf, m_kindAf); });
  connect(m_kindBf, &QComboBox::currentIndexChanged, this, [this](int i) { KindChanged(m_kindAf, i); });
  connect(m_kindAf, &QComboBox::currentIndexChanged, this, [this](int i) { KindChanged(m_kindBf, i); });

  m_first = new TCheckedDateEdit(this);
  m_first->setObjectName(QStringLiteral("DateTimePicker1"));
  m_first->SetDay(Today() - 31);
  m_last = new TCheckedDateEdit(this);
  m_last->setObjectName(QStringLiteral("DateTimePicker2"));
  m_last->SetDay(Today());
  for (auto [edit, what] : {std::pair{m_first, QStringLiteral("期間の始め")}, std::pair{m_last, QStringLiteral("期間の終わり")}}) {
    edit->CheckBox()->setAccessibleName(what + QStringLiteral("を使う"));
    edit->DateEdit()->setAccessibleName(what);
  }
  auto* range = new QHBoxLayout;
  range->addWidget(new QLabel(QStringLiteral("期間"), this));
  range->addWidget(m_first);
  range->addWidget(new QLabel(QStringLiteral("から"), this));
  range->addWidget(m_last);
  range->addWidget(new QLabel(QStringLiteral("まで"), this));
  range->addStretch();

  m_go = new QPushButton(QStringLiteral("置換実行"), this);
  m_go->setObjectName(QStringLiteral("ButtonReplaceGo"));
  m_go->setDefault(true);
  m_stopButton = new QPushButton(QStringLiteral("停止"), this);
  m_stopButton->setObjectName(QStringLiteral("ButtonStop"));
  m_stopButton->setEnabled(false);
  connect(m_go, &QPushButton::clicked, this, &TFmReplace::ButtonReplaceGoClick);
  connect(m_stopButton, &QPushButton::clicked, this, [this] { m_stop = true; });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_go);
  buttons->addWidget(m_stopButton);

  auto* groups = new QHBoxLayout;
  groups->addWidget(before);
  groups->addWidget(after);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(range);
  layout->addStretch();
  layout->addLayout(buttons);
  const QSize hint = sizeHint();
  setFixedSize(std::max(hint.width(), kClientWidth), std::max(hint.height(), kClientHeight));
}

// A name chosen from the list selects the kind of its category; a kind the kind list lacks
// (the memo) leaves none selected.
void TFmReplace::HeadSelected(QComboBox* head, QComboBox* kind) {
  kind->setCurrentIndex(ReplaceKindPosition(m_categories.KindOfName(TextOf(head))));
}

// Both kind lists show the same kind, so a replacement never changes an entry's kind.
void TFmReplace::KindChanged(QComboBox* other, int index) {
  if (other->currentIndex() != index) other->setCurrentIndex(index);
}

bool TFmReplace::StoreOpenWindows() {
  // Open windows may hold typed days of these months; a later save of theirs would write
  // the old keys back over the replacement.
  if (!SaveAllDataWindows()) return false;
  if (!m_data.Save()) {
    WindowSystem().Notify("保存できていない月のデータがあるため、置換を実行できません。");
    return false;
  }
  return true;
}

void TFmReplace::ButtonReplaceGoClick() {
  if (m_running) return;
  TReplaceRequest request;
  request.before = MakeKey(TextOf(m_headBf), KindCode(TextOf(m_kindBf)));
  request.after = MakeKey(TextOf(m_headAf), KindCode(TextOf(m_kindAf)));
  request.first = m_first->DayIfChecked();
  request.last = m_last->DayIfChecked();
  const std::string refusal = ReplaceRefusal(m_categories, request.before, request.after);
  if (!refusal.empty()) {
    WindowSystem().Notify(refusal);
    return;
  }
  Run(request);
}

void TFmReplace::Run(const TReplaceRequest& request) {
  QCoreApplication::processEvents();
  if (!StoreOpenWindows()) return;
  // After the windows stored their typing, so that the backup holds it too.
  if (!BackupBeforeChange(TBackupReason::brReplace)) return;

  m_running = true;
  m_stop = false;
  m_go->setEnabled(false);
  m_stopButton->setEnabled(true);
  const TReplaceOutcome outcome = ReplaceAllMonths(m_data, request, [this] {
    QCoreApplication::processEvents();
    return !m_stop;
  });
  m_running = false;
  m_go->setEnabled(true);
  m_stopButton->setEnabled(false);
  // The windows show the replaced entries at once, not only when this window closes.
  if (outcome.monthsChanged > 0) WindowSystem().BroadcastToForms(kNoticeDataChanged, 0, 0);
  if (outcome.failed) WindowSystem().Notify(ReplaceReport(outcome));
  else WindowSystem().Inform(ReplaceReport(outcome));
}

void TFmReplace::OfferToFinish() {
  if (m_running) return;
  std::optional<TReplaceRequest> pending;
  std::string error;
  const std::string folder = PassbookFolderOf(m_data);
  if (!ReadPendingReplace(folder, pending, error)) {
    WindowSystem().Notify(error);
    return;
  }
  if (!pending) return;
  // The target may have gone from the categories since: the run cannot be finished then.
  if (const std::string refusal = ReplaceRefusal(m_categories, pending->before, pending->after); !refusal.empty()) {
    WindowSystem().Notify("前回止まった項目の置換は続けられないため、その記録を消します。\n" + refusal);
    if (!RemovePendingReplace(folder, error)) WindowSystem().Notify(error);
    return;
  }
  if (WindowSystem().AskYesNo(PendingReplaceQuestion(*pending))) {
    Run(*pending);
  } else if (!RemovePendingReplace(folder, error)) {
    WindowSystem().Notify(error);
  }
}

void TFmReplace::reject() {
  // Escape or the close box while running stops the run; the window closes once it ended.
  if (m_running) {
    m_stop = true;
    return;
  }
  QDialog::reject();
}

void TFmReplace::closeEvent(QCloseEvent* event) {
  if (m_running) {
    m_stop = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace kzm::ui
