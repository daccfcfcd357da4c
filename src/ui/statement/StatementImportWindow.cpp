#include "ui/statement/StatementImportWindow.h"
#include "controls/UiBasics.h"
#include "ui/common/BackupRuns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls/Fonts.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "statement/StatementBalance.h"
#include "ui/common/DataWindows.h"
#include "ui/statement/ColumnMappingDialog.h"
#include "ui/statement/FileRow.h"
#include "ui/statement/ImportActions.h"
#include "ui/statement/LedgerImportWindow.h"
#include "ui/statement/StatementGrid.h"

namespace kzm::ui {

namespace {

// Category keys start with a byte that is no UTF-8; they travel as bytes, never as QString.
QVariant KeyData(const std::string& key) { return QByteArray::fromStdString(key); }
std::string KeyOf(const QVariant& data) { return data.toByteArray().toStdString(); }

}  // namespace

TFmStatementImport::TFmStatementImport(const THeadList& categories, TkzmDataUnit& data, std::string passbookFolder,
                                       QWidget* parent)
    : QDialog(parent), m_categories(categories), m_data(data), m_folder(std::move(passbookFolder)) {
  setObjectName(QStringLiteral("FmStatementImport"));
  setWindowTitle(QStringLiteral("明細の取り込み"));
  setFont(ProgramFont(9));
  m_presets.Load(m_folder);
  if (!m_presets.ReadError().empty()) WindowSystem().Notify(m_presets.ReadError());
  std::string error;
  // Each is loaded whatever the other gives: one never loaded would be written over empty.
  if (!m_rules.Load(m_folder, error)) WindowSystem().Notify(error);
  if (!m_ids.Load(m_folder, error)) WindowSystem().Notify(error);
  CreateControls();
  resize(760, 480);
}

TFmStatementImport::~TFmStatementImport() = default;

void TFmStatementImport::CreateControls() {
  const TFileRow fileRow = NewFileRow({QStringLiteral("明細ファイル(&F)"), QStringLiteral("明細ファイルを選ぶ"),
                                       QStringLiteral("明細 (*.csv *.txt);;すべてのファイル (*)")},
                                      this, [this] { ButtonReadClick(); });
  m_file = fileRow.file;

  m_preset = new QComboBox(this);
  m_preset->setObjectName(QStringLiteral("ComboPreset"));
  auto* presetLabel = new QLabel(QStringLiteral("プリセット(&P)"), this);
  presetLabel->setBuddy(m_preset);
  FillPresets();
  connect(m_preset, &QComboBox::activated, this, [this] {
    if (!m_file->text().isEmpty()) ButtonReadClick();
  });
  QPushButton* mapping = NewButton("列の割り当て(&M)…", "ButtonMapping", this);
  connect(mapping, &QPushButton::clicked, this, &TFmStatementImport::ButtonMappingClick);

  m_account = new QComboBox(this);
  m_account->setObjectName(QStringLiteral("ComboAccount"));
  auto* accountLabel = new QLabel(QStringLiteral("口座(&A)"), this);
  accountLabel->setBuddy(m_account);
  FillAccounts();
  connect(m_account, &QComboBox::activated, this, &TFmStatementImport::Classify);
  m_days = new QSpinBox(this);
  m_days->setObjectName(QStringLiteral("SpinDays"));
  m_days->setRange(0, 31);
  m_days->setValue(kDefaultDuplicateDays);
  m_days->setSuffix(QStringLiteral(" 日"));
  auto* daysLabel = new QLabel(QStringLiteral("重複とみなす前後の日数(&D)"), this);
  daysLabel->setBuddy(m_days);
  connect(m_days, &QSpinBox::valueChanged, this, [this] { Classify(); });
  m_layout = new QLabel(this);
  m_layout->setObjectName(QStringLiteral("LabelLayout"));
  auto* gridLabel = new QLabel(QStringLiteral("明細の行(&G)"), this);

  m_grid = new TStatementGrid(m_import, this);
  m_grid->OnTicksChanged = [this] { ShowCounts(); };
  m_grid->OnCurrentChanged = [this](int index) { ShowCurrentCategory(index); };
  m_grid->OnEditCategory = [this] {
    m_category->setFocus();
    m_category->showPopup();
  };
  gridLabel->setBuddy(m_grid);

  m_category = new QComboBox(this);
  m_category->setObjectName(QStringLiteral("ComboCategory"));
  auto* categoryLabel = new QLabel(QStringLiteral("選んだ行の項目(&C)"), this);
  categoryLabel->setBuddy(m_category);
  FillCategories();
  connect(m_category, &QComboBox::activated, this, &TFmStatementImport::CategoryChosen);
  // An offer, not a question per choice: arrow keys step through the list one choice at a
  // time, and the last choice is the rule that stays.
  m_learn = new QCheckBox(QStringLiteral("同じ内容の明細にもこの項目を使う（ルールとして覚える）(&L)"), this);
  m_learn->setObjectName(QStringLiteral("CheckLearn"));
  // Ticked after the category was chosen, it learns that choice: the order must not matter.
  connect(m_learn, &QCheckBox::toggled, this, [this](bool on) {
    if (on) LearnRow(m_grid->CurrentIndex());
  });

  m_counts = new QLabel(this);
  m_counts->setObjectName(QStringLiteral("LabelCounts"));
  m_lastImport = new QLabel(this);
  m_lastImport->setObjectName(QStringLiteral("LabelLastImport"));
  m_lastImport->setWordWrap(true);
  m_importButton = NewButton("取り込む(&I)", "ButtonImport", this);
  QPushButton* undo = NewUndoButton(this, m_data, m_folder, m_ids, [this] {
    ShowLastImport();
    Classify();
  });
  QPushButton* close = NewButton("閉じる", "ButtonClose", this);
  QPushButton* moveIn = NewButton("ほかの家計簿から引っ越し(&H)…", "ButtonLedger", this);
  connect(moveIn, &QPushButton::clicked, this, [this] { OpenMoveIn(QString()); });
  connect(m_importButton, &QPushButton::clicked, this, &TFmStatementImport::ButtonImportClick);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* top = new QGridLayout;
  PlaceFileRow(top, 0, fileRow);
  top->addWidget(presetLabel, 1, 0);
  top->addWidget(m_preset, 1, 1);
  top->addWidget(mapping, 1, 2, 1, 2);
  top->addWidget(accountLabel, 2, 0);
  auto* accountRow = new QHBoxLayout;
  accountRow->addWidget(m_account, 1);
  accountRow->addWidget(daysLabel);
  accountRow->addWidget(m_days);
  top->addLayout(accountRow, 2, 1);
  top->addWidget(gridLabel, 3, 0);
  top->addWidget(m_layout, 3, 1, 1, 3);
  auto* edit = new QHBoxLayout;
  edit->addWidget(categoryLabel);
  edit->addWidget(m_category, 1);
  edit->addWidget(m_learn);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(moveIn);
  buttons->addWidget(m_counts, 1);
  buttons->addWidget(m_importButton);
  buttons->addWidget(undo);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_grid, 1);
  layout->addLayout(edit);
  layout->addWidget(m_lastImport);
  layout->addLayout(buttons);
  // The move-in button stands first in the bottom row, so Tab reaches it first there too.
  setTabOrder(m_learn, moveIn);
  ShowCounts();
  ShowLastImport();
}

void TFmStatementImport::ShowLastImport() { ShowIncompleteImport(*m_lastImport, m_folder); }

void TFmStatementImport::FillAccounts() {
  for (int i = 0; i < m_categories.Count(); ++i) {
    if (m_categories.KindOf(i) == kKindAsset) m_account->addItem(Q(m_categories.DisplayName(i)), KeyData(m_categories.Items(i).key));
  }
}

void TFmStatementImport::FillCategories() {
  m_category->addItem(QStringLiteral("（未分類）"), KeyData(""));
  for (const int kind : {kKindPayment, kKindReceipt, kKindAsset}) {
    for (int i = 0; i < m_categories.Count(); ++i) {
      if (m_categories.KindOf(i) != kind) continue;
      m_category->addItem(Q(m_categories.DisplayName(i) + "（" + KindNames()[static_cast<size_t>(kind)] + "）"),
                          KeyData(m_categories.Items(i).key));
    }
  }
}

std::string TFmStatementImport::AccountKey() const { return KeyOf(m_account->currentData()); }

void TFmStatementImport::FillPresets() {
  const QString chosen = m_preset->currentData().toString();
  m_preset->clear();
  m_preset->addItem(QStringLiteral("(自動)"), QString());
  for (const TStatementLayout& preset : m_presets.Presets()) m_preset->addItem(Q(preset.name), Q(preset.name));
  m_preset->setCurrentIndex(std::max(0, m_preset->findData(chosen)));
}

void TFmStatementImport::ButtonReadClick() {
  std::vector<TStatementLayout> layouts;
  std::string error;
  if (!LayoutsFor(m_presets, m_preset->currentData().toString().toStdString(), layouts, error)) {
    WindowSystem().Notify(error);
    return;
  }
  TStatement statement;
  if (!ReadStatementFile(m_file->text().toStdString(), layouts, statement, error)) {
    // Another household ledger's export is no statement of one account: it has its own window.
    TLedgerImport ledger;
    std::string ledgerError;
    if (ledger.Read(m_file->text().toStdString(), ledgerError)) {
      if (WindowSystem().AskYesNo("このファイルは、ほかの家計簿サービスから書き出した記録です（" + ledger.FormatName() +
                                  "）。\n「ほかの家計簿から引っ越し」で開きますか？")) {
        OpenMoveIn(m_file->text());
      }
      return;
    }
    // A file of a layout not known yet is readable once its columns are mapped.
    if (statement.layoutUnknown) {
      MapColumns(Q(error));
    } else {
      WindowSystem().Notify(error);
    }
    return;
  }
  ShowStatement(std::move(statement));
}

void TFmStatementImport::ButtonMappingClick() {
  if (m_file->text().isEmpty()) {
    WindowSystem().Notify("先に明細ファイルを指定してください。");
    m_file->setFocus();
    return;
  }
  MapColumns(QString());
}

void TFmStatementImport::MapColumns(const QString& explanation) {
  const std::string path = m_file->text().toStdString();
  std::vector<TStatementRecord> head;
  std::string error;
  if (!ReadStatementHead(path, kHeaderSearchLines, head, error)) {
    WindowSystem().Notify(error);
    return;
  }
  TStatementLayout start;
  const std::string chosen = m_preset->currentData().toString().toStdString();
  bool hasStart = !chosen.empty() && m_presets.FindPreset(chosen, start);
  // Columns found by their names are where a correction starts.
  if (!hasStart && m_import.Statement().foundByNames) {
    start = m_import.Statement().mapping;
    hasStart = true;
  }
  std::vector<std::string> names;
  for (const TStatementLayout& preset : m_presets.Presets()) names.push_back(preset.name);
  TFmColumnMapping dialog(std::move(head), explanation, hasStart ? &start : nullptr, std::move(names), this);
  // The dialog stays open until its mapping reads the file, so nothing is kept that reads nothing.
  while (dialog.exec() == QDialog::Accepted) {
    TStatement statement;
    if (!ReadStatementFile(path, {dialog.Layout()}, statement, error)) {
      WindowSystem().Notify(statement.layoutUnknown ? "この列の割り当てでは、明細の行を読めません。\n日付と金額の列、"
                                                      "読み飛ばす行数を確かめてください。"
                                                    : error);
      continue;
    }
    // Kept only once written, so that a preset that could not be saved is not offered.
    TStatementPresets next = m_presets;
    next.StorePreset(dialog.Layout());
    if (!next.Save(error)) {
      WindowSystem().Notify(error);
      return;
    }
    m_presets = std::move(next);
    FillPresets();
    m_preset->setCurrentIndex(std::max(0, m_preset->findData(Q(dialog.Layout().name))));
    ShowStatement(std::move(statement));
    return;
  }
}

void TFmStatementImport::ShowStatement(TStatement statement) {
  m_import.SetStatement(std::move(statement));
  const int remembered = m_account->findText(Q(m_presets.Account(m_import.Statement().layoutName)));
  if (remembered >= 0) m_account->setCurrentIndex(remembered);
  m_layout->setText(QStringLiteral("形式: ") + Q(m_import.Statement().layoutName) + QStringLiteral("（") +
                    QString::fromLatin1(EncodingName(m_import.Statement().encoding)) + QStringLiteral("）"));
  if (!m_import.Statement().balanceWarning.empty()) {
    m_layout->setText(m_layout->text() + QStringLiteral("\n") + Q(m_import.Statement().balanceWarning));
  }
  if (m_import.Statement().foundByNames) {
    m_layout->setText(m_layout->text() + QStringLiteral("\n列は見出しの名前から見つけました。違うときは「列の割り当て」で直せます"
                                                        "（直した割り当てはプリセットとして残ります）。"));
  }
  Classify();
  m_grid->SetRow(1);
  ShowCurrentCategory(0);
  m_grid->setFocus();
}

void TFmStatementImport::Classify() {
  if (m_import.Count() == 0 || AccountKey().empty()) return;
  m_import.Classify(AccountKey(), m_categories, m_rules, m_ids, m_data, m_days->value());
  m_grid->RowsChanged();
  ShowCounts();
}

void TFmStatementImport::ShowCounts() {
  const TImportCounts counts = m_import.Counts();
  m_counts->setText(QStringLiteral("%1行・取り込む %2・重複 %3（確実 %4／可能性 %5）・読めない %6")
                        .arg(counts.rows)
                        .arg(counts.ticked)
                        .arg(counts.certain + counts.likely)
                        .arg(counts.certain)
                        .arg(counts.likely)
                        .arg(counts.unreadable));
  if (counts.noMoney > 0) m_counts->setText(m_counts->text() + QStringLiteral("・お金の動きなし %1").arg(counts.noMoney));
  if (!counts.reasons.empty()) {
    m_counts->setText(m_counts->text() + QStringLiteral("\n取り込まない行: ") + QString::fromStdString(counts.reasons));
  }
  m_importButton->setEnabled(counts.ticked > 0 && !AccountKey().empty());
}

void TFmStatementImport::ShowCurrentCategory(int index) {
  if (index < 0 || index >= m_import.Count()) return;
  const int found = m_category->findData(KeyData(m_import.Row(index).categoryKey));
  m_category->setCurrentIndex(std::max(0, found));
}

void TFmStatementImport::CategoryChosen(int comboIndex) {
  const int index = m_grid->CurrentIndex();
  if (index < 0 || !m_import.Row(index).row.Readable()) return;
  m_import.ChooseCategory(index, KeyOf(m_category->itemData(comboIndex)));
  LearnRow(index);
  m_grid->InvalidateGrid();
}

void TFmStatementImport::LearnRow(int index) {
  if (!m_learn->isChecked() || index < 0 || index >= m_import.Count() || !m_import.Row(index).row.Readable()) return;
  const std::string key = m_import.Row(index).categoryKey;
  const std::string text = m_import.Row(index).row.text;
  if (key.empty() || text.empty()) return;
  m_rules.Learn(text, key);
  std::string error;
  if (!m_rules.Save(m_folder, error)) WindowSystem().Notify(error);
  m_import.ApplyRules(m_categories, m_rules);
  m_grid->InvalidateGrid();
}

void TFmStatementImport::ButtonImportClick() {
  if (m_import.Count() == 0 || AccountKey().empty()) return;
  // Open windows may hold typed days of these months; they are stored before the import.
  if (!SaveAllDataWindows()) return;
  if (!BackupBeforeChange(TBackupReason::brImport)) return;
  const TBookOutcome outcome = BookImport(m_import, m_data, m_folder, m_ids);
  ShowLastImport();
  std::string message = outcome.message;
  // Whether the passbook now agrees with the bank on the statement's last day.
  TClosingBalance closing;
  if (!outcome.failed && ClosingBalance(m_import.Rows(), closing)) {
    message += "\n" + BalanceCheckText(PassbookBalance(AccountKey(), closing.day), closing);
  }
  if (!outcome.failed && !m_import.Statement().balanceWarning.empty()) {
    message += "\n" + m_import.Statement().balanceWarning;
  }
  TellImportOutcome(outcome.failed || outcome.carryFailed, message);
  const std::string accountName = m_account->currentText().toStdString();
  if (outcome.added > 0 && m_presets.Account(m_import.Statement().layoutName) != accountName) {
    m_presets.SetAccount(m_import.Statement().layoutName, accountName);
    std::string error;
    if (!m_presets.Save(error)) WindowSystem().Notify(error);
  }
  Classify();
}

void TFmStatementImport::OpenMoveIn(const QString& path) {
  TFmLedgerImport window(m_categories, m_data, m_folder, path, this);
  window.exec();
  // Its bookings may have added categories and accounts, and change what this window's rows
  // find in the passbook.
  const QString account = m_account->currentText();
  m_account->clear();
  FillAccounts();
  m_account->setCurrentIndex(std::max(0, m_account->findText(account)));
  m_category->clear();
  FillCategories();
  std::string error;
  if (!m_ids.Load(m_folder, error)) WindowSystem().Notify(error);
  ShowLastImport();
  Classify();
}

}  // namespace kzm::ui
