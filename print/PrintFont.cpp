// Print fonts: face resolution, GDI-like cell metrics, HarfBuzz vertical forms.
#include "print/PrintFont.h"

#include "print/Typeset.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QTemporaryFile>
#include <QtEndian>
#include <hb.h>

#include <algorithm>
#include <map>

namespace q2 {

struct FaceData {
    TPrintFace face;
    QRawFont base;  // at a pixel size of one em = unitsPerEm, so pixels are font units
    QRawFont inkBase;  // the same outlines without a character map (invalid when not built)
    // Its file: a font loaded from memory has no file name, and the PDF
    // writer draws the glyphs of such a font as outlines, page after page.
    std::unique_ptr<QTemporaryFile> inkFile;
    double upem = 1000;
    double winAscent = 880, winDescent = 120;
    hb_face_t* hbFace = nullptr;
    hb_font_t* hbFont = nullptr;
    mutable QHash<char32_t, quint32> nominal;
    mutable QHash<char32_t, double> advanceUnits;
    mutable QHash<char32_t, TVerticalGlyph> vertical;
    // Every size made so far, by cell height: a few hundred at most per face
    // and resolution, and shrink loops and redraws ask for the same ones again.
    mutable std::map<int, std::shared_ptr<FontInstance>> sizes;

    ~FaceData() {
        if (hbFont) hb_font_destroy(hbFont);
        if (hbFace) hb_face_destroy(hbFace);
    }
    quint32 Nominal(char32_t c) const;
    double AdvanceUnits(char32_t c) const;
};

struct FontInstance {
    const FaceData* face = nullptr;  // faces live as long as the program
    QRawFont raw;
    QRawFont ink;
    int cell = 0;
    double emPx = 0;     // pixel size of the em
    double ascentPx = 0;
    mutable QHash<char32_t, int> advances;
    mutable QHash<char32_t, int> cellAdvances;
};

namespace {

// The faces the print layout names, with the installed stand-ins.
void InstallSubstitutions() {
    static const bool done = [] {
        const char16_t* pgothic[] = {u"ＭＳ Ｐゴシック", u"MS PGothic", u"MS Pゴシック", u"ＭＳ Pゴシック"};
        for (auto n : pgothic) QFont::insertSubstitution(QString::fromUtf16(n), QStringLiteral("IPAPGothic"));
        const char16_t* gothic[] = {u"MS_ゴシック", u"ＭＳ ゴシック", u"MS Gothic", u"MS ゴシック"};
        for (auto n : gothic) QFont::insertSubstitution(QString::fromUtf16(n), QStringLiteral("IPAGothic"));
        const char16_t* pmincho[] = {u"ＭＳ Ｐ明朝", u"MS PMincho", u"MS P明朝"};
        for (auto n : pmincho) QFont::insertSubstitution(QString::fromUtf16(n), QStringLiteral("IPAPMincho"));
        const char16_t* mincho[] = {u"ＭＳ 明朝", u"MS Mincho", u"MS 明朝"};
        for (auto n : mincho) QFont::insertSubstitution(QString::fromUtf16(n), QStringLiteral("IPAMincho"));
        return true;
    }();
    (void)done;
}

bool HasJapanese(const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

TPrintFace Resolve(const QString& requested, const QString& fallback) {
    InstallSubstitutions();
    TPrintFace face;
    face.Requested = requested;
    QString name = requested.trimmed();
    if (name.startsWith(QLatin1Char('@'))) {
        face.Vertical = true;
        name.remove(0, 1);
    }
    // fontconfig answers every name with some family; keep it only when it is
    // a Japanese face, else the named face is taken as absent.
    QString family;
    if (!name.isEmpty()) {
        QFont f(name);
        const QString got = QFontInfo(f).family();
        if (HasJapanese(got)) family = got;
    }
    face.Family = family.isEmpty() ? fallback : family;
    return face;
}

quint16 ReadU16(const QByteArray& t, int offset) {
    if (t.size() < offset + 2) return 0;
    return qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(t.constData()) + offset);
}

hb_blob_t* ReferenceTable(hb_face_t*, hb_tag_t tag, void* userData) {
    const auto* raw = static_cast<const QRawFont*>(userData);
    char name[4] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag)};
    auto* bytes = new QByteArray(raw->fontTable(name));
    if (bytes->isEmpty()) {
        delete bytes;
        return hb_blob_get_empty();
    }
    return hb_blob_create(bytes->constData(), static_cast<unsigned>(bytes->size()),
                          HB_MEMORY_MODE_READONLY, bytes,
                          [](void* p) { delete static_cast<QByteArray*>(p); });
}

void PutU16(QByteArray& b, quint16 v) {
    char c[2];
    qToBigEndian(v, c);
    b.append(c, 2);
}
void PutU32(QByteArray& b, quint32 v) {
    char c[4];
    qToBigEndian(v, c);
    b.append(c, 4);
}

// A name table of its own, so that the font installs beside the face.
QByteArray NameTable(const QString& family) {
    QString ps = family;
    ps.remove(QLatin1Char(' '));
    const QString names[] = {family, QStringLiteral("Regular"), family, ps};
    const quint16 ids[] = {1, 2, 4, 6};
    QByteArray records, strings;
    for (int i = 0; i < 4; ++i) {
        QByteArray utf16;
        for (QChar c : names[i]) PutU16(utf16, c.unicode());
        for (quint16 v : {quint16(3), quint16(1), quint16(0x409), ids[i], quint16(utf16.size()), quint16(strings.size())})
            PutU16(records, v);
        strings += utf16;
    }
    QByteArray t;
    PutU16(t, 0), PutU16(t, 4), PutU16(t, quint16(6 + records.size()));
    return t + records + strings;
}

// The face's outline tables gathered into a font file whose character map
// holds nothing. Text cells are drawn by glyph index, so nothing changes on
// paper, but a PDF finds no character behind these glyphs (vertical forms
// would have none anyway) and takes every character from the text layer.
QByteArray TextlessFontFile(const QRawFont& raw, const QString& family) {
    static const char* const kTags[] = {"head", "hhea", "hmtx", "maxp", "loca", "glyf", "CFF ", "post",
                                        "OS/2", "vhea", "vmtx", "cvt ", "fpgm", "prep", "gasp"};
    QList<QPair<QByteArray, QByteArray>> tables;
    for (const char* t : kTags) {
        const QByteArray data = raw.fontTable(t);
        if (!data.isEmpty()) tables.append({QByteArray(t), data});
    }
    const bool cff = !raw.fontTable("CFF ").isEmpty();
    if (tables.size() < 5 || (!cff && raw.fontTable("glyf").isEmpty())) return {};
    QByteArray cmap;  // version 0, one Windows Unicode subtable of format 4 with the end segment only
    PutU16(cmap, 0), PutU16(cmap, 1), PutU16(cmap, 3), PutU16(cmap, 1), PutU32(cmap, 12);
    // Its fields: format, length, language, segments × 2, search range, entry
    // selector, range shift, end code, pad, start code, delta, range offset.
    static constexpr quint16 kFormat4[] = {4, 24, 0, 2, 2, 0, 0, 0xFFFF, 0, 0xFFFF, 1, 0};
    for (quint16 v : kFormat4) PutU16(cmap, v);
    tables.append({QByteArray("cmap"), cmap});
    tables.append({QByteArray("name"), NameTable(family)});
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QByteArray out;
    PutU32(out, cff ? 0x4F54544F : 0x00010000);
    PutU16(out, quint16(tables.size())), PutU16(out, 0), PutU16(out, 0), PutU16(out, 0);
    QByteArray body;
    const int start = 12 + 16 * int(tables.size());
    for (const auto& [tag, data] : tables) {
        out.append(tag);
        PutU32(out, 0);
        PutU32(out, quint32(start + body.size()));
        PutU32(out, quint32(data.size()));
        body.append(data);
        while (body.size() % 4) body.append('\0');
    }
    return out + body;
}

std::shared_ptr<FaceData> LoadFace(const TPrintFace& face) {
    auto data = std::make_shared<FaceData>();
    data->face = face;
    data->face.Writing = {};  // shared by every caller of the family
    QFont f(face.Family);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(100);
    QRawFont raw = QRawFont::fromFont(f, QFontDatabase::Japanese);
    if (!raw.isValid()) return nullptr;
    const QByteArray head = raw.fontTable("head");
    const QByteArray os2 = raw.fontTable("OS/2");
    data->upem = ReadU16(head, 18) ? ReadU16(head, 18) : raw.unitsPerEm();
    if (ReadU16(os2, 74) + ReadU16(os2, 76) > 0) {
        data->winAscent = ReadU16(os2, 74);
        data->winDescent = ReadU16(os2, 76);
    } else {
        raw.setPixelSize(data->upem);
        data->winAscent = raw.ascent();
        data->winDescent = raw.descent();
    }
    raw.setPixelSize(data->upem);
    data->base = raw;
    // Installed from a file: the PDF writer embeds a font with a file name
    // once, and draws one loaded from memory as outlines on every page.
    const QString inkFamily = QStringLiteral("Q2 Ink ") + face.Family;
    const QByteArray textless = TextlessFontFile(raw, inkFamily);
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/q2-print-XXXXXX.ttf"));
    if (!textless.isEmpty() && file->open() && file->write(textless) == textless.size() && file->flush() &&
        QFontDatabase::addApplicationFont(file->fileName()) >= 0) {
        QFont inkFont(inkFamily);
        inkFont.setHintingPreference(QFont::PreferNoHinting);
        inkFont.setPixelSize(100);
        QRawFont ink = QRawFont::fromFont(inkFont);
        ink.setPixelSize(data->upem);
        if (ink.isValid() && ink.familyName() == inkFamily && ink.unitsPerEm() == raw.unitsPerEm()) {
            data->inkBase = ink;
            data->inkFile = std::move(file);
        }
    }
    // The table callback runs lazily while shaping: hand it its own copy.
    data->hbFace = hb_face_create_for_tables(ReferenceTable, new QRawFont(raw),
                                             [](void* p) { delete static_cast<QRawFont*>(p); });
    hb_face_set_upem(data->hbFace, static_cast<unsigned>(data->upem));
    data->hbFont = hb_font_create(data->hbFace);
    hb_font_set_scale(data->hbFont, int(data->upem), int(data->upem));
    return data;
}

std::shared_ptr<FaceData> FaceFor(const TPrintFace& face) {
    // Fonts are made and measured on the user-interface thread only.
    static std::map<QString, std::shared_ptr<FaceData>> faces;
    const QString& key = face.Family;
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    auto data = LoadFace(face);
    faces[key] = data;
    return data;
}

bool IsSingleByteInCp932(char32_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xFF61 && c <= 0xFF9F) || c == 0xA5 || c == 0x203E;
}

}  // namespace

quint32 FaceData::Nominal(char32_t c) const {
    auto it = nominal.constFind(c);
    if (it != nominal.constEnd()) return *it;
    hb_codepoint_t g = 0;
    hb_font_get_nominal_glyph(hbFont, c, &g);
    nominal.insert(c, g);
    return g;
}

double FaceData::AdvanceUnits(char32_t c) const {
    auto it = advanceUnits.constFind(c);
    if (it != advanceUnits.constEnd()) return *it;
    const quint32 g = Nominal(c);
    const double adv = hb_font_get_glyph_h_advance(hbFont, g);
    advanceUnits.insert(c, adv);
    return adv;
}

TPrintFace ResolvePrintFace(const QString& name) {
    return Resolve(name, QStringLiteral("IPAPGothic"));
}

TPrintFace ResolveBoxFace() {
    return Resolve(QString::fromUtf16(u"MS_ゴシック"), QStringLiteral("IPAGothic"));
}

QStringList ListJapaneseFaces() {
    QStringList names = QFontDatabase::families(QFontDatabase::Japanese);
    // The glyph-only copies the print code installs are no faces to choose.
    names.removeIf([](const QString& n) {
        return QFontDatabase::isPrivateFamily(n) || n.startsWith(QLatin1String("Q2 Ink "));
    });
    names.sort();
    names.removeDuplicates();
    QStringList out;
    for (const QString& n : names) out << n;
    for (const QString& n : names) out << QLatin1Char('@') + n;
    out.sort();
    return out;
}

const TPrintFace& TPrintFont::Face() const { return instance_->face->face; }
DevicePx TPrintFont::CellHeight() const { return DevicePx(instance_ ? instance_->cell : 0); }
double TPrintFont::AscentPx() const { return instance_ ? instance_->ascentPx : 0; }
const QRawFont& TPrintFont::Raw() const { return instance_->raw; }
const QRawFont& TPrintFont::InkRaw() const { return HasInkRaw() ? instance_->ink : instance_->raw; }
bool TPrintFont::HasInkRaw() const { return instance_ && instance_->ink.isValid(); }
quint32 TPrintFont::Glyph(char32_t c) const { return instance_ ? instance_->face->Nominal(c) : 0; }
double TPrintFont::EmPx() const { return instance_ ? instance_->emPx : 0; }

DevicePx TPrintFont::CellAdvance(char32_t c) const {
    if (!instance_) return DevicePx(0);
    auto it = instance_->cellAdvances.constFind(c);
    if (it != instance_->cellAdvances.constEnd()) return DevicePx(*it);
    const double k = instance_->emPx / instance_->face->upem;
    const double va = -VerticalGlyph(*this, c).YAdvance * k;
    const int adv = RoundInt(std::max(instance_->emPx, va));
    instance_->cellAdvances.insert(c, adv);
    return DevicePx(adv);
}
const FaceData& TPrintFont::Data() const { return *instance_->face; }

DevicePx TPrintFont::Advance(char32_t c) const {
    if (!instance_) return DevicePx(0);
    auto it = instance_->advances.constFind(c);
    if (it != instance_->advances.constEnd()) return DevicePx(*it);
    const int adv = RoundInt(instance_->face->AdvanceUnits(c) * instance_->emPx / instance_->face->upem);
    instance_->advances.insert(c, adv);
    return DevicePx(adv);
}

TPrintFont CreatePrintFont(const TPrintFace& face, int /*charset*/, int /*style*/, Dpi dpi, Points size) {
    TPrintFont font;
    auto data = FaceFor(face);
    if (!data) return font;
    const int cell = std::max(1, PointsToCell(size, dpi).v);
    auto& inst = data->sizes[cell];
    if (!inst) {
        inst = std::make_shared<FontInstance>();
        inst->face = data.get();
        inst->cell = cell;
        const double cellUnits = data->winAscent + data->winDescent;
        inst->emPx = cell * data->upem / cellUnits;
        inst->ascentPx = cell * data->winAscent / cellUnits;
        inst->raw = data->base;
        inst->raw.setPixelSize(inst->emPx);
        if (data->inkBase.isValid()) {
            inst->ink = data->inkBase;
            inst->ink.setPixelSize(inst->emPx);
        }
    }
    font.instance_ = inst;
    font.writing_ = face.Writing;
    font.size_ = size;
    font.resolution_ = dpi;
    return font;
}

int CharCount(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        ++n;
    }
    return n;
}

DevicePx MeasureWidth(const TPrintFont& font, QStringView text) {
    if (font.Writing().Typeset) return SetLength(font, text);
    DevicePx sum;
    for (char32_t c : text.toUcs4()) sum += font.Advance(c);
    return sum;
}

DevicePx TextHeight(const TPrintFont& font, QStringView) { return font.CellHeight(); }

QString FontCreationFailedText() { return QString::fromUtf16(u"フォントの作成に失敗しました"); }

bool IsSidewaysInVertical(char32_t c, bool fontHasVerticalForm) {
    if (IsSingleByteInCp932(c)) return true;
    if (fontHasVerticalForm) return false;
    // Full-width characters whose Vertical_Orientation is R or Tr: dashes,
    // tildes, brackets, ellipses, arrows of the CP932 repertoire.
    switch (c) {
    case 0xFF0D: case 0x2010: case 0x2013: case 0x2014: case 0x2015: case 0x2212:
    case 0xFF5E: case 0x301C: case 0x2026: case 0x2025: case 0xFF08: case 0xFF09:
    case 0xFF3B: case 0xFF3D: case 0xFF5B: case 0xFF5D: case 0xFF1C: case 0xFF1D:
    case 0xFF1E: case 0xFF3F: case 0xFFE3: case 0xFF1A: case 0xFF1B: case 0x30FC:
    case 0x2192: case 0x2190: case 0x2191: case 0x2193: case 0x2225: case 0xFF5C:
        return true;
    default:
        return c >= 0x3008 && c <= 0x3011;
    }
}

TVerticalGlyph VerticalGlyph(const TPrintFont& font, char32_t c) {
    const FaceData& d = font.Data();
    auto it = d.vertical.constFind(c);
    if (it != d.vertical.constEnd()) return *it;
    TVerticalGlyph v;
    v.Nominal = d.Nominal(c);
    hb_buffer_t* buf = hb_buffer_create();
    const uint32_t cp = c;
    hb_buffer_add_utf32(buf, &cp, 1, 0, 1);
    hb_buffer_guess_segment_properties(buf);
    hb_buffer_set_direction(buf, HB_DIRECTION_TTB);
    hb_buffer_set_language(buf, hb_language_from_string("ja", -1));
    const hb_feature_t features[] = {{HB_TAG('v', 'e', 'r', 't'), 1, 0, ~0u},
                                     {HB_TAG('v', 'r', 't', '2'), 1, 0, ~0u}};
    hb_shape(d.hbFont, buf, features, 2);
    unsigned n = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &n);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
    if (n >= 1) {
        v.Glyph = info[0].codepoint;
        v.XOffset = pos[0].x_offset;
        v.YOffset = pos[0].y_offset;
        v.YAdvance = pos[0].y_advance;
    } else {
        v.Glyph = v.Nominal;
    }
    hb_buffer_destroy(buf);
    v.Rotated = IsSidewaysInVertical(c, v.Glyph != v.Nominal);
    if (v.Rotated) v.Glyph = v.Nominal;
    d.vertical.insert(c, v);
    return v;
}

}  // namespace q2
