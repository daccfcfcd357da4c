// The phone service inside the program: a phone's entry lands in an open daily window that
// holds edits of the same day, and the options tab pairs and releases phones.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTreeWidget>

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <thread>

#include "PassbookFixture.h"
#include "controls/NoticeEvent.h"
#include "foundation/Dates.h"
#include "ui/NamedChild.h"
#include "ui/common/Openers.h"
#include "ui/common/PhoneHost.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/DailyWindow.h"
#include "ui/settings/PhonePage.h"

namespace kzm::ui {
namespace {

using nlohmann::json;

int FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

// Notices reach the windows, as they do in the program.
class TDeliveringWindows : public test::TAnsweringWindows {
 public:
  void BroadcastToForms(int message, int first, int second) override {
    TRecordingWindowSystem::BroadcastToForms(message, first, second);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      TNoticeEvent event(message, first, second);
      QApplication::sendEvent(w, &event);
    }
  }
};

class PhoneHostTest : public test::TPassbookFixture {
 protected:
  PhoneHostTest() {
    ::setenv("XDG_STATE_HOME", m_data.File("state").c_str(), 1);
    SetWindowSystem(&m_delivering);
  }
  ~PhoneHostTest() override { SetWindowSystem(&m_windows); }

  // A request from a phone, on a thread of its own while the window thread answers.
  json Send(const std::string& method, const std::string& path, const json& body, const std::string& key = "") {
    std::atomic<bool> done = false;
    int status = 0;
    std::string answer;
    std::thread phone([&] {
      httplib::Client client("127.0.0.1", m_port);
      httplib::Headers headers;
      if (!key.empty()) headers.emplace("Authorization", "Bearer " + key);
      const auto result = method == "POST" ? client.Post(path, headers, body.dump(), "application/json")
                                           : client.Get(path, headers);
      if (result) status = result->status, answer = result->body;
      done = true;
    });
    while (!done) QApplication::processEvents(QEventLoop::AllEvents, 20);
    phone.join();
    json parsed = answer.empty() ? json::object() : json::parse(answer);
    parsed["status"] = status;
    return parsed;
  }

  TDeliveringWindows m_delivering;
  TPhoneHost m_host;
  int m_port = FreePort();
};

TEST_F(PhoneHostTest, APhonesEntryLandsBesideTheEditsOfAnOpenDailyWindow) {
  const TDayNumber day = EncodeDate(2024, 3, 5);
  ASSERT_TRUE(OpenDailyWindow(day));
  QPointer<TFmDaily> daily;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<TFmDaily*>(w)) daily = found;
  }
  ASSERT_TRUE(daily);
  const auto settle = [] {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  };
  QApplication::setActiveWindow(daily);
  settle();
  test::TypeText(QStringLiteral("米"));
  test::PressKey(Qt::Key_Return);
  settle();
  test::TypeText(QStringLiteral("298*3"));
  test::PressKey(Qt::Key_Return);
  settle();
  ASSERT_TRUE(daily->Modified());

  m_host.Follow(CurrentProfile().Folder());
  std::string error;
  ASSERT_TRUE(m_host.Apply({true, "127.0.0.1", m_port}, error)) << error;
  TPhonePage page(&m_host);
  EXPECT_FALSE(test::Child<QLabel>(&page, "imPhoneQr")->pixmap().isNull());
  EXPECT_TRUE(test::Child<QLabel>(&page, "lbPhoneCode")->text().contains(QString::fromStdString(m_host.Code())));

  const std::string key = Send("POST", "/api/pair", {{"code", m_host.Code()}, {"device", "太郎のスマホ"}})["key"];
  EXPECT_TRUE(test::Child<QLabel>(&page, "imPhoneQr")->pixmap().isNull());  // a used code is shown no more
  const json entry{{"id", "t1"}, {"date", "2024-03-05"}, {"category", "食費"}, {"amount", "120"}, {"item", "アメ"}};
  {
    // A question on screen may be in the middle of a change: the phone is asked to come back.
    QDialog question;
    question.setModal(true);
    question.show();
    EXPECT_EQ(Send("POST", "/api/entries", entry, key)["status"], 503);
  }
  ASSERT_EQ(Send("POST", "/api/entries", entry, key)["status"], 201);
  QApplication::processEvents();
  // The window saved its edits before the entry landed, and shows both.
  EXPECT_FALSE(daily->Modified());
  const TDailyGrid& grid = *daily->Grid(kKindPayment);
  QStringList items;
  for (int row = 1; row < grid.RowCount(); ++row) items << grid.Cells(1, row);
  EXPECT_TRUE(items.contains(QStringLiteral("米")) && items.contains(QStringLiteral("アメ"))) << items.join(',').toStdString();
  QApplication::setActiveWindow(daily);
  settle();
  test::PressKey(Qt::Key_Right, Qt::ControlModifier);
  const std::string month = MonthText("202403.kzm");
  EXPECT_NE(month.find(",894,米,"), std::string::npos) << month;
  EXPECT_NE(month.find(",120,アメ,"), std::string::npos) << month;

  // The tab lists the phone and today's entry; 解除 shuts it out.
  auto* phones = test::Child<QTreeWidget>(&page, "lvPhones");
  ASSERT_EQ(phones->topLevelItemCount(), 1);
  EXPECT_EQ(phones->topLevelItem(0)->text(0), QStringLiteral("太郎のスマホ"));
  EXPECT_EQ(m_host.Today().size(), 2u);
  m_windows.answers = {true};
  m_delivering.answers = {true};
  test::Child<QPushButton>(&page, "btPhoneRemove")->click();
  EXPECT_EQ(phones->topLevelItemCount(), 0);
  EXPECT_EQ(Send("GET", "/api/categories", json(), key)["status"], 401);
  m_host.Follow(std::string());
  EXPECT_FALSE(m_host.Running());
}

}  // namespace
}  // namespace kzm::ui
