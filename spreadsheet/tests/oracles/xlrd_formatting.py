#!/usr/bin/python3
"""Prints what python3-xlrd sees of a .xls file's content and formatting, one fact a line, for the
spreadsheet tests to compare before and after a change:
  sheet<TAB>index<TAB>name
  merged<TAB>sheet<TAB>first row<TAB>last row<TAB>first column<TAB>last column (0-based, ends excluded)
  width<TAB>sheet<TAB>column<TAB>width
  cell<TAB>sheet<TAB>row<TAB>column<TAB>kind<TAB>format<TAB>bold<TAB>font height<TAB>repr(value)
Exit status 2 when xlrd is not installed."""
import sys

try:
    import xlrd
except ImportError:
    sys.exit(2)

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
out = []
for i, sheet in enumerate(book.sheets()):
    out.append('sheet\t%d\t%s' % (i, sheet.name))
    for m in sheet.merged_cells:
        out.append('merged\t%d\t%d\t%d\t%d\t%d' % ((i,) + tuple(m)))
    for col, info in sorted(sheet.colinfo_map.items()):
        out.append('width\t%d\t%d\t%d' % (i, col, info.width))
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            fmt = book.format_map[xf.format_key].format_str
            out.append('cell\t%d\t%d\t%d\t%d\t%s\t%d\t%d\t%r' % (i, r + 1, c + 1, cell.ctype, fmt, font.bold,
                                                             font.height, cell.value))
sys.stdout.buffer.write(('\n'.join(out) + '\n').encode('utf-8'))
