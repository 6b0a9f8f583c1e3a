#include "report/open_document.h"

#include <QDesktopServices>
#include <QDir>
#include <QMimeDatabase>
#include <QProcess>

namespace lorvi::report {

// The desktop starts its opener detached, so a type nobody handles would fail unseen: where the
// desktop answers through xdg-mime, ask it first whether any application takes the file's type.
bool OpenInDesktopApplication(const QUrl& url) {
#ifndef _WIN32
  const QString mime = QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name();
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), mime});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
      query.exitCode() != 0 || query.readAllStandardOutput().trimmed().isEmpty())
    return false;
#endif
  return QDesktopServices::openUrl(url);
}

QString SavedButNotOpened(const QString& path, Saved what) {
  QString text;
  switch (what) {
    case Saved::kWorkbook:
      text = QStringLiteral("Сверка сохранена в файл %1, но открыть её не удалось");
      break;
    case Saved::kOverview:
      text = QStringLiteral("Обзор архива сохранен в файл %1, но открыть его не удалось");
      break;
    case Saved::kReport:
      text = QStringLiteral("Отчет сохранен в файл %1, но открыть его не удалось");
      break;
  }
  return text.arg(QDir::toNativeSeparators(path)) +
         QStringLiteral(": не найдена программа для файлов этого типа.");
}

}  // namespace lorvi::report
