#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace lorvi {

// The version history of the second page: seven lines separated by CR LF.
extern const char* const kVersionHistory;

// The pictures of the main window's own controls that the description shows.
struct HelpPictures {
  QPixmap loadButton;   // "Подгрузить файлы"
  QPixmap searchStrip;  // "Поиск по фамилии:"
  QPixmap advButton;    // "Опись сведений"
};

// The help window: how to use the program, and its version history. Opens on the description.
class TfHelp : public QDialog {
  Q_OBJECT

 public:
  TfHelp(const HelpPictures& pictures, QWidget* parent = nullptr);

  QTabWidget* PageControl1;
  QTextBrowser* Image1;  // the description, with the controls' pictures in it
  QLabel* Label1;        // the version history
  QPushButton* bOK;

 private:
  void FormCreate();
};

}  // namespace lorvi
