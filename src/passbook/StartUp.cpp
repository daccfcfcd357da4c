#include "passbook/StartUp.h"

#include "foundation/Text.h"

namespace kzm {

TStartupChoice ChooseStartupPassbook(const std::vector<std::string>& folders, bool selection,
                                     const std::string& lastProfile) {
  if (folders.empty()) return {TStartupAction::saNewPassbook, {}};
  if (folders.size() == 1) return {TStartupAction::saOpen, folders.front()};
  if (selection || lastProfile.empty()) return {TStartupAction::saSelect, {}};
  for (const std::string& folder : folders) {
    if (SameText(folder, lastProfile)) return {TStartupAction::saOpen, folder};
  }
  return {TStartupAction::saSelect, {}};
}

}  // namespace kzm
