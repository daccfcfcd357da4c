#include "ui/statement/LedgerImportWindow.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "controls/Fonts.h"
#include "controls/UiBasics.h"
#include "foundation/Codec.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "ui/common/BackupRuns.h"
#include "ui/common/DataWindows.h"
#include "ui/statement/FileRow.h"
#include "ui/statement/ImportActions.h"

namespace kzm::ui {

namespace {

QTableWidget* NewTable(const QStringList& headers, const char* name, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->horizontalHeader()->setStretchLastSection(true);
  table->setTabKeyNavigation(false);  // Tab leaves the table, as in every grid of the program
  return table;
}

// Sets a cell's text, keeping its item: an item replaced under an open editor would take the
// user's typing with it.
void SetCell(QTableWidget* table, int row, int column, const QString& text, bool editable = false) {
  QTableWidgetItem* item = table->item(row, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    table->setItem(row, column, item);
  }
  item->setText(text);
}

QString KindText(const TLedgerMapLine& line) {
  return line.account ? QStringLiteral("口座→資産") : Q(KindNames().at(static_cast<size_t>(line.kind)));
}

QString KeysText(const std::vector<std::string>& keys) {
  QString text;
  for (const std::string& key : keys) {
    if (!text.isEmpty()) text += QStringLiteral("、");
    text += Q(KeyName(key) + "（" + KindNames().at(static_cast<size_t>(KeyKind(key))) + "）");
  }
  return text;
}

}  // namespace

TFmLedgerImport::TFmLedgerImport(const THeadList& categories, TkzmDataUnit& data, std::string passbookFolder,
                                 const QString& path, QWidget* parent)
    : QDialog(parent), m_categories(categories), m_data(data), m_folder(std::move(passbookFolder)) {
  setObjectName(QStringLiteral("FmLedgerImport"));
  setWindowTitle(QStringLiteral("ほかの家計簿から引っ越し"));
  setFont(ProgramFont(9));
  std::string error;
  if (!m_ids.Load(m_folder, error)) WindowSystem().Notify(error);
  CreateControls();
  resize(820, 560);
  if (!path.isEmpty()) {
    m_file->setText(path);
    ButtonReadClick();
  }
}

TFmLedgerImport::~TFmLedgerImport() = default;

void TFmLedgerImport::CreateControls() {
  const TFileRow fileRow = NewFileRow({QStringLiteral("書き出したファイル(&F)"), QStringLiteral("書き出したファイルを選ぶ"),
                                       QStringLiteral("CSV (*.csv *.txt);;すべてのファイル (*)")},
                                      this, [this] { ButtonReadClick(); });
  m_file = fileRow.file;
  m_format = new QLabel(this);
  m_format->setObjectName(QStringLiteral("LabelFormat"));

  m_mapping = NewTable({QStringLiteral("種類"), QStringLiteral("書き出しの名前"), QStringLiteral("行数"),
                        QStringLiteral("この通帳の項目（変えられます）")},
                       "TableMapping", this);
  m_mapping->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
  connect(m_mapping, &QTableWidget::itemChanged, this, &TFmLedgerImport::MapItemChanged);
  auto* mappingLabel = new QLabel(QStringLiteral("口座と項目の対応(&M)"), this);
  mappingLabel->setBuddy(m_mapping);
  m_mapping->setAccessibleName(QStringLiteral("口座と項目の対応"));  // a table takes no name from its label

  m_rows = NewTable({QStringLiteral("取り込む"), QStringLiteral("日付"), QStringLiteral("内容"), QStringLiteral("金額"),
                     QStringLiteral("項目"), QStringLiteral("口座"), QStringLiteral("判定")},
                    "TableRows", this);
  m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_rows->installEventFilter(this);
  connect(m_rows, &QTableWidget::cellClicked, this, [this](int, int column) {
    if (column == 0) ToggleCurrentRow();
  });
  auto* rowsLabel = new QLabel(QStringLiteral("書き出しの行(&G)　Space で取り込む・取り込まないを切り替えます"), this);
  rowsLabel->setBuddy(m_rows);
  m_rows->setAccessibleName(QStringLiteral("書き出しの行"));

  m_counts = new QLabel(this);
  m_counts->setObjectName(QStringLiteral("LabelCounts"));
  m_added = new QLabel(this);
  m_added->setObjectName(QStringLiteral("LabelAdded"));
  m_added->setWordWrap(true);
  m_lastImport = new QLabel(this);
  m_lastImport->setObjectName(QStringLiteral("LabelLastImport"));
  m_lastImport->setWordWrap(true);
  m_importButton = NewButton("取り込む(&I)", "ButtonImport", this);
  QPushButton* undo = NewUndoButton(this, m_data, m_folder, m_ids, [this] {
    ShowLastImport();
    Classify();
  });
  QPushButton* close = NewButton("閉じる", "ButtonClose", this);
  connect(m_importButton, &QPushButton::clicked, this, &TFmLedgerImport::ButtonImportClick);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* top = new QGridLayout;
  PlaceFileRow(top, 0, fileRow);
  top->addWidget(m_format, 1, 1, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_counts, 1);
  buttons->addWidget(m_importButton);
  buttons->addWidget(undo);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(mappingLabel);
  layout->addWidget(m_mapping, 2);
  layout->addWidget(rowsLabel);
  layout->addWidget(m_rows, 3);
  layout->addWidget(m_added);
  layout->addWidget(m_lastImport);
  layout->addLayout(buttons);
  ShowCounts();
  ShowLastImport();
}

bool TFmLedgerImport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_rows && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    ToggleCurrentRow();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFmLedgerImport::ButtonReadClick() {
  TLedgerImport import;
  std::string error;
  if (!import.Read(m_file->text().toStdString(), error)) {
    WindowSystem().Notify(error);
    return;
  }
  m_import = std::move(import);
  m_format->setText(QStringLiteral("形式: ") + Q(m_import.FormatName()));
  Classify();
  m_mapping->setCurrentCell(0, 3);
  m_mapping->setFocus();
}

void TFmLedgerImport::Classify() {
  m_import.Classify(m_ids, m_data);
  ShowMapping();
  ShowRows();
  ShowCounts();
}

void TFmLedgerImport::ShowMapping() {
  // Filling the table is no edit of a name.
  const QSignalBlocker block(m_mapping);
  const int current = m_mapping->currentRow();
  m_lines = m_import.MapLines();
  m_mapping->setRowCount(static_cast<int>(m_lines.size()));
  for (int r = 0; r < static_cast<int>(m_lines.size()); ++r) {
    const TLedgerMapLine& line = m_lines[static_cast<size_t>(r)];
    const std::string theirs = line.lower.empty() ? line.upper : line.upper + "／" + line.lower;
    SetCell(m_mapping, r, 0, KindText(line));
    SetCell(m_mapping, r, 1, Q(theirs.empty() ? "（なし）" : theirs));
    SetCell(m_mapping, r, 2, QString::number(line.rows));
    SetCell(m_mapping, r, 3, Q(line.ours), true);
  }
  if (current >= 0 && current < m_mapping->rowCount()) m_mapping->setCurrentCell(current, 3);
  // Sized to the names but for the last column, which keeps the room left.
  for (int col = 0; col + 1 < m_mapping->columnCount(); ++col) m_mapping->resizeColumnToContents(col);
}

void TFmLedgerImport::ShowRows() {
  const int current = m_rows->currentRow();
  m_rows->setRowCount(m_import.Count());
  for (int r = 0; r < m_import.Count(); ++r) {
    const TLedgerImportRow& row = m_import.Row(r);
    const bool bookable = row.Bookable();
    const TkzmEntry& entry = row.entry;
    SetCell(m_rows, r, 0, row.ticked ? QStringLiteral("✓") : QString());
    SetCell(m_rows, r, 1, bookable ? Q(FormatDateSlashed(entry.date)) : QStringLiteral("-"));
    SetCell(m_rows, r, 2, Q(bookable ? entry.itemText : row.row.text));
    SetCell(m_rows, r, 3, bookable ? Q(FormatThousands(entry.amount)) : QString());
    m_rows->item(r, 3)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetCell(m_rows, r, 4, bookable ? Q(KeyName(entry.categoryKey)) : QString());
    SetCell(m_rows, r, 5, bookable ? Q(KeyName(entry.accountKey)) : QString());
    const QString mark = !bookable     ? Q(std::to_string(row.row.line) + "行目: " + row.problem)
                         : row.already ? QStringLiteral("取り込み済み")
                                       : QStringLiteral("新規");
    SetCell(m_rows, r, 6, mark);
  }
  m_rows->setCurrentCell(std::clamp(current, 0, std::max(0, m_import.Count() - 1)), 0);
}

void TFmLedgerImport::ShowCounts() {
  const TLedgerCounts counts = m_import.Counts();
  QString text = QStringLiteral("%1行・取り込む %2・取り込み済み %3・取り込まない %4")
                     .arg(counts.rows)
                     .arg(counts.ticked)
                     .arg(counts.already)
                     .arg(counts.notBookable);
  if (!counts.reasons.empty()) text += QStringLiteral("\n取り込まない行: ") + Q(counts.reasons);
  m_counts->setText(text);
  const QString added = KeysText(m_import.CategoriesToAdd(m_categories));
  m_added->setText(added.isEmpty() ? QString() : QStringLiteral("取り込むと通帳に加わる項目: ") + added);
  m_importButton->setEnabled(counts.ticked > 0);
}

void TFmLedgerImport::ShowLastImport() { ShowIncompleteImport(*m_lastImport, m_folder); }

void TFmLedgerImport::MapItemChanged(QTableWidgetItem* item) {
  if (item->column() != 3 || item->row() >= static_cast<int>(m_lines.size())) return;
  const std::string name(Trim(item->text().toStdString()));
  std::string bytes;
  std::string badChar;
  if (!EncodeCp932(name, bytes, &badChar)) {
    // The name would be stored in the passbook's files, which cannot hold it.
    WindowSystem().Notify("「" + badChar + "」は通帳に保存できない文字のため、項目の名前に使えません。");
  } else {
    m_import.Choose(m_lines[static_cast<size_t>(item->row())], name);
  }
  // Not from inside the table's own signal, while Qt still holds the edited item.
  QMetaObject::invokeMethod(this, [this] { Classify(); }, Qt::QueuedConnection);
}

void TFmLedgerImport::ToggleCurrentRow() {
  const int row = m_rows->currentRow();
  if (row < 0 || row >= m_import.Count()) return;
  m_import.SetTicked(row, !m_import.Row(row).ticked);
  m_rows->item(row, 0)->setText(m_import.Row(row).ticked ? QStringLiteral("✓") : QString());
  ShowCounts();
}

void TFmLedgerImport::ButtonImportClick() {
  if (m_import.Counts().ticked == 0) return;
  // Open windows may hold typed days of these months; they are stored before the import.
  if (!SaveAllDataWindows()) return;
  if (!BackupBeforeChange(TBackupReason::brImport)) return;
  const TBookOutcome outcome = BookLedgerImport(m_import, m_data, m_folder, m_ids);
  ShowLastImport();
  TellImportOutcome(outcome.failed || outcome.carryFailed, outcome.message);
  Classify();
}

}  // namespace kzm::ui
