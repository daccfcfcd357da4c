#include "phone/PhoneService.h"

#include <nlohmann/json.hpp>

#include <ctime>

#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr int kNestingLimit = 16;
constexpr const char* kEntriesPath = "/api/entries";

TPhoneResponse Answer(int status, const nlohmann::json& body) { return {status, body.dump()}; }
TPhoneResponse Refuse(int status, const std::string& message) { return Answer(status, {{"error", message}}); }

// The body as JSON; a discarded value when it is no JSON or nests too deep.
nlohmann::json ParseBody(const std::string& body) {
  if (NestsDeeperThan(body, kNestingLimit)) return nlohmann::json(nlohmann::json::value_t::discarded);
  return nlohmann::json::parse(body, nullptr, false);
}

std::string BearerKey(const std::string& authorization) {
  constexpr std::string_view kBearer = "Bearer ";
  if (authorization.compare(0, kBearer.size(), kBearer) != 0) return {};
  return authorization.substr(kBearer.size());
}

}  // namespace

bool NestsDeeperThan(std::string_view text, int limit) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

TPhoneService::TPhoneService(const std::string& stateFolder, TPhoneBook book)
    : m_book(std::move(book)), m_phones(stateFolder), m_sent(stateFolder) {}

bool TPhoneService::Load(std::string& error) {
  if (!m_phones.Load(error) || !m_sent.Load(error)) return false;
  // A year of ids is more than any phone keeps unsent; older ones would only grow the file.
  m_sent.ForgetBefore(static_cast<int64_t>(std::time(nullptr)) - kKeepSentSeconds);
  return true;
}

bool TPhoneService::OverLimit(const std::string& address, int64_t now) {
  std::deque<int64_t>& times = m_requests[address];
  while (!times.empty() && times.front() <= now - 60) times.pop_front();
  if (static_cast<int>(times.size()) >= kRequestsPerMinute) return true;
  times.push_back(now);
  return false;
}

TPhoneResponse TPhoneService::Handle(const TPhoneRequest& request) {
  if (OverLimit(request.address, request.now)) return Refuse(429, "送信が多すぎます。1分ほど待ってください。");
  if (request.body.size() > kBodyLimit) return Refuse(413, "送られた内容が大きすぎます。");
  if (request.path == "/api/pair") {
    return request.method == "POST" ? Pair(request) : Refuse(405, "この操作はできません。");
  }
  if (request.path.compare(0, 5, "/api/") != 0) return Refuse(404, "ありません。");
  const std::optional<TPairedPhone> phone = m_phones.Find(BearerKey(request.authorization), request.now);
  if (!phone) return Refuse(401, "このスマホはつながっていません。PCでペアリングしてください。");
  if (request.path == "/api/categories" && request.method == "GET") return Categories();
  if (request.path == kEntriesPath && request.method == "POST") return AddEntry(*phone, request);
  if (request.path == "/api/entries/recent" && request.method == "GET") return Recent(*phone, request.now);
  const std::string prefix = std::string(kEntriesPath) + "/";
  if (request.path.compare(0, prefix.size(), prefix) == 0 && request.method == "DELETE")
    return DeleteEntry(*phone, request.path.substr(prefix.size()));
  return Refuse(404, "ありません。");
}

TPhoneResponse TPhoneService::Pair(const TPhoneRequest& request) {
  const nlohmann::json body = ParseBody(request.body);
  if (body.is_discarded() || !body.is_object()) return Refuse(400, "送られた内容が読めません。");
  const auto code = body.find("code");
  const auto device = body.find("device");
  if (code == body.end() || !code->is_string()) return Refuse(403, "ペアリングコードがちがいます。");
  if (m_pairing.Try(code->get<std::string>(), request.now) != TPairTry::ptPaired)
    return Refuse(403, "ペアリングコードがちがうか、使えなくなっています。PCで新しいコードを出してください。");
  const std::string name = device != body.end() && device->is_string() ? device->get<std::string>().substr(0, 120) : "";
  std::string error;
  const std::string key = m_phones.Add(name, request.now, error);
  if (key.empty()) return Refuse(503, error);
  if (onEvent) onEvent("ペアリング\t" + (name.empty() ? std::string("スマホ") : name));
  return Answer(200, {{"key", key}});
}

TPhoneResponse TPhoneService::Categories() const {
  const THeadList list = m_book.categories();
  nlohmann::json payment = nlohmann::json::array(), receipt = nlohmann::json::array(), assets = nlohmann::json::array();
  for (int i = 0; i < list.Count(); ++i) {
    const int kind = list.KindOf(i);
    if (kind == kKindPayment) payment.push_back(list.DisplayName(i));
    if (kind == kKindReceipt) receipt.push_back(list.DisplayName(i));
    if (kind == kKindAsset) assets.push_back(list.DisplayName(i));
  }
  return Answer(200, {{"payment", payment}, {"receipt", receipt}, {"assets", assets}});
}

TPhoneResponse TPhoneService::AddEntry(const TPairedPhone& phone, const TPhoneRequest& request) {
  const nlohmann::json body = ParseBody(request.body);
  if (body.is_discarded()) return Refuse(400, "送られた内容が読めません。");
  std::string error;
  const std::optional<TPhoneEntry> entry = ReadPhoneEntry(body, m_book.categories(), error);
  if (!entry) return Refuse(422, error);
  // Noted, then booked: a repeat of the id never books twice, and one whose booking was cut
  // short (the note without its entry) is booked when the phone sends it again.
  if (const auto sent = m_sent.Find(phone.id, entry->clientId)) {
    if (!m_book.holds(sent->entry) && !m_book.add(sent->entry, error)) return Refuse(503, error);
    return Answer(200, PhoneEntryJson(sent->entry));
  }
  if (!m_sent.Add(TSentEntry{phone.id, *entry, request.now}, error)) return Refuse(503, error);
  if (!m_book.add(*entry, error)) {
    std::string ignored;
    (void)m_sent.Remove(phone.id, entry->clientId, ignored);
    return Refuse(503, error);
  }
  if (onEvent) onEvent("記入\t" + phone.name + "\t" + body.value("date", "") + "\t" + KeyName(entry->categoryKey) +
                       "\t" + std::to_string(entry->amount));
  return Answer(201, PhoneEntryJson(*entry));
}

TPhoneResponse TPhoneService::Recent(const TPairedPhone& phone, int64_t now) const {
  nlohmann::json entries = nlohmann::json::array();
  for (const TSentEntry& sent : m_sent.SentSince(phone.id, now - kRecentSeconds)) entries.push_back(PhoneEntryJson(sent.entry));
  return Answer(200, {{"entries", entries}});
}

TPhoneResponse TPhoneService::DeleteEntry(const TPairedPhone& phone, const std::string& clientId) {
  const std::optional<TSentEntry> sent = m_sent.Find(phone.id, clientId);
  if (!sent) return Refuse(404, "その記入はありません。");
  if (!m_book.remove(sent->entry)) return Refuse(409, "PCで変えられたか消された記入なので、取り消せません。");
  std::string error;
  if (!m_sent.Remove(phone.id, clientId, error)) return Refuse(503, error);
  if (onEvent) onEvent("取り消し\t" + phone.name + "\t" + clientId);
  return Answer(200, PhoneEntryJson(sent->entry));
}

}  // namespace kzm
