#include "ProgramInstances.h"

#include "archive/ProgramArchives.h"
#include "calendar/Almanac.h"
#include "foundation/AppGlobal.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "report/ChartPalette.h"
#include "ui/shell/MessageList.h"

namespace kzm {

TProgramInstances::TProgramInstances(const std::string& dataFolder) {
  TorvGlobal& global = AppGlobal();
  if (!dataFolder.empty()) global.UseDataFolder(dataFolder);

  (void)Almanac();

  // Named from the start, so that saving before any passbook is open has a file to go to.
  m_colors = std::make_unique<TColorsList>(global.DataPath() + "colors.clr");
  SetColorScheme(m_colors.get());

  m_images = std::make_unique<TGraphicSource>(global.AppPath() + "resource/");
  SetImageSource(m_images.get());
  AddProgramArchives(*m_images, global.AppPath());

  (void)ui::MascotMessages();

  (void)KindNames();
  (void)PassbookFolders();
  (void)CurrentProfile();
  (void)CurrentMonthData();
  (void)ChartPalette();
}

TProgramInstances::~TProgramInstances() {
  SetImageSource(nullptr);
  SetColorScheme(nullptr);
}

}  // namespace kzm
