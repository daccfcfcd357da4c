#pragma once

// "ほかの家計簿から引っ越し": the full history exported from another household-ledger
// service read into a preview. A table shows what each of the export's accounts and
// categories becomes in this passbook, and the user may type another name for any of them;
// the rows below follow at once, marked when the passbook holds them already. The ticked
// rows are booked as one import, which 元に戻す takes back.

#include <QDialog>

#include "statement/ImportHistory.h"
#include "statement/LedgerImport.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace kzm {
class THeadList;
class TkzmDataUnit;
}  // namespace kzm

namespace kzm::ui {

class TFmLedgerImport : public QDialog {
  Q_OBJECT

 public:
  // Books into data with the categories of the passbook in passbookFolder; both must outlive
  // the window. A path given is read at once.
  TFmLedgerImport(const THeadList& categories, TkzmDataUnit& data, std::string passbookFolder,
                  const QString& path = {}, QWidget* parent = nullptr);
  ~TFmLedgerImport() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ButtonReadClick();
  void ButtonImportClick();
  void MapItemChanged(QTableWidgetItem* item);
  void ToggleCurrentRow();
  void Classify();
  void ShowMapping();
  void ShowRows();
  void ShowCounts();
  void ShowLastImport();

  const THeadList& m_categories;
  TkzmDataUnit& m_data;
  std::string m_folder;
  TLedgerImport m_import;
  std::vector<TLedgerMapLine> m_lines;  // as the mapping table shows them
  TImportedIds m_ids;

  QLineEdit* m_file = nullptr;
  QLabel* m_format = nullptr;
  QTableWidget* m_mapping = nullptr;
  QTableWidget* m_rows = nullptr;
  QLabel* m_counts = nullptr;
  QLabel* m_added = nullptr;       // the categories booking adds to the passbook
  QLabel* m_lastImport = nullptr;  // shown while the last import stands stopped part way
  QPushButton* m_importButton = nullptr;
};

}  // namespace kzm::ui
