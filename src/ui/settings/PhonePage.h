#pragma once

// The options window's 「スマホから記入」 tab: the service on or off, where it listens, the QR
// code a phone scans to pair, the paired phones with 解除, and what phones sent today. It acts
// at once, not at OK: a phone is paired while the tab is on show.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace kzm::ui {

class TPhoneHost;

class TPhonePage : public QWidget {
  Q_OBJECT

 public:
  // host null: the tab says the service needs the main window and is disabled.
  TPhonePage(TPhoneHost* host, QWidget* parent = nullptr);

 private:
  QWidget* CreateServiceBox();
  QWidget* CreatePairingBox();
  QWidget* CreatePhonesBox();
  void Switch();
  void Redraw();
  void RemovePhone();

  TPhoneHost* m_host;
  QCheckBox* m_on = nullptr;
  QComboBox* m_address = nullptr;
  QSpinBox* m_port = nullptr;
  QLabel* m_state = nullptr;
  QLabel* m_qr = nullptr;
  QLabel* m_code = nullptr;
  QPushButton* m_newCode = nullptr;
  QTreeWidget* m_phones = nullptr;
  QPushButton* m_remove = nullptr;
  QListWidget* m_today = nullptr;
};

}  // namespace kzm::ui
