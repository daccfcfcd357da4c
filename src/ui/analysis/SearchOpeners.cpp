// Placeholder until the search window exists.
#include "ui/main/DataWindows.h"

namespace kzm::ui {

void OpenSearch() {}

}  // namespace kzm::ui
