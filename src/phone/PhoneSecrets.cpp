#include "phone/PhoneSecrets.h"

#include <openssl/crypto.h>
#include <openssl/sha.h>
#include <sys/random.h>

#include <array>
#include <cstdint>
#include <stdexcept>

namespace kzm {

namespace {

template <size_t N>
std::array<uint8_t, N> RandomBytes() {
  std::array<uint8_t, N> bytes{};
  size_t filled = 0;
  while (filled < N) {
    const ssize_t got = ::getrandom(bytes.data() + filled, N - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("乱数を得られませんでした。");
    }
    filled += static_cast<size_t>(got);
  }
  return bytes;
}

std::string Hex(const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

}  // namespace

std::string NewPairingCode() {
  // Rejection sampling keeps every code equally likely.
  for (;;) {
    const auto bytes = RandomBytes<4>();
    const uint32_t value = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    if (value >= 4294000000u) continue;
    std::string code = std::to_string(value % 1000000);
    return std::string(6 - code.size(), '0') + code;
  }
}

std::string NewPhoneKey() {
  const auto bytes = RandomBytes<32>();
  return Hex(bytes.data(), bytes.size());
}

std::string HashPhoneKey(std::string_view key) {
  std::array<uint8_t, SHA256_DIGEST_LENGTH> digest{};
  SHA256(reinterpret_cast<const unsigned char*>(key.data()), key.size(), digest.data());
  return Hex(digest.data(), digest.size());
}

bool HashesMatch(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace kzm
