#pragma once

// The phone service while the program runs: started for the open passbook when it is switched
// on, moved to the next passbook that opens, stopped at the end. Requests arrive on the
// server's threads and are handed to the window thread, where the passbook lives; a daily
// window saves what it holds first, so neither its edits nor the phone's entry is lost.

#include <QObject>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "phone/PhoneService.h"
#include "phone/PhoneSettings.h"

namespace kzm {
class TPhoneHttpServer;
}

namespace kzm::ui {

class TPhoneHost : public QObject {
  Q_OBJECT

 public:
  TPhoneHost();
  ~TPhoneHost() override;

  // Stops the service of the passbook before and starts this one's when it is switched on.
  void Follow(const std::string& passbookFolder);
  // Switches the service on or off for the open passbook and keeps the settings; false with
  // error in Japanese (the service is then off).
  bool Apply(const TPhoneSettings& settings, std::string& error);

  [[nodiscard]] bool Running() const { return m_server != nullptr; }
  [[nodiscard]] const TPhoneSettings& Settings() const { return m_settings; }
  // The address the service listens at, "http://ADDRESS:PORT/"; empty when off.
  [[nodiscard]] const std::string& Url() const { return m_url; }
  // The pairing code while it can still be used (ten minutes, one phone); empty once it was
  // used or has run out. NewCode opens a new one.
  [[nodiscard]] std::string Code() const;
  void NewCode();
  // Null while off.
  [[nodiscard]] TPhoneService* Service() { return m_service.get(); }
  // What phones did today, newest last ("12:03 花子のスマホ 食費 894円").
  [[nodiscard]] std::vector<std::string> Today() const;

 signals:
  // A phone paired or sent something, or the service went on or off.
  void Changed();

 private:
  void Stop();
  TPhoneResponse HandOver(const TPhoneRequest& request);
  TPhoneResponse Handle(const TPhoneRequest& request);

  std::string m_folder;
  std::string m_state;
  TPhoneSettings m_settings;
  std::string m_url;
  std::string m_code;
  std::unique_ptr<TPhoneService> m_service;
  std::unique_ptr<TPhoneHttpServer> m_server;
  std::thread m_thread;
  std::atomic<bool> m_stopping{false};
  std::vector<std::pair<int64_t, std::string>> m_received;  // the day (Julian) and the line
};

// The main window's host, for the options window; null while there is none (tests).
void SetPhoneHost(TPhoneHost* host);
[[nodiscard]] TPhoneHost* PhoneHostIfAny();

}  // namespace kzm::ui
