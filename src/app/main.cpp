// The analyser's window: creates the window, its data module and the session, in this order,
// and runs the message loop.
#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTimer>

#include "app/data_module.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/qt_translation.h"
#include "app/window_font.h"
#include "base/heap_tuning.h"
#include "models/dm_rpt.h"
#include "models/qt_text.h"
#include "session/session.h"
#include "session/settings_file.h"
#include "widgets/edge_drawing.h"

int main(int argc, char** argv) {
  lorvi::KeepFreedMemoryForReuse();
  QApplication app(argc, argv);
  // The desktop matches the window to its entry and icon by this name (the window class), which
  // must be plain ASCII; the user sees the window's title.
  QApplication::setApplicationName(QStringLiteral("lorvi-analyser"));
  QApplication::setWindowIcon(lorvi::ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("ru.lorvi.analyser"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(lorvi::ClassicPalette());
  QApplication::setFont(lorvi::WindowFont());
  lorvi::InstallQtTranslation(app);

  const std::string separator = lorvi::ToCp1251(QLocale::system().decimalPoint());
  lorvi::Session session(separator.size() == 1 ? separator[0] : '.');
  session.SetSettingsPath(lorvi::IniFileName(
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString(),
      QCoreApplication::applicationFilePath().toStdString()));

  const lorvi::VersionBlock version = lorvi::ProgramVersionBlock();
  auto* dm = new lorvi::TDM(&version, &app);
  auto* dmRpt = new lorvi::TDMRpt(QCoreApplication::applicationDirPath(), &app);
  lorvi::UseReportDialogs(*dmRpt);
  lorvi::TfMainMDI window(session, *dm, *dmRpt);
  window.show();
  // Files and folders named on the command line (the desktop's "open with") load once the window
  // is laid out.
  const QStringList paths = QApplication::arguments().mid(1);
  if (!paths.isEmpty())
    QTimer::singleShot(0, &window, [&window, paths] { window.LoadFiles(paths); });
  return QApplication::exec();
}
