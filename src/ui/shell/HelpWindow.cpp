#include "ui/shell/HelpWindow.h"

#include "foundation/AtomicFile.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>

namespace kzm::ui {

namespace {

// The manual is a few tens of kilobytes; anything far larger is not it.
constexpr size_t kManualLimit = 4 * 1024 * 1024;

QString ManualHtml(const std::string& path) {
  std::string bytes;
  int error = 0;
  if (ReadFileUpTo(path, kManualLimit, bytes, &error) == TReadStatus::rsRead) return QString::fromUtf8(bytes);
  return QStringLiteral("<p>ヘルプファイルを読めませんでした。</p><p>%1</p>")
      .arg(QString::fromStdString(path).toHtmlEscaped());
}

}  // namespace

TFmHelp::TFmHelp(const std::string& path, QWidget* parent)
    : QWidget(parent, Qt::Window), m_contents(new QListWidget), m_browser(new QTextBrowser) {
  setWindowTitle(QStringLiteral("もるぽ通帳 ヘルプ"));
  setObjectName(QStringLiteral("FmHelp"));
  m_contents->setObjectName(QStringLiteral("Contents"));
  m_contents->setAccessibleName(QStringLiteral("目次"));
  m_browser->setObjectName(QStringLiteral("Browser"));
  m_browser->setAccessibleName(QStringLiteral("ヘルプの本文"));
  // Links inside the manual move within the page; others go to the desktop, which may
  // still open a web address when it cannot open a local file.
  m_browser->setOpenExternalLinks(true);
  m_browser->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absolutePath() + "/"));
  m_browser->setHtml(ManualHtml(path));

  auto* splitter = new QSplitter;
  splitter->addWidget(m_contents);
  splitter->addWidget(m_browser);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({180, 620});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);
  resize(820, 640);

  FillContents();
  // The page opens at its top. A list that gets the focus makes its first row current without
  // choosing it, so only a chosen (selected) row moves the page; row 0 is the 目次 title.
  setFocusProxy(m_browser);
  connect(m_contents, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> chosen = m_contents->selectedItems();
    if (!chosen.isEmpty()) ShowHeading(m_contents->row(chosen.front()) - 1);
  });
}

void TFmHelp::FillContents() {
  m_contents->addItem(QStringLiteral("目次"));
  m_contents->item(0)->setFlags(Qt::NoItemFlags);
  for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 2 || level > 3) continue;
    const QString indent = level == 3 ? QStringLiteral("　") : QString();
    m_contents->addItem(indent + block.text().trimmed());
    m_headingBlocks.append(block.blockNumber());
  }
}

QStringList TFmHelp::Contents() const {
  QStringList headings;
  for (int row = 1; row < m_contents->count(); ++row) headings.append(m_contents->item(row)->text().trimmed());
  return headings;
}

void TFmHelp::ShowHeading(int index) {
  if (index < 0 || index >= m_headingBlocks.size()) return;
  QTextDocument* document = m_browser->document();
  const QTextBlock block = document->findBlockByNumber(m_headingBlocks[index]);
  const QRectF place = document->documentLayout()->blockBoundingRect(block);
  m_browser->verticalScrollBar()->setValue(static_cast<int>(place.top()));
}

void ShowHelpWindow(const std::string& path) {
  // One window at a time; closing it frees it.
  TFmHelp* window = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* help = qobject_cast<TFmHelp*>(widget)) window = help;
  }
  if (!window) {
    window = new TFmHelp(path);
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace kzm::ui
