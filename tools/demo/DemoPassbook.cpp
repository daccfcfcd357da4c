#include "demo/DemoPassbook.h"

#include <iterator>
#include <string_view>

#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"

namespace kzm {

namespace {

// splitmix64: the same numbers on every platform, unlike the standard distributions.
class TDemoRandom {
 public:
  explicit TDemoRandom(uint64_t seed) : m_state(seed) {}
  uint64_t Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A whole number from lo to hi.
  int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
  // An amount from lo to hi in steps of step yen.
  int Yen(int lo, int hi, int step) { return Range(lo / step, hi / step) * step; }
  bool Chance(int percent) { return Range(1, 100) <= percent; }
  template <size_t N>
  const char* Pick(const char* const (&items)[N]) {
    return items[static_cast<size_t>(Range(0, static_cast<int>(N) - 1))];
  }

 private:
  uint64_t m_state;
};

std::string Payment(const char* name) { return MakeKey(name, kKindPayment); }
std::string Asset(const char* name) { return MakeKey(name, kKindAsset); }

// Books the entries of the sample days into the month data, keeping the balances of the
// accounts in view so that cash is drawn before it runs out and the card bill is paid.
class TDemoDays {
 public:
  TDemoDays(TkzmDataUnit& data, TDemoRandom& random) : m_data(data), m_random(random) {}

  void SetOpening(int32_t cash, int32_t bank) {
    m_cash = cash;
    m_bank = bank;
  }

  void Pay(const char* category, const char* account, const char* item, int amount, const char* note = "") {
    if (std::string_view(account) == "現金" && m_cash < amount && !TopUpWallet()) return;
    m_data.AddEntry(Payment(category), Asset(account), note, item, amount);
    Balance(account) -= amount;
  }
  void Receive(const char* category, const char* account, const char* item, int amount) {
    m_data.AddEntry(MakeKey(category, kKindReceipt), Asset(account), "", item, amount);
    Balance(account) += amount;
  }
  void Move(const char* to, const char* from, const char* item, int amount) {
    m_data.AddEntry(Asset(to), Asset(from), "", item, amount);
    Balance(to) += amount;
    Balance(from) -= amount;
  }
  void Memo(const std::string& text) {
    m_data.AddEntry(MakeKey("メモ", kKindMemo), MakeKey("メモ", kKindMemo), "", text, 0);
  }

  // A household paid on the 25th: about nine entries a day.
  void Household(TDayNumber day) {
    const TYmd date = DecodeDate(day);
    const bool weekday = IsoDayOfWeek(day) <= 5;
    if (date.day == 1) m_cardBill = -m_card;
    if (m_cash < 8000) Move("現金", "銀行", "ATM引き出し", m_random.Chance(50) ? 30000 : 50000);
    FixedHousehold(date);
    for (int n = m_random.Range(2, 5); n > 0; --n) Food();
    if (m_random.Chance(50)) Pay("食費", "現金", m_random.Pick(kCafes), m_random.Yen(150, 600, 10));
    if (weekday) {
      Pay("交通", "現金", "電車", m_random.Yen(200, 480, 10), "通勤");
      Pay("交通", "現金", "電車", m_random.Yen(200, 480, 10), "通勤");
    } else if (m_random.Chance(40)) {
      Pay("交通", "現金", "バス", m_random.Yen(210, 520, 10));
    }
    for (int n = m_random.Range(0, 3); n > 0; --n) {
      Pay("雑費", m_random.Chance(70) ? "現金" : "カード", m_random.Pick(kSundries), m_random.Yen(100, 1200, 10));
    }
    if (m_random.Chance(30)) Pay("娯楽", "カード", m_random.Pick(kFun), m_random.Yen(500, 6000, 100));
    if (m_random.Chance(20)) Pay("交際", "現金", m_random.Pick(kSocial), m_random.Yen(1000, 8000, 500));
    if (m_random.Chance(25)) Pay("教養", "カード", m_random.Pick(kLearning), m_random.Yen(400, 3500, 10));
    if (m_random.Chance(10)) Pay("服飾", "カード", m_random.Pick(kClothes), m_random.Yen(1500, 15000, 100));
    if (m_random.Chance(25)) Memo(m_random.Pick(kMemos));
  }

  // Pocket money: a calendar-month book with a few entries a day, all in cash.
  void PocketMoney(TDayNumber day) {
    const TYmd date = DecodeDate(day);
    if (date.day == 1) Receive("給与", "現金", "おこづかい", 30000);
    if (date.day == 2 && m_cash > 20000) Move("銀行", "現金", "貯金", 10000);
    for (int n = m_random.Range(0, 2); n > 0; --n) Pay("食費", "現金", m_random.Pick(kCafes), m_random.Yen(120, 900, 10));
    if (m_random.Chance(30)) Pay("娯楽", "現金", m_random.Pick(kFun), m_random.Yen(300, 3000, 100));
    if (m_random.Chance(20)) Pay("交通", "現金", "バス", m_random.Yen(210, 520, 10));
    if (m_random.Chance(10)) Memo(m_random.Pick(kMemos));
  }

 private:
  static constexpr const char* kGroceries[] = {"スーパー", "八百屋", "肉屋", "パン屋", "コンビニ", "生協"};
  static constexpr const char* kMeals[] = {"昼食", "弁当", "外食", "ラーメン", "定食"};
  static constexpr const char* kCafes[] = {"コーヒー", "おやつ", "ジュース", "アイス"};
  static constexpr const char* kSundries[] = {"ドラッグストア", "100円ショップ", "日用品", "ティッシュ", "電池"};
  static constexpr const char* kFun[] = {"映画", "カラオケ", "ゲーム", "美術館", "CD"};
  static constexpr const char* kSocial[] = {"飲み会", "プレゼント", "お祝い", "お茶"};
  static constexpr const char* kLearning[] = {"本", "雑誌", "新聞", "講座"};
  static constexpr const char* kClothes[] = {"シャツ", "靴", "セーター", "靴下", "帽子"};
  static constexpr const char* kMemos[] = {
      "いい天気", "雨", "残業", "実家に電話", "歯医者",
      "特売日, 卵が安かった", "友だちと会う\n楽しかった", "ポイント2倍の日", "在宅勤務", "洗濯日和"};

  int32_t& Balance(const char* account) {
    const std::string name = account;
    if (name == "現金") return m_cash;
    if (name == "カード") return m_card;
    return m_bank;
  }

  // Nobody pays from an empty wallet: a short day goes to the ATM first, and what the bank
  // cannot cover is not bought.
  bool TopUpWallet() {
    constexpr int32_t kWithdrawal = 30000;
    if (m_bank < kWithdrawal) return false;
    Move("現金", "銀行", "ATM引き出し", kWithdrawal);
    return true;
  }

  void Food() {
    if (m_random.Chance(65)) {
      Pay("食費", m_random.Chance(60) ? "現金" : "カード", m_random.Pick(kGroceries), m_random.Yen(200, 2500, 1));
    } else {
      Pay("食費", "現金", m_random.Pick(kMeals), m_random.Yen(400, 1000, 10));
    }
  }

  void FixedHousehold(const TYmd& date) {
    // Pay and bonuses a little above the month's spending on average, so the bank slowly saves.
    if (date.day == 25) Receive("給与", "銀行", "給料", m_random.Yen(318000, 326000, 1));
    if (date.day == 10 && (date.month == 6 || date.month == 12)) Receive("給与", "銀行", "賞与", m_random.Yen(360000, 480000, 1000));
    if (date.day == 27) Pay("住居･光熱", "銀行", "家賃", 82000);
    if (date.day == 5) Pay("住居･光熱", "カード", "電気代", m_random.Yen(3500, 12000, 1));
    if (date.day == 8) Pay("住居･光熱", "カード", "ガス代", m_random.Yen(2500, 8000, 1));
    if (date.day == 20 && date.month % 2 == 0) Pay("住居･光熱", "銀行", "水道代", m_random.Yen(4000, 7000, 1));
    if (date.day == 15) Pay("雑費", "カード", "携帯電話", 6800);
    if (date.day == 10 && m_cardBill > 0) {
      Move("カード", "銀行", "カード引き落とし", m_cardBill);
      m_cardBill = 0;
    }
  }

  TkzmDataUnit& m_data;
  TDemoRandom& m_random;
  int32_t m_cash = 0;
  int32_t m_bank = 0;
  int32_t m_card = 0;
  int32_t m_cardBill = 0;  // the card balance at the end of last month, paid on the 10th
};

struct TDemoBook {
  const char* name;
  const char* owner;
  const char* purpose;
  int closingDay;
  bool household;
  int32_t openingCash;
  int32_t openingBank;
  uint64_t seedOffset;
};

constexpr TDemoBook kDemoBooks[] = {
    {"家計簿", "見本 花子", "家族の家計", 25, true, 20000, 600000, 0},
    {"おこづかい帳", "見本 太郎", "おこづかい", 31, false, 5000, 0, 0x5EED},
};

// The first month's opening balances, as the month period setup would record them.
bool SaveOpeningBalances(TMonthKey key, const TDemoBook& book) {
  THeadList month;
  LoadMonthPeriod(key, month);
  month.Merge(CurrentProfile().Categories());
  for (int i = 0; i < month.Count(); ++i) {
    if (month.Items(i).key == Asset("現金")) month.Items(i).balance = book.openingCash;
    if (month.Items(i).key == Asset("銀行")) month.Items(i).balance = book.openingBank;
  }
  return SaveSettlement(key, month);
}

bool MakeDemoBook(const std::string& folder, const TDemoBook& book, const TDemoOptions& options,
                  std::string& error) {
  TkzmProfile& profile = CurrentProfile();
  profile.Load(folder);
  profile.SetOwnerName(book.owner);
  profile.SetPurpose(book.purpose);
  profile.SetClosingDay(book.closingDay);
  profile.Categories().Items(0).visible = 1;  // 給与 is used from the first day
  const TMonthKey until = options.until != 0 ? NormaliseMonthKey(options.until) : MonthOfDay(Today());
  const TMonthKey from = NormaliseMonthKey(until - 100 * options.years + 1);
  if (KeyYear(from) < 2 || KeyYear(until) > 9998) {
    error = "その期間の見本はつくれません。";
    return false;
  }
  THeadList period;
  LoadMonthPeriod(from, period);
  const TDayNumber first = period.First();
  LoadMonthPeriod(until, period);
  const TDayNumber last = period.Last();
  profile.SetCreated(first);
  profile.SetLastOpened(last);
  TkzmDataUnit& data = CurrentMonthData();
  if (!profile.Save() || !data.SetFolder(folder + "/Daily") || !SaveOpeningBalances(from, book)) {
    error = folder + " に見本の通帳を書けませんでした。";
    return false;
  }
  TDemoRandom random(options.seed + book.seedOffset);
  TDemoDays days(data, random);
  days.SetOpening(book.openingCash, book.openingBank);
  for (TDayNumber day = first; day <= last; ++day) {
    if (!data.SelectDay(day)) break;
    if (book.household) days.Household(day);
    else days.PocketMoney(day);
  }
  // The month files noted their months; one run carries them all.
  const bool saved = data.Save() && CarryNotedMonths();
  if (!saved) error = folder + " に見本の通帳を書けませんでした。";
  return saved;
}

}  // namespace

bool MakeDemoPassbooks(const std::string& dataFolder, const TDemoOptions& options,
                       std::vector<std::string>& folders, std::string& error) {
  folders.clear();
  if (options.years < 1 || options.years > 200) {
    error = "年数は1から200までです。";
    return false;
  }
  for (const TDemoBook& book : kDemoBooks) {
    const std::string folder = dataFolder + "/" + book.name;
    if (FileExists(folder + "/nbkr.ini")) {
      error = folder + " にはもう通帳があります。";
      return false;
    }
    folders.push_back(folder);
  }
  EnsureFolder(dataFolder);
  for (size_t i = 0; i < std::size(kDemoBooks); ++i) {
    if (!MakeDemoBook(folders[i], kDemoBooks[i], options, error)) return false;
  }
  return true;
}

}  // namespace kzm
