#pragma once

// The pairing code the PC shows while a phone is being paired: one code at a time, for one
// phone, valid ten minutes; five wrong tries void it, so guessing six digits gets nowhere.

#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

enum class TPairTry : uint8_t { ptPaired, ptWrong, ptNoCode };

class TPairing {
 public:
  static constexpr int64_t kValidSeconds = 10 * 60;
  static constexpr int kWrongTries = 5;

  // A new code valid from now (seconds); the one before is void.
  const std::string& Open(int64_t now);
  // ptPaired once for the right code in time (the code is then spent); ptWrong for another
  // code while one is open; ptNoCode when none is open (never opened, spent, expired, voided).
  TPairTry Try(std::string_view code, int64_t now);
  [[nodiscard]] bool IsOpen(int64_t now) const { return !m_code.empty() && now < m_expires; }
  void Close() { m_code.clear(); }

 private:
  std::string m_code;
  int64_t m_expires = 0;
  int m_wrong = 0;
};

}  // namespace kzm
