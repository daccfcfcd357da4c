#pragma once

// TLinkLabel: a label that opens what it names when clicked: an existing file or folder with
// the desktop's program for it, anything else as a web or mail address.

#include <QLabel>
#include <string>

namespace kzm::ui {

class TLinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TLinkLabel(QWidget* parent = nullptr);

  [[nodiscard]] const std::string& LinkURL() const { return m_linkUrl; }
  // An existing file shows its file name, an existing folder its path.
  void SetLinkURL(const std::string& url);
  // What a click opens: LinkURL, or the caption when LinkURL is empty.
  [[nodiscard]] std::string Target() const;

 signals:
  // The label was clicked; the target is opened after this.
  void Clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetUnderline(bool on);
  void OpenTarget() const;

  std::string m_linkUrl;
};

}  // namespace kzm::ui
