#include "app/help_window.h"

#include "app/window_font.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>

namespace lorvi {

const char* const kVersionHistory =
    "   \r\n"
    "  Версия 1.0.0.0:\r\n"
    "       см. \"Описание\".\r\n"
    "   \r\n"
    "  Версия 1.0.1.0:\r\n"
    "       Добавленна возможность распечатать данные из таблиц.\r\n"
    "       Доработан Help.";

namespace {

// The description, in the order a new user needs it; pictures by resource name.
const char* const kDescription = R"(
<div style="font-size:9pt">
<p><b>1.</b> Кнопка <img src="lorvi:load" style="vertical-align:middle"> загружает XML-файлы всех
отчётных периодов, начиная с первого полугодия 2010 года, которые ранее были сданы в Пенсионный
фонд и которые предстоит представить. На панели <b>«Загрузка файлов»</b> появляется список всех
выбранных файлов.</p>
<p><b>2.</b> Вид <b>«Застрахованные лица»</b> показывает таблицу, строки которой — застрахованные
лица всех загруженных файлов. Колонка <b>«Итого»</b> содержит сумму взносов на страховую и на
накопительную часть пенсии за все отчётные периоды: первая цифра — начисленные взносы, вторая —
уплаченные. Вторая, третья и следующие колонки показывают взносы за один отчётный период каждая.</p>
<p><b>3.</b> Цвет итогов: <span style="color:#808080"><b>серый</b></span> — начисленные и
уплаченные взносы равны; <span style="color:#008000"><b>зелёный</b></span> — предупреждение:
начислено больше, чем уплачено; <span style="color:#ff0000"><b>красный</b></span> — ошибка:
уплачено больше, чем начислено.</p>
<p><b>4.</b> Застрахованное лицо находится строкой поиска:<br>
<img src="lorvi:search"></p>
<p><b>5.</b> Вкладки вида «Застрахованные лица»: <b>«Все»</b> — полный список застрахованных лиц
загруженных файлов; <b>«Начислено&lt;Уплачено»</b> — лица с ошибками;
<b>«Начислено&gt;Уплачено»</b> — лица, у которых начислено больше, чем уплачено;
<b>«Уволенные»</b> — лица, отработавшие не весь отчётный период.</p>
<p><b>6.</b> Если выбрать ячейку со взносами одного отчётного периода в виде «Застрахованные
лица», на панели «Загрузка файлов» выделяется файл, из которого прочитана эта сумма.</p>
<p><b>7.</b> Кнопка <img src="lorvi:adv" style="vertical-align:middle"> показывает данные
файлов АДВ-6-2 по отчётным периодам.</p>
</div>)";

}  // namespace

TfHelp::TfHelp(const HelpPictures& pictures, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Описание программы:"));
  // A fixed dialog without title-bar buttons: only OK closes it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(667, 746);
  const QFont font = WindowFont();
  setFont(font);

  PageControl1 = new QTabWidget(this);
  PageControl1->setGeometry(0, 0, 667, 704);

  auto* description = new QWidget();
  Image1 = new QTextBrowser(description);
  Image1->setGeometry(0, 0, 659, 681);
  Image1->setFrameShape(QFrame::NoFrame);
  Image1->setOpenLinks(false);
  Image1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Image1->viewport()->setAutoFillBackground(false);
  Image1->setStyleSheet(QStringLiteral("background: transparent"));
  Image1->document()->addResource(QTextDocument::ImageResource, QUrl("lorvi:load"),
                                  pictures.loadButton.toImage());
  Image1->document()->addResource(QTextDocument::ImageResource, QUrl("lorvi:search"),
                                  pictures.searchStrip.toImage());
  Image1->document()->addResource(QTextDocument::ImageResource, QUrl("lorvi:adv"),
                                  pictures.advButton.toImage());
  Image1->setHtml(QString::fromUtf8(kDescription));
  PageControl1->addTab(description, QStringLiteral("Описание:"));

  auto* history = new QWidget();
  Label1 = new QLabel(history);
  QString text = QString::fromUtf8(kVersionHistory);
  Label1->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bold = font;
  bold.setPointSize(10);
  bold.setBold(true);
  Label1->setFont(bold);
  QPalette palette = Label1->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  Label1->setPalette(palette);
  Label1->setGeometry(0, 0, 659, 677);
  PageControl1->addTab(history, QStringLiteral("Доработка:"));
  // The layout names the history as the active page; opening shows the description all the same.
  PageControl1->setCurrentIndex(1);

  bOK = new QPushButton(QStringLiteral("OK"), this);
  bOK->setGeometry(297, 712, 75, 25);
  bOK->setDefault(true);
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  setTabOrder(bOK, PageControl1);
  bOK->setFocus();

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormCreate();
}

void TfHelp::FormCreate() { PageControl1->setCurrentIndex(0); }

}  // namespace lorvi
