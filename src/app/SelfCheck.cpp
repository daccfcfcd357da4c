#include "SelfCheck.h"

#include "foundation/AppGlobal.h"
#include "foundation/Files.h"
#include "graphics/GraphicSource.h"
#include "passbook/Profile.h"
#include "ui/shell/MainWindow.h"

#include <cstdio>
#include <exception>

namespace kzm {

namespace {

bool ArchiveOpen(const std::string& name) {
  const TArchiverList& archives = ImageSource().Archives();
  for (int i = 0; i < archives.Count(); ++i) {
    if (archives.Name(i) == name) return true;
  }
  return false;
}

// A mascot frame, which only the archive holds.
bool MascotPictureLoads() {
  try {
    const TGraphicPtr picture = ImageSource().LoadImage("std04.png");
    return picture && !picture->IsEmpty();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

int RunSelfCheck() {
  std::printf("プログラムのフォルダ: %s\n", AppGlobal().AppFolder().c_str());
  const bool archive = ArchiveOpen("zevazuvu") && MascotPictureLoads();
  std::printf("絵の書庫: %s\n", archive ? "あり" : "見つかりません");
  const std::string help = ui::HelpFilePath();
  const bool helpFound = FileExists(help);
  std::printf("ヘルプ: %s%s\n", help.c_str(), helpFound ? "" : "（見つかりません）");
  ListPassbooks();
  std::printf("データフォルダ: %s（通帳 %zu 冊）\n", AppGlobal().DataFolder().c_str(), PassbookFolders().size());
  return archive && helpFound ? 0 : 1;
}

}  // namespace kzm
