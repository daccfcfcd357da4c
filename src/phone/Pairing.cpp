#include "phone/Pairing.h"

#include "phone/PhoneSecrets.h"

namespace kzm {

const std::string& TPairing::Open(int64_t now) {
  m_code = NewPairingCode();
  m_expires = now + kValidSeconds;
  m_wrong = 0;
  return m_code;
}

TPairTry TPairing::Try(std::string_view code, int64_t now) {
  if (!IsOpen(now)) {
    Close();
    return TPairTry::ptNoCode;
  }
  if (HashesMatch(HashPhoneKey(code), HashPhoneKey(m_code))) {
    Close();
    return TPairTry::ptPaired;
  }
  if (++m_wrong >= kWrongTries) Close();
  return TPairTry::ptWrong;
}

}  // namespace kzm
