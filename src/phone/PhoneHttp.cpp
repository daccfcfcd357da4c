#include "phone/PhoneHttp.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <algorithm>
#include <ctime>

#include <httplib.h>

#include "foundation/EmbeddedResources.h"

namespace kzm {

namespace {

constexpr int kReadTimeoutSeconds = 10;

void Reply(httplib::Response& response, const TPhoneResponse& answer) {
  response.status = answer.status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(answer.body, "application/json; charset=utf-8");
}

void ServePage(httplib::Response& response) {
  const auto page = FindEmbeddedResource("PhonePage");
  response.set_header("Cache-Control", "no-store");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_header("Content-Security-Policy",
                      "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; connect-src 'self'; "
                      "img-src 'self' data:; manifest-src 'self'");
  response.set_content(page ? std::string(*page) : std::string("<!doctype html><title>?</title>"),
                       "text/html; charset=utf-8");
}

bool IsPrivateV4(uint32_t a) {
  return (a >> 24) == 127 || (a >> 24) == 10 || (a >> 20) == (172u << 4 | 1) || (a >> 16) == (192u << 8 | 168) ||
         (a >> 16) == (169u << 8 | 254);
}

bool IsPrivateV6(const in6_addr& a) {
  const uint8_t* b = a.s6_addr;
  static const in6_addr kLoopback = IN6ADDR_LOOPBACK_INIT;
  if (std::equal(b, b + 16, kLoopback.s6_addr)) return true;
  return (b[0] & 0xfe) == 0xfc || (b[0] == 0xfe && (b[1] & 0xc0) == 0x80);
}

}  // namespace

TPhoneHttpServer::TPhoneHttpServer(THandler handle)
    : m_server(std::make_unique<httplib::Server>()), m_handle(std::move(handle)) {
  m_server->set_payload_max_length(TPhoneService::kBodyLimit);
  m_server->set_read_timeout(kReadTimeoutSeconds, 0);
  m_server->set_write_timeout(kReadTimeoutSeconds, 0);
  const auto api = [this](const httplib::Request& request, httplib::Response& response) {
    const TPhoneRequest carried{request.method, request.path, request.get_header_value("Authorization"), request.body,
                                request.remote_addr, static_cast<int64_t>(std::time(nullptr))};
    Reply(response, m_handle(carried));
  };
  m_server->Get("/", [](const httplib::Request&, httplib::Response& response) { ServePage(response); });
  m_server->Get("/api/.*", api);
  m_server->Post("/api/.*", api);
  m_server->Delete("/api/.*", api);
}

TPhoneHttpServer::~TPhoneHttpServer() { Stop(); }

bool TPhoneHttpServer::Bind(const std::string& address, int port, std::string& error) {
  if (!IsHomeNetworkAddress(address)) {
    error = address + " では待ち受けられません。このPCの家庭内ネットワークのアドレスを指定してください。";
    return false;
  }
  if (port < 1 || port > 65535 || !m_server->bind_to_port(address, port)) {
    error = address + ":" + std::to_string(port) + " で待ち受けられません (ほかのプログラムが使っているか、このPCのアドレスではありません)。";
    return false;
  }
  return true;
}

void TPhoneHttpServer::Serve() {
  if (m_server->is_valid()) (void)m_server->listen_after_bind();
}

void TPhoneHttpServer::Stop() { m_server->stop(); }

bool IsHomeNetworkAddress(const std::string& address) {
  in_addr v4{};
  if (::inet_pton(AF_INET, address.c_str(), &v4) == 1) return IsPrivateV4(ntohl(v4.s_addr));
  in6_addr v6{};
  return ::inet_pton(AF_INET6, address.c_str(), &v6) == 1 && IsPrivateV6(v6);
}

std::vector<std::string> HomeNetworkAddresses() {
  std::vector<std::string> found;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return found;
  for (const ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || (i->ifa_addr->sa_family != AF_INET && i->ifa_addr->sa_family != AF_INET6)) continue;
    char text[INET6_ADDRSTRLEN] = {};
    const void* where = i->ifa_addr->sa_family == AF_INET
                            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr)
                            : static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(i->ifa_addr)->sin6_addr);
    if (!::inet_ntop(i->ifa_addr->sa_family, where, text, sizeof text)) continue;
    const std::string address = text;
    // Link-local IPv6 needs a zone to be reached; a phone is given an address it can type.
    if (address == "127.0.0.1" || address == "::1" || address.rfind("fe80", 0) == 0) continue;
    if (IsHomeNetworkAddress(address)) found.push_back(address);
  }
  ::freeifaddrs(list);
  // IPv4 first: the address a person can read out and type on a phone.
  std::stable_partition(found.begin(), found.end(), [](const std::string& a) { return a.find(':') == std::string::npos; });
  return found;
}

std::string ServiceUrl(const std::string& address, int port) {
  const bool v6 = address.find(':') != std::string::npos;
  return "http://" + (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port) + "/";
}

}  // namespace kzm
