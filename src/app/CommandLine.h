#pragma once

// The program's own options, read before any window system starts, so that --help, --version
// and --self-check work on a machine without a display. Options of Qt (-platform, -style ...)
// are left for Qt, which reads the same arguments afterwards.

#include <cstdint>
#include <string>

namespace kzm {

enum class TStartAction : uint8_t {
  saRun,        // open the windows
  saHelp,       // print HelpText and end
  saVersion,    // print VersionText and end
  saSelfCheck,  // look for the files beside the program and in the data folder, and end
  saMistake,    // the line cannot be used: print error and end with 1
};

struct TCommandLine {
  TStartAction action = TStartAction::saRun;
  std::string dataFolder;  // --data-folder DIR, empty when not given
  std::string error;       // saMistake: what is wrong, in Japanese
};

// Reads argv[1..argc). --help wins over everything else on the line, then --version, so that
// asking for help never starts anything. A misspelt option of ours is a mistake rather than
// something to skip: starting on the wrong data folder would show someone else's passbooks.
[[nodiscard]] TCommandLine ReadCommandLine(int argc, const char* const* argv);

// The --help text, in Japanese, ending in a line break.
[[nodiscard]] std::string HelpText();
// "もるぽ通帳 (tavimrok) 1.0.0" and a line break.
[[nodiscard]] std::string VersionText();

}  // namespace kzm
