// SPDX-License-Identifier: MIT
// A document to print: headings, paragraphs, tables, timelines and room to write, in order. The
// runner and the windows build it with the standard library; the program entry and the windows
// hand in the painter that lays it out on A4 pages as PDF (the runner itself uses no Qt).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "timeline/timeline_model.h"
#include "timeline/timeline_picture.h"

namespace kelpa {

// A table split over as many pages as it needs, its column names again at the top of each; a
// row is never cut.
struct PrintTable {
  std::vector<std::string> Columns;
  std::vector<std::vector<std::string>> Rows;
  // Per column: numbers are aligned right. Missing entries are left-aligned.
  std::vector<bool> RightAligned;
  // Cells drawn as boxes, for a worksheet's blanks to fill in by hand.
  bool Ruled = false;
};

// The picture of a run, split by ticks over as many pages as its width needs.
struct PrintTimeline {
  std::shared_ptr<const TimelineModel> Model;
  TimelineFrame Frame;
  TimelineTexts Texts;
};

struct PrintBlock {
  enum class Kind {
    Title,         // Text, large, once at the top
    Heading,       // Text, a section's name
    Paragraph,     // Text, wrapped to the page
    Preformatted,  // Text, its lines as they are in a fixed-width font (a scenario's header)
    Table,         // Table
    Timeline,      // Timeline
    WritingSpace,  // Lines ruled lines to write on
    PageBreak,
  };
  Kind What = Kind::Paragraph;
  std::string Text;
  PrintTable Table;
  PrintTimeline Timeline;
  int Lines = 0;
};

struct PrintDocument {
  std::string Title;  // the PDF's own title
  // Under every page, with %1 the page's number and %2 the number of pages (from the
  // catalogue, so it reads in the user's language); none when empty.
  std::string PageFooter;
  std::vector<PrintBlock> Blocks;
};

// Writes doc as an A4 PDF to file, whole or not at all; false when it could not.
using PdfPainter = std::function<bool(const PrintDocument& doc, const std::string& file)>;

}  // namespace kelpa
