// One QApplication for every window test of this program, made before the first test and
// freed before the program's static objects go (freeing it later crashes in Qt).
#include "ui/main/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TQtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    m_app = std::make_unique<QApplication>(m_argc, m_argv);
    kzm::ui::InstallFontSubstitutions();
  }
  void TearDown() override { m_app.reset(); }

 private:
  int m_argc = 1;
  char m_name[8] = "test_ui";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QApplication> m_app;
};

const testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace
