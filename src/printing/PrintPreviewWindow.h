#pragma once

// "印刷プレビュー": the modal window every printout goes through. The caller hands it a drawing
// procedure; the window records the pages with TPrintPreview, shows one page at a time on a
// picture of the paper at a chosen zoom, re-records the pages for new printer settings and
// prints them all. With no printer installed, printing writes a PDF file the user chooses.

#include "printing/PrintPreview.h"

#include <QDialog>
#include <QPrinter>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace kzm::ui {

class TFormPrintPreView;
class TPaperView;

// Draws the printout through the window's engine: Engine().Canvas(), Engine().NewPage() and
// PageMetrics(); never BeginDoc or EndDoc.
using TPrintDrawProc = std::function<void(TFormPrintPreView& preview)>;

// A printout that can draw any one of its pages by itself. The preview then records only the
// page it shows, and printing records each page as it goes, so a list of a thousand pages
// opens at once and holds no more than one page in memory.
struct TPagedPrintout {
  // Lays the printout out on the canvas of a page being recorded; the number of pages.
  std::function<int(TFormPrintPreView& preview)> countPages;
  // Draws page (1-based) on Engine().Canvas(), a fresh page of its own.
  std::function<void(TFormPrintPreView& preview, int page)> drawPage;
};

class TFormPrintPreView : public QDialog {
  Q_OBJECT

 public:
  explicit TFormPrintPreView(QWidget* parent = nullptr);
  ~TFormPrintPreView() override;

  void SetDrawProc(TPrintDrawProc draw) { m_draw = std::move(draw); }
  // Used instead of a drawing procedure when set.
  void SetPagedPrintout(TPagedPrintout printout) { m_paged = std::move(printout); }
  // Records the pages anew and shows the first. A recording that takes a while shows its
  // progress with a 中止 button; false when the person stopped it (the pages are then
  // incomplete and the window should not be shown).
  bool Record();
  // The drawing procedure may say how many pages it is going to draw, so that the progress
  // of a long recording can be shown as a share of the whole.
  void SetPageTotal(int pages) { m_pageTotal = pages; }

  [[nodiscard]] TPrintPreview& Engine() { return m_engine; }
  [[nodiscard]] const TPageMetrics& PageMetrics() const { return m_metrics; }
  [[nodiscard]] QPrinter& Printer() { return m_printer; }
  [[nodiscard]] int PageCount() const { return m_pageCount; }
  [[nodiscard]] int CurrentPage() const { return m_currentPage; }
  [[nodiscard]] int Zoom() const { return m_zoom; }
  // Shows page n (1-based); nothing happens when n is the current page.
  void GoToPage(int n);

  void BtPrintClick();
  void BtSetUpClick();
  void BtbeforeClick();
  void BtNextClick();
  void CBratioChange(int index);

 private:
  void CreateToolBar();
  void ShowPage();
  // Runs the drawing procedure between BeginDoc and EndDoc. False when it was stopped.
  bool RecordPages();
  [[nodiscard]] bool Paged() const { return static_cast<bool>(m_paged.drawPage); }
  // The recorded picture of page n (1-based); a paged printout records it now.
  const TMetafileEx& PagePicture(int n);
  // Plays every page onto painter, calling newPage between pages. False when the person
  // stopped it.
  bool PlayPages(QPainter& painter, const std::function<void()>& newPage);
  bool PrintToPrinter();
  bool PrintToPdfFile();

  QPrinter m_printer{QPrinter::HighResolution};
  TPrintPreview m_engine{m_printer};
  TPageMetrics m_metrics;
  TPrintDrawProc m_draw;
  TPagedPrintout m_paged;
  int m_pagedRecorded = 0;  // the page the engine holds of a paged printout, 0 for none
  int m_pageCount = 0;
  int m_pageTotal = 0;
  int m_currentPage = 0;
  int m_zoom = 50;
  std::string m_jobTitle;

  QPushButton* m_btPrint = nullptr;
  QPushButton* m_btSetUp = nullptr;
  QLabel* m_pnPage = nullptr;
  QPushButton* m_btBefore = nullptr;
  QPushButton* m_btNext = nullptr;
  QComboBox* m_cbRatio = nullptr;
  QScrollArea* m_scrollBox = nullptr;
  QLabel* m_label1 = nullptr;
  TPaperView* m_image = nullptr;
};

// Creates the window for draw, records the pages and shows it modally.
void ShowPrintPreview(const TPrintDrawProc& draw, QWidget* owner);
void ShowPrintPreview(const TPagedPrintout& printout, QWidget* owner);

}  // namespace kzm::ui
