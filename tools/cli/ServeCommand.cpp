// serve: the phone service without a window. It holds the passbook as its writer while it
// runs, prints where it listens and the pairing code, then a line per pairing and per entry,
// and stops cleanly on SIGINT or SIGTERM.

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>

#include "CliSupport.h"
#include "Commands.h"
#include "passbook/MonthData.h"
#include "phone/PassbookPhoneBook.h"
#include "phone/PhoneHttp.h"

namespace kzm::cli {

namespace {

struct TListen {
  std::string address;
  int port = 0;
};

// "ADDRESS:PORT", an IPv6 address in brackets ("[fd00::5]:8080").
TListen ParseListen(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) UsageError("--listen は アドレス:ポート で指定してください: " + text);
  TListen listen{text.substr(0, colon), ParseNumberArgument("--listen のポート", text.substr(colon + 1))};
  if (listen.address.size() > 2 && listen.address.front() == '[' && listen.address.back() == ']')
    listen.address = listen.address.substr(1, listen.address.size() - 2);
  return listen;
}

void PrintLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

int ServeCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--listen"});
  if (parsed.help) {
    std::printf("%s", kServeHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("serve には通帳をひとつ指定してください。");
  const std::string* given = Option(parsed, "--listen");
  if (!given) UsageError("--listen で待ち受けるアドレスとポートを指定してください (例: 192.168.1.10:8080)。");
  const TListen listen = ParseListen(*given);
  const std::string folder = FindPassbook(parsed.positional[0]);
  OpenPassbookFolder(folder, TPassbookAccess::paWrite);
  std::string error;
  const std::string state = PhoneStateFolder(folder, error);
  TPhoneService service(state, OpenPassbookPhoneBook());
  if (state.empty() || !service.Load(error)) throw TCliError(error);
  service.onEvent = PrintLine;

  // The signals are waited for by one thread; the server's threads never see them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::mutex oneAtATime;  // the passbook is one, and not made for two threads
  TPhoneHttpServer server([&](const TPhoneRequest& request) {
    const std::lock_guard<std::mutex> hold(oneAtATime);
    return service.Handle(request);
  });
  if (!server.Bind(listen.address, listen.port, error)) throw TCliError(error);
  const std::string code = service.Pairing().Open(static_cast<int64_t>(std::time(nullptr)));
  PrintLine("待ち受け\t" + ServiceUrl(listen.address, listen.port) + "\tペアリングコード\t" + code);

  std::thread waiter([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  server.Serve();
  pthread_kill(waiter.native_handle(), SIGTERM);  // a server that stopped by itself frees the waiter
  waiter.join();
  const std::lock_guard<std::mutex> hold(oneAtATime);
  return CurrentMonthData().Save() ? 0 : 1;
}

}  // namespace kzm::cli
