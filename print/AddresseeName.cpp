// Addressee name block: the personal layout and the three office layouts.
#include "print/AddresseeName.h"

#include <algorithm>

#include "print/PrintText.h"
#include "print/Typeset.h"

namespace q2 {
namespace {

const QChar kFullSpace(0x3000);

QString U(const char16_t* s) { return QString::fromUtf16(s); }

// The widest of `texts` by MeasureWidth in `font`; the first on a tie.
QString Widest(const TPrintFont& font, const QList<QString>& texts) {
    QString best;
    DevicePx bestW(-1);
    for (const QString& t : texts) {
        const DevicePx w = MeasureWidth(font, t);
        if (w > bestW) {
            bestW = w;
            best = t;
        }
    }
    return best;
}

// `num` shared among `count` places, rounded; nothing when there is no place.
DevicePx RoundDiv(DevicePx num, int count) {
    return count > 0 ? RoundPx(num / double(count)) : DevicePx(0);
}

void LayoutPersonal(TPrintNameData& d, const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                    DeviceRect f, const TNameInputs& in) {
    SplitName(in.FullName, &d.FamilyName, &d.GivenName);
    // Parse "name=honorific:" entries.
    QString list = in.JointList;
    int k = 0;
    while (!list.isEmpty() && k < kMaxJointNames) {
        const qsizetype eq = list.indexOf(QLatin1Char('='));
        const qsizetype colon = list.indexOf(QLatin1Char(':'));
        const QString name = eq >= 0 ? list.left(eq) : list;
        const QString honorific =
            (eq >= 0 && colon > eq) ? list.mid(eq + 1, colon - eq - 1) : QString();
        SplitJointName(name, &d.JointFamily[k], &d.JointGiven[k]);
        d.JointHonorific[k] = honorific;
        ++k;
        if (colon < 0) break;
        list.remove(0, colon + 1);
    }
    d.JointCount = k;
    // Family-name omission. Once a joint name shows a family other than the
    // main one, later joint names keep theirs, so that a bare given name is
    // never read as belonging to the other family (applied from the
    // first joint name on).
    bool keepFamilies = false;
    for (int i = 0; i < k; ++i) {
        if (d.JointFamily[i].isEmpty()) continue;
        if (!keepFamilies && d.JointFamily[i] == d.FamilyName)
            d.JointFamily[i].clear();
        else if (d.JointFamily[i] != d.FamilyName)
            keepFamilies = true;
    }

    const DevicePx thick = vertical ? f.width : f.height;
    const DevicePx length = vertical ? f.height : f.width;
    // The entries drawn: the joint names up to the first without a given name.
    int drawn = 0;
    while (drawn < k && !d.JointGiven[drawn].isEmpty()) ++drawn;
    // The main name and the joint names each take one column (line), a third
    // of a cell apart.
    d.NameSize = Points(42);
    TPrintFont font;
    ShrinkWhile(face, dpi, d.NameSize, font, [&](const TPrintFont& ft) {
        return TextHeight(ft) * (k + 1) + ColumnGap(ft, g) * k + g > thick;
    });

    // Only entries with a given name are printed and measured. The main name
    // counts when it has any part (a family name alone is still a name); an
    // empty main name counts out, which drives the size to 1 point.
    QList<QString> fams, givens, hons;
    if (!d.FamilyName.isEmpty() || !d.GivenName.isEmpty()) {
        fams << d.FamilyName;
        givens << d.GivenName;
        hons << in.Honorific;
    }
    for (int i = 0; i < k; ++i) {
        if (d.JointGiven[i].isEmpty()) continue;
        fams << d.JointFamily[i];
        givens << d.JointGiven[i];
        hons << d.JointHonorific[i];
    }
    const QString F = Widest(font, fams), G = Widest(font, givens), N = Widest(font, hons);
    const QString all = F + G + N;
    ShrinkWhile(face, dpi, d.NameSize, font, [&](const TPrintFont& ft) {
        return MeasureWidth(ft, all + QLatin1Char(' ')) > length;
    });
    const int c = PitchSlots(font, F) + PitchSlots(font, G) + PitchSlots(font, N);
    auto pitch = [&] { return RoundDiv(length - MeasureWidth(font, all + QLatin1Char(' ')), c); };
    d.Pitch = pitch();
    while (MeasureWidth(font, QString(kFullSpace)) > 2 * d.Pitch) {
        const bool more = ShrinkOnce(face, dpi, d.NameSize, font);
        d.Pitch = pitch();
        if (!more) break;
    }
    // A short name is not scattered over the frame: at most one cell between
    // its characters, the block centred in what is left.
    d.Pitch = std::min(d.Pitch, MeasureWidth(font, QString::fromUtf16(u"あ")));
    const DevicePx used = MeasureWidth(font, all + QLatin1Char(' ')) + c * d.Pitch;
    const DevicePx lead = std::max(DevicePx(0), (length - used) / 2);

    // The columns (lines) drawn, centred across the frame, the main name first.
    const DevicePx ch = TextHeight(font), step = ch + ColumnGap(font, g);
    const DevicePx group = ch * (drawn + 1) + (step - ch) * drawn;
    const DevicePx givenOffset = MeasureWidth(font, F) + PitchSlots(font, F) * d.Pitch;
    // Every honorific ends on one line: the foot of the columns, or one
    // right edge in horizontal writing.
    const DevicePx foot = (vertical ? f.top + f.height : f.left + f.width) - lead;
    auto honorificAt = [&](const QString& h) { return foot - MeasureWidth(font, h); };
    if (vertical) {
        const DevicePx x0 = f.left + (f.width + group) / 2 - ch;
        const DevicePx top = f.top + lead;
        d.FamilyPos = {x0, top};
        d.GivenPos = {x0, top + givenOffset};
        d.HonorificPos = {x0, honorificAt(in.Honorific)};
        for (int i = 0; i < kMaxJointNames; ++i) {
            const DevicePx x = x0 - (i + 1) * step;
            d.JointFamilyPos[i] = {x, top};
            d.JointGivenPos[i] = {x, top + givenOffset};
            d.JointHonorificPos[i] = {x, honorificAt(d.JointHonorific[i])};
        }
    } else {
        const DevicePx left = f.left + lead;
        const DevicePx y0 = f.top + (f.height - group) / 2;
        d.FamilyPos = {left, y0};
        d.GivenPos = {left + givenOffset, y0};
        d.HonorificPos = {honorificAt(in.Honorific), y0};
        for (int i = 0; i < kMaxJointNames; ++i) {
            const DevicePx y = y0 + (i + 1) * step;
            d.JointFamilyPos[i] = {left, y};
            d.JointGivenPos[i] = {left + givenOffset, y};
            d.JointHonorificPos[i] = {honorificAt(d.JointHonorific[i]), y};
        }
    }
}

// "会社部署御中".
void LayoutOnchu(TPrintNameData& d, const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                 DeviceRect f, const TNameInputs& in) {
    const QString a = U(u"あ"), onchu = U(u"御中"), spacedOnchu = U(u" 御中");
    const DevicePx length = vertical ? f.height : f.width;
    d.CompanySize = Points(36);
    TPrintFont cf, df;
    ShrinkWhile(face, dpi, d.CompanySize, cf,
                [&](const TPrintFont& ft) { return MeasureWidth(ft, in.Company) > length; });
    const DevicePx cwA = MeasureWidth(cf, a), chA = TextHeight(cf);
    ShrinkWhile(face, dpi, d.DepartmentSize, df, [&](const TPrintFont& ft) {
        return MeasureWidth(ft, in.Department) > length - cwA - MeasureWidth(ft, spacedOnchu);
    });
    const DevicePx chB = TextHeight(df);
    const int n = PitchSlots(df, in.Department);
    d.Pitch = RoundDiv(length - MeasureWidth(df, in.Department) - cwA - MeasureWidth(df, spacedOnchu), n);
    if (vertical) {
        d.CompanyPos = {f.left + f.width - chA - g, f.top};
        d.DepartmentPos = {d.CompanyPos.x - chB - g, f.top + cwA};
        d.HonorificPos = {d.DepartmentPos.x, f.top + f.height - MeasureWidth(df, onchu)};
    } else {
        d.CompanyPos = {f.left, f.top};
        d.DepartmentPos = {f.left + cwA, f.top + chA};
        d.HonorificPos = {f.left + f.width - MeasureWidth(df, onchu), d.DepartmentPos.y};
    }
}

// "会社部署役職殿".
void LayoutDono(TPrintNameData& d, const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical, DeviceRect f,
                const TNameInputs& in) {
    const QString a = U(u"あ"), dono = U(u"殿"), spacedDono = U(u" 殿");
    const DevicePx length = vertical ? f.height : f.width;
    const DevicePxF tk = (vertical ? f.width : f.height) * 150.0 / 480.0;
    d.CompanySize = Points(36);
    TPrintFont cf, df, pf;
    ShrinkWhile(face, dpi, d.CompanySize, cf, [&](const TPrintFont& ft) { return TextHeight(ft) > tk; });
    DevicePx cwA, chA, cwB, chB;
    if (!in.Company.isEmpty()) {
        ShrinkWhile(face, dpi, d.CompanySize, cf,
                    [&](const TPrintFont& ft) { return MeasureWidth(ft, in.Company) > length; });
        cwA = MeasureWidth(cf, a);
        chA = TextHeight(cf);
    }
    d.DepartmentSize = d.CompanySize;
    df = MakeTextFont(face, dpi, d.DepartmentSize);
    if (!in.Department.isEmpty()) {
        ShrinkWhile(face, dpi, d.DepartmentSize, df,
                    [&](const TPrintFont& ft) { return MeasureWidth(ft, in.Department) + cwA > length; });
        cwB = MeasureWidth(df, a);
        chB = TextHeight(df);
    }
    d.PositionSize = d.CompanySize + Points(4);
    ShrinkWhile(face, dpi, d.PositionSize, pf, [&](const TPrintFont& ft) {
        return MeasureWidth(ft, in.Position) > length - MeasureWidth(ft, spacedDono) - cwB - cwA;
    });
    d.Pitch = RoundDiv(length - cwA - cwB - MeasureWidth(pf, in.Position + spacedDono),
                       PitchSlots(pf, in.Position));
    const DevicePx chC = TextHeight(pf);
    if (vertical) {
        const DevicePx right = f.left + f.width;
        d.CompanyPos = {right - TextHeight(cf) - g, f.top};
        d.DepartmentPos = {right - chA - TextHeight(df), f.top + cwA};
        d.PositionPos = {right - chA - chB - chC, f.top + cwA + cwB};
        d.HonorificPos = {d.PositionPos.x, f.top + f.height - MeasureWidth(pf, dono)};
    } else {
        d.CompanyPos = {f.left, f.top};
        d.DepartmentPos = {f.left + cwA, f.top + chA};
        d.PositionPos = {f.left + cwA + cwB, f.top + chA + chB};
        d.HonorificPos = {f.left + f.width - MeasureWidth(pf, dono), d.PositionPos.y};
    }
}

// "会社部署役職名前".
void LayoutWithName(TPrintNameData& d, const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                    DeviceRect f, const TNameInputs& in) {
    const QString a = U(u"あ"), fullSpace(kFullSpace);
    const DevicePx length = vertical ? f.height : f.width;
    const DevicePxF thick = (vertical ? f.width : f.height) * 200.0 / 480.0 - g;
    d.CompanySize = Points(44);
    d.DepartmentSize = Points(34);
    d.PositionSize = Points(26);
    d.NameSize = Points(50);
    TPrintFont nf, pf, cf, df;
    ShrinkWhile(face, dpi, d.NameSize, nf, [&](const TPrintFont& ft) { return TextHeight(ft) >= thick; });
    SplitName(in.FullName, &d.FamilyName, &d.GivenName);
    const QString name = d.FamilyName + d.GivenName;
    const DevicePx nameLimit = RoundPx(length * 0.7);
    ShrinkWhile(face, dpi, d.NameSize, nf, [&](const TPrintFont& ft) {
        return MeasureWidth(ft, name + fullSpace + in.Honorific) > nameLimit;
    });
    d.PositionSize = std::max(d.NameSize - Points(10), Points(1));
    const QString pos = in.Position + QLatin1Char(' ');
    ShrinkWhile(face, dpi, d.PositionSize, pf,
                [&](const TPrintFont& ft) { return MeasureWidth(ft, pos) > length * 0.3; });
    const DevicePx PW = MeasureWidth(pf, pos), PH = TextHeight(pf);
    const int c = PitchSlots(nf, d.FamilyName) + PitchSlots(nf, d.GivenName);
    if (c > 0) {
        auto pitch = [&] {
            return RoundDiv(length - PW - MeasureWidth(nf, fullSpace + in.Honorific + name), c);
        };
        d.Pitch = pitch();
        while (MeasureWidth(nf, fullSpace) > 2 * d.Pitch) {
            const bool more = ShrinkOnce(face, dpi, d.NameSize, nf);
            d.Pitch = pitch();
            if (!more) break;
        }
    }
    d.CompanySize = std::max(d.NameSize - Points(5), Points(1));
    cf = MakeTextFont(face, dpi, d.CompanySize);
    DevicePx cwA, chA, chB;
    if (!in.Company.isEmpty()) {
        ShrinkWhile(face, dpi, d.CompanySize, cf,
                    [&](const TPrintFont& ft) { return MeasureWidth(ft, in.Company) > length; });
        cwA = MeasureWidth(cf, a);
        chA = TextHeight(cf);
    }
    d.DepartmentSize = d.CompanySize;
    df = MakeTextFont(face, dpi, d.DepartmentSize);
    if (!in.Department.isEmpty()) {
        ShrinkWhile(face, dpi, d.DepartmentSize, df,
                    [&](const TPrintFont& ft) { return MeasureWidth(ft, in.Department) + cwA > length; });
        chB = TextHeight(df);
    }
    const DevicePx chD = TextHeight(nf);
    if (vertical) {
        const DevicePx right = f.left + f.width;
        d.CompanyPos = {right - TextHeight(cf) - g, f.top};
        d.DepartmentPos = {right - chA - TextHeight(df) - 2 * g, f.top + cwA};
        d.FamilyPos = {right - chA - chB - chD - 3 * g, f.top + PW};
        d.PositionPos = {right - chA - chB - PH - RoundPx((chD - PH) / 2.0) - 3 * g, f.top};
        d.HonorificPos = {d.FamilyPos.x, f.top + f.height - MeasureWidth(nf, in.Honorific)};
    } else {
        const DevicePx cwD = MeasureWidth(nf, a);
        d.CompanyPos = {f.left, f.top};
        d.DepartmentPos = {f.left + MeasureWidth(cf, a), f.top + chA};
        d.FamilyPos = {f.left + PW, f.top + chA + chB};
        d.PositionPos = {f.left, f.top + chA + chB + RoundPx((cwD - PH) / 2.0)};
        d.HonorificPos = {f.left + f.width - MeasureWidth(nf, in.Honorific), d.FamilyPos.y};
    }
}

}  // namespace

TAddresseeData SelectAddresseeData(const TUserInfo& r) {
    TAddresseeData d;
    d.Personal = r.CommonUseTypePersonal;
    if (d.Personal) {
        d.Address1 = r.PerSonalAddress_1;
        d.Address2 = r.PerSonalAddress_2;
        d.Zip = r.PersonalFullZip();
    } else {
        d.Address1 = r.OfficeAddress_1;
        d.Address2 = r.OfficeAddress_2;
        d.Zip = r.OfficeFullZip();
    }
    return d;
}

QString BuildJointNameList(const TUserInfo& r) {
    QString list;
    for (int i = 0; i < kMaxJointNames; ++i) {
        const TJointNameObject& j = r.JointName(i);
        if (j.PrintData) list += j.PrintName + QLatin1Char('=') + j.HonorificTitle + QLatin1Char(':');
    }
    return list;
}

void SplitName(const QString& text, QString* family, QString* given) {
    QString t = text;
    t.replace(kFullSpace, QLatin1Char(' '));
    const qsizetype sp = t.indexOf(QLatin1Char(' '));
    if (sp < 0) {
        *family = t;
        given->clear();
        return;
    }
    *family = t.left(sp);
    *given = t.mid(sp + 1);
    if (family->isEmpty()) {
        *family = *given;
        given->clear();
    }
}

void SplitJointName(const QString& text, QString* family, QString* given) {
    QString t = text;
    t.replace(kFullSpace, QLatin1Char(' '));
    const qsizetype sp = t.indexOf(QLatin1Char(' '));
    if (sp < 0) {
        family->clear();
        *given = t;
        return;
    }
    *family = t.left(sp);
    *given = t.mid(sp + 1);
}

bool UsesPersonalLayout(bool personalUse, TPrintControlMode mode) {
    return personalUse || mode == TPrintControlMode::PersonalName;
}

TPrintNameData LayoutAddresseeName(const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                                   DeviceRect frame, bool personalUse, TPrintControlMode mode,
                                   const TNameInputs& in) {
    TPrintNameData d;  // the caller's presets: 15, 25, 15, 25
    d.Mode = mode;
    d.PersonalLayout = UsesPersonalLayout(personalUse, mode);
    if (d.PersonalLayout) {
        LayoutPersonal(d, face, dpi, g, vertical, frame, in);
        return d;
    }
    switch (mode) {
    case TPrintControlMode::CompanyDepartmentOnchu:
        LayoutOnchu(d, face, dpi, g, vertical, frame, in);
        break;
    case TPrintControlMode::CompanyDepartmentPositionDono:
        LayoutDono(d, face, dpi, g, vertical, frame, in);
        break;
    default:
        LayoutWithName(d, face, dpi, g, vertical, frame, in);
        break;
    }
    return d;
}

void DrawAddresseeName(QPainter& p, const TPrintNameData& d, const TPrintFace& face, Dpi dpi,
                       bool vertical, const TNameInputs& in) {
    if (d.PersonalLayout) {
        DrawSpacedText(p, dpi, d.FamilyName, d.Pitch, d.FamilyPos, vertical, d.NameSize, face);
        for (int i = 0; i < d.JointCount && !d.JointGiven[i].isEmpty(); ++i)
            DrawSpacedText(p, dpi, d.JointFamily[i], d.Pitch, d.JointFamilyPos[i], vertical, d.NameSize, face);
        DrawSpacedText(p, dpi, {}, d.Pitch, d.GivenPos, vertical, d.NameSize, face, d.GivenName);
        for (int i = 0; i < d.JointCount && !d.JointGiven[i].isEmpty(); ++i)
            DrawSpacedText(p, dpi, {}, d.Pitch, d.JointGivenPos[i], vertical, d.NameSize, face, d.JointGiven[i]);
        DrawPlainText(p, dpi, d.HonorificPos, vertical, d.NameSize, face, in.Honorific);
        for (int i = 0; i < d.JointCount && !d.JointGiven[i].isEmpty(); ++i)
            DrawPlainText(p, dpi, d.JointHonorificPos[i], vertical, d.NameSize, face, d.JointHonorific[i]);
        return;
    }
    switch (d.Mode) {
    case TPrintControlMode::CompanyDepartmentOnchu:
        DrawPlainText(p, dpi, d.CompanyPos, vertical, d.CompanySize, face, in.Company);
        DrawSpacedText(p, dpi, in.Department, d.Pitch, d.DepartmentPos, vertical, d.DepartmentSize, face);
        DrawPlainText(p, dpi, d.HonorificPos, vertical, d.DepartmentSize, face, U(u"御中"));
        break;
    case TPrintControlMode::CompanyDepartmentPositionDono:
        DrawPlainText(p, dpi, d.CompanyPos, vertical, d.CompanySize, face, in.Company);
        DrawPlainText(p, dpi, d.DepartmentPos, vertical, d.DepartmentSize, face, in.Department);
        DrawSpacedText(p, dpi, in.Position, d.Pitch, d.PositionPos, vertical, d.PositionSize, face);
        DrawPlainText(p, dpi, d.HonorificPos, vertical, d.PositionSize, face, U(u"殿"));
        break;
    default:
        DrawPlainText(p, dpi, d.CompanyPos, vertical, d.CompanySize, face, in.Company);
        DrawPlainText(p, dpi, d.DepartmentPos, vertical, d.DepartmentSize, face, in.Department);
        DrawPlainText(p, dpi, d.PositionPos, vertical, d.PositionSize, face, in.Position);
        DrawSpacedText(p, dpi, d.FamilyName, d.Pitch, d.FamilyPos, vertical, d.NameSize, face, d.GivenName);
        DrawPlainText(p, dpi, d.HonorificPos, vertical, d.NameSize, face, in.Honorific);
        break;
    }
}

}  // namespace q2
