#include "ui/analysis/YearReportWindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <iterator>

#include "controls/Fonts.h"
#include "controls/NoticeEvent.h"
#include "controls/UiBasics.h"
#include "foundation/ColorScheme.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "printing/PrintPreviewWindow.h"
#include "report/YearChart.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

namespace {

QString ValueText(const std::optional<int64_t>& value) { return value ? Q(FormatThousands(*value)) : QString(); }

// The background of a line, as the monthly view colours its rows.
QColor LineColor(int kind) {
  const char* key = kind == kKindPayment   ? "月間表示\\セル\\支出1"
                    : kind == kKindReceipt ? "月間表示\\セル\\収入"
                    : kind == kKindAsset   ? "月間表示\\セル\\資産"
                                           : "月間表示\\セル\\固定";
  return ToQColor(ColorScheme().GetColor(key));
}

QStringList MonthLabels(const TYearReport& report) {
  QStringList labels;
  for (TMonthKey key : report.months) labels << QString::number(KeyMonth(key)) + QStringLiteral("月");
  return labels;
}

}  // namespace

TYearChart::TYearChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("YearChart"));
  setMinimumHeight(160);
}

void TYearChart::SetSeries(const QStringList& labels, const std::vector<int64_t>& current,
                           const std::vector<int64_t>& previous) {
  m_labels = labels;
  m_current = current;
  m_previous = previous;
  update();
}

void TYearChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const int count = static_cast<int>(m_current.size());
  if (count == 0) return;
  const TYearChartScale scale = YearChartScale(m_current, m_previous);
  const int textHeight = fontMetrics().height();
  const int base = height() - textHeight - 4;
  const int usable = std::max(1, base - textHeight - 4);
  const int slot = std::max(4, (width() - 8) / count);
  const int bar = std::max(1, slot / 3);
  // A plain blue: several schemes' own colours are greys that cannot be told from last year's bars.
  const QColor thisYear(0x30, 0x70, 0xC0);
  for (int m = 0; m < count; ++m) {
    const int x = 4 + m * slot + (slot - 2 * bar) / 2;
    const int before =
        m < static_cast<int>(m_previous.size()) ? scale.BarHeight(m_previous[static_cast<size_t>(m)], usable) : 0;
    const int now = scale.BarHeight(m_current[static_cast<size_t>(m)], usable);
    painter.fillRect(QRect(x, base - before, bar, before), QColor(0xA0, 0xA0, 0xA0));
    painter.fillRect(QRect(x + bar, base - now, bar, now), thisYear);
    if (m < m_labels.size())
      painter.drawText(QRect(4 + m * slot, base + 2, slot, textHeight), Qt::AlignCenter, m_labels[m]);
  }
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawLine(4, base, width() - 4, base);
  painter.drawText(QRect(4, 0, width() - 8, textHeight), Qt::AlignRight,
                   QStringLiteral("灰色: 前の年  色: この年  最大 ") + Q(FormatThousands(scale.top)));
}

TFmYearReport::TFmYearReport(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmYearReport"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(ProgramFont());
  resize(900, 600);

  m_title = new QLabel(this);
  m_title->setObjectName(QStringLiteral("LabelYear"));
  QFont big = font();
  big.setPointSize(14);
  big.setBold(true);
  m_title->setFont(big);
  m_table = new QTableWidget(this);
  m_table->setObjectName(QStringLiteral("GridYear"));
  m_table->setAccessibleName(QStringLiteral("年間の集計表"));
  // Tab leaves the table for the next control, as in every grid of the program; the arrows move
  // between cells. Otherwise a keyboard user tabs through every cell to reach the buttons.
  m_table->setTabKeyNavigation(false);
  m_table->verticalHeader()->hide();
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_category = new QComboBox(this);
  m_category->setObjectName(QStringLiteral("ComboCategory"));
  m_chart = new TYearChart(this);
  // A reader finds the same numbers in the table above the chart.
  m_chart->setAccessibleName(QStringLiteral("年間の集計のグラフ（数字は上の表）"));

  m_buttonBefore = NewButton("前年(&B)", "ButtonBefore", this);
  m_buttonNext = NewButton("次年(&N)", "ButtonNext", this);
  m_buttonCsv = NewButton("CSV出力(&S)", "ButtonCsv", this);
  m_buttonPrint = NewButton("印刷(&P)", "ButtonPrint", this);

  auto* top = new QHBoxLayout;
  top->addWidget(m_buttonBefore);
  top->addWidget(m_title, 1, Qt::AlignCenter);
  top->addWidget(m_buttonNext);
  auto* chartBar = new QHBoxLayout;
  chartBar->addWidget(new QLabel(QStringLiteral("グラフ:"), this));
  chartBar->addWidget(m_category, 1);
  chartBar->addWidget(m_buttonCsv);
  chartBar->addWidget(m_buttonPrint);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_table, 3);
  layout->addLayout(chartBar);
  layout->addWidget(m_chart, 2);
  // Tab goes as the window reads: the year's buttons, the table, then the chart's bar.
  QWidget* const chain[] = {m_buttonBefore, m_buttonNext, m_table, m_category, m_buttonCsv, m_buttonPrint};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);

  connect(m_buttonBefore, &QPushButton::clicked, this, [this] { ShowYear(m_report.year - 1); });
  connect(m_buttonNext, &QPushButton::clicked, this, [this] { ShowYear(m_report.year + 1); });
  connect(m_buttonCsv, &QPushButton::clicked, this, &TFmYearReport::ButtonCsvClick);
  connect(m_buttonPrint, &QPushButton::clicked, this, &TFmYearReport::ButtonPrintClick);
  connect(m_category, &QComboBox::currentIndexChanged, this, &TFmYearReport::ChartCategoryChanged);
}

TFmYearReport::~TFmYearReport() = default;

TDataWindow TFmYearReport::DataWindowInfo() const { return {}; }

void TFmYearReport::ShowYear(int year) {
  try {
    m_report = YearReport(year);
    m_previous = YearReport(year - 1);
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
    m_report = TYearReport();
    m_report.year = year;
    m_previous = TYearReport();
  }
  Fill();
}

void TFmYearReport::Fill() {
  const QString year = QString::number(m_report.year) + QStringLiteral("年");
  setWindowTitle(QStringLiteral("年間の集計 ") + year);
  m_title->setText(year);
  const std::vector<TYearLine> lines = YearReportLines(m_report);
  const int months = static_cast<int>(m_report.months.size());
  QStringList header{QStringLiteral("項目")};
  header << MonthLabels(m_report) << QStringLiteral("合計") << QStringLiteral("平均");
  m_table->clear();
  m_table->setColumnCount(static_cast<int>(header.size()));
  m_table->setHorizontalHeaderLabels(header);
  m_table->setRowCount(static_cast<int>(lines.size()));
  for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
    const TYearLine& line = lines[static_cast<size_t>(r)];
    const QColor background = LineColor(line.kind);
    auto* name = new QTableWidgetItem(Q(line.label));
    name->setBackground(background);
    m_table->setItem(r, 0, name);
    for (int c = 0; c < months + 2 && c < static_cast<int>(line.values.size()); ++c) {
      const std::optional<int64_t>& value = line.values[static_cast<size_t>(c)];
      auto* item = new QTableWidgetItem(ValueText(value));
      if (value) item->setData(Qt::AccessibleTextRole, Q(SpokenAmount(*value)));  // a balance may be below zero
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setBackground(background);
      m_table->setItem(r, c + 1, item);
    }
  }
  m_table->resizeColumnsToContents();

  // Category keys are no text: the items carry their index in the report (-1: all spending).
  const QSignalBlocker block(m_category);
  m_category->clear();
  m_category->addItem(QStringLiteral("支出の合計"), -1);
  int chosen = 0;
  for (int i = 0; i < static_cast<int>(m_report.categories.size()); ++i) {
    const std::string& key = m_report.categories[static_cast<size_t>(i)].key;
    m_category->addItem(Q(KeyName(key)) + (KeyKind(key) == kKindReceipt ? QStringLiteral(" (収入)") : QString()), i);
    if (key == m_chartKey) chosen = i + 1;
  }
  m_category->setCurrentIndex(chosen);
  ChartCategoryChanged();
}

void TFmYearReport::ChartCategoryChanged() {
  const int index = m_category->currentData().toInt();
  const bool one = index >= 0 && index < static_cast<int>(m_report.categories.size());
  m_chartKey = one ? m_report.categories[static_cast<size_t>(index)].key : std::string();
  std::vector<int64_t> previous = YearSeries(m_previous, m_chartKey);
  previous.resize(m_report.months.size(), 0);
  m_chart->SetSeries(MonthLabels(m_report), YearSeries(m_report, m_chartKey), previous);
}

bool TFmYearReport::ExportCsv(const QString& path) {
  std::string error;
  if (WriteYearReportCsv(path.toStdString(), m_report, error)) return true;
  WindowSystem().Notify(error);
  return false;
}

void TFmYearReport::ButtonCsvClick() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("CSV出力"),
                                                    QStringLiteral("年間の集計%1.csv").arg(m_report.year),
                                                    QStringLiteral("CSV (*.csv)"));
  if (!path.isEmpty()) ExportCsv(path);
}

void TFmYearReport::ButtonPrintClick() {
  ShowPrintPreview([this](TFormPrintPreView& preview) { DrawYearPrintout(preview, m_report); }, this);
}

bool TFmYearReport::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType() && static_cast<TNoticeEvent*>(event)->Message() == kNoticeDataChanged)
    ShowYear(m_report.year);
  return QWidget::event(event);
}

void OpenYearReport(int year) {
  auto* form = new TFmYearReport;
  form->ShowYear(year);
  RegisterDataWindow(form);
  CentreOnOpener(*form);
  form->show();
}

}  // namespace kzm::ui
