#include "ui/common/AccessibleControls.h"

#include <QAccessibleWidget>
#include <QLabel>

#include "controls/ImageControl.h"
#include "controls/LinkLabel.h"
#include "controls/RoundButton.h"

namespace kzm::ui {

namespace {

// A caption as it is read: its "\" line breaks become spaces and its "&" accelerator marks go.
QString SpokenCaption(const QString& caption) {
  QString spoken;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const QChar c = caption[i];
    if (c == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) spoken += caption[++i];
      continue;
    }
    spoken += c == QLatin1Char('\\') ? QLatin1Char(' ') : c;
  }
  return spoken.trimmed();
}

class TAccessibleRoundButton : public QAccessibleWidget {
 public:
  explicit TAccessibleRoundButton(TorvWinButton* button) : QAccessibleWidget(button, QAccessible::Button) {
    addControllingSignal(QStringLiteral("OnClick()"));
  }
  [[nodiscard]] QString text(QAccessible::Text t) const override {
    const auto* button = static_cast<const TorvWinButton*>(widget());
    if (t == QAccessible::Name && button->accessibleName().isEmpty()) return SpokenCaption(button->Caption());
    if (t == QAccessible::Description && button->accessibleDescription().isEmpty()) return button->toolTip();
    return QAccessibleWidget::text(t);
  }
  [[nodiscard]] QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction() && widget()->isEnabled()) emit static_cast<TorvWinButton*>(widget())->OnClick();
  }
};

// A picture is named by what its window calls it, or its tooltip.
class TAccessibleImage : public QAccessibleWidget {
 public:
  explicit TAccessibleImage(QWidget* image) : QAccessibleWidget(image, QAccessible::Graphic) {}
  [[nodiscard]] QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return widget()->toolTip();
    return QAccessibleWidget::text(t);
  }
};

class TAccessibleLink : public QAccessibleWidget {
 public:
  explicit TAccessibleLink(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}
  [[nodiscard]] QString text(QAccessible::Text t) const override {
    const auto* label = static_cast<const QLabel*>(widget());
    if (t == QAccessible::Name && label->accessibleName().isEmpty()) return SpokenCaption(label->text());
    if (t == QAccessible::Description && label->accessibleDescription().isEmpty()) return label->toolTip();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* DescribeControl(const QString&, QObject* object) {
  if (auto* button = qobject_cast<TorvWinButton*>(object)) return new TAccessibleRoundButton(button);
  if (auto* image = qobject_cast<TorvImage*>(object)) return new TAccessibleImage(image);
  if (auto* link = qobject_cast<TLinkLabel*>(object)) return new TAccessibleLink(link);
  return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
  InstallAccessibleTables();
  QAccessible::removeFactory(DescribeControl);  // installed once, however often asked
  QAccessible::installFactory(DescribeControl);
  InstallAccessibleWindows();
}

}  // namespace kzm::ui
