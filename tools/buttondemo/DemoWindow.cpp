#include "DemoWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "StateTile.h"
#include "controls/CanvasRoutines.h"
#include "controls/RoundButton.h"

namespace kzm::demo {

namespace {

using ui::TorvBtnSettings;
using ui::TorvBtnStyle;

// As the program's windows set their buttons up.
TorvBtnSettings WindowButton() {
  TorvBtnSettings s;
  s.style = TorvBtnStyle::bsCircle;
  s.square = true;
  s.textAntialiasing = false;
  s.color = 0xFFFEF8;
  s.focusLineWidth = 5;
  s.overDrawType = TDrawType::dtAlpha;
  return s;
}

struct TStyleRow {
  const char* name;
  TorvBtnSettings settings;
  const char* caption;
};

std::vector<TStyleRow> StyleRows() {
  std::vector<TStyleRow> rows;
  rows.push_back({"丸 (窓の設定)", WindowButton(), "前日\\(&B)"});
  TorvBtnSettings multi = WindowButton();
  multi.overDrawType = TDrawType::dtMulti;
  rows.push_back({"丸 dtMulti", multi, "翌日\\(&N)"});
  TorvBtnSettings smooth = WindowButton();
  smooth.textAntialiasing = true;
  smooth.textEmboss = true;
  smooth.focusLineWidth = 4;
  rows.push_back({"丸 滑らか+浮彫", smooth, "グラフ"});
  rows.push_back({"箱 (既定値)", TorvBtnSettings(), "オプ\\ション"});
  TorvBtnSettings flat = WindowButton();
  flat.flat = true;
  rows.push_back({"平ら", flat, "閉じる"});
  TorvBtnSettings face = WindowButton();
  face.faceFlat = "std01.png";
  face.faceOver = "std09.png";
  face.faceDown = "std04.png";
  face.overDrawType = TDrawType::dtMulti;  // the white body multiplies, so the face shows
  rows.push_back({"顔つき", face, ""});
  return rows;
}

QLabel* Label(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

TPicturePanel::TPicturePanel(QWidget* parent) : QWidget(parent), m_picture(ImageSource().GetImage("back.png")) {}

TPicturePanel::~TPicturePanel() {
  if (m_picture) ImageSource().ReleaseImage(m_picture);
}

void TPicturePanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!m_picture) return;
  const QImage image = ui::BitmapAsImage(static_cast<const TBitmap&>(*m_picture));
  painter.drawImage(rect(), image);
}

TBalloonPanel::TBalloonPanel(QWidget* parent) : QWidget(parent) {
  setFixedSize(140, 140);
  m_help = std::make_unique<ui::TkzmHelpSys>(this);
  m_help->LoadHints("DAILYTEXT");
  m_help->SetSize(140, 140, 32);
  m_help->ShowHint("pmnt");
}

void TBalloonPanel::NextHint() {
  static const char* const kKeys[] = {"", "memo", "rcpt", "asst"};
  m_help->ShowHint(kKeys[m_next++ % 4]);
}

void TBalloonPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_help->PaintOn(painter);
}

TDemoWindow::TDemoWindow() {
  setWindowTitle(QStringLiteral("丸ボタンとヒント"));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  AddStateRows(*grid);
  layout->addLayout(grid);
  layout->addWidget(LiveButtons());
}

void TDemoWindow::AddStateRows(QGridLayout& grid) {
  const char* const states[] = {"通常", "ポインタ", "フォーカス", "押下", "無効"};
  for (int s = 0; s < 5; ++s) grid.addWidget(Label(QString::fromUtf8(states[s]), this), 0, s + 1);
  int row = 1;
  for (const TStyleRow& style : StyleRows()) {
    grid.addWidget(Label(QString::fromUtf8(style.name), this), row, 0);
    for (int s = 0; s < 5; ++s)
      grid.addWidget(new TStateTile(style.settings, QString::fromUtf8(style.caption), ui::TBtnState(s), this), row, s + 1);
    ++row;
  }
  // Buttons that take the picture behind them as their background.
  grid.addWidget(Label(QStringLiteral("透過"), this), row, 0);
  auto* panel = new TPicturePanel(this);
  auto* tiles = new QHBoxLayout(panel);
  tiles->setContentsMargins(0, 0, 0, 0);
  TorvBtnSettings clear = WindowButton();
  clear.transParent = true;
  for (int s = 0; s < 5; ++s) tiles->addWidget(new TStateTile(clear, QStringLiteral("めも"), ui::TBtnState(s), panel));
  grid.addWidget(panel, row, 1, 1, 5);
}

QWidget* TDemoWindow::LiveButtons() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  auto make = [&](const QString& caption, const TorvBtnSettings& settings) {
    auto* button = new ui::TorvWinButton(box);
    button->SetBtnDraw(settings);
    button->SetCaption(caption);
    button->setFixedSize(64, 64);
    row->addWidget(button);
    return button;
  };
  auto* repeat = make(QStringLiteral("長押し\\連打"), WindowButton());
  repeat->SetClickRepeat(true);
  auto* back = make(QStringLiteral("前日\\(&B)"), WindowButton());
  TorvBtnSettings shaped = WindowButton();
  shaped.region = true;
  auto* region = make(QStringLiteral("形で\\切抜き"), shaped);
  auto* hint = make(QStringLiteral("ヒント"), TorvBtnSettings());
  m_counter = new QLabel(QStringLiteral("押した回数: 0"), box);
  row->addWidget(m_counter);
  auto* balloon = new TBalloonPanel(box);
  row->addWidget(balloon);
  auto count = [this] { m_counter->setText(QStringLiteral("押した回数: %1").arg(++m_clicks)); };
  for (auto* button : {repeat, back, region}) QObject::connect(button, &ui::TorvWinButton::OnClick, count);
  QObject::connect(hint, &ui::TorvWinButton::OnClick, [balloon] { balloon->NextHint(); });
  return box;
}

}  // namespace kzm::demo
