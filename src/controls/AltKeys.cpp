#include "controls/AltKeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kzm::ui {

namespace {

bool TakesText(const QObject* receiver) {
  if (const auto* combo = qobject_cast<const QComboBox*>(receiver)) return combo->isEditable();
  return qobject_cast<const QLineEdit*>(receiver) || qobject_cast<const QTextEdit*>(receiver) ||
         qobject_cast<const QPlainTextEdit*>(receiver) || qobject_cast<const QAbstractSpinBox*>(receiver);
}

}  // namespace

bool IsStrayMnemonic(const QObject* receiver, const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers();
  if (!(modifiers & Qt::AltModifier) || (modifiers & (Qt::ControlModifier | Qt::MetaModifier))) return false;
  const QString text = key->text();
  return !text.isEmpty() && text.front().isPrint() && TakesText(receiver);
}

}  // namespace kzm::ui
