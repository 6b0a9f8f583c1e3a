#include "preview/report_preview.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "preview/page_view.h"
#include "preview/print_report.h"
#include "preview/save_dialog.h"
#include "preview/work_progress.h"
#include "report/export_formats.h"
#include "report/open_document.h"
#include "report/page_painter.h"
#include "report/report_error.h"
#include "report/text_layout.h"

namespace lorvi::report {
namespace {

const double kZoomSteps[] = {0.5, 0.75, 1.0, 1.5, 2.0};

}  // namespace

ReportPreview::ReportPreview(const PreparedReport& report, QWidget* parent)
    : QDialog(parent), report_(report), view_(new PageView(report, this)) {
  setWindowTitle(QStringLiteral("Предварительный просмотр"));
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
  lastDir_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

  AskSavePath = [this](const QString& caption, const QString& filter, const QString& suffix) {
    return AskSaveFile(this, caption, ProposedPath(suffix), filter, suffix);
  };
  OpenUrl = OpenInDesktopApplication;
  ShowNotice = [this](const QString& text) {
    QMessageBox::information(this, QStringLiteral("Анализатор ЛОРВИ"), text);
  };

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QToolBar(this);
  BuildToolBar(bar);
  layout->addWidget(bar);
  layout->addWidget(view_, 1);
  auto* statusLine = new QHBoxLayout;
  statusLine->setContentsMargins(8, 3, 8, 3);
  status_ = new QLabel(this);
  message_ = new QLabel(this);
  statusLine->addWidget(status_);
  statusLine->addSpacing(24);
  statusLine->addWidget(message_, 1);
  layout->addLayout(statusLine);

  connect(view_, &PageView::CurrentPageChanged, this, &ReportPreview::PageChanged);
  connect(view_, &PageView::ZoomChanged, this, &ReportPreview::ShowZoom);
  PageChanged(view_->CurrentPage());
  ShowZoom(view_->Zoom());

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    resize(area.width() * 85 / 100, area.height() * 85 / 100);
  }
}

void ReportPreview::BuildToolBar(QToolBar* bar) {
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  const auto button = [&](const QString& text, const QString& tip, const QIcon& icon) {
    auto* b = new QToolButton(bar);
    b->setText(text);
    b->setToolTip(tip);
    b->setIcon(icon);
    b->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    bar->addWidget(b);
    return b;
  };

  QToolButton* print = button(QStringLiteral("Печать"), QStringLiteral("Печать отчета (Ctrl+P)"),
                              QIcon::fromTheme(QStringLiteral("document-print")));
  print->setShortcut(QKeySequence::Print);
  connect(print, &QToolButton::clicked, this, &ReportPreview::Print);

  QToolButton* exportButton =
      button(QStringLiteral("Экспорт"), QStringLiteral("Сохранить отчет в файл"),
             QIcon::fromTheme(QStringLiteral("document-save-as")));
  auto* menu = new QMenu(exportButton);
  for (const ExportFormat& format : ExportFormats())
    menu->addAction(format.menuText, this, [this, &format] { ExportTo(format); });
  exportButton->setMenu(menu);
  exportMenu_ = menu;
  exportButton->setPopupMode(QToolButton::InstantPopup);
  bar->addSeparator();

  QToolButton* zoomOut = button(QStringLiteral("−"), QStringLiteral("Уменьшить"), QIcon());
  zoomOut->setToolButtonStyle(Qt::ToolButtonTextOnly);
  connect(zoomOut, &QToolButton::clicked, this, [this] { view_->SetZoom(view_->Zoom() / 1.25); });
  zoomBox_ = new QComboBox(bar);
  zoomBox_->setEditable(true);
  zoomBox_->setInsertPolicy(QComboBox::NoInsert);
  zoomBox_->setToolTip(QStringLiteral("Масштаб"));
  for (double step : kZoomSteps) zoomBox_->addItem(QStringLiteral("%1%").arg(qRound(step * 100)));
  zoomBox_->addItem(QStringLiteral("По ширине страницы"));
  zoomBox_->addItem(QStringLiteral("Страница целиком"));
  zoomBox_->setMinimumContentsLength(16);
  connect(zoomBox_, &QComboBox::activated, this, &ReportPreview::ZoomChosen);
  connect(zoomBox_->lineEdit(), &QLineEdit::returnPressed, this, &ReportPreview::ZoomTyped);
  bar->addWidget(zoomBox_);
  QToolButton* zoomIn = button(QStringLiteral("+"), QStringLiteral("Увеличить"), QIcon());
  zoomIn->setToolButtonStyle(Qt::ToolButtonTextOnly);
  connect(zoomIn, &QToolButton::clicked, this, [this] { view_->SetZoom(view_->Zoom() * 1.25); });
  bar->addSeparator();

  findText_ = new QLineEdit(bar);
  findText_->setPlaceholderText(QStringLiteral("Найти текст"));
  findText_->setClearButtonEnabled(true);
  findText_->setMaximumWidth(220);
  connect(findText_, &QLineEdit::returnPressed, this, &ReportPreview::FindClicked);
  bar->addWidget(findText_);
  QToolButton* find = button(QStringLiteral("Найти"), QStringLiteral("Найти следующее (F3)"),
                             QIcon::fromTheme(QStringLiteral("edit-find")));
  find->setShortcut(QKeySequence::FindNext);
  connect(find, &QToolButton::clicked, this, &ReportPreview::FindClicked);
  bar->addSeparator();

  first_ = button(QString(), QStringLiteral("Первая страница"),
                  style()->standardIcon(QStyle::SP_MediaSkipBackward));
  previous_ = button(QString(), QStringLiteral("Предыдущая страница"),
                     style()->standardIcon(QStyle::SP_MediaSeekBackward));
  pageBox_ = new QSpinBox(bar);
  pageBox_->setRange(1, std::max(1, report_.PageCount()));
  pageBox_->setToolTip(QStringLiteral("Номер страницы"));
  pageBox_->setKeyboardTracking(false);
  bar->addWidget(pageBox_);
  pageCount_ = new QLabel(QStringLiteral(" из %1 ").arg(report_.PageCount()), bar);
  bar->addWidget(pageCount_);
  next_ = button(QString(), QStringLiteral("Следующая страница"),
                 style()->standardIcon(QStyle::SP_MediaSeekForward));
  last_ = button(QString(), QStringLiteral("Последняя страница"),
                 style()->standardIcon(QStyle::SP_MediaSkipForward));
  connect(first_, &QToolButton::clicked, this, [this] { view_->GoToPage(0); });
  connect(previous_, &QToolButton::clicked, this,
          [this] { view_->GoToPage(view_->CurrentPage() - 1); });
  connect(next_, &QToolButton::clicked, this,
          [this] { view_->GoToPage(view_->CurrentPage() + 1); });
  connect(last_, &QToolButton::clicked, this, [this] { view_->GoToPage(report_.PageCount() - 1); });
  connect(pageBox_, &QSpinBox::valueChanged, this, [this](int page) { view_->GoToPage(page - 1); });

  auto* spacer = new QWidget(bar);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  bar->addWidget(spacer);
  auto* close = new QPushButton(QStringLiteral("Закрыть"), bar);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  bar->addWidget(close);
}

void ReportPreview::PageChanged(int page) {
  const int count = report_.PageCount();
  status_->setText(QStringLiteral("Страница %1 из %2").arg(page + 1).arg(count));
  {
    const QSignalBlocker blocker(pageBox_);
    pageBox_->setValue(page + 1);
  }
  first_->setEnabled(page > 0);
  previous_->setEnabled(page > 0);
  next_->setEnabled(page + 1 < count);
  last_->setEnabled(page + 1 < count);
}

void ReportPreview::ShowZoom(double zoom) {
  zoomBox_->setEditText(QStringLiteral("%1%").arg(qRound(zoom * 100)));
}

void ReportPreview::ZoomChosen(int index) {
  const int steps = static_cast<int>(std::size(kZoomSteps));
  if (index < steps)
    view_->SetZoom(kZoomSteps[index]);
  else
    view_->SetZoomMode(index == steps ? PageView::ZoomMode::PageWidth
                                      : PageView::ZoomMode::WholePage);
  ShowZoom(view_->Zoom());
}

void ReportPreview::ZoomTyped() {
  QString text = zoomBox_->currentText();
  text.remove(u'%');
  bool ok = false;
  const int percent = text.trimmed().toInt(&ok);
  if (ok && percent > 0) view_->SetZoom(percent / 100.0);
  ShowZoom(view_->Zoom());
}

QList<int> ReportPreview::ReadingOrder(const QList<TextItem>& items) {
  QList<int> order;
  for (int i = 0; i < items.size(); ++i) order.append(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const qint64 ta = qRound64(items[a].rect.top() * 10), tb = qRound64(items[b].rect.top() * 10);
    return ta != tb ? ta < tb : items[a].rect.left() < items[b].rect.left();
  });
  return order;
}

QList<QRectF> ReportPreview::MatchAreas(const TextItem& item, qsizetype at,
                                        qsizetype length) const {
  QList<QRectF> areas;
  for (int i = 0; i < item.lines.size(); ++i) {
    const auto [start, size] = item.lines[i];
    const qsizetype from = std::max(at, start);
    const qsizetype to = std::min(at + length, start + size);
    if (from >= to) continue;
    const QString line = item.LineText(i);
    const QRectF rect = item.LineRect(i);
    const double left = TextWidth(line.left(from - start), item.font);
    const double right = TextWidth(line.left(to - start), item.font);
    areas.append(
        QRectF(rect.left() + left, rect.top(), std::max(0.5, right - left), rect.height()));
  }
  return areas;
}

bool ReportPreview::FindNext(const QString& text) {
  if (text.isEmpty() || report_.IsEmpty()) return false;
  if (text.compare(lastFind_, Qt::CaseInsensitive) != 0) {
    // A new search starts at the top of the page in sight.
    lastFind_ = text;
    match_ = Match{view_->CurrentPage(), 0, -1};
  }
  const int pages = report_.PageCount();
  const int startPage = match_.page < 0 ? 0 : match_.page;
  // Once round all pages, and the start page once more for matches before the last one.
  for (int step = 0; step <= pages; ++step) {
    const int page = (startPage + step) % pages;
    const QList<TextItem> items = report_.Page(page).items;
    const QList<int> order = ReadingOrder(items);
    const int firstItem = step == 0 ? std::max(0, match_.item) : 0;
    for (int k = firstItem; k < order.size(); ++k) {
      const TextItem& item = items[order[k]];
      const qsizetype from = step == 0 && k == match_.item ? match_.at + 1 : 0;
      const qsizetype at = item.text.indexOf(text, from, Qt::CaseInsensitive);
      if (at < 0) continue;
      match_ = Match{page, k, at};
      const QList<QRectF> areas = MatchAreas(item, at, text.size());
      view_->SetHighlight(page, areas);
      view_->ShowArea(page, areas.isEmpty() ? item.rect : areas.first());
      message_->clear();
      return true;
    }
  }
  view_->SetHighlight(-1, {});
  message_->setText(QStringLiteral("Текст «%1» не найден").arg(text));
  return false;
}

void ReportPreview::FindClicked() { FindNext(findText_->text()); }

QString ReportPreview::ProposedPath(const QString& suffix) const {
  const QString name = report_.fileName.isEmpty() ? QStringLiteral("Отчет") : report_.fileName;
  return QDir(lastDir_).filePath(name + '.' + suffix);
}

void ReportPreview::AddExport(const QString& caption, const std::function<void()>& run) {
  if (!extraSeparator_) {
    exportMenu_->addSeparator();
    extraSeparator_ = true;
  }
  exportMenu_->addAction(caption, this, run);
}

void ReportPreview::OpenSaved(const QString& path) {
  if (!OpenUrl || OpenUrl(QUrl::fromLocalFile(path))) return;
  ShowNotice(SavedButNotOpened(path));
}

bool ReportPreview::Attempt(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const Cancelled&) {
    return false;  // the user stopped it: nothing was written, nothing to say
  } catch (const LorviError& e) {
    QMessageBox::warning(this, QStringLiteral("Ошибка"), ReportErrorText(e));
    return false;
  }
}

void ReportPreview::Print() {
  if (report_.IsEmpty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(PageLayoutOf(report_.Page(0)));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("Печать"));
  dialog.setMinMax(1, report_.PageCount());
  if (dialog.exec() != QDialog::Accepted) return;
  Attempt([&] {
    WorkProgress progress(this);
    PrintReport(report_, printer, progress.Callback());
  });
}

void ReportPreview::ExportTo(const ExportFormat& format) {
  const QString path = AskSavePath(format.caption, format.filter, format.suffixes.first());
  if (path.isEmpty()) return;
  lastDir_ = QFileInfo(path).absolutePath();
  const bool written = Attempt([&] {
    WorkProgress progress(this);
    format.write(report_, path, progress.Callback());
  });
  if (written && format.opensWhenSaved) OpenSaved(path);
}

void UsePreviewDialog(TfrxReport& report) {
  report.ShowPreview = [&report](const PreparedReport& prepared, QWidget* parent) {
    ReportPreview preview(prepared, parent);
    for (const TfrxReport::ExtraExport& extra : report.extraExports)
      preview.AddExport(extra.caption, extra.run);
    // The next preview proposes the folder this one exported to.
    if (!report.exportFolder.isEmpty()) preview.SetExportFolder(report.exportFolder);
    preview.exec();
    report.exportFolder = preview.ExportFolder();
  };
}

}  // namespace lorvi::report
