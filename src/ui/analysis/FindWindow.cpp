#include "ui/analysis/FindWindow.h"

#include "controls/CheckedDatePicker.h"
#include "controls/Fonts.h"
#include "controls/FormHelper.h"
#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthRange.h"
#include "passbook/Profile.h"
#include "ui/analysis/FindGrid.h"
#include "ui/analysis/SearchPrintout.h"
#include "ui/common/Openers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace kzm::ui {

namespace {

// The progress bar is redrawn at most this often, so showing progress costs the search little.
constexpr int kProgressIntervalMs = 40;

std::string S(const QString& text) { return text.toStdString(); }

QComboBox* NewCombo(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  return box;
}

QCheckBox* NewCheck(const char* caption, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

QLineEdit* NewAmountEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAlignment(Qt::AlignRight);
  edit->setMaxLength(20);
  return edit;
}

// A combo-box condition is its text; "(なし)" and empty ask for nothing.
std::string ComboCondition(const QComboBox* box) { return S(box->currentText()); }

}  // namespace

TFmFind::TFmFind(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmFind"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("検索"));
  QFont windowFont(QString::fromUtf8(kProgramFontFamily));
  windowFont.setPixelSize(12);
  setFont(windowFont);

  m_formFunc = new TorvFormFunc(this);
  m_formFunc->setObjectName(QStringLiteral("orvFormFunc1"));
  m_formFunc->SetPreserve(true);
  m_formFunc->SetKeepLocation(true);
  m_formFunc->SetKeepSize(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 0);
  CreateConditions();
  m_grid = new TFindGrid(this);
  m_grid->setObjectName(QStringLiteral("FindGrid1"));
  m_grid->setAccessibleName(QStringLiteral("検索結果"));
  m_grid->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
  m_grid->setMinimumHeight(100);
  m_grid->OnOpenResult = [this](const TkzmEntry& entry) { OpenResult(entry.date); };
  layout->addWidget(m_grid, 1);

  m_statusBar = new QStatusBar(this);
  m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
  m_statusBar->setSizeGripEnabled(false);
  m_status = new QLabel(m_statusBar);
  m_status->setObjectName(QStringLiteral("StatusPanel"));
  m_statusBar->addWidget(m_status, 1);
  m_progress = new QProgressBar(m_statusBar);
  m_progress->setObjectName(QStringLiteral("SearchProgress"));
  m_progress->setMaximumWidth(160);
  m_progress->setTextVisible(false);
  m_progress->hide();
  m_statusBar->addPermanentWidget(m_progress);
  layout->addWidget(m_statusBar);

  FillCategoryLists();
  // The window is as wide as its controls; only its height follows the user.
  layout->activate();
  setFixedWidth(layout->sizeHint().width());
  resize(width(), layout->sizeHint().height() + 260);
  RegisterDataWindow(this);
}

TFmFind::~TFmFind() = default;

void TFmFind::CreateConditions() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  int row = 0;
  const auto label = [this, grid](const char* caption, int r, int c = 0) {
    auto* text = new QLabel(QString::fromUtf8(caption), this);
    grid->addWidget(text, r, c);
    return text;
  };
  // A reader says what each field asks for: the label's text, the field inside a combo too.
  const auto name = [](QWidget* field, const QString& what) {
    field->setAccessibleName(what);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) combo->lineEdit()->setAccessibleName(what);
  };
  m_head = NewCombo("CMhead", this);
  m_detail = NewCombo("CMdetail", this);
  m_option = NewCombo("CMoption", this);
  m_from = NewCombo("CMfrom", this);
  for (auto [caption, box] : {std::pair{"項目", m_head}, std::pair{"内容", m_detail}, std::pair{"備考", m_option},
                              std::pair{"出入資産", m_from}}) {
    label(caption, row)->setBuddy(box);
    name(box, QString::fromUtf8(caption));
    grid->addWidget(box, row++, 1, 1, 3);
  }

  m_upper = NewAmountEdit("MemoUpper", this);
  m_useUpper = NewCheck("以下", "CBupper", this);
  m_lower = NewAmountEdit("MemoLower", this);
  m_useLower = NewCheck("以上", "CBlower", this);
  name(m_upper, QStringLiteral("金額上限"));
  name(m_lower, QStringLiteral("金額下限"));
  label("金額上限", row);
  grid->addWidget(m_upper, row, 1, 1, 2);
  grid->addWidget(m_useUpper, row++, 3);
  label("金額下限", row);
  grid->addWidget(m_lower, row, 1, 1, 2);
  grid->addWidget(m_useLower, row++, 3);

  m_first = new TCheckedDatePicker(this);
  m_first->setObjectName(QStringLiteral("DateTimePicker1"));
  m_first->SetDate(Today() - 31);
  m_last = new TCheckedDatePicker(this);
  m_last->setObjectName(QStringLiteral("DateTimePicker2"));
  m_last->SetDate(Today());
  for (auto [picker, what] : {std::pair{m_first, QStringLiteral("期間の始め")}, std::pair{m_last, QStringLiteral("期間の終わり")}}) {
    for (QWidget* part : picker->findChildren<QWidget*>(QStringLiteral("Check"))) name(part, what + QStringLiteral("を使う"));
    for (QWidget* part : picker->findChildren<QWidget*>(QStringLiteral("Date"))) name(part, what);
  }
  label("期間", row);
  grid->addWidget(m_first, row, 1, 1, 2);
  label("から", row++, 3);
  grid->addWidget(m_last, row, 1, 1, 2);
  label("まで", row++, 3);

  m_payment = NewCheck("支出", "CBpayment", this);
  m_receipt = NewCheck("収入", "CBreceipt", this);
  m_assets = NewCheck("資産の移動", "CBassets", this);
  m_memo = NewCheck("メモ", "CBmemo", this);
  auto* kinds = new QHBoxLayout;
  for (QCheckBox* box : {m_payment, m_receipt, m_assets, m_memo}) {
    box->setChecked(true);
    kinds->addWidget(box);
  }
  kinds->addStretch();
  label("検索対象", row);
  grid->addLayout(kinds, row++, 1, 1, 3);
  grid->setColumnStretch(1, 1);

  auto* outer = static_cast<QVBoxLayout*>(layout());
  outer->addLayout(grid);
  outer->addWidget(CreateButtons());
}

QWidget* TFmFind::CreateButtons() {
  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 4, 0, 4);
  m_buttonNew = NewButton("新規検索(&N)", "ButtonNew", bar);
  m_buttonAdd = NewButton("追加検索", "ButtonAdd", bar);
  m_buttonStop = NewButton("停止", "ButtonStop", bar);
  m_buttonStop->setEnabled(false);
  m_buttonPrint = NewButton("印刷", "ButtonPrint", bar);
  m_buttonCsv = NewButton("CSV出力", "ButtonCSV", bar);
  for (QPushButton* b : {m_buttonNew, m_buttonAdd, m_buttonStop, m_buttonPrint, m_buttonCsv}) row->addWidget(b);
  connect(m_buttonNew, &QPushButton::clicked, this, &TFmFind::ButtonNewClick);
  connect(m_buttonAdd, &QPushButton::clicked, this, &TFmFind::ButtonAddClick);
  connect(m_buttonStop, &QPushButton::clicked, this, &TFmFind::ButtonStopClick);
  connect(m_buttonPrint, &QPushButton::clicked, this, &TFmFind::ButtonPrintClick);
  connect(m_buttonCsv, &QPushButton::clicked, this, &TFmFind::ButtonCSVClick);
  return bar;
}

void TFmFind::FillCategoryLists() {
  const THeadList& categories = CurrentProfile().Categories();
  m_head->addItem(QString::fromUtf8(kNoCondition));
  m_from->addItem(QString::fromUtf8(kNoCondition));
  for (int i = 0; i < categories.Count(); ++i) {
    const int kind = categories.KindOf(i);
    const QString name = Q(categories.DisplayName(i));
    if (kind == kKindPayment || kind == kKindAsset || kind == kKindReceipt || kind == kKindMemo) m_head->addItem(name);
    if (kind == kKindAsset) m_from->addItem(name);
  }
}

TDataWindow TFmFind::DataWindowInfo() const { return TDataWindow{TDataWindowKind::dwSearch, 0, 0}; }

TSearchConditions TFmFind::Conditions() const {
  TSearchConditions c;
  c.category = ComboCondition(m_head);
  c.itemText = ComboCondition(m_detail);
  c.note = ComboCondition(m_option);
  c.account = ComboCondition(m_from);
  if (m_useUpper->isChecked()) c.upper = ParseAmount(S(m_upper->text()));
  if (m_useLower->isChecked()) c.lower = ParseAmount(S(m_lower->text()));
  if (m_first->Checked()) c.first = m_first->Date();
  if (m_last->Checked()) c.last = m_last->Date();
  c.payments = m_payment->isChecked();
  c.receipts = m_receipt->isChecked();
  c.assetMoves = m_assets->isChecked();
  c.memos = m_memo->isChecked();
  return c;
}

// Enter in a condition starts a new search; in the results it opens the day, and the buttons
// below the conditions are pressed with Space, so neither runs a search by surprise.
void TFmFind::keyPressEvent(QKeyEvent* event) {
  QWidget* focus = focusWidget();
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool inConditions = focus && focus != m_grid && !m_grid->isAncestorOf(focus) &&
                            !m_buttonNew->parentWidget()->isAncestorOf(focus);
  if (enter && inConditions && m_buttonNew->isEnabled()) {
    event->accept();
    m_buttonNew->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

QString TFmFind::StatusText() const { return m_status->text(); }

void TFmFind::SetStatus(const QString& text) { m_status->setText(text); }

void TFmFind::SetSearching(bool searching) {
  m_searching = searching;
  // The stop button is about to be disabled and would hand the focus on to 印刷, where Enter
  // opens a print preview; the results are what the person looks at next.
  if (!searching && focusWidget() == m_buttonStop) m_grid->setFocus(Qt::OtherFocusReason);
  m_buttonNew->setEnabled(!searching);
  m_buttonAdd->setEnabled(!searching);
  m_buttonStop->setEnabled(searching);
  m_progress->setVisible(searching);
  // The stop button takes the focus from the button that started the search, which is
  // disabled now, so that Space or Enter stops the search.
  if (searching) m_buttonStop->setFocus();
}

bool TFmFind::Search() {
  if (m_searching) return false;
  m_stop = false;
  SetSearching(true);
  SetStatus(QStringLiteral("検索中"));
  QCoreApplication::processEvents();

  TkzmDataUnit& data = CurrentMonthData();
  // The bar counts the months the search will walk, as the search itself lists them.
  const size_t months = MonthsToWalk(data).size();
  m_progress->setRange(0, std::max<int>(1, static_cast<int>(months)));
  m_progress->setValue(0);
  int done = 0;
  QElapsedTimer sinceShown;
  sinceShown.start();
  try {
    SearchAllMonths(data, Conditions(), m_grid->Results(), [&] {
      ++done;
      if (sinceShown.elapsed() >= kProgressIntervalMs) {
        m_progress->setValue(done);
        sinceShown.restart();
      }
      QCoreApplication::processEvents();
      return !m_stop;
    });
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
  }
  SetSearching(false);
  m_grid->ResultsChanged();
  if (m_closeWhenStopped) QTimer::singleShot(0, this, [this] { close(); });
  return true;
}

void TFmFind::ButtonNewClick() {
  if (m_searching) return;
  m_grid->Results().Clear();
  m_grid->ClearSort();
  if (Search()) SetStatus(QStringLiteral("新規検索結果：%1").arg(m_grid->Results().Count()));
}

void TFmFind::ButtonAddClick() {
  if (Search()) SetStatus(QStringLiteral("検索結果を追加：%1").arg(m_grid->Results().Count()));
}

void TFmFind::ButtonStopClick() { m_stop = true; }

void TFmFind::ButtonPrintClick() { ShowSearchPrintout(m_grid->Results().Entries(), this); }

void TFmFind::ButtonCSVClick() {
  QFileDialog dialog(this, QStringLiteral("CSV出力"));
  dialog.setObjectName(QStringLiteral("SaveDialog1"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  dialog.setNameFilter(QStringLiteral("CSVファイル (*.csv)"));
  dialog.selectFile(QStringLiteral("データ出力"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  std::string error;
  if (!WriteSearchCsv(S(dialog.selectedFiles().constFirst()), m_grid->Results().Entries(), error))
    WindowSystem().Notify(error);
}

void TFmFind::OpenResult(TDayNumber day) { OpenDailyWindow(day); }

void TFmFind::closeEvent(QCloseEvent* event) {
  // The search runs on this window's stack: it stops first, and the window closes after it.
  if (m_searching) {
    m_stop = true;
    m_closeWhenStopped = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace kzm::ui
