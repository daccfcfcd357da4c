#pragma once

// TselifList: the mascots' messages. It holds the texts of the MESSAGES resource by key,
// picks a message now and then (a dated one when today has one), splits it into parts and
// renders one part at a time as a small picture that the next free mascot says in its
// balloon.

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/Dates.h"
#include "foundation/RandomSource.h"
#include "graphics/Bitmap.h"

namespace kzm {
class Talmanac;
}

namespace kzm::ui {

// Renders the lines of a part (separated by "\n" line breaks) with the 12-pixel font: black
// on white, each line centred, as wide as the widest line.
[[nodiscard]] TBitmap RenderMessagePart(const std::string& lines);

class TselifList {
 public:
  using TDateSource = std::function<TDayNumber()>;
  using TPartRenderer = std::function<TBitmap(const std::string& lines)>;

  // Draws its chances from random; today tells the date PickMessage looks for.
  explicit TselifList(TRandomSource& random, TDateSource today = Today);

  // Adds the lines of a messages text ("key=text" per line; a tab stands for "\n").
  void Load(std::string_view text);
  // Adds today's holiday and seasonal day, if any, under today's "yyyymmdd" key.
  void AddDayMessages(Talmanac& almanac);
  void SetRenderer(TPartRenderer renderer) { m_renderer = std::move(renderer); }

  // One timer step: now and then a new message; the next part once the last one was said.
  void Tick();
  // Starts a new message unless parts of the last one still wait.
  void PickMessage();

  // The alternatives of a key (letter case ignored); null when the key is unknown.
  [[nodiscard]] const std::vector<std::string>* Alternatives(std::string_view key) const;
  [[nodiscard]] const std::deque<std::string>& Queue() const { return m_queue; }

  // A rendered part waits for a mascot; the mascot that says it clears this.
  [[nodiscard]] bool Ready() const { return m_ready; }
  void ClearReady() { m_ready = false; }
  [[nodiscard]] const TBitmap& TextPicture() const { return m_textPicture; }
  // The words of that picture, its lines separated by "\n", for a screen reader.
  [[nodiscard]] const std::string& PartText() const { return m_partText; }
  [[nodiscard]] int TicksSincePart() const { return m_ticksSincePart; }
  [[nodiscard]] int PartsShown() const { return m_partsShown; }
  // Drawn anew for each message, so a mascot can tell whether it already spoke in it.
  [[nodiscard]] int Batch() const { return m_batch; }

 private:
  struct TKey {
    std::string key;
    std::vector<std::string> texts;
  };

  void Add(std::string_view key, std::string text);
  [[nodiscard]] int FindKey(std::string_view key) const;
  // Index of the key when it has texts, else -1.
  [[nodiscard]] int UsableKey(const std::string& key) const;
  void RenderNextPart();

  TRandomSource& m_random;
  TDateSource m_today;
  TPartRenderer m_renderer = RenderMessagePart;
  std::vector<TKey> m_keys;
  std::deque<std::string> m_queue;
  TBitmap m_textPicture{0, 0, 32};
  std::string m_partText;
  bool m_ready = false;
  int m_ticksSincePart = 0;
  int m_partsShown = 0;
  int m_batch = 0;
};

// The program's message list, made on first use from the MESSAGES resource and today's
// holiday and seasonal day, with its own random source seeded from the clock.
[[nodiscard]] TselifList& MascotMessages();

}  // namespace kzm::ui
