#!/usr/bin/python3
"""Reads tab-separated rows from standard input (\\t, \\n, \\r and \\\\ escaped as the command-line
tool writes them) and writes them with python3-xlwt, every cell a text cell formatted "@", the
way customs-assistant-cli xls-write does. Usage: xlwt_write_tsv.py OUT.xls < rows.tsv"""
import sys

import xlwt

ESCAPES = {'t': '\t', 'n': '\n', 'r': '\r', '\\': '\\'}


def unescape(text):
    if '\\' not in text:
        return text
    out, i = [], 0
    while i < len(text):
        ch = text[i]
        if ch == '\\' and i + 1 < len(text) and text[i + 1] in ESCAPES:
            out.append(ESCAPES[text[i + 1]])
            i += 2
        else:
            out.append(ch)
            i += 1
    return ''.join(out)


wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('StringGrid1')
style = xlwt.easyxf(num_format_str='@')
lines = sys.stdin.buffer.read().decode('utf-8').split('\n')
if lines and lines[-1] == '':
    lines.pop()  # the line break that ends the last row
for r, line in enumerate(lines):
    if line.endswith('\r'):
        line = line[:-1]
    for c, value in enumerate(line.split('\t')):
        ws.write(r, c, unescape(value), style)
wb.save(sys.argv[1])
