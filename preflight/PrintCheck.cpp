// The checks before a print run: postal codes against the data, glyphs of the
// print face, the fit the layout reports, and the addressee's name.
#include <QHash>
#include <QSet>

#include "platform/WidthMap.h"
#include "preflight/Preflight.h"
#include "preflight/PreflightText.h"
#include "print/AddressLines.h"
#include "print/AddresseeName.h"
#include "print/PieceRenderer.h"
#include "print/PrintableArea.h"
#include "print/PrintText.h"
#include "print/TextNormalize.h"
#include "zip/ZipReview.h"

namespace q2 {
namespace {

using Text = PreflightText;

// Characters that vertical writing needs a vertical form for. Without one the
// dashes and brackets are turned on their side (acceptable, but not the
// face's own design); the small kana and the marks 、。 stay where horizontal
// writing puts them, which looks wrong in a column.
bool WantsVerticalForm(char32_t c) {
    switch (c) {
    case U'ー': case U'〜': case U'～': case U'―': case U'‐': case U'－': case U'…': case U'‥':
    case U'（': case U'）': case U'［': case U'］': case U'｛': case U'｝': case U'〔': case U'〕':
    case U'＝': case U'：': case U'；': case U'＿': case U'￣': case U'｜':
    case U'、': case U'。': case U'，': case U'．':
    case U'ぁ': case U'ぃ': case U'ぅ': case U'ぇ': case U'ぉ': case U'っ': case U'ゃ': case U'ゅ':
    case U'ょ': case U'ゎ': case U'ァ': case U'ィ': case U'ゥ': case U'ェ': case U'ォ': case U'ッ':
    case U'ャ': case U'ュ': case U'ョ': case U'ヮ': case U'ヵ': case U'ヶ':
        return true;
    default:
        return c >= 0x3008 && c <= 0x3011;  // 〈〉《》「」『』【】
    }
}

// Characters of the prefecture an entry text begins with: "東京都", "北海道",
// "京都府" have the mark third, "神奈川県" and its like fourth.
qsizetype PrefectureLength(QStringView t) {
    auto mark = [](QChar c) { return c == u'都' || c == u'道' || c == u'府' || c == u'県'; };
    if (t.size() > 3 && mark(t[2])) return 3;
    if (t.size() > 4 && t[3] == u'県') return 4;
    return 0;
}

bool StartsWithTown(QStringView address, const QString& entry) {
    if (address.startsWith(entry)) return true;
    const qsizetype pref = PrefectureLength(entry);
    return pref > 0 && address.startsWith(QStringView(entry).mid(pref));
}

qsizetype SharedLength(QStringView address, const QString& entry) {
    auto common = [](QStringView a, QStringView b) {
        qsizetype n = 0;
        while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
        return n;
    };
    return std::max(common(address, entry), common(address, QStringView(entry).mid(PrefectureLength(entry))));
}

QString ZipText(const QString& code) { return code.left(3) + QLatin1Char('-') + code.mid(3); }

class PrintChecker {
public:
    PrintChecker(const TPieceSetup& setup, const TPrintCheckOptions& options)
        : setup_(setup), options_(options), vertical_(setup.Vertical()),
          face_(ResolvePrintFace(setup.Settings.Font)),
          font_(CreatePrintFont(face_, kShiftJisCharset, 0, Dpi{72, 72}, Points(10))),
          mode_(static_cast<TPrintControlMode>(std::clamp(setup.Settings.SprintControl, 0, 3))) {}

    void Check(int index, const TUserInfo& r, QList<TPreflightFinding>& out) {
        index_ = index;
        record_ = &r;
        out_ = &out;
        name_ = DisplayName(r);
        const bool personal = r.CommonUseTypePersonal;
        side_ = personal ? Side{"PerSonalZip_1", "PerSonalZip_2", "PerSonalAddress_1", "PerSonalAddress_2",
                                &r.PerSonalZip_1, &r.PerSonalZip_2, &r.PerSonalAddress_1, &r.PerSonalAddress_2}
                         : Side{"OfficeZip_1", "OfficeZip_2", "OfficeAddress_1", "OfficeAddress_2",
                                &r.OfficeZip_1, &r.OfficeZip_2, &r.OfficeAddress_1, &r.OfficeAddress_2};
        CheckZip();
        CheckAddress();
        CheckNames();
        CheckGlyphs();
        if (options_.Fit)
            for (const TFitMark& m : options_.Fit(r, setup_)) AddFit(m);
        CheckPrintable();
    }

private:
    struct Side {
        const char *Zip1, *Zip2, *Address1, *Address2;
        const QString *zip1, *zip2, *address1, *address2;
    };

    TPreflightFinding& Add(TPreflightCode code, const QString& field, const QString& message,
                           const QString& suggestion = {}) {
        out_->append({index_, name_, field, code, message, suggestion, {}});
        return out_->last();
    }

    void CheckZip() {
        const QString zip1 = Trim(*side_.zip1), zip2 = Trim(*side_.zip2);
        // A line of blanks is no address to compare the town with.
        const QString address = side_.address1->trimmed().isEmpty() ? QString() : Trim(*side_.address1);
        const QString field = QString::fromLatin1(side_.Zip1);
        if (zip1.isEmpty() && zip2.isEmpty()) {
            TPreflightFinding& f = Add(TPreflightCode::ZipEmpty, field, Text::ZipEmpty());
            SuggestCodeFromAddress(f, address);
            return;
        }
        const QString joined = JoinZip(zip1, zip2);
        const QString code = SevenDigits(zip1 + zip2);
        if (code.isEmpty() || !IsAsciiDigits(zip1 + zip2) || zip1.size() != 3 || zip2.size() != 4) {
            TPreflightFinding& f = Add(TPreflightCode::ZipMalformed, field, Text::ZipMalformed(joined));
            if (!code.isEmpty()) SetCode(f, code, Text::SuggestDigits(ZipText(code)));
            return;
        }
        if (!options_.Zip) return;
        const QStringList towns = options_.Zip->TextsOf(code);
        if (towns.isEmpty()) {
            TPreflightFinding& f = Add(TPreflightCode::ZipUnknown, field, Text::ZipUnknown(ZipText(code)));
            SuggestCodeFromAddress(f, address);
            return;
        }
        if (!address.isEmpty()) {
            const QString* best = nullptr;
            qsizetype bestShared = -1;
            for (const QString& t : towns) {
                if (StartsWithTown(address, t)) {
                    best = nullptr;
                    bestShared = -2;
                    break;
                }
                const qsizetype shared = SharedLength(address, t);
                if (shared > bestShared) best = &t, bestShared = shared;
            }
            if (best) {
                const QString rewritten = RewriteAddress(address, *best);
                TPreflightFinding& f = Add(TPreflightCode::ZipTownMismatch, QString::fromLatin1(side_.Address1),
                                           Text::ZipTownMismatch(ZipText(code), *best), rewritten);
                f.Fix = {{QString::fromLatin1(side_.Address1), *side_.address1, rewritten, true}};
            }
        }
        if (setup_.Settings.PrintCostom && !CarriesAddressNumber(code))
            Add(TPreflightCode::ZipNoAddressNumber, field, Text::ZipNoAddressNumber(ZipText(code)));
    }

    // A card with a name and a postal code but no address cannot be
    // delivered. The second line alone (a building, a room) is no address,
    // nor is a line of blanks, full-width ones included.
    void CheckAddress() {
        if (side_.address1->trimmed().isEmpty())
            Add(TPreflightCode::AddressEmpty, QString::fromLatin1(side_.Address1), Text::AddressEmpty());
    }

    // A code found from the address, as a suggestion with its fix.
    void SuggestCodeFromAddress(TPreflightFinding& f, const QString& address) {
        if (!options_.Zip || address.isEmpty()) return;
        const TZipIndex::Match m = options_.Zip->LongestPrefix(address);
        if (m.Length > 0) SetCode(f, m.Code, Text::SuggestCode(ZipText(m.Code)));
    }

    void SetCode(TPreflightFinding& f, const QString& code, const QString& suggestion) {
        f.Suggestion = suggestion;
        f.Fix = {{QString::fromLatin1(side_.Zip1), *side_.zip1, code.left(3), true},
                 {QString::fromLatin1(side_.Zip2), *side_.zip2, code.mid(3), true}};
    }

    bool CarriesAddressNumber(const QString& code) {
        if (code.endsWith(QLatin1String("00"))) return false;
        if (!setup_.Barcode) return true;
        // The library fills the address part with CC4 alone when it encodes no
        // number for the code; "1" is a number it would otherwise keep.
        char out[32] = {};
        const QByteArray zip = ZipText(code).toLatin1();
        if (setup_.Barcode("()ABCDEFGH", zip.constData(), "1", out) != 0) return true;
        return QByteArray(out + 8, 13) != QByteArray(13, 'D');
    }

    void CheckNames() {
        const bool personalLayout = UsesPersonalLayout(record_->CommonUseTypePersonal, mode_);
        const QString address = Trim(*side_.address1 + *side_.address2);
        QString addressee;  // what the name frame prints as the addressee
        if (personalLayout || mode_ == TPrintControlMode::CompanyDepartmentPositionName)
            addressee = Trim(record_->PersonalFullName());
        if (!personalLayout && addressee.isEmpty())
            addressee = Trim(record_->OfficeName + record_->OfficePost);
        if (addressee.isEmpty() && !address.isEmpty())
            Add(TPreflightCode::NameEmpty, QStringLiteral("PerSonalName_1"), Text::NameEmpty());

        const bool nameWithHonorific = personalLayout || mode_ == TPrintControlMode::CompanyDepartmentPositionName;
        const QString honorific = Trim(record_->PerSonalHonorificTitle);
        if (nameWithHonorific && !Trim(record_->PersonalFullName()).isEmpty() && honorific.isEmpty()) {
            TPreflightFinding& f = Add(TPreflightCode::NameNoHonorific, QStringLiteral("PerSonalHonorificTitle"),
                                       Text::NameNoHonorific(), QStringLiteral("様"));
            f.Fix = {{QStringLiteral("PerSonalHonorificTitle"), record_->PerSonalHonorificTitle,
                      QStringLiteral("様"), true}};
        }

        // 御中 names an organisation, 様 a person: one piece takes one of them.
        struct Printed {
            QString Field;
            const QString* Value;
        };
        QList<Printed> texts;
        if (nameWithHonorific) texts.append({QStringLiteral("PerSonalHonorificTitle"), &record_->PerSonalHonorificTitle});
        if (personalLayout)
            for (int i = 0; i < kMaxJointNames; ++i)
                if (record_->JointName(i).PrintData)
                    texts.append({QStringLiteral("CommonJointNameObj_%1.HonorificTitle").arg(i + 1),
                                  &record_->JointName(i).HonorificTitle});
        if (!personalLayout) {
            texts.append({QStringLiteral("OfficeName"), &record_->OfficeName});
            texts.append({QStringLiteral("OfficePost"), &record_->OfficePost});
        }
        const QString onchu = QStringLiteral("御中"), sama = QStringLiteral("様");
        bool hasSama = false;
        const Printed* onchuAt = nullptr;
        for (const Printed& p : texts) {
            if (p.Value->contains(sama)) hasSama = true;
            if (p.Value->contains(onchu) && !onchuAt) onchuAt = &p;
        }
        const bool autoOnchu = !record_->CommonUseTypePersonal && mode_ == TPrintControlMode::CompanyDepartmentOnchu;
        if (hasSama && (onchuAt || autoOnchu)) {
            TPreflightFinding& f = Add(TPreflightCode::NameOnchuWithSama,
                                       onchuAt ? onchuAt->Field : QStringLiteral("PerSonalHonorificTitle"),
                                       Text::NameOnchuWithSama());
            if (onchuAt) {
                const QString without = Trim(QString(*onchuAt->Value).remove(onchu));
                f.Suggestion = Text::RemoveOnchu(without);
                f.Fix = {{onchuAt->Field, *onchuAt->Value, without, true}};
            }
        }
    }

    // The printed texts of the record, field by field, as the renderer
    // normalises them (character for character, so positions stay).
    void CheckGlyphs() {
        const bool personalLayout = UsesPersonalLayout(record_->CommonUseTypePersonal, mode_);
        auto check = [&](const char* field, const QString& text, bool address) {
            QString printed = NormalizePrintText(text);
            if (vertical_ && address) printed = ToKanjiNumerals(printed);
            CheckFieldGlyphs(QString::fromLatin1(field), text, printed);
        };
        check(side_.Address1, *side_.address1, true);
        check(side_.Address2, *side_.address2, true);
        if (personalLayout || mode_ == TPrintControlMode::CompanyDepartmentPositionName) {
            check("PerSonalName_1", record_->PerSonalName_1, false);
            check("PerSonalName_2", record_->PerSonalName_2, false);
            check("PerSonalHonorificTitle", record_->PerSonalHonorificTitle, false);
        }
        if (personalLayout) {
            for (int i = 0; i < kMaxJointNames; ++i) {
                const TJointNameObject& j = record_->JointName(i);
                if (!j.PrintData) continue;
                CheckFieldGlyphs(QStringLiteral("CommonJointNameObj_%1.PrintName").arg(i + 1), j.PrintName,
                                 NormalizePrintText(j.PrintName));
                CheckFieldGlyphs(QStringLiteral("CommonJointNameObj_%1.HonorificTitle").arg(i + 1),
                                 j.HonorificTitle, NormalizePrintText(j.HonorificTitle));
            }
        } else {
            check("OfficeName", record_->OfficeName, false);
            check("OfficePost", record_->OfficePost, false);
            if (mode_ != TPrintControlMode::CompanyDepartmentOnchu)
                check("OfficeOfficialPosition", record_->OfficeOfficialPosition, false);
        }
    }

    enum GlyphState : quint8 { Fine = 0, Missing = 1, NoVerticalRotated = 2, NoVerticalUpright = 3 };

    GlyphState StateOf(char32_t c) {
        const auto it = glyphs_.constFind(c);
        if (it != glyphs_.constEnd()) return *it;
        GlyphState s = Fine;
        if (!font_.IsValid()) {
            s = Fine;  // the renderer reports an unusable face itself
        } else {
            const TVerticalGlyph v = VerticalGlyph(font_, c);
            if (v.Nominal == 0)
                s = Missing;
            else if (vertical_ && WantsVerticalForm(c) && v.Glyph == v.Nominal)
                s = v.Rotated ? NoVerticalRotated : NoVerticalUpright;
        }
        glyphs_.insert(c, s);
        return s;
    }

    void CheckFieldGlyphs(const QString& field, const QString& stored, const QString& printed) {
        QSet<char32_t> seen;
        for (char32_t c : printed.toUcs4()) {
            if (c <= 0x20 || c == 0x3000 || seen.contains(c)) continue;
            const GlyphState s = StateOf(c);
            if (s == Fine) continue;
            seen.insert(c);
            const QString ch = QString::fromUcs4(&c, 1);
            if (s == Missing) {
                TPreflightFinding& f = Add(TPreflightCode::GlyphMissing, field, Text::GlyphMissing(ch, face_.Family));
                // Offered only for a character the user typed as it is printed.
                const QString sub = MailSubstitute(c);
                if (!sub.isEmpty() && stored.contains(ch) && AllDrawable(sub)) {
                    f.Suggestion = Text::Substitute(ch, sub);
                    f.Fix = {{field, ch, sub, false}};
                }
            } else {
                Add(TPreflightCode::VerticalFormMissing, field,
                    Text::VerticalFormMissing(ch, face_.Family, s == NoVerticalRotated));
            }
        }
    }

    bool AllDrawable(const QString& text) {
        for (char32_t c : text.toUcs4())
            if (StateOf(c) == Missing) return false;
        return true;
    }

    // Ink the chosen printer cannot reach: which part, past which edges.
    void CheckPrintable() {
        for (const TInkCut& c : InkOutsidePrintable(*record_, setup_, index_)) {
            QStringList sides;
            auto side = [&](const char16_t* name, Mm by) {
                if (by > Mm(0.05)) sides << Text::InkCut(QString::fromUtf16(name), by.v);
            };
            side(u"上", c.Top);
            side(u"下", c.Bottom);
            side(u"左", c.Left);
            side(u"右", c.Right);
            QString field;
            switch (c.Part) {
            case InkPostalCode: case InkBarcode: field = QString::fromLatin1(side_.Zip1); break;
            case InkAddress: field = QString::fromLatin1(side_.Address1); break;
            case InkName: field = QStringLiteral("PerSonalName_1"); break;
            default: break;
            }
            Add(TPreflightCode::InkOutsidePrintable, field, Text::InkOutsidePrintable(InkPartCaption(c.Part), sides));
        }
    }

    void AddFit(const TFitMark& m) {
        if (!m.Overflow && !m.AtFloor) return;
        Add(m.Overflow ? TPreflightCode::FitOverflow : TPreflightCode::FitFloor, m.Field,
            m.Overflow ? Text::FitOverflow(m.Frame, m.Size.v) : Text::FitFloor(m.Frame, m.Size.v));
    }

    const TPieceSetup& setup_;
    const TPrintCheckOptions& options_;
    const bool vertical_;
    const TPrintFace face_;
    const TPrintFont font_;
    const TPrintControlMode mode_;
    QHash<char32_t, GlyphState> glyphs_;

    int index_ = 0;
    const TUserInfo* record_ = nullptr;
    QList<TPreflightFinding>* out_ = nullptr;
    QString name_;
    Side side_{};
};

}  // namespace

QList<TFitMark> LayoutFitMarks(const TUserInfo& r, const TPieceSetup& setup) {
    const TPieceFindings f = CheckPiece(r, setup);
    QList<TFitMark> marks;
    const TAddresseeData who = SelectAddresseeData(r);
    const QString addressField = QString::fromLatin1(who.Personal ? "PerSonalAddress_1" : "OfficeAddress_1");
    if (f.AddressOverflow)
        marks.append({QStringLiteral("住所"), addressField, f.AddressSize, true, true});
    // An address broken into more lines than it has reached the floor and
    // still did not fit; one merely drawn small beside a small name did not.
    else if (f.AddressLines > int(!Trim(who.Address1).isEmpty()) + int(!Trim(who.Address2).isEmpty()))
        marks.append({QStringLiteral("住所"), addressField, f.AddressSize, true, false});
    if (f.SenderOverflow) marks.append({QStringLiteral("差出人"), QString(), Points(8), true, true});
    return marks;
}

QList<TPreflightFinding> CheckPrint(const QList<const TUserInfo*>& records, const TPieceSetup& setup,
                                    const TPrintCheckOptions& options) {
    QList<TPreflightFinding> out;
    PrintChecker checker(setup, options);
    for (qsizetype i = 0; i < records.size(); ++i) checker.Check(int(i), *records[i], out);
    return out;
}

}  // namespace q2
