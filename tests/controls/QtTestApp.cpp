// The window tests of the controls share one QApplication.
#include "common/QtTestEnvironment.h"

namespace {

const testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new kzm::test::TQtEnvironment<>);

}  // namespace
