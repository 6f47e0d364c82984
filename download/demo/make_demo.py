#!/usr/bin/env python3
"""Writes the download demo fixtures for the stand-in customs client: one query screen per
declaration kind, a dozen rows each, general trade (opened and read in full) and other trade modes
(stored from the list alone). The program's own demo client (demo/standin.json) starts on the entry
form and holds the import query screen, which its "查询界面" button shows for a download.
Run it again after changing it: python3 make_demo.py"""
import json
import pathlib

HERE = pathlib.Path(__file__).parent

COMPANIES = [("3101234567", "上海华东机电进出口有限公司"), ("4403981234", "深圳市南海电子科技有限公司"),
             ("3301556677", "杭州西湖丝绸贸易有限公司"), ("3702110088", "青岛海润食品有限公司"),
             ("1201334455", "天津滨海化工有限公司"), ("4401778899", "广州白云五金制品厂")]
AGENT = ("3101980001", "上海东方报关有限公司")
PORTS = [("2201", "吴淞海关"), ("5316", "蛇口海关"), ("4218", "青岛大港"), ("0202", "新港海关")]
SHIPS = ["COSCO TAURUS", "MAERSK EVORA", "CSCL SATURN", "EVER GIVEN", "OOCL ASIA", "@汽车运输"]
OTHER_MODES = ["进料加工", "来料加工", "暂时进出境", "保税区仓储转口"]
GOODS = [("84713000", "笔记本电脑", "联想 E14 14英寸", "台", "千克"),
         ("85171200", "移动电话", "华为 Mate 60 Pro", "台", "千克"),
         ("61091000", "棉制针织T恤衫", "100%棉 男式", "件", "千克"),
         ("09021090", "绿茶", "龙井 一级 250克/罐", "千克", "千克"),
         ("73181500", "不锈钢螺钉", "M6x20 A2-70", "千克", "千克"),
         ("39269090", "塑料收纳盒", "PP 30x20x15厘米", "个", "千克"),
         ("94036000", "实木餐桌", "橡木 1.6米", "张", "千克"),
         ("16041400", "金枪鱼罐头", "185克/罐", "千克", "千克")]
COUNTRIES = ["日本", "美国", "德国", "韩国", "澳大利亚", "中国台湾"]


def serial(kind_no, n):
    return f"{kind_no}{n:08d}"


def header_texts(imp, key, hg, company, port, ship, date, mode, n):
    """Texts by header-edit position; the export form places each field one position earlier."""
    shift = 0 if imp else 1
    fields = {
        79: key, 77: "9" + key[1:], 75: hg, 73: port[1], 71: "" if mode == "一般贸易" else f"C{n:011d}",
        69: f"HT2024-{n:04d}", 67: date, 65: date[:6] + f"{int(date[6:]) + 1:02d}", 3: company[0],
        63: company[1], 62: "3", 58: company[0], 57: company[1], 53: AGENT[0], 52: AGENT[1], 60: "江海运输",
        55: ship, 50: f"{n:03d}E", 48: f"BL{date}{n:03d}", 46: mode, 44: "一般征税", 6: company[1],
        40: COUNTRIES[n % len(COUNTRIES)], 36: "东京" if n % 2 else "汉堡", 38: "上海浦东新区", 34: "",
        32: "CIF" if imp else "FOB", 25: "502/1500/3", 24: "USD", 21: "0.3", 20: "", 17: "", 16: "",
        30: str(10 + n), 28: "纸箱", 14: f"{1200 + 37 * n}", 12: f"{1100 + 31 * n}",
        10: f"TGHU{8800000 + n:07d}", 8: "", 1: "通关无纸化", 4: "演示数据 第" + str(n) + "票",
    }
    texts = {pos - shift: text for pos, text in fields.items()}
    # Import: position 81 is the licence number (also stored as 征税比例). Export: 80 is 结汇方式.
    texts[81] = ""
    if not imp:
        texts[80] = "电汇"
    return {str(p): t for p, t in sorted(texts.items())}


def goods_texts(imp, index, good, n):
    code, name, model, unit, legal_unit = good
    qty = 5 * (index + 1) + n
    price = 10 * (index + 2) + n
    f = {0: code, 1: name, 2: "自用" if imp else "其他", 4: "照章征税", 7: COUNTRIES[(n + index) % 6],
         9: "", 11: "", 14: f"ART-{n:02d}{index:02d}", 16: "", 18: legal_unit, 20: str(qty * 3), 22: "USD",
         24: f"{qty * price:.2f}", 26: f"{price:.2f}", 28: unit, 30: str(qty), 32: model, 35: "",
         38: "", 40: str(index + 1)}
    if imp:
        return {str(p): t for p, t in sorted(f.items())}
    # Export form: the same fields laid out for export, plus processing fee and manufacturer.
    e = {0: code, 1: name, 2: "照章征税", 6: "中国", 8: "0", 10: "", 12: "", 14: "宁波制造厂",
         16: f"ART-{n:02d}{index:02d}", 18: "", 20: legal_unit, 22: str(qty * 3), 24: "USD",
         26: f"{qty * price:.2f}", 28: f"{price:.2f}", 30: unit, 32: str(qty), 34: model, 37: "", 40: "",
         42: str(index + 1)}
    return {str(p): t for p, t in sorted(e.items())}


def fixture(kind, kind_no, query_date):
    imp = kind == "进口报关单"
    rows, declarations = [], {}
    for n in range(1, 13):
        general = n % 3 != 0
        mode = "一般贸易" if general else OTHER_MODES[(n // 3 - 1) % len(OTHER_MODES)]
        company = COMPANIES[n % len(COMPANIES)]
        port = PORTS[n % len(PORTS)]
        key = f"2200{query_date[:4]}{kind_no}{serial(kind_no, n)}"
        hg = f"{port[0]}{query_date[:4]}{kind_no}{serial(kind_no, n)}"
        date = f"{query_date[:6]}{n:02d}"
        ship = SHIPS[n % len(SHIPS)]
        goods_count = 0 if n == 4 else 1 + n % 4
        rows.append([hg, key, company[1], f"BL{date}{n:03d}", date, mode, str(goods_count), ship, "", "",
                     AGENT[1], "1", port[1]])
        if general:
            declarations[key] = {
                "header": header_texts(imp, key, hg, company, port, ship, date, mode, n),
                "operator": {"0": f"021-6888{n:04d}", "2": ["张伟", "李娜", "王芳"][n % 3]},
                "goods": [{"texts": goods_texts(imp, i, GOODS[(n + i) % len(GOODS)], n)}
                          for i in range(goods_count)],
            }
    return {"client": {"processName": "Eport.exe", "screen": "query"}, "queryDate": query_date, "kind": kind,
            "rows": rows, "declarations": declarations}


def write(path, data):
    path.write_text(json.dumps(data, ensure_ascii=False, indent=1) + "\n", encoding="utf-8")


for name, kind, kind_no, date in [("download-import.json", "进口报关单", "1", "20240315"),
                                  ("download-export.json", "出口报关单", "0", "20240318"),
                                  ("download-transit.json", "出口转关运输提前报关单", "5", "20240320")]:
    write(HERE / name, fixture(kind, kind_no, date))

standin = fixture("进口报关单", "1", "20240315")
standin["client"] = {"processName": "Eport.exe", "screen": "entry", "formKind": "import"}
write(HERE.parent.parent / "demo" / "standin.json", standin)
