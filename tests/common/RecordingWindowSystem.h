#pragma once

#include <string>
#include <vector>

#include "foundation/WindowSystem.h"

namespace kzm::test {

// A window system that records the messages and notices the core sends, installed for the
// lifetime of the object. Questions are answered with the answer set here.
class TRecordingWindowSystem : public TWindowSystem {
 public:
  TRecordingWindowSystem() { SetWindowSystem(this); }
  ~TRecordingWindowSystem() override { SetWindowSystem(nullptr); }
  TRecordingWindowSystem(const TRecordingWindowSystem&) = delete;
  TRecordingWindowSystem& operator=(const TRecordingWindowSystem&) = delete;

  struct TNoticeSent {
    int message;
    int first;
    int second;
  };

  void BroadcastToForms(int message, int first, int second) override { notices.push_back({message, first, second}); }
  void Notify(const std::string& text) override { messages.push_back(text); }
  // News of success goes among the messages too, and is also kept apart.
  void Inform(const std::string& text) override {
    messages.push_back(text);
    informed.push_back(text);
  }
  bool AskYesNo(const std::string& text) override {
    messages.push_back(text);
    return answer;
  }
  bool CloseDataWindows() override { return true; }
  int DefaultTextHeight() override { return 13; }
  bool OpenDocument(const std::string&) override { return false; }
  bool MoveToRecycleBin(const std::string&) override { return false; }

  // Whether some message holds part.
  [[nodiscard]] bool Said(const std::string& part) const { return HasPart(messages, part); }
  [[nodiscard]] bool Informed(const std::string& part) const { return HasPart(informed, part); }

  std::vector<std::string> messages;
  std::vector<std::string> informed;
  std::vector<TNoticeSent> notices;
  bool answer = false;

 private:
  static bool HasPart(const std::vector<std::string>& list, const std::string& part) {
    for (const std::string& text : list) {
      if (text.find(part) != std::string::npos) return true;
    }
    return false;
  }
};

}  // namespace kzm::test
