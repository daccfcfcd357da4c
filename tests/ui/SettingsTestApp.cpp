// One QApplication for the window tests of the settings dialogs, unless another test file of
// this program already made one; freed before the program's static objects go.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TSettingsQtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    m_app = std::make_unique<QApplication>(m_argc, m_argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  int m_argc = 1;
  char m_name[8] = "test_ui";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QApplication> m_app;
};

const testing::Environment* const kSettingsQtEnvironment =
    testing::AddGlobalTestEnvironment(new TSettingsQtEnvironment);

}  // namespace
