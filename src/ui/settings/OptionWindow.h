#pragma once

// "オプション設定": start-up, the Enter-key path of the daily grid, the data folder, and the
// phone service.

#include "views/OptionSettings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace kzm::ui {

class TFmOption : public QDialog {
  Q_OBJECT

 public:
  TFmOption(const TOptionSettings& settings, const std::string& dataFolder, QWidget* parent = nullptr);

  // 0: start-up, 1: the daily grid, 2: data, 3: phones.
  void SetPage(int page);
  // The settings as the window shows them.
  [[nodiscard]] TOptionSettings Settings() const;

 private:
  QWidget* CreateStartupPage(const TOptionSettings& settings);
  QWidget* CreateInputPage(const TOptionSettings& settings);
  QWidget* CreateDataPage(const std::string& dataFolder, const std::string& backupFolder);
  // OK: a backup folder inside a passbook is refused here, with the window still open.
  void ButtonSetUpAllClick();

  QTabWidget* m_pages = nullptr;
  QRadioButton* m_chooseFromList = nullptr;
  QCheckBox* m_startMonthly = nullptr;
  QCheckBox* m_startDaily = nullptr;
  QCheckBox* m_startCalendar = nullptr;
  QCheckBox* m_enter[4] = {};
  QLineEdit* m_backupFolder = nullptr;
};

}  // namespace kzm::ui
