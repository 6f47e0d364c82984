#!/usr/bin/python3
"""Independent reading of a .xls file with python3-xlrd, for the spreadsheet tests.

Prints, for every sheet: "sheet<TAB>index<TAB>name<TAB>active", then one line per non-empty cell:
"row<TAB>column<TAB>kind<TAB>format<TAB>value" (1-based, value escaped like xls-dump).
Exit status 2 when xlrd is not installed.
"""
import sys

try:
    import xlrd
except ImportError:
    sys.exit(2)


def esc(s):
    return s.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')


book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
kinds = {xlrd.XL_CELL_TEXT: 'text', xlrd.XL_CELL_NUMBER: 'number', xlrd.XL_CELL_DATE: 'date',
         xlrd.XL_CELL_BOOLEAN: 'boolean', xlrd.XL_CELL_ERROR: 'error', xlrd.XL_CELL_BLANK: 'blank'}
out = []
for i, sheet in enumerate(book.sheets()):
    out.append('sheet\t%d\t%s\t%d' % (i, esc(sheet.name), sheet.sheet_visible))
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
            value = cell.value
            if cell.ctype == xlrd.XL_CELL_NUMBER and value == int(value):
                value = int(value)
            out.append('%d\t%d\t%s\t%s\t%s' % (r + 1, c + 1, kinds[cell.ctype], fmt, esc(str(value))))
sys.stdout.buffer.write(('\n'.join(out) + '\n').encode('utf-8'))
