// Runs the analyser without its window on the actions of the command line and prints what the
// window would show.
#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "base/heap_tuning.h"
#include "check_run.h"

int main(int argc, char** argv) {
  lorvi::KeepFreedMemoryForReuse();
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Exports paint pages with Qt's fonts, which come with a GUI application object; no window is
  // ever shown, so no display is needed.
  std::unique_ptr<QGuiApplication> app;
  if (lorvi::check::PaintsPages(args)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the desktop session (no runtime folder, no display) are not the tool's
    // to report; its failures still are.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  std::string out;
  std::string err;
  int status = 1;
  try {
    status = lorvi::check::RunArguments(args, out, err);
  } catch (const std::exception& e) {
    err += std::string("lorvi-check: ") + e.what() + "\n";
  }
  // Dumps of large grids run to megabytes: one write, not one per line.
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  std::fputs(err.c_str(), stderr);
  return status;
}
