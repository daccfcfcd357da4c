#pragma once

// "項目の置換": moves the entries of one category (as category or as account) to another
// over a range of days, through every month file of the open passbook.

#include <QDialog>

class QComboBox;
class QPushButton;

namespace kzm {
class THeadList;
class TkzmDataUnit;
struct TReplaceRequest;
}  // namespace kzm

namespace kzm::ui {

class TCheckedDateEdit;

class TFmReplace : public QDialog {
  Q_OBJECT

 public:
  // Works on data with the names of categories; both must outlive the window.
  TFmReplace(const THeadList& categories, TkzmDataUnit& data, QWidget* parent = nullptr);

  [[nodiscard]] bool Running() const { return m_running; }
  // When a replacement stopped part way (killed, or a month could not be written), asks
  // whether to finish it, and finishes it or forgets it.
  void OfferToFinish();

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void HeadSelected(QComboBox* head, QComboBox* kind);
  void KindChanged(QComboBox* other, int index);
  void ButtonReplaceGoClick();
  void Run(const TReplaceRequest& request);
  [[nodiscard]] bool StoreOpenWindows();

  const THeadList& m_categories;
  TkzmDataUnit& m_data;
  bool m_running = false;
  bool m_stop = false;

  QComboBox* m_headBf = nullptr;
  QComboBox* m_kindBf = nullptr;
  QComboBox* m_headAf = nullptr;
  QComboBox* m_kindAf = nullptr;
  TCheckedDateEdit* m_first = nullptr;
  TCheckedDateEdit* m_last = nullptr;
  QPushButton* m_go = nullptr;
  QPushButton* m_stopButton = nullptr;
};

}  // namespace kzm::ui
