// TFmDaily: its components, their placement, colours and input. The day itself (showing,
// saving, stepping) is in DailyWindowDay.cpp.
#include "ui/daily/DailyWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <algorithm>

#include "controls/FormHelper.h"
#include "controls/NoticeEvent.h"
#include "controls/RoundButton.h"
#include "controls/UiBasics.h"
#include "foundation/ColorScheme.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthEntry.h"
#include "ui/common/HelpBalloon.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/daily/DailyGrid.h"

namespace kzm::ui {

namespace {

constexpr int kClientWidth = 538;
constexpr int kClientHeight = 408;
constexpr int kButtonSide = 44;
constexpr int kMargin = 8;
// The balloon between the day buttons is a square as high as the memo box's top.
constexpr int kMemoTop = 92;
constexpr int kRightColumn = kButtonSide + kMemoTop + kButtonSide + kMargin;
constexpr TColor kButtonFace = 0xFFFEF8;
constexpr int kOptionsDailyPage = 1;

}  // namespace

TFmDaily::TFmDaily(TDayNumber date, QWidget* parent) : QWidget(parent, Qt::Window), m_date(date) {
  setObjectName(QStringLiteral("FmDaily"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(kClientWidth, kClientHeight);
  setMinimumSize(360, 240);
  CreateComponents();
  m_formFunc = new TorvFormFunc(this);
  m_formFunc->setObjectName(QStringLiteral("orvFormFunc1"));
  m_formFunc->SetPreserve(true);
  m_formFunc->SetKeepLocation(true);
  m_formFunc->SetKeepSize(true);
  m_formFunc->SetEraseBackGround(true);
  m_formFunc->OnColorReset = [this](TorvFormFunc&) { ApplyColors(); };
  ApplyColors();
  PlaceComponents();
  // The window sees every key of its controls first (Ctrl+← and Ctrl+→ step the day).
  qApp->installEventFilter(this);
  RegisterDataWindow(this);
  ShowDay();
}

TFmDaily::~TFmDaily() {
  qApp->removeEventFilter(this);
  if (m_modified && !m_refused && !m_closeSaved) SaveDay();
}

TorvWinButton* TFmDaily::CreateButton(const char* name, const QString& caption, int focusLineWidth) {
  auto* button = new TorvWinButton(this);
  button->setObjectName(QString::fromLatin1(name));
  TorvBtnSettings look;
  look.style = TorvBtnStyle::bsCircle;
  look.square = true;
  look.textAntialiasing = false;
  look.textEmboss = false;
  look.color = kButtonFace;
  look.colorDown = 0x000000;
  look.colorOver = 0x60A0FF;
  look.colorFocus = 0xFFA080;
  look.focusLineWidth = focusLineWidth;
  look.overDrawType = TDrawType::dtAlpha;
  button->SetBtnDraw(look);
  button->SetCaption(caption);
  button->resize(kButtonSide, kButtonSide);
  return button;
}

void TFmDaily::CreateComponents() {
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("PcDaily"));
  m_tabs->setAccessibleName(QStringLiteral("記入の種類"));
  struct TPage {
    const char* name;
    const char* caption;
    int kind;
    TDailyGrid** grid;
  };
  const TPage pages[] = {{"TsPayment", "支出", kKindPayment, &m_payment},
                         {"TsReceipt", "収入", kKindReceipt, &m_receipt},
                         {"TsAssets", "資産の移動", kKindAsset, &m_assets}};
  for (const TPage& page : pages) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QString::fromLatin1(page.name));
    m_tabs->addTab(sheet, QString::fromUtf8(page.caption));
    *page.grid = new TDailyGrid(sheet, page.kind, m_categories, [this] { m_modified = true; });
    (*page.grid)->setAccessibleName(QString::fromUtf8(page.caption) + QStringLiteral("の表"));
  }
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] { PcDailyChange(); });

  m_memoLabel = new QLabel(QStringLiteral("Memo"), this);
  m_memoLabel->setObjectName(QStringLiteral("Label1"));
  QFont labelFont(QStringLiteral("Alba"));
  labelFont.setPixelSize(16);
  m_memoLabel->setFont(labelFont);

  m_memo = new QPlainTextEdit(this);
  m_memo->setObjectName(QStringLiteral("Memo"));
  m_memo->setAccessibleName(QStringLiteral("その日のメモ"));
  m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Tab moves on, as in every other field: a tab character saved into the memo helps no one.
  m_memo->setTabChangesFocus(true);
  m_memo->installEventFilter(this);
  connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
    if (!m_loading) m_modified = true;
  });

  m_before = CreateButton("BtBefore", QStringLiteral("前日\\(&B)"), 6);
  m_before->SetClickRepeat(true);
  connect(m_before, &TorvWinButton::OnClick, this, [this] { StepDay(-1); });
  m_next = CreateButton("BtNext", QStringLiteral("翌日\\(&N)"), 6);
  m_next->SetClickRepeat(true);
  connect(m_next, &TorvWinButton::OnClick, this, [this] { StepDay(1); });
  m_option = CreateButton("BtOption", QStringLiteral("設定"), 5);
  connect(m_option, &TorvWinButton::OnClick, this, [this] { OpenOptions(kOptionsDailyPage, this); });
  m_repeat = CreateButton("BtRepeat", QStringLiteral("定期"), 5);
  m_repeat->setToolTip(QStringLiteral("選んでいる行を定期的な記入にします"));
  connect(m_repeat, &TorvWinButton::OnClick, this, &TFmDaily::RepeatClick);
  m_close = CreateButton("BtClose", QStringLiteral("閉じる"), 6);
  connect(m_close, &TorvWinButton::OnClick, this, &QWidget::close);

  m_help = std::make_unique<TkzmHelpSys>(this);
  m_help->LoadHints("DAILYTEXT");
}

int TFmDaily::MemoTop() const { return std::min(kMemoTop, std::max(0, height() / 3)); }

void TFmDaily::PlaceComponents() {
  const int w = width();
  const int h = height();
  const int right = w - kRightColumn;
  const int memoTop = MemoTop();
  m_tabs->setGeometry(kMargin, kMargin, std::max(0, right - 2 * kMargin), std::max(0, h - 2 * kMargin));
  m_before->move(right, 4);
  m_next->move(right + kButtonSide + memoTop, 4);
  m_memoLabel->setGeometry(right, memoTop - 22, kButtonSide + 8, 20);
  m_memo->setGeometry(right, memoTop, kRightColumn - kMargin, std::max(0, h - memoTop - kButtonSide - 2 * kMargin));
  m_close->move(w - kMargin - kButtonSide, h - kMargin - kButtonSide);
  m_option->move(w - 2 * (kMargin + kButtonSide), h - kMargin - kButtonSide);
  m_repeat->move(w - 3 * (kMargin + kButtonSide), h - kMargin - kButtonSide);

  // The balloon stands between the day buttons, as high as the band above the memo.
  m_help->SetSize(memoTop, memoTop, 32);
  m_help->SetPosition(right + kButtonSide, 0);
  m_help->ShowHint("");
  for (TDailyGrid* grid : {m_payment, m_receipt, m_assets}) grid->FitNoteColumn();
  update();
}

void TFmDaily::ApplyColors() {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(ColorScheme().GetColor("全般\\背景色", kColorWhite)));
  setPalette(palette);
  setAutoFillBackground(true);
  const TColor face = ColorScheme().GetColor("全般\\丸ボタン", kButtonFace);
  for (TorvWinButton* button : {m_before, m_next, m_option, m_repeat, m_close}) button->BtnDraw().SetColor(face);
  for (TDailyGrid* grid : {m_payment, m_receipt, m_assets}) grid->viewport()->update();
  if (m_help) m_help->ShowHint("");
  update();
}

void TFmDaily::RepeatClick() {
  static constexpr int kKinds[] = {kKindPayment, kKindReceipt, kKindAsset};
  const int tab = m_tabs->currentIndex();
  TkzmEntry entry;
  if (tab < 0 || tab > 2 || !Grid(kKinds[tab])->CurrentEntry(entry)) {
    WindowSystem().Notify("定期的な記入にする行を選んでください。");
    return;
  }
  entry.date = m_date;
  OpenRecurringWindow(this, &entry);
}

TDailyGrid* TFmDaily::Grid(int kind) const {
  switch (kind) {
    case kKindPayment:
      return m_payment;
    case kKindReceipt:
      return m_receipt;
    case kKindAsset:
      return m_assets;
    default:
      return nullptr;
  }
}

void TFmDaily::PcDailyChange() {
  static const char* const kHintKeys[] = {"pmnt", "rcpt", "asst"};
  const int index = std::clamp(m_tabs->currentIndex(), 0, 2);
  TDailyGrid* grid = (index == 0) ? m_payment : (index == 1) ? m_receipt : m_assets;
  grid->setFocus();
  grid->PostReopenEditor();
  m_help->ShowHint(kHintKeys[index]);
}

void TFmDaily::WriteBackEditors() {
  for (TDailyGrid* grid : {m_payment, m_assets, m_receipt}) grid->WriteBackEditor();
}

TDataWindow TFmDaily::DataWindowInfo() const { return {TDataWindowKind::dwDaily, m_date, m_date}; }

bool TFmDaily::SaveWindowData() {
  WriteBackEditors();
  return !m_modified || SaveDay();
}

bool TFmDaily::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType()) {
    const auto* notice = static_cast<const TNoticeEvent*>(event);
    if (notice->Message() == kNoticeDataChanged) DataChanged(notice->First(), notice->Second());
    // An entry from a phone is about to land: what this window holds goes down first, or its
    // next save would write the day without the phone's entry.
    if (notice->Message() == kNoticeStoreEdits && !m_refused && !m_saving) (void)SaveWindowData();
  }
  return QWidget::event(event);
}

bool TFmDaily::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
      StepDay(key->key() == Qt::Key_Left ? -1 : 1);
      return true;
    }
  }
  if (watched == m_memo && event->type() == QEvent::FocusIn) m_help->ShowHint("memo");
  return QWidget::eventFilter(watched, event);
}

void TFmDaily::closeEvent(QCloseEvent* event) {
  // Closing is always allowed; what the editors hold is written back and the day saved.
  WriteBackEditors();
  if (m_modified && !m_refused) SaveDay();
  m_closeSaved = true;
  event->accept();
}

void TFmDaily::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_placed) return;
  m_placed = true;
  CascadeForm(*this);
}

void TFmDaily::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceComponents();
}

void TFmDaily::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  m_help->PaintOn(painter);
}

}  // namespace kzm::ui
