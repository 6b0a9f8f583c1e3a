#include "workbook/sheet_formats.h"

#include "view/cell_look.h"

namespace lorvi {
namespace {

template <typename Setup>
lxw_format* Made(XlsxBook& book, Setup setup) {
  lxw_format* format = book.AddFormat();
  setup(format);
  return format;
}

}  // namespace

SheetFormats::SheetFormats(XlsxBook& book) {
  header = Made(book, [](lxw_format* f) {
    format_set_bold(f);
    format_set_align(f, LXW_ALIGN_CENTER);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(f);
    format_set_bg_color(f, 0xE0E0E0);
  });
  text = Made(book, [](lxw_format*) {});
  amount = Made(book, [](lxw_format* f) { format_set_num_format(f, "#,##0.00"); });
  const lxw_color_t colours[] = {Rgb(CellLook::kGrey), Rgb(CellLook::kGreen), Rgb(CellLook::kRed)};
  for (int v = 0; v < 3; ++v) {
    difference[v] = Made(book, [&](lxw_format* f) {
      format_set_num_format(f, "#,##0.00");
      format_set_font_color(f, colours[v]);
    });
    totalDifference[v] = Made(book, [&](lxw_format* f) {
      format_set_num_format(f, "#,##0.00");
      format_set_font_color(f, colours[v]);
      format_set_bold(f);
      format_set_top(f, LXW_BORDER_THIN);
    });
  }
  totalAmount = Made(book, [](lxw_format* f) {
    format_set_num_format(f, "#,##0.00");
    format_set_bold(f);
    format_set_top(f, LXW_BORDER_THIN);
  });
  total = Made(book, [](lxw_format* f) {
    format_set_bold(f);
    format_set_top(f, LXW_BORDER_THIN);
  });
}

}  // namespace lorvi
