// 「カードの請求」, 「これからの残高」 and the card settings dialog, on a real passbook offscreen.

#include "ui/card/CardBillWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ModalDialog.h"
#include "PassbookFixture.h"
#include "card/CardSettings.h"
#include "controls/NoticeEvent.h"
#include "foundation/WindowSystem.h"
#include "settlement/AccountingMonth.h"
#include "ui/NamedChild.h"
#include "ui/card/CardSetupDialog.h"
#include "ui/card/ForecastChart.h"
#include "ui/card/ForecastWindow.h"
#include "ui/common/Openers.h"

namespace kzm::ui {
namespace {

using test::Child;

TDayNumber D(int y, int m, int d) { return EncodeDate(y, m, d); }

class CardWindowTest : public test::TPassbookFixture {
 protected:
  CardWindowTest() { SetTodayForTest(D(2027, 3, 1)); }
  ~CardWindowTest() override { SetTodayForTest(0); }

  void SetCard(const char* from) {
    TCardStore store;
    std::string error;
    ASSERT_TRUE(store.Load(CurrentProfile().Folder(), error)) << error;
    store.Set({"カード", kCardMonthEnd, 10, 1, from});
    ASSERT_TRUE(store.Save(error)) << error;
  }
  // A purchase with the card, stored and summarised as the daily window does.
  static void Buy(TDayNumber day, int32_t amount) {
    AddEntry(day, "食費", kKindPayment, "買い物", amount, "カード");
    ASSERT_TRUE(CurrentMonthData().Save());
    THeadList summary;
    (void)BuildMonth(MonthOfDay(day), summary);
  }
  static int RowStarting(const QTableWidget& table, const QString& first) {
    for (int r = 0; r < table.rowCount(); ++r) {
      if (table.item(r, TFmCardBill::kColPeriod)->text().startsWith(first)) return r;
    }
    ADD_FAILURE() << first.toStdString();
    return 0;
  }
};

TEST_F(CardWindowTest, PayEntersTheMoveOnThePaymentDateAndTheWindowsHearOfIt) {
  SetCard("銀行");
  Buy(D(2027, 1, 31), 12'000);  // the closing day: January's bill, paid 2/10
  Buy(D(2027, 2, 1), 3'000);
  auto* form = new TFmCardBill;
  form->ShowCard("カード");
  form->show();
  QTableWidget& table = form->Table();
  ASSERT_EQ(table.rowCount(), 3);  // January, February and March (open), newest first
  EXPECT_TRUE(table.item(0, TFmCardBill::kColPeriod)->text().startsWith("2027/03/01"));
  const int january = RowStarting(table, "2027/01/01");
  EXPECT_EQ(table.item(january, TFmCardBill::kColBilled)->text(), "12,000");
  EXPECT_EQ(table.item(january, TFmCardBill::kColPayment)->text(), "2027/02/10");
  EXPECT_EQ(table.item(january, TFmCardBill::kColState)->text(), "未");

  auto* pay = Child<QPushButton>(form, "ButtonPay");
  const int march = RowStarting(table, "2027/03/01");
  EXPECT_EQ(table.item(march, TFmCardBill::kColState)->text(), "締め前");
  table.selectRow(march);
  EXPECT_FALSE(pay->isEnabled());  // still open
  table.selectRow(january);
  ASSERT_TRUE(pay->isEnabled());
  m_windows.notices.clear();
  QTest::mouseClick(pay, Qt::LeftButton);

  EXPECT_NE(MonthText("202702.kzm").find("カードの支払"), std::string::npos) << MonthText("202702.kzm");
  bool told = false;
  for (const auto& n : m_windows.notices) told = told || (n.message == kNoticeDataChanged && n.first == D(2027, 2, 10));
  EXPECT_TRUE(told);
  // The recording window system delivers no notices: the window is told as the program would.
  TNoticeEvent notice(kNoticeDataChanged, D(2027, 2, 10), 0);
  QApplication::sendEvent(form, &notice);
  const int paid = RowStarting(table, "2027/01/01");
  EXPECT_EQ(table.item(paid, TFmCardBill::kColState)->text(), "済 (2027/02/10)");
  table.selectRow(paid);
  EXPECT_FALSE(pay->isEnabled());
}

TEST_F(CardWindowTest, ACardWhoseAccountWasDeletedShowsWhyAndCannotBePaid) {
  SetCard("旧銀行");
  Buy(D(2027, 1, 15), 12'000);
  auto* form = new TFmCardBill;
  form->ShowCard("カード");
  form->show();
  EXPECT_NE(Child<QLabel>(form, "LabelSettings")->text().indexOf("旧銀行"), -1);
  EXPECT_EQ(form->Table().rowCount(), 0);
  EXPECT_FALSE(Child<QPushButton>(form, "ButtonPay")->isEnabled());
}

TEST_F(CardWindowTest, TheForecastShowsTheDayTheBankRunsShortInRed) {
  SetCard("銀行");
  Buy(D(2027, 2, 20), 40'000);  // paid 3/10 from a bank holding nothing
  auto* form = new TFmForecast;
  form->ShowMonths(3);
  form->show();
  const QTableWidget& table = form->Table();
  int bank = -1;
  for (int r = 0; r < table.rowCount(); ++r) {
    if (table.item(r, TFmForecast::kColAccount)->text() == "銀行") bank = r;
  }
  ASSERT_GE(bank, 0);
  EXPECT_EQ(table.item(bank, TFmForecast::kColLowest)->text(), "-40,000");
  EXPECT_EQ(table.item(bank, TFmForecast::kColShort)->text(), "2027/03/10");
  EXPECT_EQ(table.item(bank, TFmForecast::kColShort)->foreground().color(), QColor(0xE0, 0x20, 0x20));
  // Six months reach further; the chart paints without trouble.
  Child<QComboBox>(form, "ComboMonths")->setCurrentIndex(1);
  EXPECT_EQ(form->Forecast().last, D(2027, 9, 1));
  form->grab();
}

// A year ahead in a narrow window: today's date and the months after it would run into each
// other, so they thin out, and none is cut at the right edge.
TEST_F(CardWindowTest, TheForecastsDatesDoNotRunIntoEachOther) {
  SetTodayForTest(D(2026, 12, 10));
  auto* form = new TFmForecast;
  form->resize(420, 560);
  form->ShowMonths(12);
  form->show();
  const auto* chart = Child<TForecastChart>(form, "ChartForecast");
  const std::vector<TForecastChart::TDayLabel> labels = chart->DayLabels();
  ASSERT_GE(labels.size(), 4u);
  EXPECT_EQ(labels.front().text, "12/10");
  for (size_t i = 1; i < labels.size(); ++i) {
    SCOPED_TRACE(labels[i].text.toStdString());
    EXPECT_GT(labels[i].rect.left(), labels[i - 1].rect.right());
    EXPECT_LE(labels[i].rect.right(), chart->width());
  }
  form->close();
}

TEST_F(CardWindowTest, TheSettingsDialogStoresACardAndRefusesAnAccountThePassbookLacks) {
  test::OnNextDialog([](QDialog* dialog) {
    // Wide enough for its whole title beside the title bar's icon and three buttons.
    QFont bold = dialog->font();
    bold.setBold(true);
    EXPECT_GE(dialog->width(), QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 4 * 24);
    Child<QCheckBox>(dialog, "CheckCard")->setChecked(true);
    Child<QComboBox>(dialog, "ComboClosing")->setCurrentText("15日");
    Child<QComboBox>(dialog, "ComboMonth")->setCurrentText("翌々月");
    Child<QComboBox>(dialog, "ComboPayment")->setCurrentText("月末");
    Child<QComboBox>(dialog, "ComboFrom")->setCurrentText("銀行");
    dialog->accept();
  });
  ASSERT_TRUE(EditCardSettings(CurrentProfile().Folder(), "カード", CurrentProfile().Categories(), nullptr));
  EXPECT_EQ(DecodeCp932(test::ReadBytes(CurrentProfile().Folder() + "/" + kCardFileName)),
            "card,カード,15,end,after-next,銀行\r\n");

  SetCard("旧銀行");
  m_windows.messages.clear();
  test::OnNextDialog([](QDialog* dialog) {
    dialog->accept();  // refused: the dialog stays open and is cancelled
  });
  EXPECT_FALSE(EditCardSettings(CurrentProfile().Folder(), "カード", CurrentProfile().Categories(), nullptr));
  ASSERT_EQ(m_windows.messages.size(), 1u);
  EXPECT_NE(m_windows.messages[0].find("旧銀行"), std::string::npos);
}

}  // namespace
}  // namespace kzm::ui
