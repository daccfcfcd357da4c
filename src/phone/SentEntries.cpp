#include "phone/SentEntries.h"

#include <cstdlib>

#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr size_t kFileLimit = 16 << 20;
constexpr size_t kFieldCount = 10;

std::string KeyOf(const std::string& phoneId, const std::string& clientId) { return phoneId + "/" + clientId; }

std::string KeyOfFields(const std::vector<std::string>& fields) {
  return fields.size() >= kFieldCount ? KeyOf(fields[0], fields[1]) : std::string();
}

TSentEntry SentOf(const std::vector<std::string>& f) {
  TSentEntry sent;
  sent.phoneId = f[0];
  sent.entry.clientId = f[1];
  (void)TryParseDate8(f[2], sent.entry.day);
  sent.entry.categoryKey = MakeKey(f[4], std::atoi(f[3].c_str()));
  sent.entry.accountKey = MakeKey(f[5], kKindAsset);
  sent.entry.amount = std::atoi(f[6].c_str());
  sent.entry.item = f[7];
  sent.entry.note = f[8];
  sent.received = std::atoll(f[9].c_str());
  return sent;
}

std::vector<std::string> FieldsOf(const TSentEntry& sent) {
  const TPhoneEntry& e = sent.entry;
  return {sent.phoneId, e.clientId, FormatDate8(e.day), std::to_string(KeyKind(e.categoryKey)), KeyName(e.categoryKey),
          KeyName(e.accountKey), std::to_string(e.amount), e.item, e.note, std::to_string(sent.received)};
}

}  // namespace

TSentEntries::TSentEntries(std::string folder) : m_folder(std::move(folder)), m_store("スマホからの記入の控え", kFileLimit) {}

bool TSentEntries::Load(std::string& error) { return m_store.Load(Path(), KeyOfFields, error); }

std::optional<TSentEntry> TSentEntries::Find(const std::string& phoneId, const std::string& clientId) const {
  const std::vector<std::string>* fields = m_store.Get(KeyOf(phoneId, clientId));
  if (!fields) return std::nullopt;
  return SentOf(*fields);
}

std::vector<TSentEntry> TSentEntries::SentSince(const std::string& phoneId, int64_t since) const {
  std::vector<TSentEntry> sent;
  for (const auto& record : m_store.Records()) {
    if (record.fields[0] != phoneId) continue;
    TSentEntry one = SentOf(record.fields);
    if (one.received >= since) sent.push_back(std::move(one));
  }
  return sent;
}

bool TSentEntries::Add(const TSentEntry& sent, std::string& error) {
  const std::string key = KeyOf(sent.phoneId, sent.entry.clientId);
  m_store.Set(key, FieldsOf(sent));
  EnsureFolder(m_folder);
  if (m_store.Save(Path(), error)) return true;
  m_store.Remove(key);
  return false;
}

bool TSentEntries::Remove(const std::string& phoneId, const std::string& clientId, std::string& error) {
  const std::string key = KeyOf(phoneId, clientId);
  const std::vector<std::string>* fields = m_store.Get(key);
  if (!fields) return true;
  const std::vector<std::string> kept = *fields;
  m_store.Remove(key);
  if (m_store.Save(Path(), error)) return true;
  m_store.Set(key, kept);
  return false;
}

void TSentEntries::ForgetBefore(int64_t time) {
  std::vector<std::string> old;
  for (const auto& record : m_store.Records()) {
    if (std::atoll(record.fields[9].c_str()) < time) old.push_back(record.key);
  }
  for (const std::string& key : old) m_store.Remove(key);
}

}  // namespace kzm
