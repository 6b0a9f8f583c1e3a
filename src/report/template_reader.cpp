#include "report/template_reader.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <optional>

#include "report/report_error.h"

namespace lorvi::report {
namespace {

struct ParseError {
  QString text;
};

struct NamedSize {
  const char* name;
  double width;
  double height;
};

// Portrait sizes in millimetres.
constexpr NamedSize kPaperSizes[] = {
    {"A3", 297, 420},         {"A4", 210, 297},        {"A5", 148, 210},
    {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6},
};

class Reader {
 public:
  explicit Reader(const QByteArray& xml) : xml_(xml) {}

  void Read(ReportTemplate* out) {
    if (!xml_.readNextStartElement()) {
      CheckXml();
      Fail(QStringLiteral("в файле нет элемента <Report>"));
    }
    if (xml_.name() != u"Report")
      Fail(QStringLiteral("ожидался элемент <Report>, а не <%1>").arg(xml_.name()));
    CheckAttributes({"version"});
    bool sawPage = false;
    while (xml_.readNextStartElement()) {
      if (xml_.name() == u"Variables") {
        ReadVariables(out);
      } else if (xml_.name() == u"Page") {
        if (sawPage) Fail(QStringLiteral("в шаблоне может быть только одна страница <Page>"));
        sawPage = true;
        ReadPage(out);
      } else {
        UnknownElement();
      }
    }
    CheckXml();
    if (!sawPage) Fail(QStringLiteral("в шаблоне нет страницы <Page>"));
  }

 private:
  [[noreturn]] void Fail(const QString& text) const {
    throw ParseError{QStringLiteral("строка %1: %2").arg(xml_.lineNumber()).arg(text)};
  }

  void CheckXml() const {
    if (xml_.hasError())
      throw ParseError{QStringLiteral("строка %1: ошибка XML: %2")
                           .arg(xml_.lineNumber())
                           .arg(xml_.errorString())};
  }

  [[noreturn]] void UnknownElement() const {
    CheckXml();
    Fail(QStringLiteral("неизвестный элемент <%1>").arg(xml_.name()));
  }

  // Misspelt attributes would otherwise be dropped without a trace.
  void CheckAttributes(std::initializer_list<const char*> known) const {
    for (const QXmlStreamAttribute& attribute : xml_.attributes()) {
      bool found = false;
      for (const char* name : known) found = found || attribute.name() == QLatin1String(name);
      if (!found)
        Fail(QStringLiteral("у элемента <%1> нет атрибута %2").arg(xml_.name(), attribute.name()));
    }
  }

  std::optional<QString> Attribute(const char* name) const {
    const QXmlStreamAttributes attributes = xml_.attributes();
    if (!attributes.hasAttribute(QLatin1String(name))) return std::nullopt;
    return attributes.value(QLatin1String(name)).toString();
  }

  double Number(const char* name, double fallback, double minimum = 0) const {
    const auto text = Attribute(name);
    if (!text) return fallback;
    bool ok = false;
    const double value = text->trimmed().toDouble(&ok);
    if (!ok) Fail(QStringLiteral("атрибут %1: \"%2\" не число").arg(name, *text));
    if (value < minimum)
      Fail(QStringLiteral("атрибут %1: значение %2 меньше %3").arg(name, *text).arg(minimum));
    return value;
  }

  bool Flag(const char* name, bool fallback) const {
    const auto text = Attribute(name);
    if (!text) return fallback;
    const QString value = text->trimmed().toLower();
    if (value == u"true" || value == u"yes" || value == u"1") return true;
    if (value == u"false" || value == u"no" || value == u"0") return false;
    Fail(QStringLiteral("атрибут %1: ожидалось true или false, а не \"%2\"").arg(name, *text));
  }

  QColor Color(const char* name, const QColor& fallback) const {
    const auto text = Attribute(name);
    if (!text) return fallback;
    if (text->trimmed().isEmpty() || text->trimmed().toLower() == u"none") return QColor();
    const QColor color = QColor::fromString(text->trimmed());
    if (!color.isValid())
      Fail(QStringLiteral("атрибут %1: неизвестный цвет \"%2\"").arg(name, *text));
    return color;
  }

  QString Name() {
    QString name = Attribute("name").value_or(QString()).trimmed();
    if (name.isEmpty()) return name;
    if (names_.contains(name.toLower()))
      Fail(QStringLiteral("имя %1 уже занято другим объектом").arg(name));
    names_.insert(name.toLower());
    return name;
  }

  void ReadVariables(ReportTemplate* out) {
    CheckAttributes({});
    while (xml_.readNextStartElement()) {
      if (xml_.name() != u"Variable") UnknownElement();
      CheckAttributes({"name", "value"});
      const QString name = Attribute("name").value_or(QString()).trimmed();
      if (name.isEmpty()) Fail(QStringLiteral("у переменной нет имени"));
      out->variables.append({name, Attribute("value").value_or(QString())});
      xml_.skipCurrentElement();
    }
    CheckXml();
  }

  void ReadPage(ReportTemplate* out) {
    CheckAttributes({"size", "width", "height", "orientation", "margins"});
    QSizeF size(210, 297);
    if (const auto paper = Attribute("size")) {
      bool found = false;
      for (const NamedSize& named : kPaperSizes) {
        if (paper->trimmed().compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0) {
          size = QSizeF(named.width, named.height);
          found = true;
        }
      }
      if (!found) Fail(QStringLiteral("неизвестный формат страницы \"%1\"").arg(*paper));
    }
    size.setWidth(Number("width", size.width(), 1));
    size.setHeight(Number("height", size.height(), 1));
    const QString orientation = Attribute("orientation").value_or(QString()).trimmed().toLower();
    if (orientation == u"landscape") {
      if (size.width() < size.height()) size.transpose();
    } else if (orientation == u"portrait") {
      if (size.width() > size.height()) size.transpose();
    } else if (!orientation.isEmpty()) {
      Fail(
          QStringLiteral("ориентация бывает portrait или landscape, а не \"%1\"").arg(orientation));
    }
    out->page.size = size;
    out->page.margins = Margins();
    if (out->page.Body().width() <= 0 || out->page.Body().height() <= 0)
      Fail(QStringLiteral("поля не оставляют места на странице"));

    while (xml_.readNextStartElement()) {
      std::unique_ptr<Band> band;
      if (xml_.name() == u"ReportTitle") {
        band = std::make_unique<Band>(BandKind::ReportTitle);
      } else if (xml_.name() == u"PageHeader") {
        band = std::make_unique<Band>(BandKind::PageHeader);
      } else if (xml_.name() == u"PageFooter") {
        band = std::make_unique<Band>(BandKind::PageFooter);
      } else if (xml_.name() == u"MasterData") {
        auto data = std::make_unique<MasterDataBand>();
        data->dataSetName = Attribute("dataset").value_or(QString()).trimmed();
        band = std::move(data);
      } else {
        UnknownElement();
      }
      if (band->Kind() == BandKind::MasterData)
        CheckAttributes({"name", "height", "dataset"});
      else
        CheckAttributes({"name", "height"});
      if (band->Kind() != BandKind::MasterData && out->FindBand(band->Kind()))
        Fail(QStringLiteral("второй раздел <%1>").arg(xml_.name()));
      band->name = Name();
      band->height = Number("height", 0);
      ReadMemos(band.get(), out->page.Body().width());
      out->bands.push_back(std::move(band));
    }
    CheckXml();
  }

  QMarginsF Margins() const {
    const auto text = Attribute("margins");
    if (!text) return QMarginsF(10, 10, 10, 10);
    QList<double> values;
    for (const QString& part :
         text->split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts)) {
      bool ok = false;
      values.append(part.toDouble(&ok));
      if (!ok || values.last() < 0)
        Fail(QStringLiteral("атрибут margins: \"%1\" не размер").arg(part));
    }
    if (values.size() == 1) return QMarginsF(values[0], values[0], values[0], values[0]);
    if (values.size() == 4) return QMarginsF(values[0], values[1], values[2], values[3]);
    Fail(QStringLiteral("атрибут margins: одно число или четыре (слева, сверху, справа, снизу)"));
  }

  void ReadMemos(Band* band, double bodyWidth) {
    while (xml_.readNextStartElement()) {
      if (xml_.name() != u"Memo") UnknownElement();
      CheckAttributes({"name", "left", "top", "width", "height", "font", "fontSize", "fontStyle",
                       "hAlign", "vAlign", "frame", "frameWidth", "color", "fill", "padding",
                       "wordWrap", "grow", "stretch", "expressions"});
      Memo memo;
      memo.name = Name();
      memo.rect = QRectF(Number("left", 0), Number("top", 0), Number("width", bodyWidth),
                         Number("height", 5));
      memo.font.family = Attribute("font").value_or(memo.font.family).trimmed();
      memo.font.size = Number("fontSize", memo.font.size, 1);
      ReadFontStyle(&memo.font);
      memo.hAlign = ReadHAlign();
      memo.vAlign = ReadVAlign();
      ReadFrame(&memo.frame);
      memo.color = Color("color", memo.color);
      memo.fill = Color("fill", memo.fill);
      memo.padding = Number("padding", memo.padding);
      memo.wordWrap = Flag("wordWrap", memo.wordWrap);
      memo.grow = Flag("grow", memo.grow);
      memo.stretch = Flag("stretch", memo.stretch);
      memo.allowExpressions = Flag("expressions", memo.allowExpressions);
      // Indentation around the text of a pretty-printed file is no part of it.
      memo.text = xml_.readElementText().trimmed();
      CheckXml();
      band->memos.append(memo);
    }
    CheckXml();
  }

  void ReadFontStyle(TextFont* font) const {
    const QString styles = Attribute("fontStyle").value_or(QString());
    for (const QString& style :
         styles.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
      const QString s = style.toLower();
      if (s == u"bold")
        font->bold = true;
      else if (s == u"italic")
        font->italic = true;
      else if (s == u"underline")
        font->underline = true;
      else if (s != u"regular")
        Fail(QStringLiteral("неизвестное начертание \"%1\"").arg(style));
    }
  }

  HAlign ReadHAlign() const {
    const QString value = Attribute("hAlign").value_or(QStringLiteral("left")).trimmed().toLower();
    if (value == u"left") return HAlign::Left;
    if (value == u"center") return HAlign::Center;
    if (value == u"right") return HAlign::Right;
    Fail(QStringLiteral("hAlign бывает left, center или right, а не \"%1\"").arg(value));
  }

  VAlign ReadVAlign() const {
    const QString value = Attribute("vAlign").value_or(QStringLiteral("top")).trimmed().toLower();
    if (value == u"top") return VAlign::Top;
    if (value == u"center") return VAlign::Center;
    if (value == u"bottom") return VAlign::Bottom;
    Fail(QStringLiteral("vAlign бывает top, center или bottom, а не \"%1\"").arg(value));
  }

  void ReadFrame(FrameLines* frame) const {
    const QString sides = Attribute("frame").value_or(QString());
    for (const QString& side :
         sides.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
      const QString s = side.toLower();
      if (s == u"all") {
        frame->left = frame->top = frame->right = frame->bottom = true;
      } else if (s == u"left") {
        frame->left = true;
      } else if (s == u"top") {
        frame->top = true;
      } else if (s == u"right") {
        frame->right = true;
      } else if (s == u"bottom") {
        frame->bottom = true;
      } else if (s != u"none") {
        Fail(QStringLiteral("неизвестная сторона рамки \"%1\"").arg(side));
      }
    }
    frame->width = Number("frameWidth", frame->width);
  }

  QXmlStreamReader xml_;
  QSet<QString> names_;
};

ReportTemplate Parse(const QByteArray& xml) {
  ReportTemplate design;
  Reader(xml).Read(&design);
  return design;
}

}  // namespace

ReportTemplate ReadTemplate(const QByteArray& xml) {
  try {
    return Parse(xml);
  } catch (const ParseError& e) {
    ThrowReportError(e.text);
  }
}

ReportTemplate ReadTemplateFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    ThrowReportError(
        QStringLiteral("Не удалось открыть шаблон %1: %2").arg(path, file.errorString()));
  try {
    return Parse(file.readAll());
  } catch (const ParseError& e) {
    ThrowReportError(QStringLiteral("Ошибка в шаблоне %1, %2").arg(path, e.text));
  }
}

}  // namespace lorvi::report
