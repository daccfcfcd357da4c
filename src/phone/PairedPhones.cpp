#include "phone/PairedPhones.h"

#include <algorithm>
#include <cstdlib>

#include "foundation/Codec.h"
#include "foundation/Files.h"
#include "foundation/Utf8.h"
#include "phone/PhoneSecrets.h"

namespace kzm {

namespace {

constexpr size_t kFileLimit = 1 << 20;
constexpr int64_t kTouchEvery = 60;

std::string KeyOf(const std::vector<std::string>& fields) {
  return fields.size() >= 5 && fields[2].size() == 64 ? fields[0] : std::string();
}

TPairedPhone PhoneOf(const TKeyedCsvStore::TRecord& record) {
  const auto& f = record.fields;
  return TPairedPhone{f[0], f[1], f[2], std::atoll(f[3].c_str()), std::atoll(f[4].c_str())};
}

std::vector<std::string> FieldsOf(const TPairedPhone& phone) {
  return {phone.id, phone.name, phone.keyHash, std::to_string(phone.paired), std::to_string(phone.lastUsed)};
}

// A name the file can hold: characters Shift-JIS lacks (emoji) become "?".
std::string StorableName(const std::string& name) {
  if (IsCp932Encodable(name)) return name;
  std::string out;
  for (size_t pos = 0; pos < name.size();) {
    const size_t length = std::max<size_t>(1, Utf8CharLength(name, pos));
    const std::string one = name.substr(pos, length);
    out += IsCp932Encodable(one) ? one : "?";
    pos += length;
  }
  return out;
}

}  // namespace

TPairedPhones::TPairedPhones(std::string folder) : m_folder(std::move(folder)), m_store("スマホの一覧", kFileLimit) {}

bool TPairedPhones::Load(std::string& error) { return m_store.Load(Path(), KeyOf, error); }

std::vector<TPairedPhone> TPairedPhones::List() const {
  std::vector<TPairedPhone> phones;
  for (const auto& record : m_store.Records()) phones.push_back(PhoneOf(record));
  return phones;
}

std::string TPairedPhones::Add(const std::string& name, int64_t now, std::string& error) {
  const std::string key = NewPhoneKey();
  TPairedPhone phone{HashPhoneKey(key).substr(0, 12), StorableName(name.empty() ? "スマホ" : name), HashPhoneKey(key), now, now};
  m_store.Set(phone.id, FieldsOf(phone));
  EnsureFolder(m_folder);
  if (m_store.Save(Path(), error)) return key;
  m_store.Remove(phone.id);
  return {};
}

std::optional<TPairedPhone> TPairedPhones::Find(const std::string& key, int64_t now) {
  const std::string hash = HashPhoneKey(key);
  for (const auto& record : m_store.Records()) {
    TPairedPhone phone = PhoneOf(record);
    if (!HashesMatch(phone.keyHash, hash)) continue;
    if (now - phone.lastUsed >= kTouchEvery) {
      phone.lastUsed = now;
      m_store.Set(phone.id, FieldsOf(phone));
      std::string ignored;
      (void)m_store.Save(Path(), ignored);  // a last-use time is not worth refusing an entry for
    }
    return phone;
  }
  return std::nullopt;
}

bool TPairedPhones::Remove(const std::string& id, std::string& error) {
  if (!m_store.Get(id)) return true;
  const std::vector<std::string> fields = *m_store.Get(id);
  m_store.Remove(id);
  if (m_store.Save(Path(), error)) return true;
  m_store.Set(id, fields);
  return false;
}

}  // namespace kzm
