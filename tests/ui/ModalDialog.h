#pragma once

// Driving the modal dialogs that the code under test opens with exec().

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kzm::test {

// Runs act on the modal dialog opened next, once its event loop runs. A dialog that act
// leaves open is closed, so that a failing test never hangs.
inline void OnNextDialog(std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);
  });
}

}  // namespace kzm::test
