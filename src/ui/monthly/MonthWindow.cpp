#include "ui/monthly/MonthWindow.h"

#include "controls/UiBasics.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

#include "calendar/BusinessDays.h"
#include "controls/Fonts.h"
#include "controls/FormHelper.h"
#include "controls/NoticeEvent.h"
#include "controls/RoundButton.h"
#include "foundation/ColorScheme.h"
#include "foundation/Files.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "ui/common/HelpBalloon.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/monthly/MonthDetailPanel.h"
#include "ui/monthly/MonthlyGrid.h"
#include "ui/monthly/MonthlyOpeners.h"

namespace kzm::ui {

namespace {

constexpr int kTimerMs = 100;

// The look every round button of the program's windows shares.
TorvBtnSettings RoundButtonLook(TColor face) {
  TorvBtnSettings look;
  look.style = TorvBtnStyle::bsCircle;
  look.square = true;
  look.textAntialiasing = false;
  look.color = face;
  look.colorDown = 0x000000;
  look.colorOver = 0x60A0FF;
  look.colorFocus = 0xFFA080;
  look.focusLineWidth = 5;
  look.overDrawType = TDrawType::dtAlpha;
  return look;
}

// A label the user can click, reported to the window by an event filter.
QLabel* NewLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

TFmMonth::TFmMonth(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FmMonth"));
  setAttribute(Qt::WA_DeleteOnClose);
  // A system menu and a maximise box, no minimise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(ProgramFont(9));
  setWindowTitle(QStringLiteral("月間表示"));
  m_help = std::make_unique<TkzmHelpSys>(this);
  m_help->SetHints(MonthlyViewHintLines());
  if (!CurrentProfile().Folder().empty()) EnsureFolder(CurrentProfile().Folder() + "/Monthly");

  m_formFunc = new TorvFormFunc(this);
  m_formFunc->setObjectName(QStringLiteral("orvFormFunc1"));
  m_formFunc->SetPreserve(true);
  m_formFunc->SetKeepLocation(true);
  m_formFunc->SetKeepSize(true);
  m_formFunc->OnColorReset = [this](TorvFormFunc&) {
    ReadColors();
    m_help->ShowHint("");
    update();
    for (QWidget* grid : {static_cast<QWidget*>(m_gridIndex), static_cast<QWidget*>(m_gridDate),
                          static_cast<QWidget*>(m_gridTotal)})
      grid->update();
  };

  CreateComponents();
  CreateGrids();
  const int textHeight = WindowSystem().DefaultTextHeight();
  m_rowHeight = textHeight + 5;
  for (TMonthlyGrid* grid : {m_gridIndex, m_gridDate, m_gridTotal}) grid->SetDefaultRowHeight(m_rowHeight);
  ApplyColumnWidth(CurrentProfile().MonthColumnWidth() > 0 ? CurrentProfile().MonthColumnWidth() : 100);
  ReadColors();
  m_labelYear->setStyleSheet(QStringLiteral("color: %1").arg(ToQColor(ColorScheme().GetColor("月間表示\\年表示")).name()));
  ShowMonth(NormaliseMonthKey(DecodeDate(Today()).year * 100 + DecodeDate(Today()).month));
  m_initialised = true;
  SnapSize();
  // Two weeks wide and every row high, until the form helper brings back the user's size.
  resize(SnappedSize(QSize(BaseWidth() + 14 * m_dayWidth, 100 * m_rowHeight)));
  m_formFunc->OnWindowMoved = [this](TorvFormFunc&) { SnapSize(); };

  m_timer1.setObjectName(QStringLiteral("Timer1"));
  m_timer1.setInterval(kTimerMs);
  connect(&m_timer1, &QTimer::timeout, this, &TFmMonth::Timer1Timer);
  m_timer1.start();
  RegisterDataWindow(this);
}

TFmMonth::~TFmMonth() {
  if (m_panel) delete m_panel.data();
}

void TFmMonth::CreateComponents() {
  m_labelYear = NewLabel("LabelYear", this);
  QFont yearFont(QStringLiteral("Comic Sans MS"));
  yearFont.setPixelSize(16);
  yearFont.setBold(true);
  m_labelYear->setFont(yearFont);
  m_labelMonth = NewLabel("LabelMonth", this);
  QFont monthFont(QStringLiteral("Impact"));
  monthFont.setPixelSize(67);
  m_labelMonth->setFont(monthFont);
  m_labelMonth->setStyleSheet(QStringLiteral("color: navy"));
  m_labelPeriod = NewLabel("LabelPeriod", this);
  for (QLabel* label : {m_labelMonth, m_labelPeriod}) {
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
  }
  m_labelYear->setGeometry(4, 0, kStripWidth - 4, 20);
  m_labelMonth->setGeometry(0, 12, kStripWidth, 70);
  m_labelPeriod->setGeometry(0, 80, kStripWidth, 16);
  CreateButtons();

  m_scrollBarH = new QScrollBar(Qt::Horizontal, this);
  m_scrollBarH->setObjectName(QStringLiteral("ScrollBarH"));
  m_scrollBarV = new QScrollBar(Qt::Vertical, this);
  m_scrollBarV->setObjectName(QStringLiteral("ScrollBarV"));
  connect(m_scrollBarH, &QScrollBar::valueChanged, this, &TFmMonth::ScrollBarHChange);
  connect(m_scrollBarV, &QScrollBar::valueChanged, this, &TFmMonth::ScrollBarVChange);
}

void TFmMonth::CreateButtons() {
  auto round = [this](const char* name, const char* caption, int width, int height, void (TFmMonth::*click)()) {
    auto* button = new TorvWinButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->SetCaption(QString::fromUtf8(caption));
    button->resize(width, height);
    button->hide();  // until the first layout places it
    connect(button, &TorvWinButton::OnClick, this, click);
    return button;
  };
  m_buttonMemo = round("ButtonMemo", "めも", 40, 33, &TFmMonth::ButtonMemoClick);
  m_buttonSetUp = round("ButtonSetUp", "繰越と\\期間", 49, 51, &TFmMonth::ButtonSetUpClick);
  m_buttonGraph = round("ButtonGraph", "グラフ", 40, 40, &TFmMonth::ButtonGraphClick);
  m_buttonBudget = round("ButtonBudget", "予算", 40, 33, &TFmMonth::ButtonBudgetClick);
  m_buttonCard = round("ButtonCard", "請求", 40, 33, &TFmMonth::ButtonCardClick);

  m_buttonBefore = new QPushButton(QStringLiteral("前月(&B)"), this);
  m_buttonBefore->setObjectName(QStringLiteral("ButtonBefore"));
  m_buttonNext = new QPushButton(QStringLiteral("次月(&N)"), this);
  m_buttonNext->setObjectName(QStringLiteral("ButtonNext"));
  connect(m_buttonBefore, &QPushButton::clicked, this, &TFmMonth::ButtonBeforeClick);
  connect(m_buttonNext, &QPushButton::clicked, this, &TFmMonth::ButtonNextClick);
}

void TFmMonth::CreateGrids() {
  auto make = [this](const char* name) {
    auto* grid = new TMonthlyGrid(this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->OnDrawCell = [this, grid](QPainter& painter, int col, int row, const QRect& rect) {
      DrawCell(*grid, painter, col, row, rect);
    };
    grid->OnSpokenCell = [this, grid](int col, int row) { return SpokenCell(*grid, col, row); };
    return grid;
  };
  m_gridIndex = make("GridIndex");
  m_gridDate = make("GridDate");
  m_gridTotal = make("GridTotal");
  m_gridIndex->setAccessibleName(QStringLiteral("項目"));
  m_gridDate->setAccessibleName(QStringLiteral("日ごとの表"));
  m_gridTotal->setAccessibleName(QStringLiteral("月間合計"));
  m_gridIndex->move(kStripWidth, 0);
  connect(m_gridDate, &TMonthlyGrid::MouseDown, this, &TFmMonth::GridDateMouseDown);
  connect(m_gridDate, &TMonthlyGrid::MouseMove, this, &TFmMonth::GridDateMouseMove);
  connect(m_gridIndex, &TMonthlyGrid::MouseUp, this, &TFmMonth::GridIndexMouseUp);
  m_gridDate->OnColumnResize = [this](int width, bool done) { DayColumnDragged(width, done); };
  // Without a mouse the days are read by moving a cursor over them; Enter opens the day.
  m_gridDate->SetCursorEnabled(true);
  connect(m_gridDate, &TMonthlyGrid::CurrentMoved, this, &TFmMonth::ShowGridCell);
  connect(m_gridDate, &TMonthlyGrid::Activated, this, [this](int col, int) {
    HideDetail();
    OpenDailyWindow(m_table.First() + col);
  });
}

void TFmMonth::ReadColors() {
  TColorsList& scheme = ColorScheme();
  auto color = [&scheme](const char* key) { return ToQColor(scheme.GetColor(key)); };
  m_colors.window = color("全般\\背景色");
  m_colors.button = color("全般\\丸ボタン");
  m_colors.text = color("月間表示\\文字\\通常");
  const TColor sunday = scheme.GetColor("月間表示\\文字\\日曜");
  m_colors.sunday = ToQColor(sunday);
  m_colors.saturday = color("月間表示\\文字\\土曜");
  m_colors.holiday = ToQColor(scheme.GetColor("月間表示\\文字\\祝日", sunday));
  m_colors.faint = color("月間表示\\文字\\薄色");
  m_colors.dateCell = color("月間表示\\セル\\日付");
  m_colors.fixedCell = color("月間表示\\セル\\固定");
  m_colors.payment1 = color("月間表示\\セル\\支出1");
  m_colors.payment2 = color("月間表示\\セル\\支出2");
  m_colors.asset = color("月間表示\\セル\\資産");
  m_colors.receipt = color("月間表示\\セル\\収入");
  m_colors.line = color("月間表示\\ライン");

  QPalette pal = palette();
  pal.setColor(QPalette::Window, m_colors.window);
  setPalette(pal);
  setAutoFillBackground(true);
  const TorvBtnSettings look = RoundButtonLook(scheme.GetColor("全般\\丸ボタン"));
  for (TorvWinButton* button : {m_buttonMemo, m_buttonSetUp, m_buttonGraph, m_buttonBudget, m_buttonCard}) {
    button->SetBtnDraw(look);
  }
}

void TFmMonth::ShowMonth(kzm::TMonthKey key) {
  HideDetail();
  const int leftCol = m_gridDate->LeftCol();
  m_table.Load(NormaliseMonthKey(key));
  ShowComing();
  FitColumnsToAmounts();
  const int rows = m_table.RowCount();
  for (TMonthlyGrid* grid : {m_gridIndex, m_gridDate, m_gridTotal}) grid->SetRowCount(rows);
  m_gridIndex->SetColCount(1);
  m_gridTotal->SetColCount(1);
  m_gridDate->SetColCount(m_table.DayCount());
  FillLabels();
  const int visible = std::max(1, m_visibleDays);
  m_gridDate->SetLeftCol(std::max(0, std::min(leftCol, m_table.DayCount() - visible)));
  SnapSize();
  LayoutControls();
  for (TMonthlyGrid* grid : {m_gridIndex, m_gridDate, m_gridTotal}) grid->update();
  update();
}

void TFmMonth::ShowComing() {
  // The check reports a file it cannot read; here the view just shows nothing to come.
  TRecurringStore store;
  std::string error;
  if (CurrentProfile().Folder().empty() || !store.Load(CurrentProfile().Folder(), error)) return;
  m_table.SetComing(ComingAmounts(store, m_table.First(), m_table.Last(), ProgramBusinessDays()));
}

void TFmMonth::FillLabels() {
  const TMonthKey key = m_table.Key();
  m_labelYear->setText(QString::number(KeyYear(key)));
  m_labelMonth->setText(QString::number(KeyMonth(key)));
  m_labelPeriod->setText(QString::fromStdString(m_table.PeriodText()));
  setWindowTitle(QString::fromStdString(m_table.Title()));
}

void TFmMonth::ScrollToDate(kzm::TDayNumber day) {
  if (!m_table.Contains(day)) ShowMonth(MonthOfDay(day));
  if (m_table.Contains(day)) {
    m_gridDate->SetLeftCol(std::max(0, day - m_table.First() - m_visibleDays + 1));
  } else {
    m_gridDate->SetLeftCol(0);
  }
  UpdateScrollBars();
}

kzm::TDataWindow TFmMonth::DataWindowInfo() const {
  return {TDataWindowKind::dwMonthly, m_table.First(), m_table.Last()};
}

bool TFmMonth::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType()) {
    const auto* notice = static_cast<TNoticeEvent*>(event);
    if (notice->Message() == kNoticeDataChanged && (notice->First() == 0 || m_table.Contains(notice->First())))
      ShowMonth(m_table.Key());
    return QWidget::event(event);
  }
  // Another window in front hides the panel; the panel itself coming forward does not.
  if ((event->type() == QEvent::WindowDeactivate && QApplication::activeWindow() != m_panel) ||
      event->type() == QEvent::Hide)
    HideDetail();
  return QWidget::event(event);
}

void TFmMonth::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_placed) return;
  m_placed = true;
  CascadeForm(*this);
}

bool TFmMonth::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && (watched == m_labelMonth || watched == m_labelPeriod) &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    ButtonSetUpClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TFmMonth::GridDateMouseDown(Qt::MouseButton button, int col, int) {
  if (button != Qt::LeftButton) return;
  HideDetail();
  OpenDailyWindow(m_table.First() + col);
}

void TFmMonth::GridIndexMouseUp() { OpenPassbookInfo(1, this); }

void TFmMonth::ButtonBeforeClick() { ShowMonth(PrevMonthKey(m_table.Key())); }

void TFmMonth::ButtonNextClick() { ShowMonth(NextMonthKey(m_table.Key())); }

void TFmMonth::ButtonSetUpClick() {
  // The dialog tells every window, this one included, when it stored something.
  OpenMonthSetup(m_table.Key(), m_table.Summary(), this);
}

void TFmMonth::ButtonGraphClick() { OpenSpendingChart(m_table.Key()); }

void TFmMonth::ButtonMemoClick() { OpenMonthMemo(m_table.First(), m_table.Last()); }

void TFmMonth::ButtonBudgetClick() { OpenBudgetWindow(m_table.Key()); }

void TFmMonth::ButtonCardClick() { OpenCardBillWindow(); }

}  // namespace kzm::ui
