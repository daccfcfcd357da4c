#include "foundation/Shell.h"

#include "foundation/Text.h"
#include "foundation/WindowSystem.h"

namespace kzm {

bool OpenDocument(const std::string& path) { return WindowSystem().OpenDocument(path); }

bool OpenLink(const std::string& address) {
  const std::string lower = LowerCase(address);
  // https links are web links too; only a bare address becomes a mail link.
  const bool web = lower.starts_with("http:") || lower.starts_with("https:");
  const bool mail = lower.starts_with("mailto:");
  return OpenDocument(web || mail ? address : "mailto:" + address);
}

bool MoveToRecycleBin(const std::string& path) { return WindowSystem().MoveToRecycleBin(path); }

void BroadcastToForms(int message, int first, int second) {
  WindowSystem().BroadcastToForms(message, first, second);
}

}  // namespace kzm
