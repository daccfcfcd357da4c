// A window with a grid of one fixed row and 100 body rows, sort markers, moving, sizing and
// editing switched on, to look at the grid control (e.g. under Xvfb for a screenshot).
// With --daily PASSBOOK-FOLDER [yyyymmdd] it shows the daily grids of a passbook instead.
#include "DailyGridDemo.h"
#include "controls/grid/GridControl.h"

#include <QApplication>
#include <QLocale>
#include <QVBoxLayout>
#include <QWidget>

namespace {

using kzm::ui::TGridOption;
using kzm::ui::TGridSortFlag;
using kzm::ui::TorvGrid;

void FillDemoGrid(TorvGrid& grid) {
  grid.SetColCount(6);
  grid.SetRowCount(101);
  grid.SetDefaultColWidth(96);
  grid.SetColWidths(0, 40);
  grid.SetColWidths(5, 180);
  grid.SetRows(0, {QStringLiteral("No."), QStringLiteral("項目"), QStringLiteral("金額"),
                   QStringLiteral("支払元"), QStringLiteral("日付"), QStringLiteral("備考")});
  const QStringList items{QStringLiteral("食費"), QStringLiteral("交通費"), QStringLiteral("日用品"),
                          QStringLiteral("光熱費"), QStringLiteral("通信費")};
  const QStringList accounts{QStringLiteral("現金"), QStringLiteral("銀行"), QStringLiteral("カード")};
  for (int row = 1; row < grid.RowCount(); ++row) {
    grid.SetRows(row, {QString::number(row), items[row % items.size()],
                       QLocale(QLocale::Japanese).toString(row * 137 % 5000 + 100),
                       accounts[row % accounts.size()],
                       QStringLiteral("2024/%1/%2").arg(1 + row % 12).arg(1 + row % 28),
                       row % 7 == 0 ? QStringLiteral("まとめ買い") : QString()});
  }
  grid.SetSort(true);
  grid.SetSortFlag(2, TGridSortFlag::gsfForword);
  grid.SetSortFlag(4, TGridSortFlag::gsfReverse);
  grid.SetOptions(grid.Options()
                      .With(TGridOption::goRowMoving)
                      .With(TGridOption::goColMoving)
                      .With(TGridOption::goRowSizing)
                      .With(TGridOption::goColSizing)
                      .With(TGridOption::goEditing)
                      .With(TGridOption::goTabs)
                      .With(TGridOption::goThumbTracking));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc >= 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--daily"))
    return RunDailyGridDemo(argv[2], argc >= 4 ? argv[3] : "");
  QWidget window;
  window.setWindowTitle(QStringLiteral("グリッドの見本"));
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TorvGrid(&window);
  layout->addWidget(grid);
  FillDemoGrid(*grid);
  window.resize(720, 480);
  window.show();
  grid->setFocus();
  grid->SetRow(3);
  grid->SetCol(2);
  return QApplication::exec();
}
