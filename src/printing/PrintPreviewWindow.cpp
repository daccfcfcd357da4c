#include "printing/PrintPreviewWindow.h"

#include "controls/Fonts.h"
#include "foundation/AppGlobal.h"
#include "foundation/AtomicFile.h"
#include "foundation/WindowSystem.h"
#include "printing/PaperView.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <iterator>

namespace kzm::ui {

namespace {

constexpr int kZooms[] = {200, 150, 100, 80, 50, 25, 10};
constexpr int kInitialZoomIndex = 4;
// A recording that takes longer than this shows its progress.
constexpr int kProgressDelayMs = 400;

// Thrown out of the drawing procedure when the person stops a recording.
struct TRecordingStopped {};

QPushButton* NewToolButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

// The wait cursor for as long as it lives.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

TFormPrintPreView::TFormPrintPreView(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormPrintPreView"));
  setWindowTitle(QStringLiteral("印刷プレビュー"));
  QFont windowFont(QString::fromUtf8(kProgramFontFamily));
  windowFont.setPixelSize(12);
  setFont(windowFont);
  m_metrics = m_engine.GetPageMetrics();
  m_jobTitle = AppGlobal().ProductName();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateToolBar();
  m_scrollBox = new QScrollArea(this);
  m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
  m_scrollBox->setAlignment(Qt::AlignCenter);
  m_scrollBox->setWidgetResizable(false);
  m_image = new TPaperView;
  m_scrollBox->setWidget(m_image);
  m_label1 = new QLabel(m_scrollBox->viewport());
  m_label1->setObjectName(QStringLiteral("Label1"));
  m_label1->move(2, 2);
  layout->addWidget(m_scrollBox, 1);

  resize(492, 693);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  ShowPage();
}

TFormPrintPreView::~TFormPrintPreView() = default;

void TFormPrintPreView::CreateToolBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("ToolBar1"));
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(4, 4, 4, 4);
  m_btPrint = NewToolButton("印刷開始", "BtPrint", bar);
  m_btSetUp = NewToolButton("プリンタ設定", "BtSetUp", bar);
  m_pnPage = new QLabel(QStringLiteral("0/0"), bar);
  m_pnPage->setObjectName(QStringLiteral("PNpage"));
  m_pnPage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_pnPage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_pnPage->setMinimumWidth(64);
  m_btBefore = NewToolButton("<<", "Btbefore", bar);
  m_btNext = NewToolButton(">>", "BtNext", bar);
  m_cbRatio = new QComboBox(bar);
  m_cbRatio->setObjectName(QStringLiteral("CBratio"));
  m_cbRatio->setEditable(true);
  m_cbRatio->setInsertPolicy(QComboBox::NoInsert);
  for (int zoom : kZooms) m_cbRatio->addItem(QStringLiteral("%1%").arg(zoom));
  m_cbRatio->setCurrentIndex(kInitialZoomIndex);
  for (QWidget* w : std::initializer_list<QWidget*>{m_btPrint, m_btSetUp, m_pnPage, m_btBefore, m_btNext, m_cbRatio})
    row->addWidget(w);
  row->addStretch();
  connect(m_btPrint, &QPushButton::clicked, this, &TFormPrintPreView::BtPrintClick);
  connect(m_btSetUp, &QPushButton::clicked, this, &TFormPrintPreView::BtSetUpClick);
  connect(m_btBefore, &QPushButton::clicked, this, &TFormPrintPreView::BtbeforeClick);
  connect(m_btNext, &QPushButton::clicked, this, &TFormPrintPreView::BtNextClick);
  connect(m_cbRatio, &QComboBox::currentIndexChanged, this, &TFormPrintPreView::CBratioChange);
  static_cast<QVBoxLayout*>(layout())->addWidget(bar);
}

bool TFormPrintPreView::RecordPages() {
  const TWaitCursor busy;  // a long list takes a while to lay out
  m_pageTotal = 0;
  // Shown only when recording takes longer than a moment; while it shows, the rest of the
  // program waits behind it (it is modal), so nothing changes what is being drawn.
  QProgressDialog progress(QStringLiteral("印刷するページを準備しています…"), QStringLiteral("中止"), 0, 0,
                           parentWidget() != nullptr ? parentWidget() : this);
  progress.setObjectName(QStringLiteral("RecordingProgress"));
  progress.setWindowTitle(QStringLiteral("印刷プレビュー"));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(kProgressDelayMs);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);  // starts the clock that decides whether it shows
  m_engine.SetOnNewPage([this, &progress](int pages) {
    // Without a total the bar cannot say how far it is; it keeps one step ahead.
    const int total = m_pageTotal > pages ? m_pageTotal : pages + 1;
    if (progress.maximum() != total) progress.setMaximum(total);
    progress.setValue(pages);
    if (progress.wasCanceled()) throw TRecordingStopped{};
  });
  bool completed = true;
  m_engine.BeginDoc();
  try {
    if (m_draw) m_draw(*this);
  } catch (const TRecordingStopped&) {
    completed = false;
  } catch (...) {
    m_engine.SetOnNewPage({});
    m_engine.EndDoc();
    throw;
  }
  m_engine.SetOnNewPage({});
  m_engine.EndDoc();
  return completed;
}

bool TFormPrintPreView::Record() {
  m_pagedRecorded = 0;
  if (Paged()) {
    // Only laid out and counted here; each page is recorded when it is shown or printed.
    m_engine.BeginDoc();
    int pages = 1;
    try {
      if (m_paged.countPages) pages = m_paged.countPages(*this);
    } catch (...) {
      m_engine.EndDoc();
      throw;
    }
    m_engine.EndDoc();
    m_pageCount = std::max(1, pages);
  } else {
    if (!RecordPages()) {
      m_pageCount = 0;
      m_currentPage = 0;
      m_pnPage->setText(QStringLiteral("0/0"));
      ShowPage();
      return false;
    }
    m_pageCount = m_engine.PageCount();
  }
  // The pages are new, so page 1 is shown afresh even when it was the current page.
  m_currentPage = 0;
  GoToPage(1);
  return true;
}

const TMetafileEx& TFormPrintPreView::PagePicture(int n) {
  if (!Paged()) return m_engine.Pages(n - 1);
  if (m_pagedRecorded != n) {
    m_pagedRecorded = 0;
    m_engine.BeginDoc();
    try {
      m_paged.drawPage(*this, n);
    } catch (...) {
      m_engine.EndDoc();
      throw;
    }
    m_engine.EndDoc();
    m_pagedRecorded = n;
  }
  return m_engine.Pages(0);
}

void TFormPrintPreView::GoToPage(int n) {
  if (n == m_currentPage || n < 1 || n > m_pageCount) return;
  m_currentPage = n;
  m_pnPage->setText(QStringLiteral("%1/%2").arg(n).arg(m_pageCount));
  m_btBefore->setEnabled(n > 1);
  m_btNext->setEnabled(n < m_pageCount);
  ShowPage();
}

void TFormPrintPreView::ShowPage() {
  m_label1->setText(QStringLiteral("Paper: %1×%2mm")
                        .arg(static_cast<int>(m_metrics.physicalWidthMm))
                        .arg(static_cast<int>(m_metrics.physicalHeightMm)));
  m_label1->adjustSize();
  m_label1->raise();
  const int recorded = Paged() ? m_pageCount : m_engine.PageCount();
  const TMetafileEx* page = nullptr;
  if (m_currentPage >= 1 && m_currentPage <= recorded && !m_engine.Printing()) {
    try {
      page = &PagePicture(m_currentPage);
    } catch (const std::exception& e) {
      WindowSystem().Notify(e.what());
    }
  }
  m_image->SetPage(page, m_metrics, m_zoom);
  if (m_currentPage < 1) {
    m_btBefore->setEnabled(false);
    m_btNext->setEnabled(false);
  }
}

void TFormPrintPreView::BtbeforeClick() {
  if (m_currentPage > 1) GoToPage(m_currentPage - 1);
}

void TFormPrintPreView::BtNextClick() {
  if (m_currentPage < m_pageCount) GoToPage(m_currentPage + 1);
}

void TFormPrintPreView::CBratioChange(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kZooms))) return;
  m_zoom = kZooms[index];
  ShowPage();
}

void TFormPrintPreView::BtSetUpClick() {
  {
    // The print dialog serves as the printer setup: it chooses the printer and, for a PDF
    // file too, the paper. Confirming it only keeps the settings.
    QPrintDialog dialog(&m_printer, this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
      if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    }
    dialog.exec();
  }
  // Whatever the dialog's answer, the pages are laid out anew for the printer as it is now.
  m_metrics = m_engine.GetPageMetrics();
  try {
    // Stopped, the pages are incomplete: the preview closes rather than show part of them.
    if (!Record()) reject();
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
  }
}

bool TFormPrintPreView::PlayPages(QPainter& painter, const std::function<void()>& newPage) {
  const int pages = Paged() ? m_pageCount : m_engine.PageCount();
  // A paged printout records each page over the one shown; the view lets go of it first.
  if (Paged()) m_image->SetPage(nullptr, m_metrics, m_zoom);
  // Pages recorded only now take a while; the person sees how far it is and may stop.
  QProgressDialog progress(QStringLiteral("印刷しています…"), QStringLiteral("中止"), 0, pages, this);
  progress.setObjectName(QStringLiteral("PrintingProgress"));
  progress.setWindowTitle(QStringLiteral("印刷"));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(kProgressDelayMs);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);
  for (int n = 1; n <= pages; ++n) {
    if (n > 1) newPage();
    PagePicture(n).Draw(painter, 0, 0);
    if (Paged()) {
      progress.setValue(n);
      if (progress.wasCanceled()) return false;
    }
  }
  return true;
}

bool TFormPrintPreView::PrintToPrinter() {
  m_printer.setDocName(QString::fromStdString(m_jobTitle));
  QPainter painter;
  if (!painter.begin(&m_printer)) {
    WindowSystem().Notify("印刷を開始できませんでした。");
    return false;
  }
  try {
    if (!PlayPages(painter, [this] { m_printer.newPage(); })) {
      m_printer.abort();  // stopped: nothing of it is printed
      return false;
    }
  } catch (...) {
    m_printer.abort();
    throw;
  }
  return painter.end();
}

bool TFormPrintPreView::PrintToPdfFile() {
  QFileDialog dialog(this, QStringLiteral("PDFファイルに印刷"));
  dialog.setObjectName(QStringLiteral("SavePdfDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setNameFilter(QStringLiteral("PDFファイル (*.pdf)"));
  dialog.selectFile(QString::fromStdString(m_jobTitle));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const std::string path = dialog.selectedFiles().constFirst().toStdString();

  // The document is made in memory and then written as a whole, so a failed write leaves
  // an existing file as it was.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromStdString(m_jobTitle));
    writer.setCreator(QString::fromStdString(m_jobTitle));
    writer.setResolution(m_printer.resolution());
    writer.setPageLayout(m_printer.pageLayout());
    QPainter painter;
    if (!painter.begin(&writer)) {
      WindowSystem().Notify("PDFファイルを作れませんでした。");
      return false;
    }
    const bool completed = PlayPages(painter, [&writer] { writer.newPage(); });
    painter.end();
    if (!completed) return false;  // stopped: the file is not written
  }
  std::string why;
  if (!WriteFileAtomic(path, buffer.data().toStdString(), &why)) {
    WindowSystem().Notify("PDFファイルを保存できませんでした。\n" + why);
    return false;
  }
  return true;
}

void TFormPrintPreView::BtPrintClick() {
  bool printed = false;
  try {
    // Without a printer Qt's printer is a PDF file; the user says where it goes.
    printed = m_printer.outputFormat() == QPrinter::NativeFormat ? PrintToPrinter() : PrintToPdfFile();
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
  }
  if (printed) {
    accept();
  } else if (Paged()) {
    ShowPage();  // the page shown was recorded over while printing
  }
}

void ShowPrintPreview(const TPagedPrintout& printout, QWidget* owner) {
  TFormPrintPreView window(owner);
  window.SetPagedPrintout(printout);
  try {
    window.Record();
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
    return;
  }
  window.exec();
}

void ShowPrintPreview(const TPrintDrawProc& draw, QWidget* owner) {
  TFormPrintPreView window(owner);
  window.SetDrawProc(draw);
  try {
    if (!window.Record()) return;  // the person stopped it
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
    return;
  }
  window.exec();
}

}  // namespace kzm::ui
