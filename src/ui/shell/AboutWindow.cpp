#include "ui/shell/AboutWindow.h"

#include "foundation/EmbeddedResources.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace kzm::ui {

namespace {

QPixmap IconPixmap() {
  QPixmap pixmap;
  if (const auto data = FindEmbeddedResource("APPICON")) {
    pixmap.loadFromData(reinterpret_cast<const uchar*>(data->data()), static_cast<uint>(data->size()), "PNG");
  }
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() { return QIcon(IconPixmap()); }

TFmAbout::TFmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FmAbout"));
  setWindowTitle(QStringLiteral("ソフトウェア情報"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("ImageIcon"));
  icon->setPixmap(IconPixmap());
  icon->setAlignment(Qt::AlignTop);

  auto* name = new QLabel(QStringLiteral("もるぽ通帳"), this);
  name->setObjectName(QStringLiteral("LabelName"));
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 5);
  big.setBold(true);
  name->setFont(big);

  auto* version = new QLabel(QStringLiteral("バージョン %1").arg(QStringLiteral(KZM_VERSION)), this);
  version->setObjectName(QStringLiteral("LabelVersion"));
  auto* thanks = new QLabel(QStringLiteral("いつもご利用いただき、ありがとうございます。\n"
                                           "毎日の記録が、明日の安心につながりますように。"),
                            this);
  thanks->setObjectName(QStringLiteral("LabelThanks"));
  auto* maker = new QLabel(QStringLiteral("Orvik"), this);
  maker->setObjectName(QStringLiteral("LabelMaker"));

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addSpacing(8);
  texts->addWidget(thanks);
  texts->addWidget(maker);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addLayout(texts);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setObjectName(QStringLiteral("ButtonOK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kzm::ui
