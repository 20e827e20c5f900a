// Sender block: preparation, frame shares, fitting and drawing.
#include "print/SenderBlock.h"

#include <algorithm>

#include "print/PostalCodeBoxes.h"
#include "print/PrintText.h"
#include "print/TextNormalize.h"
#include "print/Typeset.h"

namespace q2 {
namespace {

QString U(const char16_t* s) { return QString::fromUtf16(s); }

// `num` shared among `count` places, rounded; nothing when there is no place.
DevicePx RoundDiv(DevicePxF num, int count) {
    return count > 0 ? RoundPx(num / double(count)) : DevicePx(0);
}

QString WidestOf(const TPrintFont& f, const QString& first, const std::array<QString, 5>& rest, int n) {
    QString best = first;
    for (int i = 0; i < n; ++i)
        if (MeasureWidth(f, rest[i]) > MeasureWidth(f, best)) best = rest[i];
    return best;
}

}  // namespace

TPrintSenderData PrepareSenderData(const TSenderInfo& s, bool office, bool zipInArea) {
    TPrintSenderData d;
    d.Address1 = NormalizePrintText(s.SenderAddress_1);
    d.Address2 = NormalizePrintText(s.SenderAddress_2);
    d.AddressLines = int(!d.Address1.isEmpty()) + int(!d.Address2.isEmpty());
    if (zipInArea && PrintTrim(s.FullZip()) != QLatin1String("-")) {
        d.ZipLine = QChar(0x3012) + NormalizePrintText(s.FullZip());
        ++d.AddressLines;
    }
    d.SenderZip = s.FullZip() + EndPostCodeMarker();
    auto contact = [&](const TInputSetObject& item, const char16_t* label, bool normalise,
                       QString* outLabel, QString* outValue) {
        if (!item.PrintData || PrintTrim(item.Content).isEmpty()) return;
        *outValue = normalise ? NormalizePrintText(item.Content) : item.Content;
        *outLabel = U(label);
        ++d.Contacts;
    };
    contact(s.SenderTel_1, u"電話 ", true, &d.TelLabel, &d.TelValue);
    contact(s.SenderFax_1, u"ＦＡＸ ", true, &d.FaxLabel, &d.FaxValue);
    contact(s.SenderMail_1, u"Ｅメール ", false, &d.MailLabel, &d.MailValue);
    if (PrintTrim(s.SenderHomePage.Content) != QLatin1String("http://"))
        contact(s.SenderHomePage, u"ＨＰ　", false, &d.HomePageLabel, &d.HomePageValue);
    d.FamilyName = NormalizePrintText(s.SenderName_1);
    d.GivenName = NormalizePrintText(s.SenderName_2);
    if (office) {
        if (s.OfficeName.PrintData) {
            d.Company = NormalizePrintText(s.OfficeName.Content);
            ++d.CompanyLines;
        }
        if (s.OfficePost.PrintData) {
            d.Department = NormalizePrintText(s.OfficePost.Content);
            ++d.CompanyLines;
        }
        if (s.OfficeOfficialPosition.PrintData)
            d.Position = NormalizePrintText(s.OfficeOfficialPosition.Content);
    } else {
        for (int i = 0; i < 4; ++i) {
            const TInputSetObject& j = s.JointName(i);
            if (!j.PrintData) continue;
            QString t = NormalizePrintText(j.Content);
            t.replace(QChar(0x3000), QLatin1Char(' '));
            const int slot = d.Names - 1;
            const qsizetype sp = t.indexOf(QLatin1Char(' '));
            if (sp >= 0) {
                d.JointFamily[slot] = t.left(sp);
                d.JointGiven[slot] = t.mid(sp + 1);
                if (d.JointFamily[slot].isEmpty()) {
                    d.JointFamily[slot] = d.JointGiven[slot];
                    d.JointGiven[slot].clear();
                }
            } else {
                d.JointGiven[slot] = t;
            }
            ++d.Names;
        }
        // Joint names of the sender's own family show the given name only,
        // under the sender's given name; once one shows another family, the
        // later ones keep theirs, as in the addressee block.
        bool keepFamilies = false;
        for (int i = 0; i < d.JointCount(); ++i) {
            if (d.JointFamily[i].isEmpty()) continue;
            if (!keepFamilies && d.JointFamily[i] == d.FamilyName && !d.JointGiven[i].isEmpty())
                d.JointFamily[i].clear();
            else if (d.JointFamily[i] != d.FamilyName)
                keepFamilies = true;
        }
    }
    return d;
}

TPrintSenderData LayoutSenderBlock(const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                                   DeviceRect frame, TPrintSenderData d) {
    // A set column is measured with the numerals it prints.
    if (vertical && face.Writing.Typeset) {
        d.Address1 = ToVerticalNumerals(d.Address1, face.Writing.Numerals);
        d.Address2 = ToVerticalNumerals(d.Address2, face.Writing.Numerals);
    }
    const QString a = U(u"あ"), fullSpace(QChar(0x3000)), space(QLatin1Char(' '));
    const DevicePx L = frame.left, T = frame.top, W = frame.width, H = frame.height;
    const DevicePx thick = vertical ? W : H;
    const DevicePx length = vertical ? H : W;

    // The frame's thickness shared among the groups of lines by weight: an
    // address or contact line 70, a company line 55, a name 100.
    const int weight = 70 * d.AddressLines + 55 * d.CompanyLines + 100 * d.Names + 70 * d.Contacts;
    const DevicePxF u = weight > 0 ? thick / double(weight) : DevicePxF(0);
    const DevicePx addrShare = RoundPx(70 * d.AddressLines * u), compShare = RoundPx(55 * d.CompanyLines * u),
                   nameShare = RoundPx(100 * d.Names * u), contShare = RoundPx(70 * d.Contacts * u);
    TPrintFont af, cf, nf, tf, mf, hf, pf;
    // Every column (line) takes its cell and a third of a cell apart from the
    // next, so no two columns touch; nothing is made smaller than 8 points.
    const Points floor(kSenderFloorPoints);
    bool fits = true;
    auto fitsShare = [&](int lines, DevicePx share) {
        return [&, lines, share](const TPrintFont& f) { return (TextHeight(f) + ColumnGap(f, g)) * lines > share; };
    };
    auto shrink = [&](Points& size, TPrintFont& font, auto&& tooBig) {
        if (size < floor) size = floor;
        fits = ShrinkToFloor(face, dpi, size, font, floor, tooBig) && fits;
    };
    shrink(d.AddressSize, af, fitsShare(d.AddressLines, addrShare));
    shrink(d.CompanySize, cf, fitsShare(d.CompanyLines, compShare));
    shrink(d.NameSize, nf, fitsShare(d.Names, nameShare));
    shrink(d.TelFaxSize, tf, fitsShare(d.Contacts, contShare));
    d.MailSize = d.TelFaxSize;

    // The address lines must also fit along the frame.
    shrink(d.AddressSize, af, [&](const TPrintFont& f) {
        return MeasureWidth(f, QChar(0x3012) + d.ZipLine) > length || MeasureWidth(f, d.Address1) > length ||
               MeasureWidth(f, fullSpace + d.Address2) > length;
    });

    // The names take three quarters of the length, or 60 % beside a company;
    // the company 85 %, the position a quarter.
    const int joints = d.JointCount();
    QString Fs, Gs;
    if (d.CompanyLines == 0) {
        Fs = WidestOf(nf, d.FamilyName, d.JointFamily, joints);
        Gs = WidestOf(nf, d.GivenName, d.JointGiven, joints);
        const QString fg = Fs + Gs;
        shrink(d.NameSize, nf, [&](const TPrintFont& f) { return MeasureWidth(f, fg + space) > length * 0.75; });
        d.Pitch = RoundDiv(length * 0.75 - MeasureWidth(nf, fg), PitchSlots(nf, Fs) + PitchSlots(nf, Gs));
    } else {
        shrink(d.CompanySize, cf, [&](const TPrintFont& f) { return MeasureWidth(f, d.Company) > length * 0.85; });
        shrink(d.CompanySize, cf,
               [&](const TPrintFont& f) { return MeasureWidth(f, d.Department + a) > length * 0.85; });
        d.PositionSize = d.CompanySize;
        shrink(d.PositionSize, pf,
               [&](const TPrintFont& f) { return MeasureWidth(f, d.Position + space) > length * 0.25; });
        const QString fg = d.FamilyName + d.GivenName;
        shrink(d.NameSize, nf, [&](const TPrintFont& f) { return MeasureWidth(f, fg + space) > length * 0.6; });
        d.Pitch = RoundDiv(length * 0.6 - MeasureWidth(nf, fg),
                           PitchSlots(nf, d.FamilyName) + PitchSlots(nf, d.GivenName));
    }
    pf = MakeTextFont(face, dpi, d.PositionSize);

    // Contact lines take 75 % of the length, or 60 % beside a company.
    const double r = d.CompanyLines == 0 ? 0.75 : 0.6;
    auto tooLong = [&](const QString& text) {
        return [&, text](const TPrintFont& f) { return MeasureWidth(f, text) > length * r; };
    };
    shrink(d.TelFaxSize, tf, tooLong(d.TelLabel + d.TelValue));
    shrink(d.TelFaxSize, tf, tooLong(d.FaxLabel + d.FaxValue));
    shrink(d.HomePageSize, hf, tooLong(d.HomePageLabel + d.HomePageValue));
    shrink(d.MailSize, mf, tooLong(d.MailLabel + d.MailValue));
    d.Overflow = !fits;

    // Where every text starts.
    const bool officeArrangement = d.CompanyLines > 0 || !d.Position.isEmpty();
    const DevicePx tfMax = std::max(MeasureWidth(tf, d.TelValue), MeasureWidth(tf, d.FaxValue));
    if (vertical) {
        // The first column stands g inside the frame's right edge, every
        // further one a column gap left of the one before.
        DevicePx cursor = L + W;
        bool first = true;
        auto column = [&](const TPrintFont& f) {
            cursor = cursor - TextHeight(f) - (first ? g : ColumnGap(f, g));
            first = false;
            return cursor;
        };
        const DevicePx acw = MeasureWidth(af, a);
        if (!d.ZipLine.isEmpty()) d.ZipLinePos = {column(af), T};
        if (!d.Address1.isEmpty()) d.Address1Pos = {column(af), T};
        if (!d.Address2.isEmpty()) {
            const DevicePx m1 = MeasureWidth(af, d.Address1), m2 = MeasureWidth(af, d.Address2);
            DevicePx y;
            if (m1 > m2 && MeasureWidth(af, d.Address1 + d.Address2) - acw > H)
                y = T + H - m2;
            else if (m1 > m2)
                y = T + m1 - acw;
            else
                y = T + acw;
            d.Address2Pos = {column(af), y};
        }
        const DevicePx nch = TextHeight(nf);
        if (!officeArrangement) {
            d.FamilyPos = {column(nf), RoundPx(T + H * 0.25)};
            const DevicePx gy = T + H - MeasureWidth(nf, Gs) - PitchSlots(nf, Gs) * d.Pitch;
            d.GivenPos = {d.FamilyPos.x, gy};
            for (int i = 1; i <= joints; ++i) {
                const DevicePx x = d.FamilyPos.x - i * (nch + ColumnGap(nf, g));
                d.JointFamilyPos[i - 1] = {x, d.FamilyPos.y};
                d.JointGivenPos[i - 1] = {x, gy};
                cursor = x;
            }
        } else {
            const DevicePx top15 = RoundPx(T + H * 0.15);
            if (!d.Company.isEmpty()) d.CompanyPos = {column(cf), top15};
            if (!d.Department.isEmpty()) d.DepartmentPos = {column(cf), top15 + MeasureWidth(cf, a)};
            d.FamilyPos = {column(nf), RoundPx(T + H * 0.4)};
            d.GivenPos = {d.FamilyPos.x, T + H - MeasureWidth(nf, d.GivenName) - PitchSlots(nf, d.GivenName) * d.Pitch};
            if (!d.Position.isEmpty())
                d.PositionPos = {d.FamilyPos.x + RoundPx((nch - TextHeight(pf)) / 2.0), top15};
        }
        // A label starts at its place unless its value, held at the 8-point
        // floor, would meet it: then at the column's top.
        auto labelY = [&](const TPrintFont& f, const QString& label, DevicePx valueStart) {
            const DevicePx y = RoundPx(T + H * (1 - r));
            return y + MeasureWidth(f, label) > valueStart ? T : y;
        };
        if (!d.TelLabel.isEmpty()) {
            const DevicePx x = column(tf);
            d.TelValuePos = {x, T + H - tfMax};
            d.TelLabelPos = {x, labelY(tf, d.TelLabel, d.TelValuePos.y)};
        }
        if (!d.FaxLabel.isEmpty()) {
            const DevicePx x = column(tf);
            d.FaxValuePos = {x, T + H - tfMax};
            d.FaxLabelPos = {x, labelY(tf, d.FaxLabel, d.FaxValuePos.y)};
        }
        if (!d.MailLabel.isEmpty()) {
            const DevicePx x = column(mf);
            d.MailValuePos = {x, T + H - MeasureWidth(mf, d.MailValue)};
            d.MailLabelPos = {x, labelY(mf, d.MailLabel, d.MailValuePos.y)};
        }
        if (!d.HomePageLabel.isEmpty()) {
            const DevicePx x = column(hf);
            d.HomePageValuePos = {x, T + H - MeasureWidth(hf, d.HomePageValue)};
            d.HomePageLabelPos = {x, labelY(hf, d.HomePageLabel, d.HomePageValuePos.y)};
        }
    } else {
        DevicePx cursor = T;
        auto line = [&](const TPrintFont& f) {
            const DevicePx y = cursor;
            cursor += TextHeight(f) + ColumnGap(f, g);
            return y;
        };
        const DevicePx acw = MeasureWidth(af, a);
        if (!d.ZipLine.isEmpty()) d.ZipLinePos = {L, line(af)};
        if (!d.Address1.isEmpty()) d.Address1Pos = {L, line(af)};
        if (!d.Address2.isEmpty()) {
            const DevicePx m1 = MeasureWidth(af, d.Address1), m2 = MeasureWidth(af, d.Address2);
            DevicePx x;
            if (m1 > m2 && MeasureWidth(af, d.Address1 + d.Address2) - acw > W)
                x = L + W - m2;
            else if (m1 > m2)
                x = L + m1 - acw;
            else
                x = L + acw;
            d.Address2Pos = {x, line(af)};
        }
        const DevicePx nch = TextHeight(nf);
        if (!officeArrangement) {
            d.FamilyPos = {RoundPx(L + W * 0.25), line(nf)};
            const DevicePx gx = L + W - MeasureWidth(nf, Gs) - PitchSlots(nf, Gs) * d.Pitch;
            d.GivenPos = {gx, d.FamilyPos.y};
            for (int i = 1; i <= joints; ++i) {
                const DevicePx y = d.FamilyPos.y + i * (nch + ColumnGap(nf, g));
                d.JointFamilyPos[i - 1] = {d.FamilyPos.x, y};
                d.JointGivenPos[i - 1] = {gx, y};
                line(nf);
            }
        } else {
            const DevicePx left15 = RoundPx(L + W * 0.15);
            if (!d.Company.isEmpty()) d.CompanyPos = {left15, line(cf)};
            if (!d.Department.isEmpty()) d.DepartmentPos = {left15 + MeasureWidth(cf, a), line(cf)};
            d.FamilyPos = {RoundPx(L + W * 0.4), line(nf)};
            d.GivenPos = {L + W - MeasureWidth(nf, d.GivenName) - PitchSlots(nf, d.GivenName) * d.Pitch, d.FamilyPos.y};
            if (!d.Position.isEmpty())
                d.PositionPos = {left15, d.FamilyPos.y + RoundPx((nch - TextHeight(pf)) / 2.0)};
        }
        auto labelX = [&](const TPrintFont& f, const QString& label, DevicePx valueStart) {
            const DevicePx x = RoundPx(L + W * (1 - r));
            return x + MeasureWidth(f, label) > valueStart ? L : x;
        };
        if (!d.TelLabel.isEmpty()) {
            const DevicePx y = line(tf);
            d.TelValuePos = {L + W - tfMax, y};
            d.TelLabelPos = {labelX(tf, d.TelLabel, d.TelValuePos.x), y};
        }
        if (!d.FaxLabel.isEmpty()) {
            const DevicePx y = line(tf);
            d.FaxValuePos = {L + W - tfMax, y};
            d.FaxLabelPos = {labelX(tf, d.FaxLabel, d.FaxValuePos.x), y};
        }
        if (!d.MailLabel.isEmpty()) {
            const DevicePx y = line(mf);
            d.MailValuePos = {L + W - MeasureWidth(mf, d.MailValue), y};
            d.MailLabelPos = {labelX(mf, d.MailLabel, d.MailValuePos.x), y};
        }
        if (!d.HomePageLabel.isEmpty()) {
            const DevicePx y = line(hf);
            d.HomePageValuePos = {L + W - MeasureWidth(hf, d.HomePageValue), y};
            d.HomePageLabelPos = {labelX(hf, d.HomePageLabel, d.HomePageValuePos.x), y};
        }
    }
    return d;
}

void DrawSenderBlock(QPainter& p, const TPrintSenderData& d, const TPrintFace& face, Dpi dpi,
                     bool vertical, std::optional<MmPoint> zipBoxes) {
    if (d.ZipLine.isEmpty() && zipBoxes) DrawSenderPostalCodeBoxes(p, d.SenderZip, dpi, *zipBoxes);
    DrawPlainText(p, dpi, d.ZipLinePos, vertical, d.AddressSize, face, d.ZipLine);
    const QString a1 = vertical ? ToVerticalNumerals(d.Address1, face.Writing.Numerals) : d.Address1;
    const QString a2 = vertical ? ToVerticalNumerals(d.Address2, face.Writing.Numerals) : d.Address2;
    DrawPlainText(p, dpi, d.Address1Pos, vertical, d.AddressSize, face, a1);
    DrawPlainText(p, dpi, d.Address2Pos, vertical, d.AddressSize, face, a2);
    DrawPlainText(p, dpi, d.CompanyPos, vertical, d.CompanySize, face, d.Company);
    DrawPlainText(p, dpi, d.DepartmentPos, vertical, d.CompanySize, face, d.Department);
    DrawPlainText(p, dpi, d.PositionPos, vertical, d.PositionSize, face, d.Position);
    DrawSpacedText(p, dpi, d.FamilyName, d.Pitch, d.FamilyPos, vertical, d.NameSize, face);
    DrawSpacedText(p, dpi, {}, d.Pitch, d.GivenPos, vertical, d.NameSize, face, d.GivenName);
    for (int i = 0; i < d.JointCount(); ++i) {
        DrawSpacedText(p, dpi, d.JointFamily[i], d.Pitch, d.JointFamilyPos[i], vertical, d.NameSize, face);
        DrawSpacedText(p, dpi, {}, d.Pitch, d.JointGivenPos[i], vertical, d.NameSize, face, d.JointGiven[i]);
    }
    DrawPlainText(p, dpi, d.TelLabelPos, vertical, d.TelFaxSize, face, d.TelLabel);
    DrawPlainText(p, dpi, d.TelValuePos, vertical, d.TelFaxSize, face, d.TelValue);
    DrawPlainText(p, dpi, d.FaxLabelPos, vertical, d.TelFaxSize, face, d.FaxLabel);
    DrawPlainText(p, dpi, d.FaxValuePos, vertical, d.TelFaxSize, face, d.FaxValue);
    DrawPlainText(p, dpi, d.MailLabelPos, vertical, d.MailSize, face, d.MailLabel);
    DrawPlainText(p, dpi, d.MailValuePos, vertical, d.MailSize, face, d.MailValue);
    DrawPlainText(p, dpi, d.HomePageLabelPos, vertical, d.HomePageSize, face, d.HomePageLabel);
    DrawPlainText(p, dpi, d.HomePageValuePos, vertical, d.HomePageSize, face, d.HomePageValue);
}

}  // namespace q2
