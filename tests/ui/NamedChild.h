#pragma once

// Finding a window's controls by their object names, failing the test where one is missing.

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace kzm::test {

template <typename T>
T* Child(QWidget* window, const char* name) {
  T* child = window->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

}  // namespace kzm::test
