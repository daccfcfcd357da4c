#include "controls/LinkLabel.h"

#include <QMouseEvent>

#include <filesystem>

#include "foundation/Shell.h"
#include "foundation/Text.h"

namespace kzm::ui {

namespace {

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

void TLinkLabel::SetLinkURL(const std::string& url) {
  m_linkUrl = url;
  if (IsFile(url)) {
    setText(QString::fromStdString(std::filesystem::path(url).filename().string()));
  } else if (IsFolder(url)) {
    const std::string folder = StripTrailingBackslashes(url);
    setText(QString::fromStdString(folder.empty() ? url : folder));
  }
}

std::string TLinkLabel::Target() const { return m_linkUrl.empty() ? text().toStdString() : m_linkUrl; }

void TLinkLabel::SetUnderline(bool on) {
  QFont f = font();
  f.setUnderline(on);
  setFont(f);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  SetUnderline(true);
}

void TLinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  SetUnderline(false);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  emit Clicked();
  OpenTarget();
}

void TLinkLabel::OpenTarget() const {
  const std::string target = Target();
  if (IsFile(target) || IsFolder(target)) {
    OpenDocument(target);
  } else {
    OpenLink(target);
  }
}

}  // namespace kzm::ui
