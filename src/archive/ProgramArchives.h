#pragma once

#include <string>

namespace kzm {

class TGraphicSource;

// Opens the archives beside the program in appFolder (ending with "/"): first the optional
// "graphic", whose pictures therefore win, then "zevazuvu.arc". A damaged archive is left out
// (the pictures built into the program still serve); false when one was.
bool AddProgramArchives(TGraphicSource& source, const std::string& appFolder);

}  // namespace kzm
