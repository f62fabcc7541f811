// SPDX-License-Identifier: MIT
#include "gui/print/pdf_writer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "catalogue/fill_in.h"
#include "gui/timeline/qt_canvas.h"

namespace kelpa {
namespace {

constexpr int kDotsPerInch = 300;
constexpr double kMarginMm = 15;
constexpr double kBodyPt = 10;
constexpr double kTablePt = 9;
constexpr double kSmallestPt = 6;  // a table's or a header's font is reduced no further
constexpr double kPicturePixelMm = 0.3;
constexpr double kTickPixels = 6;  // a tick of the picture on paper: 1.8 mm

double Mm(double mm) {
  return mm * kDotsPerInch / 25.4;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QFont FontOf(double points, bool bold = false, bool fixed = false) {
  QFont font(fixed ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
  font.setStyleHint(fixed ? QFont::Monospace : QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// The picture above a line only: a slice but the last leaves out the legend, which would otherwise
// be drawn clipped, unseen but still read by anything that takes the text out of the file.
class CanvasAbove final : public TimelineCanvas {
 public:
  CanvasAbove(TimelineCanvas& canvas, double limit) : canvas_(canvas), limit_(limit) {}
  void Box(double x, double y, double w, double h, SpanFill fill, TColor colour,
           bool dashed) override {
    if (y < limit_) {
      canvas_.Box(x, y, w, h, fill, colour, dashed);
    }
  }
  void Line(double x1, double y1, double x2, double y2, TColor colour) override {
    if (std::min(y1, y2) < limit_) {
      canvas_.Line(x1, y1, x2, y2, colour);
    }
  }
  void Shape(const std::vector<CanvasPoint>& points, TColor fill, TColor stroke) override {
    if (std::any_of(points.begin(), points.end(),
                    [this](const CanvasPoint& p) { return p.Y < limit_; })) {
      canvas_.Shape(points, fill, stroke);
    }
  }
  void Text(double x, double y, const std::string& text, bool bold) override {
    if (y < limit_) {
      canvas_.Text(x, y, text, bold);
    }
  }

 private:
  TimelineCanvas& canvas_;
  double limit_;
};

// A table as it goes on paper: its font, its columns' widths, and the columns of each part when
// it is too wide for one (the first column, which names the row, starts every part).
struct TableShape {
  QFont Font;
  QFont Bold;
  double Pad = Mm(0.8);
  std::vector<double> Widths;
  std::vector<std::vector<std::size_t>> Parts;
  double HeaderHeight = 0;
  std::vector<double> RowHeights;
};

// Lays the blocks out page after page. Without a painter it only measures and counts the pages,
// so that the second pass can write "page 1 of N" under the first.
class PageWriter {
 public:
  PageWriter(QPdfWriter& device, QPainter* painter, const PrintDocument& doc, int pages,
             std::map<const PrintTable*, TableShape>& shapes)
      : device_(device),
        painter_(painter),
        doc_(doc),
        pages_(pages),
        shapes_(shapes),
        width_(device.width()),
        footerTop_(device.height() - Mm(6)) {}

  int Lay() {
    for (std::size_t b = 0; b < doc_.Blocks.size(); ++b) {
      const PrintBlock& block = doc_.Blocks[b];
      switch (block.What) {
        case PrintBlock::Kind::Title:
          Space(Mm(2));
          Words(block.Text, FontOf(18, true));
          Space(Mm(4));
          break;
        case PrintBlock::Kind::Heading:
          Space(Mm(4));
          // A heading stays with the beginning of what it names, through the paragraph that
          // introduces it.
          Need(Metrics(FontOf(13, true)).height() + Mm(2) + FirstPieceAfter(b));
          Words(block.Text, FontOf(13, true));
          Space(Mm(2));
          break;
        case PrintBlock::Kind::Paragraph:
          Words(block.Text, FontOf(kBodyPt));
          Space(Mm(2));
          break;
        case PrintBlock::Kind::Preformatted:
          Preformatted(block.Text);
          Space(Mm(2));
          break;
        case PrintBlock::Kind::Table:
          Table(block.Table);
          Space(Mm(3));
          break;
        case PrintBlock::Kind::Timeline:
          Timeline(block.Timeline);
          break;
        case PrintBlock::Kind::WritingSpace:
          for (int i = 0; i < block.Lines; ++i) {
            Need(Mm(8));
            y_ += Mm(8);
            if (painter_ != nullptr) {
              painter_->setPen(QPen(Qt::gray, Mm(0.15)));
              painter_->drawLine(QPointF(0, y_), QPointF(width_, y_));
            }
          }
          Space(Mm(2));
          break;
        case PrintBlock::Kind::PageBreak:
          if (y_ > 0) {
            NewPage();
          }
          break;
      }
    }
    Footer();
    return page_;
  }

 private:
  QFontMetricsF Metrics(const QFont& font) const { return QFontMetricsF(font, &device_); }

  void Space(double height) {
    if (y_ > 0) {
      y_ = std::min(y_ + height, footerTop_);
    }
  }

  // Moves to a new page unless height fits below; what is taller than a page starts one.
  void Need(double height) {
    if (y_ > 0 && y_ + height > footerTop_) {
      NewPage();
    }
  }

  void NewPage() {
    Footer();
    if (painter_ != nullptr) {
      device_.newPage();
    }
    ++page_;
    y_ = 0;
  }

  void Footer() {
    if (painter_ == nullptr || doc_.PageFooter.empty()) {
      return;
    }
    painter_->setFont(FontOf(8));
    painter_->setPen(Qt::darkGray);
    const std::string text =
        FillIn(doc_.PageFooter, {std::to_string(page_), std::to_string(pages_)});
    painter_->drawText(QRectF(0, footerTop_, width_, device_.height() - footerTop_),
                       Qt::AlignHCenter | Qt::AlignBottom, Q(text));
  }

  // Wrapped to the page's width, line by line, so a long paragraph continues on the next page.
  void Words(const std::string& text, const QFont& font) {
    QTextLayout layout(Q(text), font, &device_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double top = 0;
    std::vector<QTextLine> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width_);
      line.setPosition(QPointF(0, top));
      top += line.height();
      lines.push_back(line);
    }
    layout.endLayout();
    if (painter_ != nullptr) {
      painter_->setPen(Qt::black);
    }
    for (const QTextLine& line : lines) {
      Need(line.height());
      if (painter_ != nullptr) {
        line.draw(painter_, QPointF(0, y_ - line.y()));
      }
      y_ += line.height();
    }
  }

  // Its lines as given, in a fixed-width font made smaller until the widest fits; a line still
  // too wide at the smallest size goes on over the next lines.
  void Preformatted(const std::string& text) {
    QStringList lines = Q(text).split(QLatin1Char('\n'));
    while (!lines.empty() && lines.back().isEmpty()) {
      lines.pop_back();
    }
    QFont font = FontOf(kTablePt, false, true);
    double widest = 0;
    for (const QString& line : lines) {
      widest = std::max(widest, Metrics(font).horizontalAdvance(line));
    }
    if (widest > width_) {
      // A little under the exact ratio: the advance at the new size is rounded, and a line
      // that fits by measure must not lose its last letter to the rounding.
      font.setPointSizeF(std::max(kSmallestPt, 0.98 * kTablePt * width_ / widest));
    }
    const QFontMetricsF metrics = Metrics(font);
    const int fit = std::max(1, int(width_ / std::max(1.0, metrics.horizontalAdvance('M'))));
    if (painter_ != nullptr) {
      painter_->setFont(font);
      painter_->setPen(Qt::black);
    }
    for (const QString& whole : lines) {
      for (int from = 0; from == 0 || from < whole.size();) {
        // What does not fit goes on at the next line, from its last blank when it has one.
        int length = fit;
        if (from + fit < whole.size()) {
          const int blank = whole.lastIndexOf(QLatin1Char(' '), from + fit);
          length = blank > from ? blank - from + 1 : fit;
        }
        Need(metrics.lineSpacing());
        if (painter_ != nullptr) {
          painter_->drawText(QPointF(0, y_ + metrics.ascent()), whole.mid(from, length));
        }
        y_ += metrics.lineSpacing();
        from += length;
      }
    }
  }

  TableShape Shape(const PrintTable& table) const {
    TableShape shape;
    const std::size_t columns = table.Columns.size();
    const double cap = width_ / 2;  // a longer text is wrapped within its cell
    for (double points = kTablePt;; points = std::max(kSmallestPt, points - 1)) {
      shape.Font = FontOf(points);
      shape.Bold = FontOf(points, true);
      const QFontMetricsF plain = Metrics(shape.Font);
      const QFontMetricsF bold = Metrics(shape.Bold);
      // Each column as wide as its longest text, or, when they do not all fit, down to its
      // longest word, its texts then taking more than one line.
      std::vector<double> least(columns, table.Ruled ? Mm(14) : 0);
      std::vector<double> natural = least;
      const auto measure = [&](std::size_t c, const QFontMetricsF& metrics, const QString& text) {
        const double whole = metrics.horizontalAdvance(text);
        natural[c] = std::max(natural[c], whole);
        if (whole <= least[c]) {
          return;
        }
        for (const QString& word : text.split(QLatin1Char(' '))) {
          least[c] = std::max(least[c], metrics.horizontalAdvance(word));
        }
      };
      for (std::size_t c = 0; c < columns; ++c) {
        measure(c, bold, Q(table.Columns[c]));
      }
      for (const auto& row : table.Rows) {
        for (std::size_t c = 0; c < std::min(columns, row.size()); ++c) {
          measure(c, plain, Q(row[c]));
        }
      }
      double leastTotal = 0;
      double naturalTotal = 0;
      for (std::size_t c = 0; c < columns; ++c) {
        // With room to spare: the text drawn may come out a little wider than measured.
        least[c] = std::min(cap, least[c] * 1.03 + 2 * shape.Pad + Mm(0.5));
        natural[c] = std::min(cap, std::max(least[c], natural[c] * 1.03 + 2 * shape.Pad + Mm(0.5)));
        leastTotal += least[c];
        naturalTotal += natural[c];
      }
      const double share = naturalTotal <= width_ ? 1
                           : leastTotal >= width_
                               ? 0
                               : (width_ - leastTotal) / (naturalTotal - leastTotal);
      shape.Widths.resize(columns);
      for (std::size_t c = 0; c < columns; ++c) {
        shape.Widths[c] = least[c] + (natural[c] - least[c]) * share;
      }
      if (leastTotal <= width_ || points <= kSmallestPt) {
        break;
      }
    }
    // Still too wide at the smallest size: the columns in parts, each headed by the first.
    std::vector<std::size_t> part;
    double used = 0;
    for (std::size_t c = 0; c < columns; ++c) {
      if (!part.empty() && used + shape.Widths[c] > width_) {
        shape.Parts.push_back(part);
        part = {0};
        used = shape.Widths[0];
      }
      part.push_back(c);
      used += shape.Widths[c];
    }
    if (!part.empty()) {
      shape.Parts.push_back(part);
    }
    const double least = table.Ruled ? Mm(7) : 0;
    shape.HeaderHeight = CellsHeight(shape, shape.Bold, table.Columns, least);
    for (const auto& row : table.Rows) {
      shape.RowHeights.push_back(CellsHeight(shape, shape.Font, row, least));
    }
    return shape;
  }

  double CellsHeight(const TableShape& shape, const QFont& font,
                     const std::vector<std::string>& cells, double least) const {
    const QFontMetricsF metrics = Metrics(font);
    double height = metrics.height();
    for (std::size_t c = 0; c < std::min(cells.size(), shape.Widths.size()); ++c) {
      const double room = shape.Widths[c] - 2 * shape.Pad;
      const QString text = Q(cells[c]);
      if (metrics.horizontalAdvance(text) > room) {
        height = std::max(
            height,
            metrics.boundingRect(QRectF(0, 0, room, 1e6), Qt::TextWordWrap, text).height() * 1.1);
      }
    }
    return std::max(least, height + 2 * shape.Pad);
  }

  // The height of what a block cannot split: a table's names and first row, a timeline's first
  // slice, a few lines of anything else.
  double FirstPieceAfter(std::size_t heading) {
    const std::size_t next = heading + 1;
    if (next >= doc_.Blocks.size()) {
      return 0;
    }
    const PrintBlock& block = doc_.Blocks[next];
    if (block.What != PrintBlock::Kind::Paragraph || next + 1 >= doc_.Blocks.size()) {
      return FirstPiece(block);
    }
    const double paragraph = Metrics(FontOf(kBodyPt))
                                 .boundingRect(QRectF(0, 0, width_, footerTop_), Qt::TextWordWrap,
                                               QString::fromStdString(block.Text))
                                 .height();
    return paragraph + Mm(2) + FirstPiece(doc_.Blocks[next + 1]);
  }

  double FirstPiece(const PrintBlock& block) {
    if (block.What == PrintBlock::Kind::Table && !block.Table.Columns.empty()) {
      const TableShape& shape = ShapeOf(block.Table);
      return shape.HeaderHeight + (shape.RowHeights.empty() ? 0 : shape.RowHeights[0]);
    }
    if (block.What == PrintBlock::Kind::Timeline && block.Timeline.Model &&
        block.Timeline.Frame.Last >= block.Timeline.Frame.First) {
      return Slice(block.Timeline, block.Timeline.Frame.First).Height;
    }
    return Mm(20);
  }

  // Measured once for both passes: a long table has thousands of cells.
  const TableShape& ShapeOf(const PrintTable& table) {
    auto found = shapes_.find(&table);
    if (found == shapes_.end()) {
      found = shapes_.emplace(&table, Shape(table)).first;
    }
    return found->second;
  }

  void Table(const PrintTable& table) {
    if (table.Columns.empty()) {
      return;
    }
    const TableShape& shape = ShapeOf(table);
    for (std::size_t p = 0; p < shape.Parts.size(); ++p) {
      if (p > 0) {
        Space(Mm(3));
      }
      const auto& part = shape.Parts[p];
      Need(shape.HeaderHeight + (shape.RowHeights.empty() ? 0 : shape.RowHeights[0]));
      Row(table, shape, part, table.Columns, shape.HeaderHeight, true);
      for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        if (y_ + shape.RowHeights[r] > footerTop_) {
          NewPage();
          Row(table, shape, part, table.Columns, shape.HeaderHeight, true);
        }
        Row(table, shape, part, table.Rows[r], shape.RowHeights[r], false);
      }
    }
  }

  void Row(const PrintTable& table, const TableShape& shape, const std::vector<std::size_t>& part,
           const std::vector<std::string>& cells, double height, bool heading) {
    if (painter_ != nullptr) {
      painter_->setFont(heading ? shape.Bold : shape.Font);
      painter_->setPen(QPen(Qt::black, Mm(table.Ruled ? 0.2 : 0.1)));
      double x = 0;
      for (const std::size_t c : part) {
        const QRectF cell(x, y_, shape.Widths[c], height);
        if (heading) {
          painter_->fillRect(cell, QColor(225, 225, 225));
        }
        painter_->drawRect(cell);
        const bool right = !heading && c < table.RightAligned.size() && table.RightAligned[c];
        painter_->drawText(
            cell.adjusted(shape.Pad, shape.Pad, -shape.Pad, -shape.Pad),
            (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextWordWrap,
            c < cells.size() ? Q(cells[c]) : QString());
        x += shape.Widths[c];
      }
    }
    y_ += height;
  }

  struct TimelineSlice {
    TimelineFrame Frame;
    double Drawn = 0;   // of the picture's height: all but the legend, which only the last keeps
    double Scale = 1;   // paper per pixel of the picture
    double Height = 0;  // on paper
  };

  std::int64_t TicksPerSlice() const {
    const auto fit = static_cast<std::int64_t>(
        (width_ / Mm(kPicturePixelMm) - TimelineLayout::kLabelWidth - TimelineLayout::kMargin) /
        kTickPixels);
    return std::max<std::int64_t>(10, fit / 10 * 10);
  }

  // The slice from tick first: as wide as the page at a readable tick, smaller only when its
  // lanes would not fit the page's height.
  TimelineSlice Slice(const PrintTimeline& timeline, std::int64_t first) const {
    TimelineSlice slice;
    slice.Frame.First = first;
    slice.Frame.Last = std::min(timeline.Frame.Last, first + TicksPerSlice() - 1);
    slice.Frame.TickWidth = kTickPixels;
    if (first == timeline.Frame.First) {
      slice.Frame.Header = timeline.Frame.Header;
    }
    const TimelineLayout layout(slice.Frame, *timeline.Model);
    slice.Drawn = slice.Frame.Last == timeline.Frame.Last
                      ? layout.Height()
                      : layout.LegendTop() - TimelineLayout::kMargin;
    slice.Scale = std::min({Mm(kPicturePixelMm), width_ / layout.Width(),
                            (footerTop_ - Mm(2)) / std::max(1.0, slice.Drawn)});
    slice.Height = slice.Drawn * slice.Scale + Mm(2);
    return slice;
  }

  // The picture in slices of ticks, each with its lanes' labels.
  void Timeline(const PrintTimeline& timeline) {
    if (!timeline.Model || timeline.Frame.Last < timeline.Frame.First) {
      return;
    }
    for (std::int64_t first = timeline.Frame.First; first <= timeline.Frame.Last;
         first += TicksPerSlice()) {
      const TimelineSlice slice = Slice(timeline, first);
      Need(slice.Height);
      if (painter_ != nullptr) {
        painter_->save();
        painter_->translate(0, y_);
        painter_->scale(slice.Scale, slice.Scale);
        painter_->setClipRect(QRectF(0, 0, width_ / slice.Scale, slice.Drawn));
        QtCanvas canvas(*painter_);
        CanvasAbove above(canvas, slice.Drawn);
        DrawTimeline(*timeline.Model, slice.Frame, timeline.Texts, above);
        painter_->restore();
      }
      y_ += slice.Height;
    }
  }

  QPdfWriter& device_;
  QPainter* painter_;
  const PrintDocument& doc_;
  int pages_;
  std::map<const PrintTable*, TableShape>& shapes_;
  double width_;
  double footerTop_;
  int page_ = 1;
  double y_ = 0;
};

}  // namespace

bool WritePdf(const PrintDocument& doc, const std::string& file, std::string* error) {
  QSaveFile output(Q(file));
  const auto fail = [&](const QString& why) {
    if (error != nullptr) {
      *error = why.toStdString();
    }
    output.cancelWriting();
    return false;
  };
  if (!output.open(QIODevice::WriteOnly)) {
    return fail(output.errorString());
  }
  QPdfWriter writer(&output);
  writer.setResolution(kDotsPerInch);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                   QPageLayout::Millimeter));
  writer.setTitle(Q(doc.Title));
  writer.setCreator(QStringLiteral("Kelpa"));
  std::map<const PrintTable*, TableShape> shapes;
  const int pages = PageWriter(writer, nullptr, doc, 0, shapes).Lay();
  QPainter painter;
  if (!painter.begin(&writer)) {
    return fail(output.errorString());
  }
  PageWriter(writer, &painter, doc, pages, shapes).Lay();
  if (!painter.end() || output.error() != QFileDevice::NoError) {
    return fail(output.errorString());
  }
  if (!output.commit()) {
    if (error != nullptr) {
      *error = output.errorString().toStdString();
    }
    return false;
  }
  return true;
}

}  // namespace kelpa
