#include "phone/PhoneService.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>

#include "common/TempFolder.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

using nlohmann::json;

// The passbook as the service sees it: the default categories, and the entries booked so far.
struct TBookSeen {
  THeadList categories;
  std::vector<TPhoneEntry> booked;
  bool refuse = false;

  static bool Same(const TPhoneEntry& a, const TPhoneEntry& b) {
    return a.day == b.day && a.categoryKey == b.categoryKey && a.accountKey == b.accountKey && a.amount == b.amount &&
           a.item == b.item && a.note == b.note;
  }
  TPhoneBook Book() {
    categories.LoadDefaultCategories();
    return TPhoneBook{
        [this] { return categories; },
        [this](const TPhoneEntry& e, std::string& error) {
          if (refuse) error = "ディスクがいっぱいです。";
          if (!refuse) booked.push_back(e);
          return !refuse;
        },
        [this](const TPhoneEntry& e) {
          return std::any_of(booked.begin(), booked.end(), [&](const TPhoneEntry& b) { return Same(b, e); });
        },
        [this](const TPhoneEntry& e) {
          const auto found = std::find_if(booked.begin(), booked.end(), [&](const TPhoneEntry& b) { return Same(b, e); });
          if (found == booked.end()) return false;
          booked.erase(found);
          return true;
        }};
  }
};

class PhoneServiceTest : public ::testing::Test {
 protected:
  TPhoneResponse Send(const std::string& method, const std::string& path, const std::string& body = "",
                      const std::string& key = "", const std::string& address = "192.168.1.20") {
    return service.Handle(TPhoneRequest{method, path, key.empty() ? "" : "Bearer " + key, body, address, now});
  }
  std::string Pair(const std::string& device = "花子のスマホ") {
    const std::string code = service.Pairing().Open(now);
    const TPhoneResponse paired = Send("POST", "/api/pair", json{{"code", code}, {"device", device}}.dump());
    EXPECT_EQ(paired.status, 200) << paired.body;
    return json::parse(paired.body).value("key", "");
  }
  static json Entry(const std::string& id, const std::string& amount = "298*3") {
    return {{"id", id}, {"date", "2026-12-10"}, {"category", "食費"}, {"amount", amount}, {"item", "パン"}, {"account", "現金"}};
  }

  test::TTempFolder temp;
  TBookSeen seen;
  int64_t now = 1'800'000'000;
  TPhoneService service{temp.Path(), seen.Book()};
};

TEST_F(PhoneServiceTest, APairingCodeServesOnePhoneForTenMinutesAndFiveTries) {
  std::string code = service.Pairing().Open(now);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Send("POST", "/api/pair", json{{"code", "x"}}.dump()).status, 403);
  EXPECT_EQ(Send("POST", "/api/pair", json{{"code", code}}.dump()).status, 403);  // voided by the wrong tries

  code = service.Pairing().Open(now);
  now += TPairing::kValidSeconds;
  EXPECT_EQ(Send("POST", "/api/pair", json{{"code", code}}.dump()).status, 403);  // expired

  const std::string key = Pair();
  EXPECT_EQ(key.size(), 64u);
  EXPECT_EQ(Send("GET", "/api/categories", "", key).status, 200);
  EXPECT_EQ(Send("GET", "/api/categories").status, 401);
  EXPECT_EQ(Send("GET", "/api/categories", "", std::string(64, '0')).status, 401);
  // The key is kept hashed, and still opens the door after a restart.
  std::string error;
  TPhoneService again(temp.Path(), seen.Book());
  ASSERT_TRUE(again.Load(error)) << error;
  EXPECT_EQ(again.Handle({"GET", "/api/categories", "Bearer " + key, "", "a", now}).status, 200);
  EXPECT_EQ(test::ReadBytes(temp.Path() + "/Phones.csv").find(key), std::string::npos);

  ASSERT_TRUE(service.Phones().Remove(service.Phones().List().front().id, error)) << error;
  EXPECT_EQ(Send("GET", "/api/categories", "", key).status, 401);  // 解除
}

TEST_F(PhoneServiceTest, AnEntryIsBookedOnceWhateverRepeats) {
  const std::string key = Pair();
  const TPhoneResponse first = Send("POST", "/api/entries", Entry("a1").dump(), key);
  ASSERT_EQ(first.status, 201) << first.body;
  EXPECT_EQ(json::parse(first.body)["amount"], 894);
  EXPECT_EQ(json::parse(first.body)["kind"], "payment");
  const TPhoneResponse repeat = Send("POST", "/api/entries", Entry("a1").dump(), key);
  EXPECT_EQ(repeat.status, 200);
  EXPECT_EQ(repeat.body, first.body);
  EXPECT_EQ(seen.booked.size(), 1u);

  // After a restart too: the ids sent are kept.
  std::string error;
  TPhoneService restarted(temp.Path(), seen.Book());
  ASSERT_TRUE(restarted.Load(error)) << error;
  EXPECT_EQ(restarted.Handle({"POST", "/api/entries", "Bearer " + key, Entry("a1").dump(), "b", now}).status, 200);
  EXPECT_EQ(seen.booked.size(), 1u);

  // A booking cut short after its note is made good by the repeat, once.
  seen.booked.clear();
  EXPECT_EQ(Send("POST", "/api/entries", Entry("a1").dump(), key).status, 200);
  EXPECT_EQ(Send("POST", "/api/entries", Entry("a1").dump(), key).status, 200);
  EXPECT_EQ(seen.booked.size(), 1u);

  // A refused booking leaves no note behind: the next try books it.
  seen.refuse = true;
  EXPECT_EQ(Send("POST", "/api/entries", Entry("a2").dump(), key).status, 503);
  seen.refuse = false;
  EXPECT_EQ(Send("POST", "/api/entries", Entry("a2").dump(), key).status, 201);

  const json recent = json::parse(Send("GET", "/api/entries/recent", "", key).body);
  EXPECT_EQ(recent["entries"].size(), 2u);
  EXPECT_EQ(Send("DELETE", "/api/entries/a2", "", key).status, 200);
  EXPECT_EQ(seen.booked.size(), 1u);
  seen.booked.front().amount = 900;  // changed on the PC
  EXPECT_EQ(Send("DELETE", "/api/entries/a1", "", key).status, 409);
  EXPECT_EQ(Send("DELETE", "/api/entries/zz", "", key).status, 404);
}

TEST_F(PhoneServiceTest, EveryRefusalSaysWhyAndBooksNothing) {
  const std::string key = Pair();
  const auto refusal = [&](json entry, int status) {
    const TPhoneResponse answer = Send("POST", "/api/entries", entry.dump(), key);
    EXPECT_EQ(answer.status, status) << entry.dump() << " " << answer.body;
    return json::parse(answer.body).value("error", "");
  };
  json entry = Entry("b1");
  entry["category"] = "宝くじ";
  EXPECT_NE(refusal(entry, 422).find("宝くじ"), std::string::npos);
  entry = Entry("b2");
  entry["account"] = "財布";
  EXPECT_NE(refusal(entry, 422).find("財布"), std::string::npos);
  entry = Entry("b3");
  entry["date"] = "2026-02-30";
  EXPECT_NE(refusal(entry, 422).find("日付"), std::string::npos);
  EXPECT_FALSE(refusal(Entry("b4", "abc"), 422).empty());
  EXPECT_FALSE(refusal(Entry("b5", "100-200"), 422).empty());
  entry = Entry("b6");
  entry["item"] = "🍞";
  EXPECT_FALSE(refusal(entry, 422).empty());
  entry = Entry("b7");
  entry["amount"] = 300;
  EXPECT_FALSE(refusal(entry, 422).empty());
  EXPECT_EQ(seen.booked.size(), 0u);

  EXPECT_EQ(Send("POST", "/api/entries", "{\"id\":", key).status, 400);
  EXPECT_EQ(Send("POST", "/api/entries", std::string(5000, '[') + std::string(5000, ']'), key).status, 400);
  EXPECT_EQ(Send("POST", "/api/entries", std::string(TPhoneService::kBodyLimit + 1, ' '), key).status, 413);
  // A move: the category is the asset moved into.
  entry = Entry("b8");
  entry["category"] = "銀行";
  const TPhoneResponse move = Send("POST", "/api/entries", entry.dump(), key);
  EXPECT_EQ(move.status, 201) << move.body;
  EXPECT_EQ(json::parse(move.body)["kind"], "move");
}

TEST_F(PhoneServiceTest, OneAddressSendingTooFastIsHeldBackAlone) {
  const std::string key = Pair();
  int held = 0;
  for (int i = 0; i < 70; ++i) held += Send("GET", "/api/categories", "", key, "192.168.1.30").status == 429;
  EXPECT_EQ(held, 10);
  EXPECT_EQ(Send("GET", "/api/categories", "", key, "192.168.1.31").status, 200);
  now += 61;
  EXPECT_EQ(Send("GET", "/api/categories", "", key, "192.168.1.30").status, 200);
}

}  // namespace
}  // namespace kzm
