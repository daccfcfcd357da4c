#pragma once

#include "foundation/ColorScheme.h"
#include "graphics/GraphicSource.h"

#include <memory>

namespace kzm {

// The program's single instances, created before anything else runs, in this order, and
// freed in the reverse order:
//   1. AppGlobal          application globals (its data folder set from --data-folder)
//   2. Almanac            holidays and seasonal days
//   3. ColorScheme        colour scheme
//   4. ImageSource        pictures: resource/ beside the program, then the archives graphic
//                         and zevazuvu.arc
//   5. MascotMessages     the mascots' messages
//   6. KindNames          category kind names
//   7. PassbookFolders, CurrentProfile
//   8. CurrentMonthData
//   9. ChartPalette       spending chart colours
// Those kept as function-local objects are made here by their first use, so they too go
// in the reverse order at exit; the others are owned here and installed.
class TProgramInstances {
 public:
  explicit TProgramInstances(const std::string& dataFolder);
  ~TProgramInstances();
  TProgramInstances(const TProgramInstances&) = delete;
  TProgramInstances& operator=(const TProgramInstances&) = delete;

 private:
  std::unique_ptr<TColorsList> m_colors;
  std::unique_ptr<TGraphicSource> m_images;
};

}  // namespace kzm
