#include "ui/settings/PhonePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "foundation/WindowSystem.h"
#include "phone/PhoneHttp.h"
#include "phone/QrCode.h"
#include "ui/common/PhoneHost.h"

namespace kzm::ui {

namespace {

constexpr int kModulePixels = 4;
constexpr int kQuietModules = 4;
constexpr int kQrPixels = (33 + 2 * kQuietModules) * kModulePixels;  // up to version 4: an IPv6 address

QPixmap QrPicture(const std::string& text) {
  const std::vector<std::vector<bool>> modules = QrModules(text);
  const int size = static_cast<int>(modules.size());
  QImage image((size + 2 * kQuietModules) * kModulePixels, (size + 2 * kQuietModules) * kModulePixels, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (modules[static_cast<size_t>(y)][static_cast<size_t>(x)])
        painter.fillRect((x + kQuietModules) * kModulePixels, (y + kQuietModules) * kModulePixels, kModulePixels, kModulePixels,
                         Qt::black);
    }
  }
  return QPixmap::fromImage(image);
}

QLabel* BuddyLabel(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TPhonePage::TPhonePage(TPhoneHost* host, QWidget* parent) : QWidget(parent), m_host(host) {
  setObjectName(QStringLiteral("TSphone"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateServiceBox());
  layout->addWidget(CreatePairingBox());
  layout->addWidget(CreatePhonesBox());
  auto* note = new QLabel(QStringLiteral("家庭内ネットワークだけで使います。ルーターでこのポートをインターネットへ開けないでください。"), this);
  note->setWordWrap(true);
  layout->addWidget(note);
  if (!m_host) {
    setEnabled(false);
    m_state->setText(QStringLiteral("メインウィンドウから開いたときに設定できます。"));
    return;
  }
  connect(m_host, &TPhoneHost::Changed, this, &TPhonePage::Redraw);
  // A code runs out after ten minutes: the page stops showing it.
  auto* tick = new QTimer(this);
  connect(tick, &QTimer::timeout, this, &TPhonePage::Redraw);
  tick->start(30 * 1000);
  Redraw();
}

QWidget* TPhonePage::CreateServiceBox() {
  auto* box = new QGroupBox(QStringLiteral("サービス"), this);
  m_on = new QCheckBox(QStringLiteral("スマホから記入を受ける(&S)"), box);
  m_on->setObjectName(QStringLiteral("cbPhoneService"));
  m_address = new QComboBox(box);
  m_address->setObjectName(QStringLiteral("cbPhoneAddress"));
  m_address->setAccessibleName(QStringLiteral("待ち受けるアドレス"));
  for (const std::string& address : HomeNetworkAddresses()) m_address->addItem(QString::fromStdString(address));
  m_address->addItem(QStringLiteral("127.0.0.1"));
  m_port = new QSpinBox(box);
  m_port->setObjectName(QStringLiteral("sePhonePort"));
  m_port->setAccessibleName(QStringLiteral("ポート"));
  m_port->setRange(1024, 65535);
  m_state = new QLabel(box);
  m_state->setObjectName(QStringLiteral("lbPhoneState"));
  m_state->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* where = new QHBoxLayout;
  where->addWidget(BuddyLabel("アドレス(&A)", m_address, box));
  where->addWidget(m_address, 1);
  where->addWidget(BuddyLabel("ポート(&P)", m_port, box));
  where->addWidget(m_port);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(m_on);
  layout->addLayout(where);
  layout->addWidget(m_state);
  connect(m_on, &QCheckBox::clicked, this, &TPhonePage::Switch);
  return box;
}

QWidget* TPhonePage::CreatePairingBox() {
  auto* box = new QGroupBox(QStringLiteral("スマホをつなぐ"), this);
  m_qr = new QLabel(box);
  m_qr->setObjectName(QStringLiteral("imPhoneQr"));
  m_qr->setAccessibleName(QStringLiteral("ペアリングの QR コード"));
  // Room for the code from the start, so that the window does not grow when it appears.
  m_qr->setFixedSize(kQrPixels, kQrPixels);
  m_qr->setAlignment(Qt::AlignCenter);
  m_code = new QLabel(box);
  m_code->setObjectName(QStringLiteral("lbPhoneCode"));
  m_code->setWordWrap(true);
  m_code->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_newCode = new QPushButton(QStringLiteral("新しいコード(&N)"), box);
  m_newCode->setObjectName(QStringLiteral("btPhoneNewCode"));
  auto* side = new QVBoxLayout;
  side->addWidget(m_code);
  side->addWidget(m_newCode);
  side->addStretch();
  auto* layout = new QHBoxLayout(box);
  layout->addWidget(m_qr);
  layout->addLayout(side, 1);
  connect(m_newCode, &QPushButton::clicked, this, [this] { m_host->NewCode(); });
  return box;
}

QWidget* TPhonePage::CreatePhonesBox() {
  auto* box = new QGroupBox(QStringLiteral("つながっているスマホと今日の記入"), this);
  m_phones = new QTreeWidget(box);
  m_phones->setObjectName(QStringLiteral("lvPhones"));
  m_phones->setAccessibleName(QStringLiteral("つながっているスマホ"));
  m_phones->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("最後に使った日時")});
  m_phones->setRootIsDecorated(false);
  m_phones->setFixedHeight(100);
  m_remove = new QPushButton(QStringLiteral("解除(&R)"), box);
  m_remove->setObjectName(QStringLiteral("btPhoneRemove"));
  m_today = new QListWidget(box);
  m_today->setObjectName(QStringLiteral("lbPhoneToday"));
  m_today->setAccessibleName(QStringLiteral("今日スマホから受けた記入"));
  m_today->setFixedHeight(100);
  auto* phones = new QVBoxLayout;
  phones->addWidget(m_phones);
  phones->addWidget(m_remove, 0, Qt::AlignRight);
  auto* today = new QVBoxLayout;
  today->addWidget(BuddyLabel("今日の記入(&T)", m_today, box));
  today->addWidget(m_today);
  today->addStretch();
  auto* layout = new QHBoxLayout(box);
  layout->addLayout(phones, 3);
  layout->addLayout(today, 2);
  connect(m_remove, &QPushButton::clicked, this, &TPhonePage::RemovePhone);
  return box;
}

void TPhonePage::Switch() {
  TPhoneSettings settings = m_host->Settings();
  settings.enabled = m_on->isChecked();
  settings.address = m_address->currentText().toStdString();
  settings.port = m_port->value();
  std::string error;
  if (!m_host->Apply(settings, error) && settings.enabled)
    WindowSystem().Notify("スマホから記入のサービスを始められませんでした。\n" + error);
  Redraw();
}

void TPhonePage::Redraw() {
  const TPhoneSettings& settings = m_host->Settings();
  const bool running = m_host->Running();
  m_on->setChecked(running);
  if (!settings.address.empty()) {
    if (m_address->findText(QString::fromStdString(settings.address)) < 0)
      m_address->addItem(QString::fromStdString(settings.address));
    m_address->setCurrentText(QString::fromStdString(settings.address));
  }
  m_port->setValue(settings.port);
  m_address->setEnabled(!running);
  m_port->setEnabled(!running);
  m_state->setText(running ? QStringLiteral("待ち受け中: %1").arg(QString::fromStdString(m_host->Url()))
                           : QStringLiteral("止まっています。"));
  const std::string code = m_host->Code();
  m_qr->setPixmap(running && !code.empty() ? QrPicture(m_host->Url() + "#code=" + code) : QPixmap());
  if (!running) {
    m_code->clear();
  } else if (code.empty()) {
    m_code->setText(QStringLiteral("スマホをつなぐときは「新しいコード」を押してください。"));
  } else {
    m_code->setText(QStringLiteral("スマホのカメラでこの QR コードを読むか、%1 を開いてペアリングコード %2 を入れてください。"
                                   "コードは10分間、1台に1回だけ使えます。")
                        .arg(QString::fromStdString(m_host->Url()), QString::fromStdString(code)));
  }
  m_newCode->setEnabled(running);
  m_phones->clear();
  if (TPhoneService* service = m_host->Service()) {
    for (const TPairedPhone& phone : service->Phones().List()) {
      auto* item = new QTreeWidgetItem(m_phones, {QString::fromStdString(phone.name),
                                                  QDateTime::fromSecsSinceEpoch(phone.lastUsed).toString(QStringLiteral("yyyy/MM/dd HH:mm"))});
      item->setData(0, Qt::UserRole, QString::fromStdString(phone.id));
    }
  }
  m_remove->setEnabled(m_phones->topLevelItemCount() > 0);
  m_today->clear();
  for (const std::string& line : m_host->Today()) m_today->addItem(QString::fromStdString(line));
}

void TPhonePage::RemovePhone() {
  TPhoneService* service = m_host->Service();
  const QTreeWidgetItem* item = m_phones->currentItem() ? m_phones->currentItem() : m_phones->topLevelItem(0);
  if (!service || !item) return;
  if (!WindowSystem().AskYesNo("「" + item->text(0).toStdString() + "」の接続を解除しますか？\nこのスマホからは、ペアリングし直すまで記入できなくなります。"))
    return;
  std::string error;
  if (!service->Phones().Remove(item->data(0, Qt::UserRole).toString().toStdString(), error)) WindowSystem().Notify(error);
  Redraw();
}

}  // namespace kzm::ui
