// The image control hands the mouse to its scene; the link label opens what it names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <filesystem>
#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/ImageControl.h"
#include "controls/LinkLabel.h"

namespace kzm::ui {
namespace {

// Records what the program asks the desktop to open.
class TOpeningWindowSystem : public test::TRecordingWindowSystem {
 public:
  bool OpenDocument(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;
};

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

TEST(ImageControlTest, MouseActionRoutesClicksToTheNodeUnderThePointer) {
  TOpeningWindowSystem windows;
  TorvImage image;
  image.resize(40, 20);
  image.SetMouseAction(true);
  TorvFlat* node = image.Root().AddPicture("\\10,10,$0000FF,32", 20, 5, 255);
  node->SetMouseEvents(true);
  int clicks = 0;
  node->OnClick = [&](TorvFlat&) { ++clicks; };
  image.RenderScene();

  SendMouse(image, QEvent::MouseButtonPress, {25, 8});
  SendMouse(image, QEvent::MouseButtonRelease, {25, 8});
  SendMouse(image, QEvent::MouseButtonPress, {5, 8});
  SendMouse(image, QEvent::MouseButtonRelease, {5, 8});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(image.Root().Width(), 40);
}

TEST(LinkLabelTest, OpensFoldersFilesAndAddresses) {
  TOpeningWindowSystem windows;
  test::TTempFolder temp;
  const std::string folder = temp.Path() + "/書類";
  std::filesystem::create_directory(folder);

  TLinkLabel label;
  label.resize(200, 20);
  label.SetLinkURL(folder + "/");
  EXPECT_EQ(label.text().toStdString(), folder);
  SendMouse(label, QEvent::MouseButtonRelease, {5, 5});

  TLinkLabel mail;
  mail.resize(200, 20);
  mail.setText(QStringLiteral("someone@example.jp"));
  SendMouse(mail, QEvent::MouseButtonRelease, {5, 5});

  TLinkLabel web;
  web.resize(200, 20);
  web.SetLinkURL("http://example.jp/");
  SendMouse(web, QEvent::MouseButtonRelease, {5, 5});

  EXPECT_EQ(windows.opened,
            (std::vector<std::string>{folder + "/", "mailto:someone@example.jp", "http://example.jp/"}));
}

}  // namespace
}  // namespace kzm::ui
