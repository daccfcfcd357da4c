// The messages text: one "key=text" per line. Keys are "N" (general, the first key), "MMa",
// "MMb", "MMc" (days 1-10, 11-21, 22-end of a month), "MMDD" and "yyyymmdd". A text is a
// comma text of parts; "\n" breaks a line inside a part and "_" stands for a blank.
#include "ui/shell/MessageList.h"

#include <chrono>
#include <cstdio>

#include "calendar/Almanac.h"
#include "foundation/CommaText.h"
#include "foundation/Resources.h"
#include "foundation/Text.h"
#include "graphics/BitmapRoutines.h"

namespace kzm::ui {

namespace {

std::string TwoDigits(int n) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", n);
  return buffer;
}

}  // namespace

TselifList::TselifList(TRandomSource& random, TDateSource today) : m_random(random), m_today(std::move(today)) {}

void TselifList::Load(std::string_view text) {
  const std::string all = ReplaceAll(text, "\t", "\\n");
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = all.size();
    const std::string_view line = std::string_view(all).substr(pos, end - pos);
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos && eq > 0) Add(line.substr(0, eq), std::string(line.substr(eq + 1)));
    pos = end + 1;
  }
}

void TselifList::AddDayMessages(Talmanac& almanac) {
  const TDayNumber today = m_today();
  almanac.SetDate(today);
  const std::string key = FormatDate8(today);
  if (const std::string holiday = almanac.HolidayName(); !holiday.empty()) Add(key, "今日は____\\n" + holiday);
  if (const std::string season = almanac.SeasonName(); !season.empty()) Add(key, "今日は____\\n" + season);
  m_ready = false;
}

void TselifList::Add(std::string_view key, std::string text) {
  int index = FindKey(key);
  if (index < 0) {
    m_keys.push_back({std::string(key), {}});
    index = static_cast<int>(m_keys.size()) - 1;
  }
  m_keys[index].texts.push_back(std::move(text));
}

int TselifList::FindKey(std::string_view key) const {
  for (std::size_t i = 0; i < m_keys.size(); ++i) {
    if (SameText(m_keys[i].key, key)) return static_cast<int>(i);
  }
  return -1;
}

const std::vector<std::string>* TselifList::Alternatives(std::string_view key) const {
  const int index = FindKey(key);
  return index < 0 ? nullptr : &m_keys[index].texts;
}

int TselifList::UsableKey(const std::string& key) const {
  const int index = FindKey(key);
  return index >= 0 && !m_keys[index].texts.empty() ? index : -1;
}

void TselifList::Tick() {
  ++m_ticksSincePart;
  if (m_random.Random(10000) < 10) PickMessage();
  if (!m_ready && !m_queue.empty() && m_ticksSincePart > 10) RenderNextPart();
}

void TselifList::PickMessage() {
  if (!m_queue.empty()) return;
  m_batch = m_random.Random(100000);
  m_partsShown = 0;
  m_ticksSincePart = 0;
  int chosen = m_keys.empty() ? -1 : 0;
  bool dated = false;
  const TDayNumber today = m_today();
  const TYmd date = DecodeDate(today);
  const char third = date.day <= 10 ? 'a' : date.day <= 21 ? 'b' : 'c';
  // Later keys win: the full date over the day over the third of the month.
  if (const int k = UsableKey(TwoDigits(date.month) + third); k >= 0 && m_random.Random(3) == 0) {
    chosen = k;
    dated = true;
  }
  if (const int k = UsableKey(TwoDigits(date.month) + TwoDigits(date.day)); k >= 0) {
    chosen = k;
    dated = true;
  }
  if (const int k = UsableKey(FormatDate8(today)); k >= 0) {
    chosen = k;
    dated = true;
  }
  if (chosen < 0 || m_keys[chosen].texts.empty()) return;
  std::vector<std::string>& texts = m_keys[chosen].texts;
  const int pick = m_random.Random(static_cast<int>(texts.size()));
  for (std::string& part : SplitCommaText(texts[pick])) m_queue.push_back(std::move(part));
  // A dated line is said once per run.
  if (dated) texts.erase(texts.begin() + pick);
}

void TselifList::RenderNextPart() {
  std::string part = std::move(m_queue.front());
  m_queue.pop_front();
  part = ReplaceAll(ReplaceAll(part, "\\n", "\n"), "_", " ");
  m_textPicture = m_renderer(part);
  m_partText = part;
  if (!m_textPicture.Is32()) m_textPicture.SetBitsPerPixel(32);
  SetBitmapAlpha(m_textPicture, 255);
  m_ready = true;
  ++m_partsShown;
  m_ticksSincePart = 0;
}

TselifList& MascotMessages() {
  struct TInstance {
    TSeededRandom random{static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count())};
    TselifList list{random};
    TInstance() {
      list.Load(ReadResourceText("MESSAGES"));
      list.AddDayMessages(Almanac());
    }
  };
  static TInstance instance;
  return instance.list;
}

}  // namespace kzm::ui
