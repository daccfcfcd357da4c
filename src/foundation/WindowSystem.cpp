#include "foundation/WindowSystem.h"

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

TWindowSystem& WindowSystem() { return g_installed ? *g_installed : g_silent; }

void SetWindowSystem(TWindowSystem* ws) { g_installed = ws; }

}  // namespace kzm
