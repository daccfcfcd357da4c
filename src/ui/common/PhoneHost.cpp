#include "ui/common/PhoneHost.h"

#include <QApplication>
#include <QDateTime>
#include <QMetaObject>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>

#include "foundation/WindowSystem.h"
#include "phone/PassbookPhoneBook.h"
#include "phone/PhoneHttp.h"

namespace kzm::ui {

namespace {

TPhoneHost* g_host = nullptr;

// A request waiting for the window thread.
struct THandOff {
  std::mutex lock;
  std::condition_variable done;
  bool answered = false;
  TPhoneResponse answer;
};

TPhoneResponse Busy() { return {503, R"({"error":"PCのプログラムが止まるところです。あとで送ります。"})"}; }

}  // namespace

void SetPhoneHost(TPhoneHost* host) { g_host = host; }
TPhoneHost* PhoneHostIfAny() { return g_host; }

TPhoneHost::TPhoneHost() = default;

TPhoneHost::~TPhoneHost() { Stop(); }

void TPhoneHost::Follow(const std::string& passbookFolder) {
  Stop();
  m_folder = passbookFolder;
  m_state.clear();
  m_settings = TPhoneSettings();
  m_received.clear();
  std::string error;
  if (!m_folder.empty()) m_state = PhoneStateFolder(m_folder, error);
  if (!m_state.empty()) m_settings = LoadPhoneSettings(m_state);
  if (m_settings.enabled && !Apply(m_settings, error)) WindowSystem().Notify("スマホから記入のサービスを始められませんでした。\n" + error);
  emit Changed();
}

bool TPhoneHost::Apply(const TPhoneSettings& settings, std::string& error) {
  Stop();
  m_settings = settings;
  if (m_state.empty() && !m_folder.empty()) m_state = PhoneStateFolder(m_folder, error);
  if (m_state.empty()) {
    if (error.empty()) error = "通帳が開いていません。";
    return false;
  }
  bool started = !settings.enabled;
  if (settings.enabled) {
    std::string address = settings.address;
    if (address.empty()) {
      const std::vector<std::string> found = HomeNetworkAddresses();
      address = found.empty() ? "127.0.0.1" : found.front();
    }
    auto service = std::make_unique<TPhoneService>(m_state, OpenPassbookPhoneBook());
    service->onEvent = [this](const std::string& line) {
      QString shown = QString::fromStdString(line);
      shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
      m_received.emplace_back(QDate::currentDate().toJulianDay(),
                              QTime::currentTime().toString(QStringLiteral("HH:mm ")).toStdString() + shown.toStdString());
    };
    auto server = std::make_unique<TPhoneHttpServer>([this](const TPhoneRequest& r) { return HandOver(r); });
    if (service->Load(error) && server->Bind(address, settings.port, error)) {
      m_service = std::move(service);
      m_server = std::move(server);
      m_url = ServiceUrl(address, settings.port);
      m_thread = std::thread([server = m_server.get()] { server->Serve(); });
      NewCode();
      started = true;
    }
  }
  std::string saveError;
  if (!SavePhoneSettings(m_state, TPhoneSettings{started && settings.enabled, settings.address, settings.port}, saveError) &&
      started)
    error = saveError;
  emit Changed();
  return started;
}

std::vector<std::string> TPhoneHost::Today() const {
  std::vector<std::string> today;
  for (const auto& [day, line] : m_received) {
    if (day == QDate::currentDate().toJulianDay()) today.push_back(line);
  }
  return today;
}

std::string TPhoneHost::Code() const {
  const bool open = m_service && m_service->Pairing().IsOpen(static_cast<int64_t>(std::time(nullptr)));
  return open ? m_code : std::string();
}

void TPhoneHost::NewCode() {
  if (m_service) m_code = m_service->Pairing().Open(static_cast<int64_t>(std::time(nullptr)));
  emit Changed();
}

void TPhoneHost::Stop() {
  if (!m_server) return;
  m_stopping = true;
  m_server->Stop();
  if (m_thread.joinable()) m_thread.join();
  m_server.reset();
  m_service.reset();
  m_url.clear();
  m_code.clear();
  m_stopping = false;
}

TPhoneResponse TPhoneHost::HandOver(const TPhoneRequest& request) {
  auto handOff = std::make_shared<THandOff>();
  QMetaObject::invokeMethod(
      this,
      [this, handOff, request] {
        const TPhoneResponse answer = Handle(request);
        const std::lock_guard<std::mutex> hold(handOff->lock);
        handOff->answer = answer;
        handOff->answered = true;
        handOff->done.notify_one();
      },
      Qt::QueuedConnection);
  std::unique_lock<std::mutex> hold(handOff->lock);
  while (!handOff->answered) {
    // The window thread may be stopping the service and waiting for this thread.
    if (m_stopping) return Busy();
    handOff->done.wait_for(hold, std::chrono::milliseconds(100));
  }
  return handOff->answer;
}

TPhoneResponse TPhoneHost::Handle(const TPhoneRequest& request) {
  if (!m_service || m_stopping) return Busy();
  const bool writes = request.method != "GET" && request.path.rfind("/api/entries", 0) == 0;
  // A dialog may be in the middle of a change over the month data (an import, a restore, a
  // question about a day): the phone keeps the entry and sends it again. The options window,
  // where phones are paired, changes nothing until it is closed.
  const QWidget* modal = QApplication::activeModalWidget();
  if (writes && modal && modal->objectName() != QStringLiteral("FmOption"))
    return {503, R"({"error":"PCで確認の画面が開いています。閉じたら送ります。"})"};
  if (writes) WindowSystem().BroadcastToForms(kNoticeStoreEdits, 0, 0);
  const TPhoneResponse answer = m_service->Handle(request);
  if (answer.status < 300) emit Changed();
  return answer;
}

}  // namespace kzm::ui
