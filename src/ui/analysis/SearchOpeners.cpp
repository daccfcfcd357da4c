#include "ui/analysis/FindWindow.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"

namespace kzm::ui {

void OpenSearch() {
  auto* window = new TFmFind;  // frees itself when closed
  window->show();
  CascadeForm(*window);
}

}  // namespace kzm::ui
