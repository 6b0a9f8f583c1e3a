#include "widgets/styled_button_accessible.h"

#include <QAccessibleWidget>
#include <QRegularExpression>

#include "widgets/styled_button.h"

namespace lorvi {
namespace {

class ButtonInterface : public QAccessibleWidget {
 public:
  explicit ButtonInterface(TSButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

  QString text(QAccessible::Text kind) const override {
    const auto* button = static_cast<const TSButton*>(widget());
    switch (kind) {
      case QAccessible::Name:
        if (!button->accessibleName().isEmpty()) return button->accessibleName();
        return QString(button->Caption()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
      case QAccessible::Description:
        if (!button->accessibleDescription().isEmpty()) return button->accessibleDescription();
        return button->toolTip();
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  QStringList actionNames() const override { return {pressAction()}; }

  void doAction(const QString& action) override {
    if (action == pressAction() && widget()->isEnabled()) static_cast<TSButton*>(widget())->Click();
  }

  QStringList keyBindingsForAction(const QString& action) const override {
    if (action == pressAction()) return {QStringLiteral("Space")};
    return {};
  }
};

}  // namespace

QAccessibleInterface* StyledButtonAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String(TSButton::staticMetaObject.className()) && object != nullptr &&
      object->isWidgetType())
    return new ButtonInterface(static_cast<TSButton*>(object));
  return nullptr;
}

}  // namespace lorvi
