#pragma once

// Which passbook the program starts on, decided from the passbooks found and the start-up
// settings of application.ini. The windows carry the decision out.

#include <cstdint>
#include <string>
#include <vector>

namespace kzm {

enum class TStartupAction : uint8_t {
  saNewPassbook,  // there is none: make the first one
  saOpen,         // open folder
  saSelect,       // let the user choose
};

struct TStartupChoice {
  TStartupAction action = TStartupAction::saNewPassbook;
  std::string folder;  // with saOpen
};

// folders: the passbooks found (PassbookFolders); selection, lastProfile: STARTUP/SELECTION
// and STARTUP/LASTPROFILE. A single passbook always opens directly; from two on, the last
// one used opens (found without regard to case, given as found) unless the user asked to
// choose every time or it is gone.
[[nodiscard]] TStartupChoice ChooseStartupPassbook(const std::vector<std::string>& folders, bool selection,
                                                   const std::string& lastProfile);

}  // namespace kzm
