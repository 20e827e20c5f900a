#!/usr/bin/python3
"""Writes ken_all.zip and jigyosyo.zip in Japan Post's layout from a zip.dat.

The lines of BUSINESS_CODES' codes become JIGYOSYO.CSV rows (13 columns), the
others KEN_ALL.CSV rows (15 columns), CP932, CR LF, every text quoted. The
oddities of the published files are written in, each of which the conversion
must undo to give the zip.dat lines back:
  - an empty town becomes 以下に掲載がない場合, 「…の次に１番地がくる場合」 or
    「<city>一円」, in turn;
  - a floor "…　４５階" becomes "…（４５階）";
  - every fifth town gets a note （次のビルを除く）, every fifth after that a
    long note split over three rows of the same code (a multi-line record),
    and every fifth after that a second row whose note makes it a duplicate.

With --utf8 the residential file is the UTF-8 edition instead, as Japan Post
publishes it beside the CP932 one: utf_ken_all.zip holding utf_ken_all.csv,
one record per line (a long note is not split), full-width readings, and
U+2212 where the CP932 file has the full-width minus (U+FF0D once decoded).

usage: japanpost_files.py ZIP_DAT BUSINESS_CODES OUT_DIR [--prefixes 100,170]
         [--add CODE,TEXT]... [--drop CODE]... [--mtime EPOCH]
         [--break columns|empty] [--utf8]
"""
import argparse
import os
import re
import time
import zipfile

PREFS = ('北海道 青森県 岩手県 宮城県 秋田県 山形県 福島県 茨城県 栃木県 群馬県 埼玉県 千葉県 '
         '東京都 神奈川県 新潟県 富山県 石川県 福井県 山梨県 長野県 岐阜県 静岡県 愛知県 三重県 '
         '滋賀県 京都府 大阪府 兵庫県 奈良県 和歌山県 鳥取県 島根県 岡山県 広島県 山口県 徳島県 '
         '香川県 愛媛県 高知県 福岡県 佐賀県 長崎県 熊本県 大分県 宮崎県 鹿児島県 沖縄県').split()
WARD_CITIES = ('札幌|仙台|さいたま|千葉|横浜|川崎|相模原|新潟|静岡|浜松|名古屋|京都|大阪|堺|神戸|'
               '岡山|広島|北九州|福岡|熊本')
CITY_RES = [re.compile(r'^(.+?郡.+?[町村])'), re.compile(r'^((?:%s)市.+?区)' % WARD_CITIES),
            re.compile(r'^(.+?[市区町村])')]
FLOOR_RE = re.compile(r'^(.*)\u3000([０-９]+階)$')
LONG_NOTE = ['（１～３丁目、５番地、７番地、', '１１～１５番地、２０番地、', '２１番地、３０～３５番地）']


def split_address(text):
    pref = next((p for p in PREFS if text.startswith(p)), '')
    rest = text[len(pref):]
    for r in CITY_RES:
        m = r.match(rest)
        if m:
            return pref, m.group(1), rest[len(m.group(1)):]
    return pref, rest, ''


def quote(s):
    return '"' + s.replace('"', '""') + '"'


UTF8 = False


def kana(text):
    # Half-width readings run about twice as long as the kanji they read.
    if UTF8:
        return ('カナヨミ' * len(text))[:2 * len(text)]
    return ('ｶﾅﾖﾐ' * len(text))[:2 * len(text)]


def ken_row(code, pref, city, town):
    if UTF8:
        pref, city, town = (t.replace('\uff0d', '\u2212') for t in (pref, city, town))
    return ','.join(['13101', quote(code[:3] + '  '), quote(code), quote(kana(pref)), quote(kana(city)),
                     quote(kana(town)), quote(pref), quote(city), quote(town)] + ['0'] * 6)


def business_row(code, text):
    pref, city, rest = split_address(text)
    m = re.search('[０-９0-9]', rest)
    town, street = (rest[:m.start()], rest[m.start():]) if m else (rest, '')
    return ','.join(['13101', quote('(ｶﾌﾞ) ﾃｽﾄ'), quote('株式会社　テスト'), quote(pref), quote(city),
                     quote(town), quote(street), quote(code), quote(code[:3] + '  '),
                     quote('テスト局'), '0', '0', '0'])


def residential_rows(lines):
    rows, empty_turn = [], 0
    for i, (code, text) in enumerate(lines):
        pref, city, town = split_address(text)
        floor = FLOOR_RE.match(town)
        if not town:
            town = ['以下に掲載がない場合', city + 'の次に１番地がくる場合', city + '一円'][empty_turn % 3]
            empty_turn += 1
            rows.append(ken_row(code, pref, city, town))
        elif floor:
            rows.append(ken_row(code, pref, city, floor.group(1) + '（' + floor.group(2) + '）'))
        elif '（' in town or i % 5 == 0:
            rows.append(ken_row(code, pref, city, town))
        elif i % 5 == 1:
            rows.append(ken_row(code, pref, city, town + '（次のビルを除く）'))
        elif i % 5 == 2 and UTF8:
            rows.append(ken_row(code, pref, city, town + ''.join(LONG_NOTE)))
        elif i % 5 == 2:
            rows.append(ken_row(code, pref, city, town + LONG_NOTE[0]))
            rows.extend(ken_row(code, pref, city, part) for part in LONG_NOTE[1:])
        elif i % 5 == 3:
            rows.append(ken_row(code, pref, city, town))
            rows.append(ken_row(code, pref, city, town + '（その他）'))
        else:
            rows.append(ken_row(code, pref, city, town))
    return rows


def write_zip(path, name, rows, mtime, encoding='cp932'):
    data = ''.join(r + '\r\n' for r in rows).encode(encoding)
    # The entry carries the time it was packed, in local time as ZIP has it.
    entry = zipfile.ZipInfo(name, time.localtime(mtime)[:6] if mtime is not None else time.localtime()[:6])
    entry.compress_type = zipfile.ZIP_DEFLATED
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr(entry, data)
    if mtime is not None:
        os.utime(path, (mtime, mtime))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('zip_dat')
    ap.add_argument('business_codes')
    ap.add_argument('out')
    ap.add_argument('--prefixes', default='')
    ap.add_argument('--add', action='append', default=[])
    ap.add_argument('--drop', action='append', default=[])
    ap.add_argument('--mtime', type=int)
    ap.add_argument('--break', dest='breakage', choices=['columns', 'empty'])
    ap.add_argument('--utf8', action='store_true')
    a = ap.parse_args()
    global UTF8
    UTF8 = a.utf8
    with open(a.business_codes, encoding='ascii') as f:
        business = set(line.strip() for line in f if line.strip())
    with open(a.zip_dat, 'rb') as f:
        lines = [l.decode('cp932').split(',', 1) for l in f.read().split(b'\r\n') if l]
    prefixes = tuple(p for p in a.prefixes.split(',') if p)
    lines = [(c, t) for c, t in lines
             if (not prefixes or c.startswith(prefixes)) and c not in a.drop]
    lines += [tuple(extra.split(',', 1)) for extra in a.add]
    ken = residential_rows([(c, t) for c, t in lines if c not in business])
    biz = [business_row(c, t) for c, t in lines if c in business]
    if a.breakage == 'columns':
        ken[len(ken) // 2] = ken[len(ken) // 2].rsplit(',', 1)[0]
    elif a.breakage == 'empty':
        ken = []
    os.makedirs(a.out, exist_ok=True)
    if a.utf8:
        write_zip(os.path.join(a.out, 'utf_ken_all.zip'), 'utf_ken_all.csv', ken, a.mtime, 'utf-8')
    else:
        write_zip(os.path.join(a.out, 'ken_all.zip'), 'KEN_ALL.CSV', ken, a.mtime)
    write_zip(os.path.join(a.out, 'jigyosyo.zip'), 'JIGYOSYO.CSV', biz, a.mtime)


if __name__ == '__main__':
    main()
