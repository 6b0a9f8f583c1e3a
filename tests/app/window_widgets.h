#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTreeView>
#include <QWidget>

#include "models/file_tree_model.h"

namespace lorvi::test {

// A widget of the window by its design name ("sgZLStrah", "tvLF", ...), as a user's tool would
// find it; the test fails when there is none of that name and type.
template <typename W>
W* Widget(const QWidget& window, const char* name) {
  W* found = window.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// The model the window's tree shows.
inline FileTreeModel* TreeModelOf(const QWidget& window) {
  auto* model = dynamic_cast<FileTreeModel*>(Widget<QTreeView>(window, "tvLF")->model());
  EXPECT_NE(model, nullptr);
  return model;
}

// Types `text` into `widget` key by key, as a keyboard with any layout would.
inline void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

}  // namespace lorvi::test
