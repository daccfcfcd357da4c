#pragma once

// 「カードの設定」 of one asset category: the 「カード」 tick and, for a card, its 締め日, 支払日,
// 支払月 and 引落口座. It edits a copy, checks it against the categories on OK and hands it
// back; EditCardSettings stores it.

#include <QDialog>

#include "card/CardSettings.h"

class QCheckBox;
class QComboBox;

namespace kzm {
class THeadList;
}

namespace kzm::ui {

class TFmCardSetup : public QDialog {
  Q_OBJECT

 public:
  // categories: the passbook's, as they will be stored (the 引落口座 is chosen among their
  // assets). isCard: whether the asset is a card now.
  TFmCardSetup(const TCardSettings& source, bool isCard, const THeadList& categories, QWidget* parent = nullptr);

  // Valid after the dialog was accepted.
  [[nodiscard]] bool IsCard() const { return m_isCard; }
  [[nodiscard]] const TCardSettings& Settings() const { return m_settings; }

  void accept() override;

 private:
  [[nodiscard]] TCardSettings Edited() const;
  void EnableFields();

  const THeadList& m_categories;
  TCardSettings m_settings;
  bool m_isCard = false;
  QCheckBox* m_card = nullptr;
  QComboBox* m_closing = nullptr;
  QComboBox* m_payment = nullptr;
  QComboBox* m_month = nullptr;
  QComboBox* m_from = nullptr;
};

}  // namespace kzm::ui
