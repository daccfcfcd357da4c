// The window tests share one QApplication, with the program's font substitutions.
#include "common/QtTestEnvironment.h"
#include "controls/Fonts.h"
#include "ui/shell/GuardedApplication.h"

namespace {

const testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new kzm::test::TQtEnvironment<kzm::ui::TGuardedApplication>(kzm::ui::InstallFontSubstitutions));

}  // namespace
