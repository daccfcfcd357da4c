#pragma once

// One QApplication for every window test of a test program, made before the first test and
// freed before the program's static objects go (freeing it later crashes in Qt). A test
// program registers it once:
//   const auto* const kEnv = testing::AddGlobalTestEnvironment(new kzm::test::TQtEnvironment(setUp));
#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <memory>

namespace kzm::test {

// TApp: the application class, QApplication or the program's own.
template <class TApp = QApplication>
class TQtEnvironment : public testing::Environment {
 public:
  // afterCreate runs once the application exists (fonts, say); may be empty.
  explicit TQtEnvironment(std::function<void()> afterCreate = {}) : m_afterCreate(std::move(afterCreate)) {}

  void SetUp() override {
    if (QCoreApplication::instance()) return;
    m_app = std::make_unique<TApp>(m_argc, m_argv);
    if (m_afterCreate) m_afterCreate();
  }
  void TearDown() override { m_app.reset(); }

 private:
  std::function<void()> m_afterCreate;
  int m_argc = 1;
  char m_name[10] = "kzm_tests";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<TApp> m_app;
};

}  // namespace kzm::test
