// The daily grid as a person meets it: loading a day with 40 entries and painting it, a key
// typed into the cell editor until the editor has repainted, and Enter until the grid has.
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "ui/daily/DailyEdit.h"
#include "ui/daily/DailyGrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using kzm::ui::TDailyGrid;

const kzm::TDayNumber kDay = kzm::EncodeDate(2024, 3, 5);

// A passbook in a temporary folder with 40 payments on one day, spread over the categories.
class TBenchPassbook {
 public:
  TBenchPassbook() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzmbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_folder = pattern;
    const std::string book = m_folder + "/通帳1";
    std::filesystem::create_directories(book);
    kzm::AppGlobal().UseDataFolder(m_folder);
    kzm::CurrentProfile().SetFolder(book);
    kzm::CurrentMonthData().SetFolder(book + "/Daily");
    kzm::THeadList defaults;
    defaults.LoadDefaultCategories();
    for (int i = 0; i < defaults.Count(); ++i)
      if (kzm::KindGroup(defaults.KindOf(i)) == 1) m_list.AddKey(defaults.Items(i).key);
    kzm::TkzmDataUnit& data = kzm::CurrentMonthData();
    data.SelectDay(kDay);
    const int payments = m_list.CountOfKind(kzm::kKindPayment);
    for (int i = 0; i < 40; ++i) {
      const std::string& category = m_list.NthOfKind(kzm::kKindPayment, i % payments)->key;
      data.AddEntry(category, kzm::MakeKey("現金", kzm::kKindAsset), i % 3 == 0 ? "まとめ買い" : "",
                    "品物 " + std::to_string(i), 100 * (i + 1));
    }
  }
  ~TBenchPassbook() {
    kzm::CurrentMonthData().SetFolder("");
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
  }
  kzm::THeadList& List() { return m_list; }

 private:
  std::string m_folder;
  kzm::THeadList m_list;
};

struct TShownGrid {
  std::unique_ptr<QWidget> window;
  TDailyGrid* grid = nullptr;
};

TShownGrid ShowGrid(kzm::THeadList& list) {
  TShownGrid shown;
  shown.window = std::make_unique<QWidget>();
  shown.window->resize(640, 1100);  // every row of the day in view
  shown.grid = new TDailyGrid(shown.window.get(), kzm::kKindPayment, list, [] {});
  shown.window->show();
  QApplication::setActiveWindow(shown.window.get());
  QApplication::processEvents();
  return shown;
}

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void Press(QWidget* target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

// The grid's own deferred requests (placing the blank row, opening the editor), without the
// window system's repaint of the whole window.
void RunGridRequests(TDailyGrid& grid) {
  for (int i = 0; i < 3; ++i) QCoreApplication::sendPostedEvents(&grid);
}

void BM_LoadDayAndPaint(benchmark::State& state) {
  TBenchPassbook book;
  TShownGrid shown = ShowGrid(book.List());
  QImage image(shown.grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    shown.grid->LoadDay(kDay);
    RunGridRequests(*shown.grid);
    shown.grid->viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["rows"] = shown.grid->RowCount();
}
BENCHMARK(BM_LoadDayAndPaint)->Unit(benchmark::kMillisecond);

// The two halves of the above.
void BM_LoadDayOnly(benchmark::State& state) {
  TBenchPassbook book;
  TShownGrid shown = ShowGrid(book.List());
  for (auto _ : state) {
    shown.grid->LoadDay(kDay);
    RunGridRequests(*shown.grid);
  }
}
BENCHMARK(BM_LoadDayOnly)->Unit(benchmark::kMillisecond);

void BM_PaintOnly(benchmark::State& state) {
  TBenchPassbook book;
  TShownGrid shown = ShowGrid(book.List());
  shown.grid->LoadDay(kDay);
  Settle();
  QImage image(shown.grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    shown.grid->viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintOnly)->Unit(benchmark::kMillisecond);

// One character typed, the next iteration takes it away again, each until repainted.
void BM_KeyToRepaint(benchmark::State& state) {
  TBenchPassbook book;
  TShownGrid shown = ShowGrid(book.List());
  shown.grid->LoadDay(kDay);
  Settle();
  QWidget* editor = QApplication::focusWidget();
  if (editor != shown.grid->Editor()) {
    state.SkipWithError("the editor does not have the focus");
    return;
  }
  bool typed = false;
  for (auto _ : state) {
    if (typed)
      Press(editor, Qt::Key_Backspace, QString());
    else
      Press(editor, Qt::Key_A, QStringLiteral("a"));
    typed = !typed;
    editor->repaint();
  }
}
BENCHMARK(BM_KeyToRepaint)->Unit(benchmark::kMicrosecond);

// Enter from the item column until the grid has repainted: written back, the next column's
// editor open. The entry history is written right after (outside the measured time).
void BM_EnterToRepaint(benchmark::State& state) {
  TBenchPassbook book;
  TShownGrid shown = ShowGrid(book.List());
  shown.grid->LoadDay(kDay);
  Settle();
  for (auto _ : state) {
    state.PauseTiming();
    shown.grid->SetCol(1);
    Settle();
    Press(QApplication::focusWidget(), Qt::Key_A, QStringLiteral("a"));
    state.ResumeTiming();
    Press(QApplication::focusWidget(), Qt::Key_Return, QString());
    RunGridRequests(*shown.grid);
    shown.grid->viewport()->repaint();
    state.PauseTiming();
    Settle();  // the history file
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EnterToRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
