#pragma once

// TPrintPreview: records a printout page by page instead of sending it to the printer. A
// caller draws on Canvas exactly as on the printer (the printer's pixels, fonts in points at
// the printer's resolution); each page becomes a TMetafileEx that the preview shows and
// that printing plays onto the printer.
//
// Idle (pages readable) → BeginDoc → printing (the last page being recorded) → EndDoc → idle.

#include "foundation/Errors.h"
#include "printing/MetafileEx.h"
#include "printing/PrinterUtils.h"

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;

namespace kzm::ui {

class EPrintPreviewError : public kzm::EkzmError {
 public:
  using EkzmError::EkzmError;
};

class TPrintPreview {
 public:
  // Pages are recorded for printer (borrowed: it must outlive the engine).
  explicit TPrintPreview(QPrinter& printer);
  ~TPrintPreview();
  TPrintPreview(const TPrintPreview&) = delete;
  TPrintPreview& operator=(const TPrintPreview&) = delete;

  // Drops the pages of the last document and starts the first page of a new one.
  void BeginDoc();
  // Completes the page being recorded and starts another, carrying over the font, pen,
  // brush, composition mode and background mode.
  void NewPage();
  // Completes the last page.
  void EndDoc();
  [[nodiscard]] bool Printing() const { return m_printing; }
  // Called by NewPage, before a further page is started, with the pages recorded so far; it
  // may throw to stop the recording (the caller then ends the document).
  void SetOnNewPage(std::function<void(int pages)> onNewPage) { m_onNewPage = std::move(onNewPage); }

  // The canvas of the page being recorded.
  [[nodiscard]] QPainter& Canvas();
  [[nodiscard]] int PageCount() const { return static_cast<int>(m_pages.size()); }
  [[nodiscard]] const TMetafileEx& Pages(int index) const;
  // The printer's page metrics, read now.
  [[nodiscard]] TPageMetrics GetPageMetrics() const;

 private:
  void FinishCanvas();

  QPrinter& m_printer;
  std::vector<std::unique_ptr<TMetafileEx>> m_pages;
  std::unique_ptr<QPainter> m_canvas;
  std::function<void(int)> m_onNewPage;
  bool m_printing = false;
};

}  // namespace kzm::ui
