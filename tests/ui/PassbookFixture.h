#pragma once

// A real passbook in a temporary data folder for the data-window tests, with a window system
// that records messages and notices and answers questions from a queue.

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/Codec.h"
#include "graphics/GraphicSource.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "common/TestPaths.h"

namespace kzm::test {

// Questions are answered from answers, front first; with none left, No.
class TAnsweringWindows : public TRecordingWindowSystem {
 public:
  bool AskYesNo(const std::string& text) override {
    messages.push_back(text);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::deque<bool> answers;
};

// Types text into the widget that has the focus: ASCII as key presses, anything else as the
// input method commits Japanese text.
inline void TypeText(const QString& text) {
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
  if (ascii) {
    QTest::keyClicks(focus, text);
    return;
  }
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(focus, &commit);
}

// A key press and release sent to the widget that has the focus.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, key, mods);
}

class TPassbookFixture : public ::testing::Test {
 protected:
  TPassbookFixture() {
    // The help balloon's mascot comes from the archive the build packs beside the program.
    m_images.AddArchive(test::BinDir() + "/zevazuvu.arc");
    SetImageSource(&m_images);
    AppGlobal().UseDataFolder(m_data.Path());
    TkzmProfile& profile = CurrentProfile();
    profile.Load("");
    profile.SetFolder(m_data.File("通帳"));
    EXPECT_TRUE(profile.Save());
    CurrentMonthData().SetFolder(Daily());
  }
  ~TPassbookFixture() override {
    QApplication::closeAllWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CurrentMonthData().SetFolder("");
    CurrentProfile().Load("");
    SetImageSource(nullptr);
  }

  [[nodiscard]] std::string Daily() const { return CurrentProfile().Folder() + "/Daily"; }
  // The month file's text, decoded; empty when it does not exist.
  [[nodiscard]] std::string MonthText(const std::string& name) const {
    return DecodeCp932(ReadBytes(Daily() + "/" + name));
  }
  static void AddEntry(int32_t day, const std::string& category, int kind, const std::string& item, int32_t amount,
                       const std::string& account = "現金") {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kind), MakeKey(account, kKindAsset), "", item, amount);
  }
  static void AddMemo(int32_t day, const std::string& text) {
    CurrentMonthData().SelectDay(day);
    const std::string key = MakeKey("メモ", kKindMemo);
    CurrentMonthData().AddEntry(key, key, "", text, 0);
  }

  TTempFolder m_data;
  TGraphicSource m_images;
  TAnsweringWindows m_windows;
};

}  // namespace kzm::test
