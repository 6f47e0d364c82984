#!/usr/bin/python3
"""Writes the demo declaration spreadsheets (one import, one export) with xlwt.

Layout of a declaration sheet: header values in rows 1 to 5, columns 2, 5, 8, 11, 14 and 17, each
after its label; list section A in columns 19 to 21 and list section B in columns 22 and 23 from
row 3 down; goods lines from row 7 down (column 1 the line number), then the totals row.
Run: /usr/bin/python3 demo/make_samples.py  (writes next to this script, in samples/)
"""
import os
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))

GOODS_TITLES = ["序号", "规格型号", "货号", "商品名称", "商品编号", "原产国(地区)", "成交数量", "成交单位",
                "单价", "法定数量", "第二数量", "第二单位", "总价", "生产厂商", "", "", "", "备案序号"]


def sheet_with(header, lists_a, lists_b, goods, totals):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("报关单")
    # header: {(row, col): (label, value)}; the label sits in the column before the value
    for (row, col), (label, value) in header.items():
        sheet.write(row - 1, col - 2, label)
        if value != "":
            sheet.write(row - 1, col - 1, value)
    sheet.write(1, 18, "集装箱号")
    sheet.write(1, 19, "规格")
    sheet.write(1, 20, "自重")
    sheet.write(1, 21, "随附单证代码")
    sheet.write(1, 22, "随附单证编号")
    for i, row in enumerate(lists_a):
        for j, value in enumerate(row):
            if value != "":
                sheet.write(2 + i, 18 + j, value)
    for i, row in enumerate(lists_b):
        for j, value in enumerate(row):
            if value != "":
                sheet.write(2 + i, 21 + j, value)
    for j, title in enumerate(GOODS_TITLES):
        if title:
            sheet.write(5, j, title)
    for i, line in enumerate(goods):
        sheet.write(6 + i, 0, i + 1)
        for col, value in line.items():
            sheet.write(6 + i, col - 1, value)
    t = 6 + len(goods)
    sheet.write(t, 12, "合计")
    for col, value in totals.items():
        sheet.write(t, col - 1, value)
    return book


def import_sample():
    header = {
        (1, 2): ("经营单位", "3302961234"), (1, 5): ("进口口岸", "3104"), (1, 8): ("运输工具名称", "COSCO ASIA/051E"),
        (1, 11): ("提运单号", "COSU6123456780"), (1, 14): ("监管方式", "0110"), (1, 17): ("杂费", ""),
        (2, 8): ("收货单位", "3302961234"), (2, 11): ("征免性质", "101"), (2, 14): ("运费", "USD1500"),
        (2, 17): ("保费", "0.3"),
        (3, 5): ("许可证号", ""), (3, 8): ("起运国(地区)", "日本"), (3, 14): ("备案号", ""),
        (4, 2): ("装货港", "大阪"), (4, 5): ("境内目的地", "宁波"), (4, 8): ("申报地海关", "3104"),
        (4, 11): ("批准文号", ""), (4, 14): ("用途", "企业自用"), (4, 17): ("成交方式", "CIF"),
        (5, 2): ("消费使用单位", "宁波甬华电子有限公司"), (5, 5): ("件数", 42), (5, 8): ("包装种类", "纸箱"),
        (5, 14): ("标记唛码及备注", "N/M"),
    }
    goods = [
        {2: "型号 AX-200", 4: "数控机床零件", 5: "8466930000", 6: "日本", 7: 120, 8: "个", 9: 25.5,
         10: 120, 13: 3060, 14: "大阪精工"},
        {2: "φ20mm", 4: "不锈钢螺栓", 5: "73181500", 6: "台湾", 7: 5000, 8: "千克", 9: 1.2, 10: 5000,
         11: 5000, 12: "千克", 13: 6000, 14: "台北五金"},
        {2: "PCB 4层", 4: "印刷电路板", 5: "8534009000", 6: "台湾省", 7: 800, 8: "块", 9: 4.75, 10: 800,
         13: 3800, 14: "新竹电子", 18: 12},
    ]
    totals = {14: "USD12860.00", 15: 42, 16: 5230.5, 17: 5105}
    return sheet_with(header, [["TGHU1234567", "40", "3800"], ["MSKU7654321", "", "2200"]],
                      [["  A ", " 3104200000123456 "], ["B", ""]], goods, totals)


def export_sample():
    header = {
        (1, 2): ("经营单位", "3302961234"), (1, 5): ("出口口岸", "3104"), (1, 8): ("运输工具名称", "MAERSK KIEL/812W"),
        (1, 11): ("提运单号", "MAEU5550001"), (1, 14): ("监管方式", "0110"), (1, 17): ("杂费", ""),
        (2, 8): ("发货单位", "3302961234"), (2, 11): ("征免性质", "101"), (2, 14): ("运费", "USD800"),
        (2, 17): ("保费", ""),
        (3, 5): ("许可证号", ""), (3, 8): ("运抵国(地区)", "德国"), (3, 11): ("合同协议号", "NB2026-118"),
        (3, 14): ("备案号", ""), (3, 17): ("结汇方式", "T/T"),
        (4, 2): ("指运港", "汉堡"), (4, 5): ("境内货源地", ""), (4, 8): ("申报地海关", "3104"),
        (4, 11): ("批准文号", ""), (4, 14): ("用途", ""), (4, 17): ("成交方式", "FOB"),
        (5, 2): ("生产销售单位", "宁波甬华电子有限公司"), (5, 5): ("件数", 18), (5, 8): ("包装种类", "木箱"),
        (5, 11): ("生产厂家", "宁波甬华电子有限公司"), (5, 14): ("标记唛码及备注", "YH/HAMBURG"),
    }
    goods = [
        {2: "220V 50Hz", 3: "YH-01", 4: "电动工具", 5: "8467291000", 6: "德国", 7: 300, 8: "台", 9: 38,
         10: 300, 13: 11400, 14: "甬华电子"},
        {2: "10米", 3: "YH-02", 4: "延长电线", 5: "85444921", 6: "德国", 7: 1000, 8: "根", 9: 2.6, 10: 1000,
         13: 2600, 14: "甬华电子"},
    ]
    totals = {14: "USD14000", 15: 18, 16: 2150, 17: 1980}
    return sheet_with(header, [["TCLU2223334", "20", "2100"]], [["B", "3104200000654321"]], goods, totals)


def main():
    out = os.path.join(HERE, "samples")
    os.makedirs(out, exist_ok=True)
    import_sample().save(os.path.join(out, "进口报关单样例.xls"))
    export_sample().save(os.path.join(out, "出口报关单样例.xls"))


if __name__ == "__main__":
    main()
