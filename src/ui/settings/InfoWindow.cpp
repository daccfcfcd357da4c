#include "ui/settings/InfoWindow.h"

#include "controls/CentreOnScreen.h"
#include "controls/UiBasics.h"
#include "controls/grid/GridControl.h"
#include "foundation/ColorScheme.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "ui/common/Openers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <utility>

namespace kzm::ui {

namespace {

constexpr int kRowHeight = 16;
constexpr int kNameLength = 20;
// The kind choices of the radio group, in their order.
constexpr int kKindChoices[] = {kKindPayment, kKindReceipt, kKindAsset};

QString SlashDate(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  return QString::asprintf("%04d/%02d/%02d", ymd.year, ymd.month, ymd.day);
}

const char* RowColorKey(int kind) {
  switch (kind) {
    case kKindPayment: return "月間表示\\セル\\支出1";
    case kKindAsset: return "月間表示\\セル\\資産";
    case kKindReceipt: return "月間表示\\セル\\収入";
    default: return "月間表示\\セル\\固定";
  }
}

QLineEdit* NewEdit(QWidget* parent, const char* name, bool hiragana) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  // The desktop's input method decides what it makes of these hints.
  edit->setInputMethodHints(hiragana ? Qt::ImhPreferLowercase : Qt::ImhDigitsOnly);
  if (!hiragana) edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  return edit;
}

}  // namespace

TFmInfo::TFmInfo(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FmInfo"));
  setWindowTitle(QStringLiteral("通帳情報と項目"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("PCinfo"));
  m_pages->setAccessibleName(QStringLiteral("通帳情報と項目のページ"));
  m_infoPage = CreateInfoPage();
  m_headPage = CreateHeadPage();
  m_pages->addTab(m_infoPage, QStringLiteral("通帳情報"));
  m_pages->addTab(m_headPage, QStringLiteral("項目の設定"));

  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  m_buttonOK = new QPushButton(QStringLiteral("OK"), this);
  m_buttonOK->setObjectName(QStringLiteral("ButtonOK"));
  m_buttonOK->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_buttonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(m_buttonOK);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pages);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  CentreOnScreenWhenShown(*this);
}

QWidget* TFmInfo::CreateInfoPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TSinfo"));
  auto* grid = new QGridLayout(page);
  grid->addWidget(new QLabel(QStringLiteral("もるぽ通帳をご利用いただきありがとうございます。"), page), 0, 0, 1, 3);
  m_editFolder = NewEdit(page, "EditFolder", true);
  m_editName = NewEdit(page, "EditName", true);
  m_editUse = NewEdit(page, "EditUse", true);
  // Each label names its field, for a screen reader too.
  int row = 1;
  for (auto [caption, field] : {std::pair{"通帳名", m_editFolder}, std::pair{"おなまえ", m_editName},
                                std::pair{"使いみち", m_editUse}}) {
    auto* label = new QLabel(QString::fromUtf8(caption), page);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row++, 1, 1, 2);
  }

  m_editBirthMonth = NewEdit(page, "EditBirthMonth", false);
  m_editBirthDay = NewEdit(page, "EditBirthDay", false);
  m_editBirthMonth->setAccessibleName(QStringLiteral("お誕生日の月"));
  m_editBirthDay->setAccessibleName(QStringLiteral("お誕生日の日"));
  auto* birth = new QHBoxLayout;
  for (QLineEdit* edit : {m_editBirthMonth, m_editBirthDay}) {
    edit->setMaxLength(2);
    edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("000")) + 12);
  }
  birth->addWidget(m_editBirthMonth);
  birth->addWidget(new QLabel(QStringLiteral("月"), page));
  birth->addWidget(m_editBirthDay);
  birth->addWidget(new QLabel(QStringLiteral("日"), page));
  birth->addStretch();
  grid->addWidget(new QLabel(QStringLiteral("お誕生日"), page), 4, 0);
  grid->addLayout(birth, 4, 1, 1, 2);

  m_labelCreate = new QLabel(page);
  m_labelCreate->setObjectName(QStringLiteral("LabelCreate"));
  grid->addWidget(new QLabel(QStringLiteral("通帳作成日："), page), 5, 0);
  grid->addWidget(m_labelCreate, 5, 1, 1, 2);

  auto* closing = new QGroupBox(QStringLiteral("標準の締め日"), page);
  closing->setObjectName(QStringLiteral("GroupBox2"));
  m_lastDay = new QComboBox(closing);
  m_lastDay->setObjectName(QStringLiteral("CBlastDay"));
  for (int day = 1; day <= 31; ++day) m_lastDay->addItem(QString::number(day));
  m_nextMonth = new QCheckBox(QStringLiteral("次月にする"), closing);
  m_nextMonth->setObjectName(QStringLiteral("CBnextmonth"));
  auto* example = new QLabel(QStringLiteral("参考：実際の期間例"), closing);
  example->setObjectName(QStringLiteral("LB"));
  example->setStyleSheet(QStringLiteral("color: gray"));
  m_month1 = new QLabel(closing);
  m_month1->setObjectName(QStringLiteral("LBmonth1"));
  m_month2 = new QLabel(closing);
  m_month2->setObjectName(QStringLiteral("LBmonth2"));
  auto* closingLayout = new QGridLayout(closing);
  closingLayout->addWidget(m_lastDay, 0, 0);
  closingLayout->addWidget(m_nextMonth, 0, 1);
  closingLayout->addWidget(example, 1, 0, 1, 2);
  closingLayout->addWidget(m_month1, 2, 0, 1, 2);
  closingLayout->addWidget(m_month2, 3, 0, 1, 2);
  grid->addWidget(closing, 6, 0, 1, 3);
  connect(m_lastDay, &QComboBox::currentIndexChanged, this, [this] { UpdateExample(); });
  connect(m_nextMonth, &QCheckBox::toggled, this, [this] { UpdateExample(); });
  return page;
}

QWidget* TFmInfo::CreateHeadPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TShead"));
  m_grid = new TorvDrawGrid(page);
  m_grid->setObjectName(QStringLiteral("Grid"));
  m_grid->setAccessibleName(QStringLiteral("項目の一覧"));
  m_grid->SetColCount(2);
  m_grid->SetRowCount(1);
  m_grid->SetFixedCols(0);
  m_grid->SetFixedRows(0);
  m_grid->SetDefaultRowHeight(kRowHeight);
  m_grid->SetOptions(TGridOptions{TGridOption::goRowSelect, TGridOption::goThumbTracking});
  m_grid->SetScrollBars(TScrollStyle::ssVertical);
  const int unit = QFontMetrics(font()).height() + 5;
  m_grid->SetColWidths(0, unit / 2);
  m_grid->SetColWidths(1, unit * 7);
  m_grid->setFixedSize(unit / 2 + unit * 7 + 24, kRowHeight * 16 + 4);

  auto* add = new QPushButton(QStringLiteral("新規追加(&A)"), page);
  add->setObjectName(QStringLiteral("ButtonAdd"));
  auto* reset = new QPushButton(QStringLiteral("全て元に戻す"), page);
  reset->setObjectName(QStringLiteral("ButtonReset"));

  auto* selectedBox = new QGroupBox(QStringLiteral("選択項目"), page);
  selectedBox->setObjectName(QStringLiteral("GroupBox1"));
  m_editHead = new QLineEdit(selectedBox);
  m_editHead->setObjectName(QStringLiteral("EditHead"));
  m_editHead->setMaxLength(kNameLength);
  m_labelInfo = new QLabel(selectedBox);
  m_labelInfo->setObjectName(QStringLiteral("LabelInfo"));
  m_kindBox = new QGroupBox(QStringLiteral("分類"), selectedBox);
  m_kindBox->setObjectName(QStringLiteral("RadioGroup1"));
  m_radioGroup1 = new QButtonGroup(m_kindBox);
  auto* kindLayout = new QVBoxLayout(m_kindBox);
  for (int kind : kKindChoices) {
    auto* radio = new QRadioButton(Q(KindNames()[static_cast<size_t>(kind)]), m_kindBox);
    m_radioGroup1->addButton(radio, kind);
    kindLayout->addWidget(radio);
  }
  m_checkBox1 = new QCheckBox(QStringLiteral("表示する"), selectedBox);
  m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
  auto* up = new QPushButton(QStringLiteral("上へ(&U)"), selectedBox);
  up->setObjectName(QStringLiteral("ButtonUp"));
  auto* down = new QPushButton(QStringLiteral("下へ(&D)"), selectedBox);
  down->setObjectName(QStringLiteral("ButtonDown"));
  m_buttonRemove = new QPushButton(QStringLiteral("削除(&R)"), selectedBox);
  m_buttonRemove->setObjectName(QStringLiteral("ButtonRemove"));
  m_buttonCard = new QPushButton(QStringLiteral("カードの設定(&K)…"), selectedBox);
  m_buttonCard->setObjectName(QStringLiteral("ButtonCard"));
  auto* boxLayout = new QVBoxLayout(selectedBox);
  boxLayout->addWidget(m_editHead);
  boxLayout->addWidget(m_labelInfo);
  boxLayout->addWidget(m_kindBox);
  boxLayout->addWidget(m_checkBox1);
  auto* moves = new QHBoxLayout;
  moves->addWidget(up);
  moves->addWidget(down);
  boxLayout->addLayout(moves);
  boxLayout->addWidget(m_buttonRemove);
  boxLayout->addWidget(m_buttonCard);

  auto* right = new QVBoxLayout;
  right->addWidget(add);
  right->addWidget(reset);
  right->addWidget(selectedBox);
  right->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(m_grid, 0, Qt::AlignTop);
  layout->addLayout(right);

  connect(add, &QPushButton::clicked, this, [this] { ButtonAddClick(); });
  connect(reset, &QPushButton::clicked, this, [this] { ButtonResetClick(); });
  connect(m_buttonRemove, &QPushButton::clicked, this, [this] { ButtonRemoveClick(); });
  connect(m_buttonCard, &QPushButton::clicked, this, [this] { ButtonCardClick(); });
  connect(up, &QPushButton::clicked, this, [this] {
    int row = m_grid->Row();
    m_rows.MoveUp(row);
    SelectRow(row);
  });
  connect(down, &QPushButton::clicked, this, [this] {
    int row = m_grid->Row();
    m_rows.MoveDown(row);
    SelectRow(row);
  });
  ConnectHeadPage();
  return page;
}

void TFmInfo::ConnectHeadPage() {
  m_grid->OnDrawCell = [this](TorvCustomDrawGrid& grid, QPainter& canvas, int col, int row, const QRect& rect,
                              TGridDrawState) { DrawRow(grid, canvas, col, row, rect); };
  // Read aloud, a row says its category, its kind and whether it is hidden; the marker column
  // says nothing.
  m_grid->OnSpokenCell = [this](int col, int row) {
    if (col != 1 || row < 0 || row >= m_rows.Count()) return QString();
    const TCategoryRow& data = m_rows.Row(row);
    const std::vector<std::string>& kinds = KindNames();
    QString text = Q(data.name);
    if (data.kind >= 0 && data.kind < static_cast<int>(kinds.size())) text += QLatin1Char(' ') + Q(kinds[static_cast<size_t>(data.kind)]);
    return data.visible ? text : text + QStringLiteral(" 非表示");
  };
  // The grid asks before it moves; the handling runs once the new row is current.
  m_grid->OnSelectCell = [this](TorvCustomDrawGrid&, int, int, bool&) {
    if (!m_updating) QMetaObject::invokeMethod(this, [this] { SelectionChanged(); }, Qt::QueuedConnection);
  };
  connect(m_editHead, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int row = m_grid->Row();
    if (row < 0 || row >= m_rows.Count()) return;
    m_rows.Row(row).name = text.toStdString();
    m_grid->InvalidateRow(row);
  });
  connect(m_radioGroup1, &QButtonGroup::idClicked, this, [this](int kind) {
    const int row = m_grid->Row();
    if (row < 0 || row >= m_rows.Count() || TCategoryRows::IsFixedKind(m_rows.Row(row).kind)) return;
    m_rows.Row(row).kind = kind;
    m_grid->InvalidateRow(row);
    m_buttonCard->setEnabled(kind == kKindAsset && !m_isNew && !CurrentProfile().Folder().empty());
  });
  connect(m_checkBox1, &QCheckBox::clicked, this, [this](bool checked) {
    const int row = m_grid->Row();
    if (row < 0 || row >= m_rows.Count()) return;
    m_rows.Row(row).visible = checked;
    m_grid->InvalidateRow(row);
  });
}

void TFmInfo::LoadPages(const TPassbookInfo& info, THeadList& list) {
  m_info = info;
  m_list = &list;
  m_editFolder->setText(Q(info.name));
  m_editName->setText(Q(info.ownerName));
  m_editUse->setText(Q(info.purpose));
  m_editBirthMonth->setText(QString::number(info.birthMonth));
  m_editBirthDay->setText(QString::number(info.birthDay));
  m_labelCreate->setText(SlashDate(info.created));
  m_lastDay->setCurrentIndex(std::clamp(info.closingDay, 1, 31) - 1);
  m_nextMonth->setChecked(info.endsNextMonth);
  UpdateExample();
  ButtonResetClick();
  FocusPage();
}

void TFmInfo::SetPage(int page) {
  m_pages->setCurrentWidget(page == 1 ? m_headPage : m_infoPage);
  FocusPage();
}

// The window opens ready to type: in the passbook name with its text selected, or in the
// category grid.
void TFmInfo::FocusPage() {
  if (m_pages->currentWidget() == m_headPage) {
    m_grid->setFocus();
    return;
  }
  m_editFolder->setFocus();
  m_editFolder->selectAll();
}

void TFmInfo::NewPassbookWizard() {
  m_isNew = true;
  m_wizardFirstStep = true;
  setWindowTitle(QStringLiteral("新規通帳作成"));
  m_buttonOK->setText(QStringLiteral("次へ"));
  m_pages->setTabVisible(m_pages->indexOf(m_headPage), false);
  m_pages->setCurrentWidget(m_infoPage);
  FocusPage();
}

void TFmInfo::UpdateExample() {
  const TExamplePeriod example = ExamplePeriod(Today(), m_lastDay->currentIndex() + 1, m_nextMonth->isChecked());
  m_month1->setText(Q(example.caption));
  m_month2->setText(Q(example.period));
}

void TFmInfo::ButtonResetClick() {
  if (!m_list) return;
  m_rows.Load(*m_list);
  SelectRow(0);
}

void TFmInfo::RefreshGrid(int selected) {
  m_updating = true;
  m_grid->SetRowCount(std::max(m_rows.Count(), 1));
  m_grid->SetRow(std::clamp(selected, 0, m_grid->RowCount() - 1));
  m_grid->InvalidateGrid();
  m_updating = false;
}

// Shows the selected row in the controls beside the grid and drops rows whose name was
// cleared.
void TFmInfo::SelectRow(int row) {
  m_rows.RemoveEmptyRows(row);
  RefreshGrid(row);
  if (row < 0 || row >= m_rows.Count()) return;
  const TCategoryRow& selected = m_rows.Row(row);
  m_editHead->setText(Q(selected.name));
  m_checkBox1->setChecked(selected.visible);
  const bool editable = !TCategoryRows::IsFixedKind(selected.kind);
  m_labelInfo->setText(editable ? QStringLiteral("編集可能") : QStringLiteral("編集不可：固定項目"));
  m_radioGroup1->setExclusive(false);
  for (QAbstractButton* button : m_radioGroup1->buttons()) {
    button->setChecked(editable && m_radioGroup1->id(button) == selected.kind);
  }
  m_radioGroup1->setExclusive(true);
  m_editHead->setEnabled(editable);
  m_kindBox->setEnabled(editable);
  m_buttonRemove->setEnabled(editable);
  // Card settings live in a file of the open passbook: a wizard's passbook has none yet.
  m_buttonCard->setEnabled(selected.kind == kKindAsset && !m_isNew && !CurrentProfile().Folder().empty());
}

void TFmInfo::ButtonCardClick() {
  const int row = m_grid->Row();
  if (row < 0 || row >= m_rows.Count() || m_rows.Row(row).kind != kKindAsset) return;
  // The 引落口座 is chosen among the categories as they stand in this window.
  THeadList categories;
  for (int i = 0; i < m_rows.Count(); ++i) categories.AddKey(MakeKey(m_rows.Row(i).name, m_rows.Row(i).kind));
  (void)EditCardSettings(CurrentProfile().Folder(), m_rows.Row(row).name, categories, this);
}

void TFmInfo::SelectionChanged() {
  if (!m_updating) SelectRow(m_grid->Row());
}

void TFmInfo::DrawRow(TorvCustomDrawGrid& grid, QPainter& canvas, int col, int row, const QRect& rect) {
  if (row >= m_rows.Count()) return;
  const TCategoryRow& data = m_rows.Row(row);
  TColorsList& colors = ColorScheme();
  canvas.fillRect(rect, ToQColor(colors.GetColor(RowColorKey(data.kind))));
  if (col == 1) {
    canvas.setPen(data.visible ? ToQColor(colors.GetColor("月間表示\\文字\\通常")) : QColor(0xC0, 0xC0, 0xC0));
    const QFontMetrics metrics(canvas.font());
    const auto measure = [&metrics](std::string_view text) {
      return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    const std::string text = FitText(data.name, measure, rect.width() - 2);
    canvas.drawText(rect.left() + 2, rect.top() + 2 + metrics.ascent(), Q(text));
  }
  canvas.setPen(ToQColor(colors.GetColor("月間表示\\ライン")));
  canvas.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
  if (col == 0 && row == grid.Row()) {
    // The marker of the selected row: a blue triangle pointing right.
    const int k = (rect.height() - 4) / 2;
    const QPoint corners[] = {{rect.left() + 1, rect.top() + 1},
                              {rect.left() + k + 1, rect.top() + k + 1},
                              {rect.left() + 1, rect.top() + 2 * k + 1}};
    canvas.setPen(Qt::blue);
    canvas.setBrush(Qt::blue);
    canvas.drawPolygon(corners, 3);
  }
}

void TFmInfo::ButtonAddClick() {
  int row = m_grid->Row();
  const std::string message = m_rows.Add(row);
  if (!message.empty()) {
    WindowSystem().Notify(message);
    return;
  }
  SelectRow(row);
}

void TFmInfo::ButtonRemoveClick() {
  int row = m_grid->Row();
  const std::string message = m_rows.Remove(row);
  if (!message.empty()) {
    WindowSystem().Notify(message);
    return;
  }
  SelectRow(row);
}

TPassbookInfo TFmInfo::TypedInfo() const {
  TPassbookInfo info = m_info;
  // A name as loaded stays its own bytes: a folder name that is not valid UTF-8 would come
  // back from the edit as other bytes, and OK would rename a folder nobody renamed.
  if (m_editFolder->text() != Q(m_info.name)) info.name = m_editFolder->text().toStdString();
  info.ownerName = m_editName->text().toStdString();
  info.purpose = m_editUse->text().toStdString();
  info.birthMonth = ParseBirthField(m_editBirthMonth->text().toStdString());
  info.birthDay = ParseBirthField(m_editBirthDay->text().toStdString());
  info.closingDay = m_lastDay->currentIndex() + 1;
  info.endsNextMonth = m_nextMonth->isChecked();
  return info;
}

void TFmInfo::ButtonOKClick() {
  // A name cleared just before pressing OK must not reach the checks.
  int row = m_grid->Row();
  m_rows.RemoveEmptyRows(row);
  RefreshGrid(row);
  const TPassbookInfo typed = TypedInfo();
  const std::vector<std::string> messages = CheckPassbookInfo(m_rows, typed, m_info.name, m_isNew);
  for (const std::string& message : messages) WindowSystem().Notify(message);
  if (!messages.empty()) return;
  if (m_wizardFirstStep) {
    m_wizardFirstStep = false;
    m_pages->setTabVisible(m_pages->indexOf(m_infoPage), false);
    m_pages->setTabVisible(m_pages->indexOf(m_headPage), true);
    m_pages->setCurrentWidget(m_headPage);
    m_buttonOK->setText(QStringLiteral("ＯＫ"));
    SelectRow(m_grid->Row());
    // The hidden name edit would hand the focus to キャンセル, and Enter would throw the
    // new passbook away.
    FocusPage();
    return;
  }
  m_info = typed;
  m_cancelled = false;
  accept();
}

}  // namespace kzm::ui
