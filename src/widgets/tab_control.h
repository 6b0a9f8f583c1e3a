#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

class QTabBar;

namespace lorvi {

// A row of tabs over one page that all tabs share: picking a tab changes nothing on the page by
// itself; the owner reacts to the change. The page holds the children.
class TTabControl : public QWidget {
  Q_OBJECT

 public:
  explicit TTabControl(QWidget* parent = nullptr);

  int AddTab(const QString& caption, const QIcon& icon = QIcon());
  int TabIndex() const;
  int Count() const;
  QString TabCaption(int index) const;
  // Selects a tab without reporting the change.
  void SetTabIndexQuietly(int index);
  QTabBar* Tabs() const { return tabs_; }
  // The shared page, for the children.
  QWidget* Page() const { return page_; }

 signals:
  // The user (or SetTabIndex through the tab bar) picked another tab.
  void changed(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTabBar* tabs_;
  QWidget* page_;
};

}  // namespace lorvi
