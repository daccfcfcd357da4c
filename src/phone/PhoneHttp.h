#pragma once

// The phone service on the home network: an HTTP server (cpp-httplib) that carries requests
// to a handler and serves the phone's page at "/". It listens on one address given by the
// person, never on every interface, and serves each connection from a pool of threads, so a
// slow client holds one thread, not the service.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "phone/PhoneService.h"

namespace httplib {
class Server;
}

namespace kzm {

class TPhoneHttpServer {
 public:
  // handle is called from the server's threads, one request at a time per thread: the caller
  // makes it safe (a lock, or a hand-over to its own thread).
  using THandler = std::function<TPhoneResponse(const TPhoneRequest&)>;

  explicit TPhoneHttpServer(THandler handle);
  ~TPhoneHttpServer();
  TPhoneHttpServer(const TPhoneHttpServer&) = delete;
  TPhoneHttpServer& operator=(const TPhoneHttpServer&) = delete;

  // Binds address:port; false with error in Japanese (a taken port, an address not this PC's).
  bool Bind(const std::string& address, int port, std::string& error);
  // Serves until Stop; returns at once when not bound.
  void Serve();
  // From any thread (a signal's waiter, the window).
  void Stop();

 private:
  std::unique_ptr<httplib::Server> m_server;
  THandler m_handle;
};

// Whether address is one the service may listen on: loopback or a private home-network
// address (10/8, 172.16/12, 192.168/16, 169.254/16, IPv6 fc00::/7 and fe80::/10), never an
// every-interface address like 0.0.0.0.
[[nodiscard]] bool IsHomeNetworkAddress(const std::string& address);
// This PC's home-network addresses, loopback left out.
[[nodiscard]] std::vector<std::string> HomeNetworkAddresses();
// "http://ADDRESS:PORT/", brackets round an IPv6 address.
[[nodiscard]] std::string ServiceUrl(const std::string& address, int port);

}  // namespace kzm
