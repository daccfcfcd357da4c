#include "ui/analysis/FindWindow.h"
#include "ui/main/DataWindows.h"
#include "ui/main/QtWindowSystem.h"

namespace kzm::ui {

void OpenSearch() {
  auto* window = new TFmFind;  // frees itself when closed
  window->show();
  CascadeForm(*window);
}

}  // namespace kzm::ui
