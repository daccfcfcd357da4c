#pragma once

#include <QWidget>

#include <string>

class QListWidget;
class QTextBrowser;

namespace kzm::ui {

// The manual in a window of the program's own, for desktops that cannot open it in a browser
// (no xdg-open, no browser set): the page with its links on the right, and on the left a
// 目次 of its headings that scrolls the page to the one chosen.
class TFmHelp : public QWidget {
  Q_OBJECT

 public:
  // Reads the manual at path (UTF-8 HTML); a file that cannot be read shows why instead.
  explicit TFmHelp(const std::string& path, QWidget* parent = nullptr);

  // The headings of the 目次, in page order.
  [[nodiscard]] QStringList Contents() const;
  // Scrolls the page so that the index-th heading of the 目次 is at the top.
  void ShowHeading(int index);
  [[nodiscard]] QTextBrowser* Browser() const { return m_browser; }

 private:
  void FillContents();

  QListWidget* m_contents;
  QTextBrowser* m_browser;
  QList<int> m_headingBlocks;  // block numbers of the headings, in 目次 order
};

// Shows the manual at path in the one TFmHelp window, made when first needed and brought
// forward after that.
void ShowHelpWindow(const std::string& path);

}  // namespace kzm::ui
