#include "ui/analysis/GraphWindow.h"

#include <QPainter>
#include <QResizeEvent>

#include "controls/CanvasRoutines.h"
#include "controls/Fonts.h"
#include "controls/FormHelper.h"
#include "controls/RoundButton.h"
#include "controls/UiBasics.h"
#include "foundation/ColorScheme.h"
#include "foundation/Text.h"
#include "report/MonthSpending.h"
#include "ui/analysis/QtChartCanvas.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

namespace {

constexpr int kInitialWidth = 571;
constexpr int kInitialHeight = 338;
constexpr int kMinimumWidth = 200;
constexpr int kMinimumHeight = 150;
constexpr int kButtonSide = 52;
constexpr int kButtonMargin = 6;
constexpr const char* kKindLabel = "支出";

// The legend as a screen reader says it, a line per slice ("食費 32.5% 12,345円"), then the
// total: a reader cannot match the colours of the ring with the legend.
std::string SpokenLegend(TSGraph& graph) {
  const std::vector<TLegendRow> rows = graph.LegendLayout(0, 0, 0, 0).rows;  // groups the entries first
  const std::vector<TSGraphEntry>& entries = graph.Entries();
  std::string text;
  for (std::size_t i = 0; i < rows.size() && i < entries.size(); ++i) {
    text += rows[i].name + " " + std::string(Trim(rows[i].percent)) + " " + SpokenAmount(entries[i].amount) + "\n";
  }
  return text + "合計 " + SpokenAmount(graph.Total());
}

}  // namespace

TFmGraph::TFmGraph(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmGraph"));
  setAttribute(Qt::WA_DeleteOnClose);
  // Only the system menu (and its close box) among the title buttons.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  // Everything is painted by the window itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(kInitialWidth, kInitialHeight);

  m_formFunc = new TorvFormFunc(this);
  m_formFunc->setObjectName(QStringLiteral("orvFormFunc1"));
  m_formFunc->SetPreserve(true);
  m_formFunc->SetKeepLocation(true);
  m_formFunc->SetKeepSize(true);
  m_formFunc->OnColorReset = [this](TorvFormFunc&) { ReadColors(); };

  m_btClose = new TorvWinButton(this);
  m_btClose->setObjectName(QStringLiteral("BtClose"));
  TorvBtnSettings look;
  look.style = TorvBtnStyle::bsCircle;
  look.square = true;
  look.textAntialiasing = false;
  look.focusLineWidth = 5;
  look.overDrawType = TDrawType::dtAlpha;
  m_btClose->SetBtnDraw(look);
  m_btClose->setFont(ProgramFont());
  m_btClose->SetCaption(QStringLiteral("閉じる"));
  m_btClose->resize(kButtonSide, kButtonSide);
  connect(m_btClose, &TorvWinButton::OnClick, this, &QWidget::close);

  m_graph.SetKindLabel(kKindLabel);
  ReadColors();
  FormResize();
}

TFmGraph::~TFmGraph() = default;

void TFmGraph::SetMonth(TMonthKey key, TPeriod period) {
  m_period = period;
  m_graph.SetTitle(SpendingMonthTitle(key));
  setWindowTitle(QString::fromStdString(m_graph.Title() + "の" + m_graph.KindLabel()));
  setAccessibleDescription(Q(SpokenLegend(m_graph)));
  m_pieDirty = true;
  update();
}

kzm::TDataWindow TFmGraph::DataWindowInfo() const {
  return {kzm::TDataWindowKind::dwChart, m_period.first, m_period.last};
}

void TFmGraph::ReadColors() {
  m_background = ColorScheme().GetColor("全般\\背景色", kColorWhite);
  QPalette colors = palette();
  colors.setColor(QPalette::Window, ToQColor(m_background));
  setPalette(colors);
  m_btClose->BtnDraw().SetColor(ColorScheme().GetColor("全般\\丸ボタン"));
  m_pieDirty = true;
  update();
}

void TFmGraph::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TFmGraph::FormResize() {
  m_side = ChartPieSide(width(), height());
  m_factor = ChartDrawFactor(m_side);
  m_pieDirty = true;
  m_btClose->move(width() - kButtonSide - kButtonMargin, height() - kButtonSide - kButtonMargin);
}

void TFmGraph::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(m_background));
  {
    TQtChartCanvas canvas(painter);
    m_graph.DrawLegend(canvas, m_side, height(), width() - m_side, 0);
  }
  PaintPie(painter);
}

void TFmGraph::PaintPie(QPainter& painter) {
  if (m_graph.Entries().empty() || m_side <= 0) return;
  if (m_pieDirty) {
    m_graph.SetBackground(m_background);
    DrawSmoothPie(m_graph, m_side, m_factor, m_pie);
    m_pieDirty = false;
  }
  painter.drawImage(QPoint(0, (height() - m_side) / 2), BitmapAsImage(static_cast<const TBitmap&>(m_pie)),
                    QRect(0, 0, m_side, m_side));
}

}  // namespace kzm::ui
