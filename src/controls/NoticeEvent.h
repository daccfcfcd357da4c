#pragma once

#include <QEvent>

namespace kzm::ui {

// A notice of the core (kNoticeDataChanged, …) as delivered to a window.
class TNoticeEvent : public QEvent {
 public:
  static QEvent::Type EventType();
  TNoticeEvent(int message, int first, int second)
      : QEvent(EventType()), m_message(message), m_first(first), m_second(second) {}
  int Message() const { return m_message; }
  int First() const { return m_first; }
  int Second() const { return m_second; }

 private:
  int m_message;
  int m_first;
  int m_second;
};

}  // namespace kzm::ui
