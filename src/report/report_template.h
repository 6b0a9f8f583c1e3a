#pragma once

#include <QColor>
#include <QList>
#include <QMarginsF>
#include <QPair>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

namespace lorvi::report {

struct DataSet;

// Geometry is in millimetres throughout the template; font sizes and frame widths are in points.

struct TextFont {
  QString family = QStringLiteral("Arial");
  double size = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  friend bool operator==(const TextFont&, const TextFont&) = default;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

struct FrameLines {
  bool left = false;
  bool top = false;
  bool right = false;
  bool bottom = false;
  double width = 0.5;  // points

  bool Any() const { return left || top || right || bottom; }
  friend bool operator==(const FrameLines&, const FrameLines&) = default;
};

// How a text object shows its text. A memo of the template hands it on unchanged to each item it
// is laid out into, so that the two cannot drift apart.
struct TextStyle {
  TextFont font;
  HAlign hAlign = HAlign::Left;
  VAlign vAlign = VAlign::Top;
  FrameLines frame;
  QColor color = Qt::black;
  QColor fill;  // invalid: transparent
  double padding = 0.5;
  bool wordWrap = true;
};

// A text object. Its text may hold expressions in square brackets.
struct Memo : TextStyle {
  QString name;
  QRectF rect;  // inside the band, from its top-left corner
  QString text;
  bool grow = false;     // height grows to fit the text
  bool stretch = false;  // bottom follows the band's final bottom
  bool allowExpressions = true;
};

enum class BandKind { ReportTitle, PageHeader, MasterData, PageFooter };

class Band {
 public:
  explicit Band(BandKind kind) : kind_(kind) {}
  virtual ~Band() = default;
  Band(const Band&) = delete;
  Band& operator=(const Band&) = delete;

  BandKind Kind() const { return kind_; }

  QString name;
  double height = 0;
  QList<Memo> memos;

 private:
  BandKind kind_;
};

// Repeated once per record of its dataset.
class MasterDataBand : public Band {
 public:
  MasterDataBand() : Band(BandKind::MasterData) {}

  // The dataset name the template gives, matched against the report's datasets when no dataset
  // was set directly.
  QString dataSetName;

  // Not owned; must outlive the preparation of the report.
  void SetDataSet(const DataSet* data) { dataSet_ = data; }
  const DataSet* BoundDataSet() const { return dataSet_; }

 private:
  const DataSet* dataSet_ = nullptr;
};

struct PageSettings {
  QSizeF size{210, 297};  // as printed, orientation applied
  QMarginsF margins{10, 10, 10, 10};

  bool Landscape() const { return size.width() > size.height(); }
  QRectF Body() const { return QRectF(QPointF(0, 0), size).marginsRemoved(margins); }
};

// A loaded template: the page, the bands in the order of the file, and the template's own
// variables with their default values.
struct ReportTemplate {
  PageSettings page;
  std::vector<std::unique_ptr<Band>> bands;
  QList<QPair<QString, QString>> variables;

  // A copy of its own: bands and memos copied, data bands bound to the same datasets.
  ReportTemplate Copy() const;
  const Band* FindBand(BandKind kind) const;
  // Band or memo of that name (letter case ignored).
  bool HasObject(const QString& name) const;
  MasterDataBand* FindMasterData(const QString& name);
};

}  // namespace lorvi::report
