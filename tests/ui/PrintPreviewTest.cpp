#include "printing/PrintPreview.h"
#include "printing/PrintPreviewWindow.h"
#include "ui/analysis/SearchPrintout.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPrintDialog>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"

namespace kzm::ui {
namespace {

using test::Child;

// What a command prints on its standard output.
std::string Run(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
  return out;
}

int PdfPages(const std::string& path) {
  const std::string info = Run("pdfinfo '" + path + "' 2>/dev/null");
  const size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string PdfPageText(const std::string& path, int page) {
  const std::string n = std::to_string(page);
  return Run("pdftotext -q -f " + n + " -l " + n + " '" + path + "' -");
}

std::vector<TkzmEntry> Results(int count) {
  std::vector<TkzmEntry> results;
  for (int i = 0; i < count; ++i) {
    TkzmEntry e;
    e.date = EncodeDate(2024, 3, 1) + i % 28;
    e.sequence = i;
    e.amount = 12345 + i;
    e.categoryKey = MakeKey("食費", kKindPayment);
    e.accountKey = MakeKey("現金", kKindAsset);
    e.itemText = "スーパー" + std::to_string(i);
    e.note = "とても長い備考がここに書かれていて列の幅には収まりきらないので途中で切られるはずです";
    results.push_back(e);
  }
  return results;
}

class PrintEngineTest : public ::testing::Test {
 protected:
  QPrinter m_printer{QPrinter::HighResolution};
  TPrintPreview m_engine{m_printer};
};

TEST_F(PrintEngineTest, OperationsOutOfTurnRaiseTheirErrors) {
  struct Case {
    const char* message;
    std::function<void(TPrintPreview&)> act;
  };
  const Case cases[] = {
      {"TPrintPreview: BeginDoc: Already Printing", [](TPrintPreview& e) { e.BeginDoc(); e.BeginDoc(); }},
      {"TPrintPreview.NewPage: not Printing", [](TPrintPreview& e) { e.NewPage(); }},
      {"TPrintPreview.EndDoc: not Printing", [](TPrintPreview& e) { e.EndDoc(); }},
      {"TPrintPreview.GetCanvas: not Printing", [](TPrintPreview& e) { (void)e.Canvas(); }},
      {"TPrinterPreview.GetPage: Pages cannot be used when printing",
       [](TPrintPreview& e) { e.BeginDoc(); (void)e.Pages(0); }},
      {"TPrinterCanvas.GetPage: Index is out of Range",
       [](TPrintPreview& e) { e.BeginDoc(); e.EndDoc(); (void)e.Pages(e.PageCount()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    QPrinter printer(QPrinter::HighResolution);
    TPrintPreview engine(printer);
    try {
      c.act(engine);
      ADD_FAILURE() << "no error";
    } catch (const EPrintPreviewError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST_F(PrintEngineTest, EmptyDocumentIsOnePageAndTheFontCarriesOver) {
  m_engine.BeginDoc();
  m_engine.EndDoc();
  EXPECT_EQ(m_engine.PageCount(), 1);

  m_engine.BeginDoc();
  EXPECT_EQ(m_engine.Canvas().font().pointSize(), 9);
  QFont font = m_engine.Canvas().font();
  font.setPointSize(20);
  m_engine.Canvas().setFont(font);
  m_engine.NewPage();
  EXPECT_EQ(m_engine.Canvas().font().pointSize(), 20);
  // Points are the printer's: 20 points are 20/72 inch at its resolution.
  EXPECT_NEAR(m_engine.Canvas().fontMetrics().height(), 20.0 / 72 * m_printer.resolution(),
              0.3 * 20.0 / 72 * m_printer.resolution());
  m_engine.EndDoc();
  EXPECT_EQ(m_engine.PageCount(), 2);
  m_engine.BeginDoc();
  EXPECT_EQ(m_engine.Canvas().font().pointSize(), 9);
  m_engine.EndDoc();
}

TEST_F(PrintEngineTest, PageDrawsWholeAtItsScaleAndLeavesTheClipAlone) {
  const int dpi = m_printer.resolution();
  m_engine.BeginDoc();
  // A one-inch square one inch in.
  m_engine.Canvas().fillRect(QRect(dpi, dpi, dpi, dpi), Qt::black);
  m_engine.EndDoc();

  for (int imageDpi : {96, 300}) {
    SCOPED_TRACE(imageDpi);
    QImage image(4 * imageDpi, 4 * imageDpi, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(imageDpi / 0.0254));
    image.setDotsPerMeterY(qRound(imageDpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRegion clip(0, 0, imageDpi / 2, imageDpi / 2);
    painter.setClipRegion(clip);
    // Device pixels per printer pixel.
    painter.scale(double(imageDpi) / dpi, double(imageDpi) / dpi);
    m_engine.Pages(0).Draw(painter, 0, 0);
    EXPECT_TRUE(painter.hasClipping());
    EXPECT_EQ(painter.clipRegion(), QRegion(0, 0, dpi / 2, dpi / 2));
    painter.end();
    EXPECT_EQ(image.pixelColor(imageDpi * 3 / 2, imageDpi * 3 / 2), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(imageDpi * 5 / 2, imageDpi * 5 / 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(imageDpi * 9 / 10, imageDpi * 3 / 2), QColor(Qt::white));
  }
}

class PreviewWindowTest : public ::testing::Test {
 protected:
  test::TTempFolder m_temp;
  test::TRecordingWindowSystem m_windows;
};

TEST_F(PreviewWindowTest, NothingDrawnIsOneEmptyPageOnA4) {
  TFormPrintPreView window;
  window.Printer().setPageSize(QPageSize(QPageSize::A4));
  window.Record();
  window.show();
  EXPECT_EQ(Child<QLabel>(&window, "PNpage")->text(), QStringLiteral("1/1"));
  EXPECT_FALSE(Child<QPushButton>(&window, "Btbefore")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(&window, "BtNext")->isEnabled());
  EXPECT_EQ(Child<QLabel>(&window, "Label1")->text(), QStringLiteral("Paper: 210×297mm"));
}

TEST_F(PreviewWindowTest, ZoomSmallPaperIsCentred) {
  TFormPrintPreView window;
  window.Record();
  window.show();
  auto* ratio = Child<QComboBox>(&window, "CBratio");
  EXPECT_EQ(ratio->currentText(), QStringLiteral("50%"));
  ratio->setCurrentIndex(6);
  EXPECT_EQ(window.Zoom(), 10);
  auto* box = Child<QScrollArea>(&window, "ScrollBox1");
  QWidget* image = box->widget();
  const QRect view = box->viewport()->rect();
  ASSERT_LT(image->width(), view.width());
  EXPECT_NEAR(image->geometry().center().x(), view.center().x(), 1);
  EXPECT_NEAR(image->geometry().center().y(), view.center().y(), 1);
  // Typed text that is no zoom of the list changes nothing.
  ratio->setEditText(QStringLiteral("33%"));
  EXPECT_EQ(window.Zoom(), 10);
}

TEST_F(PreviewWindowTest, SearchPrintoutPagesAndTheirPdf) {
  struct Case {
    int results;
    bool severalPages;
    bool paged;  // each page recorded when shown or printed
  };
  int eagerPages = 0;
  for (const Case& c : {Case{3, false, false}, Case{200, true, false}, Case{200, true, true}}) {
    SCOPED_TRACE(c.results);
    SCOPED_TRACE(c.paged ? "paged" : "all pages at once");
    const std::vector<TkzmEntry> results = Results(c.results);
    TFormPrintPreView window;
    window.Printer().setPageSize(QPageSize(QPageSize::A4));
    if (c.paged) {
      window.SetPagedPrintout(SearchPrintoutPages(results, "2024/03/05 09:07:02"));
    } else {
      window.SetDrawProc([&](TFormPrintPreView& p) { DrawSearchPrintout(p, results, "2024/03/05 09:07:02"); });
    }
    window.Record();
    window.show();
    const int pages = window.PageCount();
    EXPECT_EQ(pages > 1, c.severalPages);
    if (c.paged) {
      EXPECT_EQ(pages, eagerPages);
    } else {
      eagerPages = pages;
    }
    EXPECT_EQ(Child<QLabel>(&window, "PNpage")->text(), QStringLiteral("1/%1").arg(pages));
    if (pages > 1) {
      QTest::mouseClick(Child<QPushButton>(&window, "BtNext"), Qt::LeftButton);
      EXPECT_EQ(window.CurrentPage(), 2);
      EXPECT_TRUE(Child<QPushButton>(&window, "Btbefore")->isEnabled());
    }
    // Only the page shown is held.
    if (c.paged) {
      EXPECT_EQ(window.Engine().PageCount(), 1);
    }

    const std::string pdf =
        m_temp.File("printout" + std::to_string(c.results) + (c.paged ? "paged" : "") + ".pdf");
    test::OnNextDialog([pdf](QDialog* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      ASSERT_NE(files, nullptr);
      files->selectFile(QString::fromStdString(pdf));
      static_cast<QDialog*>(files)->accept();  // the dialog's own accept, as its button calls it
    });
    QTest::mouseClick(Child<QPushButton>(&window, "BtPrint"), Qt::LeftButton);
    EXPECT_TRUE(m_windows.messages.empty());
    EXPECT_FALSE(window.isVisible());  // printed, so closed
    ASSERT_EQ(PdfPages(pdf), pages);
    for (int page = 1; page <= pages; ++page) {
      SCOPED_TRACE(page);
      const std::string text = PdfPageText(pdf, page);
      EXPECT_NE(text.find("検索結果印刷:" + std::to_string(c.results) + "件"), std::string::npos) << text;
      EXPECT_NE(text.find(std::to_string(page) + "/" + std::to_string(pages)), std::string::npos);
      EXPECT_NE(text.find("2024/03/05 09:07:02"), std::string::npos);
    }
    // Every result is printed once, the long notes cut.
    const std::string last = PdfPageText(pdf, pages);
    EXPECT_NE(last.find("スーパー" + std::to_string(c.results - 1)), std::string::npos);
    EXPECT_EQ(last.find("切られるはずです"), std::string::npos);
  }
}

TEST_F(PreviewWindowTest, StoppingALongRecordingLeavesNoPreview) {
  TFormPrintPreView window;
  int drawn = 0;
  window.SetDrawProc([&drawn](TFormPrintPreView& p) {
    p.SetPageTotal(50);
    for (int page = 1; page <= 50; ++page) {
      if (page > 1) p.Engine().NewPage();
      p.Engine().Canvas().drawText(100, 100, QString::number(page));
      ++drawn;
      if (page == 3) {
        // The person presses 中止 while page 3 is being drawn.
        auto* progress = p.findChild<QProgressDialog*>(QStringLiteral("RecordingProgress"));
        ASSERT_NE(progress, nullptr);
        QPushButton* stop = nullptr;
        for (QPushButton* b : progress->findChildren<QPushButton*>())
          if (b->text() == QStringLiteral("中止")) stop = b;
        ASSERT_NE(stop, nullptr);
        stop->click();
      }
    }
  });
  EXPECT_FALSE(window.Record());
  EXPECT_EQ(drawn, 3);
  EXPECT_EQ(window.PageCount(), 0);
  EXPECT_EQ(Child<QLabel>(&window, "PNpage")->text(), QStringLiteral("0/0"));
  EXPECT_TRUE(m_windows.messages.empty());
  // Recorded again without a stop, every page is there.
  window.SetDrawProc([](TFormPrintPreView& p) {
    for (int page = 2; page <= 50; ++page) p.Engine().NewPage();
  });
  EXPECT_TRUE(window.Record());
  EXPECT_EQ(window.PageCount(), 50);
}

TEST_F(PreviewWindowTest, StoppingAPagedPrintWritesNothing) {
  TFormPrintPreView window;
  int drawn = 0;
  TPagedPrintout printout;
  printout.countPages = [](TFormPrintPreView&) { return 50; };
  printout.drawPage = [&drawn](TFormPrintPreView& p, int page) {
    p.Engine().Canvas().drawText(100, 100, QString::number(page));
    ++drawn;
    auto* progress = p.findChild<QProgressDialog*>(QStringLiteral("PrintingProgress"));
    if (page == 3 && progress) {
      // The person presses 中止 while page 3 is being printed.
      for (QPushButton* b : progress->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("中止")) b->click();
    }
  };
  window.SetPagedPrintout(printout);
  window.Record();
  window.show();
  const std::string pdf = m_temp.File("stopped.pdf");
  test::OnNextDialog([pdf](QDialog* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    files->selectFile(QString::fromStdString(pdf));
    static_cast<QDialog*>(files)->accept();  // the dialog's own accept, as its button calls it
  });
  drawn = 0;
  QTest::mouseClick(Child<QPushButton>(&window, "BtPrint"), Qt::LeftButton);
  EXPECT_LT(drawn, 10);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(m_windows.messages.empty());
}

TEST_F(PreviewWindowTest, SmallerPaperInTheSettingsLaysThePagesOutAgain) {
  const std::vector<TkzmEntry> results = Results(200);
  TFormPrintPreView window;
  window.Printer().setPageSize(QPageSize(QPageSize::A4));
  window.SetDrawProc([&](TFormPrintPreView& p) { DrawSearchPrintout(p, results, "2024/03/05 09:07:02"); });
  window.Record();
  window.show();
  const int a4Width = window.PageMetrics().printableWidth;
  window.GoToPage(2);
  test::OnNextDialog([](QDialog* dialog) {
    auto* setup = qobject_cast<QPrintDialog*>(dialog);
    ASSERT_NE(setup, nullptr);
    setup->printer()->setPageSize(QPageSize(QPageSize::A6));
  });
  QTest::mouseClick(Child<QPushButton>(&window, "BtSetUp"), Qt::LeftButton);
  // The layout follows the paper, so the pages were drawn anew for the smaller one.
  EXPECT_LT(window.PageMetrics().printableWidth, a4Width);
  EXPECT_LT(window.Engine().Pages(0).boundingRect().width(), a4Width);
  EXPECT_EQ(window.CurrentPage(), 1);
  EXPECT_EQ(Child<QLabel>(&window, "PNpage")->text(), QStringLiteral("1/%1").arg(window.PageCount()));
  EXPECT_EQ(Child<QLabel>(&window, "Label1")->text(), QStringLiteral("Paper: 105×148mm"));
}

TEST_F(PreviewWindowTest, PdfThatCannotBeWrittenSaysSoAndKeepsTheWindow) {
  const std::vector<TkzmEntry> results = Results(100);
  for (const bool paged : {false, true}) {
    SCOPED_TRACE(paged ? "paged" : "all pages at once");
    m_windows.messages.clear();
    TFormPrintPreView window;
    if (paged) window.SetPagedPrintout(SearchPrintoutPages(results, "2024/03/05 09:07:02"));
    window.Record();
    window.show();
    window.GoToPage(window.PageCount());
    // The dark pixels of the page shown: its text and lines.
    QWidget* paper = Child<QScrollArea>(&window, "ScrollBox1")->widget();
    const auto ink = [paper] {
      const QImage shot = paper->grab().toImage();
      int dark = 0;
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) dark += qGray(shot.pixel(x, y)) < 64 ? 1 : 0;
      return dark;
    };
    const int before = ink();
    const std::string pdf = m_temp.File("missing/out.pdf");
    test::OnNextDialog([pdf](QDialog* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      ASSERT_NE(files, nullptr);
      files->selectFile(QString::fromStdString(pdf));
      static_cast<QDialog*>(files)->accept();  // the dialog's own accept, as its button calls it
    });
    QTest::mouseClick(Child<QPushButton>(&window, "BtPrint"), Qt::LeftButton);
    ASSERT_EQ(m_windows.messages.size(), 1u);
    EXPECT_NE(m_windows.messages[0].find("PDFファイルを保存できませんでした"), std::string::npos);
    EXPECT_TRUE(window.isVisible());
    // Still the same page on show, though printing recorded every page again.
    EXPECT_EQ(ink(), before);
  }
}

}  // namespace
}  // namespace kzm::ui
