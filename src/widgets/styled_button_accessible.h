#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace lorvi {

// What screen readers see of a styled button: a push button named by its caption, described by
// its hint, focusable, with a press action that clicks it. TSButton installs it.
QAccessibleInterface* StyledButtonAccessible(const QString& className, QObject* object);

}  // namespace lorvi
