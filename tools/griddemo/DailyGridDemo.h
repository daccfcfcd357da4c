#pragma once

#include <string>

// Shows the daily grids of the passbook in passbookFolder on a day ("yyyymmdd", else today).
int RunDailyGridDemo(const std::string& passbookFolder, const std::string& dayText);
