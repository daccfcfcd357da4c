// The three daily grids of a passbook on tabs, loaded with a day, to look at them as a person
// types into them (griddemo --daily PASSBOOK-FOLDER [yyyymmdd]).
#include "DailyGridDemo.h"

#include "controls/Fonts.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/daily/DailyGrid.h"

#include <QApplication>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

int RunDailyGridDemo(const std::string& passbookFolder, const std::string& dayText) {
  kzm::ui::InstallFontSubstitutions();
  kzm::ui::TQtWindowSystem windows;
  kzm::SetWindowSystem(&windows);
  const std::filesystem::path book(passbookFolder);
  kzm::AppGlobal().UseDataFolder(book.parent_path().string());
  kzm::CurrentProfile().OpenPassbook(book.string());
  kzm::TDayNumber day = dayText.empty() ? 0 : kzm::ParseDate(dayText);
  if (day <= 0) day = kzm::Today();

  kzm::THeadList list;
  const kzm::THeadList& categories = kzm::CurrentProfile().Categories();
  for (int i = 0; i < categories.Count(); ++i)
    if (kzm::KindGroup(categories.KindOf(i)) == 1) list.AddKey(categories.Items(i).key);

  QWidget window;
  window.setWindowTitle(QStringLiteral("入力表の見本"));
  auto* layout = new QVBoxLayout(&window);
  auto* tabs = new QTabWidget(&window);
  layout->addWidget(tabs);
  struct TPage {
    const char* caption;
    int kind;
  };
  for (const TPage& page : {TPage{"支出", kzm::kKindPayment}, TPage{"収入", kzm::kKindReceipt},
                            TPage{"資産の移動", kzm::kKindAsset}}) {
    auto* sheet = new QWidget(tabs);
    tabs->addTab(sheet, QString::fromUtf8(page.caption));
    auto* grid = new kzm::ui::TDailyGrid(sheet, page.kind, list, [] {});
    grid->LoadDay(day);
  }
  window.resize(640, 480);
  window.show();
  tabs->currentWidget()->findChild<kzm::ui::TDailyGrid*>()->setFocus();
  const int result = QApplication::exec();
  kzm::SetWindowSystem(nullptr);
  return result;
}
