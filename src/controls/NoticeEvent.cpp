#include "controls/NoticeEvent.h"

namespace kzm::ui {

QEvent::Type TNoticeEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace kzm::ui
