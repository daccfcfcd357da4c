#include "ui/statement/ColumnMappingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/Fonts.h"
#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "statement/StatementPresets.h"
#include "statement/StatementReader.h"

namespace kzm::ui {

namespace {

// A cell as a combo box shows it beside its column number: short, on one line.
QString Sample(const std::string& cell) {
  QString text = Q(cell).simplified();
  if (text.size() > 16) text = text.left(15) + QStringLiteral("…");
  return text;
}

QComboBox* NewColumnBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

}  // namespace

TFmColumnMapping::TFmColumnMapping(std::vector<TStatementRecord> head, const QString& explanation,
                                   const TStatementLayout* start, std::vector<std::string> presetNames,
                                   QWidget* parent)
    : QDialog(parent), m_head(std::move(head)), m_presetNames(std::move(presetNames)) {
  setObjectName(QStringLiteral("FmColumnMapping"));
  setWindowTitle(QStringLiteral("列の割り当て"));
  setFont(ProgramFont(9));
  CreateControls(explanation);
  FillLines();
  SkipChanged();
  if (start) Start(*start);
  ShowMapping();
  m_date->setFocus();
  resize(660, 640);
}

void TFmColumnMapping::CreateControls(const QString& explanation) {
  m_lines = new QTableWidget(this);
  m_lines->setObjectName(QStringLiteral("TableLines"));
  m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_lines->setTabKeyNavigation(false);
  // Compact rows, so that a preamble, the header and some rows show at once.
  m_lines->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  m_lines->setMinimumHeight(8 * (fontMetrics().height() + 6));
  auto* linesLabel = new QLabel(QStringLiteral("ファイルの先頭の行(&V)"), this);
  linesLabel->setBuddy(m_lines);

  m_skip = new QSpinBox(this);
  m_skip->setObjectName(QStringLiteral("SpinSkip"));
  const int lastLine = m_head.empty() ? 0 : m_head.back().line;
  m_skip->setRange(0, std::clamp(lastLine - 1, 0, kHeaderSearchLines - 1));
  m_skip->setSuffix(QStringLiteral(" 行"));
  m_header = new QCheckBox(QStringLiteral("読み飛ばす最後の行（見出し）で、この形式のファイルを見分ける(&H)"), this);
  m_header->setObjectName(QStringLiteral("CheckHeader"));

  m_date = NewColumnBox("ComboDate", this);
  m_text = NewColumnBox("ComboText", this);
  m_out = NewColumnBox("ComboOut", this);
  m_in = NewColumnBox("ComboIn", this);
  m_amount = NewColumnBox("ComboAmount", this);
  m_id = NewColumnBox("ComboId", this);
  m_card = new QCheckBox(QStringLiteral("プラスの金額を支出として読む（カードの明細）(&C)"), this);
  m_card->setObjectName(QStringLiteral("CheckCard"));
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("EditName"));
  m_mapping = new QLabel(this);
  m_mapping->setObjectName(QStringLiteral("LabelMapping"));
  m_mapping->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("読み飛ばす先頭の行数(&S)"), m_skip);
  form->addRow(QString(), m_header);
  form->addRow(QStringLiteral("日付の列(&D)"), m_date);
  form->addRow(QStringLiteral("内容（摘要）の列(&T)"), m_text);
  form->addRow(QStringLiteral("出金の列(&O)"), m_out);
  form->addRow(QStringLiteral("入金の列(&I)"), m_in);
  form->addRow(QStringLiteral("出入金がひとつの列(&A)"), m_amount);
  form->addRow(QString(), m_card);
  form->addRow(QStringLiteral("明細番号の列（あれば）(&E)"), m_id);
  form->addRow(QStringLiteral("プリセット名(&P)"), m_name);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonOk"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &TFmColumnMapping::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  if (!explanation.isEmpty()) {
    auto* why = new QLabel(explanation + QStringLiteral("\nどの列に何があるかを選んでください。"), this);
    why->setObjectName(QStringLiteral("LabelExplanation"));
    why->setWordWrap(true);
    layout->addWidget(why);
  }
  layout->addWidget(linesLabel);
  layout->addWidget(m_lines, 1);
  layout->addLayout(form);
  layout->addWidget(m_mapping);
  layout->addWidget(buttons);

  connect(m_skip, &QSpinBox::valueChanged, this, &TFmColumnMapping::SkipChanged);
  for (QComboBox* box : {m_date, m_text, m_out, m_in, m_amount, m_id}) {
    connect(box, &QComboBox::currentIndexChanged, this, &TFmColumnMapping::ShowMapping);
  }
  connect(m_header, &QCheckBox::toggled, this, &TFmColumnMapping::ShowMapping);
  connect(m_card, &QCheckBox::toggled, this, &TFmColumnMapping::ShowMapping);
}

int TFmColumnMapping::ColumnCount() const {
  size_t columns = 0;
  for (const TStatementRecord& record : m_head) columns = std::max(columns, record.cells.size());
  return static_cast<int>(std::min<size_t>(columns, 64));
}

void TFmColumnMapping::FillLines() {
  const int columns = ColumnCount();
  m_lines->setColumnCount(columns);
  m_lines->setRowCount(static_cast<int>(m_head.size()));
  QStringList captions;
  for (int c = 0; c < columns; ++c) captions << QStringLiteral("%1列目").arg(c + 1);
  m_lines->setHorizontalHeaderLabels(captions);
  QStringList lines;
  for (size_t r = 0; r < m_head.size(); ++r) {
    lines << QString::number(m_head[r].line);
    const std::vector<std::string>& cells = m_head[r].cells;
    for (int c = 0; c < columns && static_cast<size_t>(c) < cells.size(); ++c) {
      m_lines->setItem(static_cast<int>(r), c, new QTableWidgetItem(Q(cells[static_cast<size_t>(c)]).simplified()));
    }
  }
  m_lines->setVerticalHeaderLabels(lines);
  m_lines->resizeColumnsToContents();
}

// The column lists show each column with its cell in the first line that is read as a row;
// skipped lines are greyed in the table.
void TFmColumnMapping::SkipChanged() {
  const int skip = m_skip->value();
  const TStatementRecord* sample = nullptr;
  for (size_t r = 0; r < m_head.size(); ++r) {
    const bool skipped = m_head[r].line <= skip;
    if (!skipped && !sample) sample = &m_head[r];
    for (int c = 0; c < m_lines->columnCount(); ++c) {
      if (QTableWidgetItem* item = m_lines->item(static_cast<int>(r), c)) {
        item->setForeground(skipped ? palette().brush(QPalette::Disabled, QPalette::Text)
                                    : palette().brush(QPalette::Active, QPalette::Text));
      }
    }
  }
  for (QComboBox* box : {m_date, m_text, m_out, m_in, m_amount, m_id}) {
    const int chosen = std::max(0, box->currentIndex());
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItem(QStringLiteral("（なし）"));
    for (int c = 0; c < m_lines->columnCount(); ++c) {
      const bool has = sample && static_cast<size_t>(c) < sample->cells.size();
      box->addItem(QStringLiteral("%1列目：").arg(c + 1) + (has ? Sample(sample->cells[static_cast<size_t>(c)]) : QString()));
    }
    box->setCurrentIndex(std::min(chosen, box->count() - 1));
  }
  m_header->setEnabled(skip > 0);
  ShowMapping();
}

void TFmColumnMapping::Start(const TStatementLayout& layout) {
  m_startName = layout.name;
  m_name->setText(Q(layout.name));
  m_skip->setValue(layout.skipLines);
  m_header->setChecked(!layout.signature.empty());
  m_card->setChecked(layout.spendingPositive);
  const std::pair<QComboBox*, const TColumnRef*> boxes[] = {{m_date, &layout.date}, {m_text, &layout.text},
                                                           {m_out, &layout.out},   {m_in, &layout.in},
                                                           {m_amount, &layout.signed_}, {m_id, &layout.id}};
  for (const auto& [box, ref] : boxes) {
    if (ref->names.empty() && ref->index + 1 < box->count()) box->setCurrentIndex(ref->index + 1);
  }
}

TColumns TFmColumnMapping::ChosenColumns() const {
  TColumns columns;
  columns.date = m_date->currentIndex() - 1;
  columns.text = m_text->currentIndex() - 1;
  columns.out = m_out->currentIndex() - 1;
  columns.in = m_in->currentIndex() - 1;
  columns.signed_ = m_amount->currentIndex() - 1;
  columns.id = m_id->currentIndex() - 1;
  return columns;
}

// The last skipped line is the header when the user says so.
std::vector<std::string> TFmColumnMapping::HeaderCells() const {
  if (!m_header->isChecked() || m_skip->value() == 0) return {};
  const TStatementRecord* header = nullptr;
  for (const TStatementRecord& record : m_head) {
    if (record.line <= m_skip->value()) header = &record;
  }
  return header ? header->cells : std::vector<std::string>();
}

void TFmColumnMapping::ShowMapping() {
  const std::string mapping = ColumnMappingText(ChosenColumns(), m_card->isChecked(), m_skip->value(), HeaderCells());
  m_mapping->setText(QStringLiteral("コマンドでは: --columns \"") + Q(mapping) + QStringLiteral("\""));
}

void TFmColumnMapping::accept() {
  const std::string name(Trim(m_name->text().toStdString()));
  const TColumns columns = ChosenColumns();
  std::string error;
  const std::string mapping = ColumnMappingText(columns, m_card->isChecked(), m_skip->value(), HeaderCells());
  // The same rules as the command line's --columns, and their messages.
  if (!ParseColumnMapping(name, mapping, m_layout, error)) {
    WindowSystem().Notify(error);
    return;
  }
  const bool replaces = !SameText(name, m_startName) &&
                        std::any_of(m_presetNames.begin(), m_presetNames.end(),
                                    [&](const std::string& kept) { return SameText(kept, name); });
  if (replaces && !WindowSystem().AskYesNo("プリセット「" + name + "」を、この列の割り当てで置き換えますか？")) return;
  QDialog::accept();
}

}  // namespace kzm::ui
