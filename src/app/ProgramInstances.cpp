#include "ProgramInstances.h"

#include "calendar/Almanac.h"
#include "foundation/AppGlobal.h"
#include "passbook/Categories.h"
#include "passbook/ChartPalette.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/main/MessageList.h"

namespace kzm {

TProgramInstances::TProgramInstances(const std::string& dataFolder) {
  TorvGlobal& global = AppGlobal();
  if (!dataFolder.empty()) global.UseDataFolder(dataFolder);

  (void)Almanac();

  m_colors = std::make_unique<TColorsList>();
  SetColorScheme(m_colors.get());

  m_images = std::make_unique<TGraphicSource>(global.AppPath() + "resource/");
  SetImageSource(m_images.get());
  try {
    m_images->AddArchive(global.AppPath() + "zevazuvu.arc");
  } catch (const std::exception&) {
    // A damaged archive: the pictures built into the program still serve.
  }

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
