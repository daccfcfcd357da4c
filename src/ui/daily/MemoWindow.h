#pragma once

// TFmMemo, "月めも": the day memos of a period as one document, a bold date line per memo
// followed by its text. The user edits it freely and may add memos for other days by typing
// a date line; on closing the window asks whether to store the document back.

#include <QWidget>

#include "foundation/Dates.h"
#include "ui/common/DataWindows.h"

class QTextEdit;

namespace kzm::ui {

class TorvFormFunc;

class TFmMemo : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  explicit TFmMemo(QWidget* parent = nullptr);
  ~TFmMemo() override;

  // The period the window shows, first <= last; set before LoadMemos.
  void SetPeriod(kzm::TDayNumber first, kzm::TDayNumber last);
  [[nodiscard]] kzm::TDayNumber First() const { return m_first; }
  [[nodiscard]] kzm::TDayNumber Last() const { return m_last; }

  // Fills the document and the title from the month data; the window is then unmodified.
  void LoadMemos();
  // Writes the document back into the day memos and the month file. False when the file
  // could not be written (the user has been told; the memos stay in memory).
  bool StoreMemos();
  [[nodiscard]] bool Modified() const { return m_modified; }
  [[nodiscard]] QTextEdit* MemoEdit() const { return m_memo; }

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;
  // The document is stored only when the window closes and the user says so, so nothing is
  // written here; the window keeps what it holds.
  bool SaveWindowData() override { return true; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The close questions. byUser: the user closed the window, which then stays open when the
  // out-of-period question is answered No; a close by the program goes on without storing.
  bool CloseQuery(bool byUser);
  [[nodiscard]] std::string DocumentText() const;

  QTextEdit* m_memo = nullptr;
  TorvFormFunc* m_formFunc = nullptr;
  kzm::TDayNumber m_first = 0;
  kzm::TDayNumber m_last = 0;
  bool m_modified = false;
  bool m_loading = false;
  bool m_placed = false;
};

}  // namespace kzm::ui
