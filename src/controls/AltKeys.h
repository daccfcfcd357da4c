#pragma once

// Alt with a letter is a mnemonic here: it presses a button, opens a menu or moves to a
// labelled field. When nothing takes it (the button it names is disabled, say), Qt hands the
// key on to the focused text field, which types the letter: 給与 became "k" on Alt+K.

class QEvent;
class QObject;

namespace kzm::ui {

// Whether event is a key press with Alt (and neither Ctrl nor Meta) bringing a character to
// a text field: no mnemonic took it, and it must not become text. The application drops
// such keys before they are delivered.
[[nodiscard]] bool IsStrayMnemonic(const QObject* receiver, const QEvent* event);

}  // namespace kzm::ui
