#!/usr/bin/env python3
"""Writes data/sample.QT2, the book ./run.sh opens: 30 invented people and
companies at real postal codes, built through `q2tool create`.

Usage: tools/make-sample-book.py [--q2tool PATH] [--out PATH]
Every postal code is looked up in data/zip/zip.dat, so a code that no longer
exists there stops the script instead of shipping a wrong address.
"""
import argparse
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# reading (family, given), name (family, given), sex 0/1/2, birthday,
# postal code, block and building, phone, category 1, category 2, honorific,
# and what else the record carries.
PEOPLE = [
    ("アオヤマ", "ケンジ", "青山", "健二", 1, "1968/03/14", "1500001", "5-12-3", "", "03-3401-2231", "仕事関係", "男", "様",
     {"office": ("アオヤマセッケイ", "青山設計事務所", "1500001", "5-12-3 青山ビル4F", "03-3401-2200", "設計部", "所長"),
      "history": [("2024/01/10", "年賀状", "受け取り済み")]}),
    ("イシカワ", "ミホ", "石川", "美穂", 2, "1985/07/02", "9200961", "2-4-18", "", "076-231-4455", "大学時代の友達", "女", "様", {}),
    ("ウエノ", "タツヤ", "上野", "達也", 1, "1979/11/23", "1100005", "3-18-7", "上野ハイツ203", "03-3831-5520", "友達", "男", "様",
     {"joint": [("ユウコ", "裕子", "様"), ("ソウタ", "颯太", "くん")]}),
    ("カトウ", "ヨシオ", "加藤", "義男", 1, "1952/05/30", "4600008", "3-6-1", "", "052-261-8890", "親戚", "男", "様",
     {"joint": [("", "和子", "様")], "print": True,
      "history": [("2023/08/14", "お中元", "名古屋名物を送った"), ("2023/12/20", "お歳暮", "ハム詰め合わせ")]}),
    ("ガモウ", "サヤカ", "蒲生", "さやか", 2, "1991/09/09", "5300001", "1-3-1", "梅田グランドハウス1502", "06-6345-7781", "知り合い", "女", "様", {}),
    ("キムラ", "ヒロシ", "木村", "浩", 1, "1974/02/11", "0600001", "4-1-2", "", "011-231-0078", "仕事関係", "男", "様",
     {"office": ("ホッカイドウブッサン", "北海道物産株式会社", "0600001", "4-1-2 札幌北一条ビル", "011-231-0070", "営業部", "課長"),
      "print": True}),
    ("クドウ", "アヤ", "工藤", "彩", 2, "1988/12/24", "0300801", "1-2-15", "", "017-722-3340", "大学時代の友達", "女", "ちゃん", {}),
    ("サトウ", "イチロウ", "佐藤", "一郎", 1, "1960/04/01", "9800811", "2-7-10", "", "022-225-6612", "家族", "男", "様",
     {"joint": [("", "恵子", "様"), ("", "翔", "くん"), ("", "美咲", "ちゃん")], "print": True,
      "history": [("2024/05/05", "電話", "帰省の日程を相談")]}),
    ("スズキ", "マサコ", "鈴木", "雅子", 2, "1957/10/18", "4200852", "1-5-8", "", "054-252-1190", "親戚", "女", "様", {"print": True}),
    ("セキグチ", "ダイスケ", "関口", "大輔", 1, "1983/06/06", "3300063", "1-9-4", "浦和パークマンション701", "048-822-4461", "友達", "男", "様", {}),
    ("タナカ", "ユキ", "田中", "由紀", 2, "1990/01/28", "8100001", "2-11-1", "", "092-711-2203", "友達", "女", "様",
     {"office": ("テンジンデザイン", "天神デザイン株式会社", "8100001", "2-11-1 天神MKビル6F", "092-711-2200", "企画室", ""),
      "use_office": True}),
    ("チバ", "タケシ", "千葉", "武", 1, "1948/08/15", "2600013", "3-22-5", "", "043-222-9008", "親戚", "男", "様", {}),
    ("ツカモト", "レイ", "塚本", "玲", 2, "1995/03/03", "6008216", "8-3", "", "075-343-1121", "知り合い", "女", "様", {}),
    ("ナカムラ", "シュウヘイ", "中村", "修平", 1, "1970/07/07", "7300011", "6-78", "", "082-221-5534", "仕事関係", "男", "様",
     {"office": ("セトウチコウギョウ", "瀬戸内工業株式会社", "7300011", "6-78 基町センタービル", "082-221-5500", "技術部", "部長"),
      "use_office": True, "print": True,
      "history": [("2024/02/01", "訪問", "新製品の打ち合わせ"), ("2024/03/15", "メール", "見積書を送付")]}),
    ("ニシダ", "カオリ", "西田", "香織", 2, "1982/05/19", "6500021", "1-4-12", "三宮コート305", "078-331-2287", "大学時代の友達", "女", "様", {}),
    ("ハヤシ", "マコト", "林", "誠", 1, "1965/09/30", "3800836", "1278-2", "", "026-232-4401", "知り合い", "男", "様", {}),
    ("バンドウ", "エミ", "坂東", "恵美", 2, "1977/04/12", "7700939", "2-15", "", "088-652-7713", "友達", "女", "様",
     {"joint": [("", "隆", "様")]}),
    ("フジイ", "ケイスケ", "藤井", "圭介", 1, "1986/10/10", "7000821", "1-1-22", "", "086-231-6620", "仕事関係", "男", "殿",
     {"office": ("キビショウジ", "吉備商事株式会社", "7000821", "1-1-22 岡山中山下ビル3F", "086-231-6600", "総務部", "係長"),
      "use_office": True}),
    ("マツモト", "ナオミ", "松本", "直美", 2, "1973/01/05", "3900811", "2-3-6", "", "0263-32-1150", "親戚", "女", "様", {"print": True}),
    ("ミウラ", "ショウ", "三浦", "翔", 1, "1999/08/21", "2310023", "112-4", "山下町レジデンス902", "045-641-3328", "友達", "男", "くん", {}),
    ("モリ", "ハルカ", "森", "遥", 2, "1993/11/11", "9000006", "3-1-1", "", "098-861-0456", "大学時代の友達", "女", "様", {}),
    ("ヤマダ", "タロウ", "山田", "太郎", 1, "1962/02/22", "1000005", "1-9-1", "", "03-3211-4001", "仕事関係", "男", "様",
     {"office": ("ヤマダボウエキ", "山田貿易株式会社", "1000005", "1-9-1 丸の内センタービル12F", "03-3211-4000", "", "代表取締役"),
      "use_office": True, "print": True,
      "history": [("2023/11/02", "来社", "取引条件の確認")]}),
    ("ヨシダ", "サクラ", "吉田", "さくら", 2, "1989/04/04", "8600806", "1-7-30", "", "096-352-2019", "知り合い", "女", "様", {}),
    ("リュウ", "メイリン", "劉", "美玲", 2, "1987/06/16", "2310023", "146", "", "045-662-8876", "友達", "女", "様", {}),
    ("ワタナベ", "ケン", "渡辺", "健", 1, "1958/12/01", "9500087", "2-10-3", "", "025-244-6712", "よくいくお店", "男", "様",
     {"office": ("ワタナベシュゾウ", "渡辺酒造", "9500087", "2-10-3", "025-244-6700", "", "店主")}),
    ("ワダ", "ミキ", "和田", "美紀", 2, "1984/03/27", "6408269", "3-4", "", "073-422-1187", "お世話になっているお店", "女", "様", {}),
    ("Brown", "Emily", "ブラウン", "エミリー", 2, "1981/05/08", "1060032", "6-10-1", "六本木ヒルズレジデンスB棟1203", "03-6406-1122", "友達", "女", "様", {}),
]

# Companies: no private reading, so they are listed under "他".
OFFICES = [
    ("ヤマノテビル", "株式会社山手ビル管理", "1600023", "1-26-1 新宿第一ビル2F", "03-3342-9911", "管理部", "", "お世話になっているお店",
     [("2024/04/01", "契約更新", "駐車場の契約を1年延長")]),
    ("ミナトシンキン", "みなと信用金庫 本店", "2310023", "108", "045-681-2211", "融資課", "", "仕事関係", []),
    ("ソバドコロ サラシナ", "そば処 更科", "1010021", "1-2-5", "03-3251-0808", "", "", "よくいくお店", []),
]


def load_zip(path):
    table = {}
    with open(path, encoding="cp932") as f:
        for line in f:
            code, _, address = line.rstrip("\r\n").partition(",")
            table.setdefault(code, address)
    return table


def address_of(table, code):
    if code not in table:
        sys.exit(f"make-sample-book: postal code {code} is not in zip.dat")
    return table[code]


def build(table):
    records = []
    for n, (k1, k2, n1, n2, sex, birthday, zipcode, block, building, tel, cat1, cat2, title, extra) in enumerate(PEOPLE):
        r = {
            "PerSonalKana_1": k1, "PerSonalKana_2": k2, "PerSonalName_1": n1, "PerSonalName_2": n2,
            "PerSonalHonorificTitle": title, "PerSonalZip_1": zipcode[:3], "PerSonalZip_2": zipcode[3:],
            "PerSonalAddress_1": address_of(table, zipcode) + block, "PerSonalAddress_2": building,
            "PerSonalTel_1": tel, "PerSonalMail_1": f"user{n + 1:02d}@example.jp",
            "PersonalSex": sex, "CommonBirthday": birthday,
            "CommonRegistDate": f"2023/{(n % 12) + 1:02d}/{(n % 27) + 1:02d}",
            "CommonCategory_1": cat1, "CommonCategory_2": cat2,
            "CommonPrintCheck": bool(extra.get("print")),
            "CommonUseTypePersonal": not extra.get("use_office", False),
        }
        if "office" in extra:
            okana, oname, ozip, oaddr, otel, opost, opos = extra["office"]
            r.update({"OfficeKana": okana, "OfficeName": oname, "OfficeZip_1": ozip[:3], "OfficeZip_2": ozip[3:],
                      "OfficeAddress_1": address_of(table, ozip) + oaddr, "OfficeTel_1": otel,
                      "OfficeMail_1": f"office{n + 1:02d}@example.co.jp", "OfficePost": opost,
                      "OfficeOfficialPosition": opos})
        for i, (_kana, name, jtitle) in enumerate(extra.get("joint", []), start=1):
            r[f"CommonJointNameObj_{i}"] = {"PrintData": True, "PrintName": name, "HonorificTitle": jtitle}
        r["CommonHistoryObjectList"] = [
            {"HistoryDate": d, "HistoryTitle": t, "HistoryContent": c} for d, t, c in extra.get("history", [])]
        r["CommonImg_1"] = None
        records.append(r)
    for n, (okana, oname, ozip, oaddr, otel, opost, opos, cat1, history) in enumerate(OFFICES):
        records.append({
            # Companies kept under their own name, without a reading.
            "PerSonalName_1": oname,
            "OfficeKana": okana, "OfficeName": oname, "OfficeZip_1": ozip[:3], "OfficeZip_2": ozip[3:],
            "OfficeAddress_1": address_of(table, ozip) + oaddr, "OfficeTel_1": otel,
            "OfficePost": opost, "OfficeOfficialPosition": opos, "PerSonalHonorificTitle": "御中",
            "CommonCategory_1": cat1, "CommonUseTypePersonal": False, "CommonRegistDate": f"2024/0{n + 1}/15",
            "CommonMemo": "会社宛て", "CommonImg_1": None,
            "CommonHistoryObjectList": [
                {"HistoryDate": d, "HistoryTitle": t, "HistoryContent": c} for d, t, c in history],
        })
    return {"password": "", "records": records}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--q2tool", default=None, help="the q2tool program (default: build*/tools/q2tool/q2tool)")
    parser.add_argument("--out", default=os.path.join(ROOT, "data", "sample.QT2"))
    parser.add_argument("--zip", default=os.path.join(ROOT, "data", "zip", "zip.dat"))
    args = parser.parse_args()
    tool = args.q2tool
    if tool is None:
        for build_dir in ("build", "build-app"):
            candidate = os.path.join(ROOT, build_dir, "tools", "q2tool", "q2tool")
            if os.access(candidate, os.X_OK):
                tool = candidate
                break
    if tool is None:
        sys.exit("make-sample-book: q2tool not found; build it or pass --q2tool")
    book = build(load_zip(args.zip))
    if len(book["records"]) != 30:
        sys.exit(f"make-sample-book: {len(book['records'])} records, 30 wanted")
    data = json.dumps(book, ensure_ascii=False, indent=1).encode("utf-8")
    result = subprocess.run([tool, "create", args.out], input=data)
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
