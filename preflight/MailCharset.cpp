// Which characters an ISO-2022-JP mail carries, and what to write instead.
#include <QHash>

#include "platform/Cp932.h"
#include "preflight/Preflight.h"

namespace q2 {
namespace {

// Substitutes the reader recognises at once. Characters not listed here fall
// back to their compatibility form when that form is carried (Ⅰ → I, ㍉ → ミリ).
struct Substitute {
    char32_t From;
    const char16_t* To;
};
constexpr Substitute kSubstitutes[] = {
    {U'①', u"(1)"},   {U'②', u"(2)"},   {U'③', u"(3)"},   {U'④', u"(4)"},   {U'⑤', u"(5)"},
    {U'⑥', u"(6)"},   {U'⑦', u"(7)"},   {U'⑧', u"(8)"},   {U'⑨', u"(9)"},   {U'⑩', u"(10)"},
    {U'⑪', u"(11)"},  {U'⑫', u"(12)"},  {U'⑬', u"(13)"},  {U'⑭', u"(14)"},  {U'⑮', u"(15)"},
    {U'⑯', u"(16)"},  {U'⑰', u"(17)"},  {U'⑱', u"(18)"},  {U'⑲', u"(19)"},  {U'⑳', u"(20)"},
    {U'㈱', u"(株)"}, {U'㈲', u"(有)"}, {U'㈹', u"(代)"}, {U'㊤', u"(上)"}, {U'㊥', u"(中)"},
    {U'㊦', u"(下)"}, {U'㊧', u"(左)"}, {U'㊨', u"(右)"}, {U'№', u"No."},  {U'℡', u"TEL"},
    {U'㍉', u"ミリ"}, {U'㌔', u"キロ"}, {U'㌢', u"センチ"}, {U'㍍', u"メートル"},
    {U'㌘', u"グラム"}, {U'㌧', u"トン"}, {U'㌃', u"アール"}, {U'㌶', u"ヘクタール"},
    {U'㍑', u"リットル"}, {U'㍗', u"ワット"}, {U'㌍', u"カロリー"}, {U'㌦', u"ドル"},
    {U'㌣', u"セント"}, {U'㌫', u"パーセント"}, {U'㍊', u"ミリバール"}, {U'㌻', u"ページ"},
    {U'㍻', u"平成"}, {U'㍼', u"昭和"}, {U'㍽', u"大正"}, {U'㍾', u"明治"},
    {U'∑', u"Σ"},     {U'〝', u"“"},     {U'〟', u"”"},     {U'￤', u"｜"},
    // Variant kanji of the IBM extensions, written with their common form.
    {U'髙', u"高"}, {U'﨑', u"崎"}, {U'德', u"徳"}, {U'瀨', u"瀬"}, {U'栁', u"柳"},
    {U'黑', u"黒"}, {U'增', u"増"}, {U'涉', u"渉"}, {U'寬', u"寛"}, {U'﨟', u"臈"},
    {U'昻', u"昂"}, {U'羡', u"羨"}, {U'緖', u"緒"}, {U'淸', u"清"}, {U'敎', u"教"},
};

bool CarriedUncached(char32_t c) {
    const QString text = QString::fromUcs4(&c, 1);
    QList<qsizetype> lost;
    const QByteArray bytes = EncodeCp932(text, &lost);
    if (!lost.isEmpty() || bytes.isEmpty()) return false;
    if (bytes.size() == 1) return true;
    // JIS X 0208 occupies these lead bytes of CP932; row 13 (0x87), the
    // NEC-selected and IBM extensions (0xED–0xEE, 0xFA–0xFC) and the
    // user-defined area (0xF0–0xF9) have no ISO-2022-JP code.
    const auto lead = static_cast<unsigned char>(bytes[0]);
    return (lead >= 0x81 && lead <= 0x84) || (lead >= 0x88 && lead <= 0x9F) ||
           (lead >= 0xE0 && lead <= 0xEA);
}

bool AllCarried(const QString& text) {
    for (char32_t c : text.toUcs4())
        if (!Iso2022JpCarries(c)) return false;
    return true;
}

}  // namespace

bool Iso2022JpCarries(char32_t c) {
    if (c < 0x80) return true;
    if (c >= 0xFF61 && c <= 0xFF9F) return true;  // half-width katakana, widened when sent
    // The check runs on the user-interface thread (and in q2tool) only.
    static QHash<char32_t, bool> cache;
    const auto it = cache.constFind(c);
    if (it != cache.constEnd()) return *it;
    const bool carried = CarriedUncached(c);
    cache.insert(c, carried);
    return carried;
}

QString MailSubstitute(char32_t c) {
    for (const Substitute& s : kSubstitutes)
        if (s.From == c) return AllCarried(QString::fromUtf16(s.To)) ? QString::fromUtf16(s.To) : QString();
    const QString compat = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KC);
    if (compat != QString::fromUcs4(&c, 1) && AllCarried(compat)) return compat;
    return QString();
}

}  // namespace q2
