#include "foundation/WindowSystem.h"

#include <algorithm>

namespace kzm {

namespace {

class TSilentWindowSystem final : public TWindowSystem {
 public:
  void BroadcastToForms(int, int, int) override {}
  void Notify(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  bool CloseDataWindows() override { return true; }
  int DefaultTextHeight() override { return 12; }
  bool OpenDocument(const std::string&) override { return false; }
  bool MoveToRecycleBin(const std::string&) override { return false; }
};

TSilentWindowSystem g_silent;
TWindowSystem* g_installed = nullptr;

}  // namespace

TWindowSystem& TNoticeGroup::SilentWindowSystem() { return g_silent; }

TWindowSystem& WindowSystem() { return g_installed ? *g_installed : g_silent; }

void SetWindowSystem(TWindowSystem* ws) { g_installed = ws; }

TNoticeGroup::TNoticeGroup() : m_outer(g_installed) { g_installed = this; }

bool TNoticeGroup::Untold(const std::string& text) { return Outer().Untold(text); }

TNoticeGroup::~TNoticeGroup() {
  g_installed = m_outer;
  if (m_texts.empty()) return;
  std::string text;
  for (const std::string& one : m_texts) text += (text.empty() ? "" : "\n\n") + one;
  WindowSystem().Notify(text);
}

void TNoticeGroup::BroadcastToForms(int message, int first, int second) {
  Outer().BroadcastToForms(message, first, second);
}

void TNoticeGroup::Notify(const std::string& text) {
  if (std::find(m_texts.begin(), m_texts.end(), text) == m_texts.end()) m_texts.push_back(text);
}

// News of success is not a failure to gather: it is shown at once.
void TNoticeGroup::Inform(const std::string& text) { Outer().Inform(text); }
bool TNoticeGroup::AskYesNo(const std::string& text) { return Outer().AskYesNo(text); }
bool TNoticeGroup::AskYesNoDefaultNo(const std::string& text) { return Outer().AskYesNoDefaultNo(text); }
bool TNoticeGroup::CloseDataWindows() { return Outer().CloseDataWindows(); }
int TNoticeGroup::DefaultTextHeight() { return Outer().DefaultTextHeight(); }
bool TNoticeGroup::OpenDocument(const std::string& pathOrUrl) { return Outer().OpenDocument(pathOrUrl); }
bool TNoticeGroup::MoveToRecycleBin(const std::string& path) { return Outer().MoveToRecycleBin(path); }

}  // namespace kzm
