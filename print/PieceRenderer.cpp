// The piece renderer and the page loops.
#include "print/PieceRenderer.h"

#include <QImage>

#include "print/AddressLines.h"
#include "print/AddresseeName.h"
#include "print/PostalCodeBoxes.h"
#include "print/PrintText.h"
#include "print/SenderBlock.h"
#include "print/TextNormalize.h"

namespace q2 {

TPaperGeometry TPieceSetup::Geometry() const {
    if (IsLabel() && Label) return GeometryForLabel(*Label);
    return GeometryForKind(Kind);
}

TPreviewSize TPieceSetup::PreviewArea() const {
    if (IsLabel() && Label) return PreviewAreaForLabel(*Label);
    return PreviewAreaForKind(Kind);
}

PreviewScale TPieceSetup::FrameScale() const { return PreviewScaleOf(PreviewArea(), Geometry().UnitWidth); }
PreviewScale TPieceSetup::PictureScale() const { return PictureScaleForKind(Kind); }

TPieceSetup MakePieceSetup(const TPrintSettings& settings, std::optional<TLabelPaper> label,
                           const TSenderInfoList* senders) {
    TPieceSetup s;
    s.Settings = settings;
    s.Kind = PaperKindInfo(settings.PostcardIndex) ? settings.PostcardIndex : kNengaKind;
    s.Label = std::move(label);
    s.Senders = senders;
    s.Offset = s.IsLabel() ? (s.Label ? LabelOffset(settings, LabelOffsetKey(s.Label->Maker, s.Label->Model))
                                      : TPrintOffset{})
                           : KindOffset(settings, s.Kind);
    return s;
}

Points AddressFloor(const TPieceSetup& setup) {
    return Points(setup.IsLabel() ? setup.Settings.LabelAddressFloor : setup.Settings.AddressFloor);
}

QSize PieceSizePx(const TPieceSetup& setup, Dpi dpi) {
    const TPaperGeometry g = setup.Geometry();
    return {MmToDeviceX(g.UnitWidth, dpi).v, MmToDeviceY(g.UnitHeight, dpi).v};
}

Dpi PreviewDpi(const TPieceSetup& setup) {
    const TPaperGeometry g = setup.Geometry();
    return PreviewDpiOf(setup.PreviewArea(), g.UnitWidth, g.UnitHeight);
}

DevicePx PreviewSpacing(PreviewScale s) { return DevicePx(MmToPreview(Mm(0.2), s).v); }

TPieceFindings RenderPiece(QPainter& painter, const TUserInfo& record, const TPieceSetup& setup, Dpi dpi,
                           DevicePx g, TRenderPurpose purpose, TRenderOptions options) {
    const bool preview = purpose == TRenderPurpose::Preview;
    const TPrintSettings& st = setup.Settings;
    const bool vertical = setup.Vertical();
    painter.save();
    // The piece white, drawn on with a transparent brush.
    if (options.FillWhite) {
        const QSize size = PieceSizePx(setup, dpi);
        painter.fillRect(QRect(0, 0, size.width(), size.height()), Qt::white);
    }
    painter.setBrush(Qt::NoBrush);
    // Calibration moves everything drawn, not the piece.
    if (!setup.Offset.IsZero()) {
        const MmPoint o = setup.Offset.InMm();
        painter.translate(MmToDeviceExactX(o.x, dpi).v, MmToDeviceExactY(o.y, dpi).v);
    }

    // The frames in device pixels.
    const PreviewScale s = setup.FrameScale();
    const TLayoutFrames& fr = st.Frames;
    const DeviceRect cus = FrameToDevice(fr.CUS, s, dpi), zip = FrameToDevice(fr.ZIP, s, dpi),
                     add = FrameToDevice(fr.ADD, s, dpi), nam = FrameToDevice(fr.NAM, s, dpi),
                     sen = FrameToDevice(fr.SEN, s, dpi);

    // The addressee's texts.
    TPrintFace face = ResolvePrintFace(st.Font);
    face.Writing = {true, vertical, st.LatinVertical, st.NumeralsVertical};
    const TAddresseeData who = SelectAddresseeData(record);
    QString line1 = NormalizePrintText(who.Address1), line2 = NormalizePrintText(who.Address2);
    if (vertical) {
        line1 = ToVerticalNumerals(line1, st.NumeralsVertical);
        line2 = ToVerticalNumerals(line2, st.NumeralsVertical);
    }
    TNameInputs names;
    names.FullName = NormalizePrintText(record.PersonalFullName());
    names.Honorific = NormalizePrintText(record.PerSonalHonorificTitle);
    names.Company = NormalizePrintText(record.OfficeName);
    names.Department = NormalizePrintText(record.OfficePost);
    names.Position = NormalizePrintText(record.OfficeOfficialPosition);
    names.JointList = NormalizePrintText(BuildJointNameList(record));
    const QString zipText = who.Zip + EndPostCodeMarker();

    // Every block laid out before anything is drawn.
    TPrintCostomerData barcode;
    if (st.PrintCostom)
        barcode = LayoutCustomerBarcode(dpi, cus, zipText, BarcodeAddress(who.Address1, who.Address2),
                                        Points(kBarcodeStartPoints), setup.Barcode);
    const TPostalTextLayout zipLayout =
        setup.IsLabel() ? FitPostalCodeText(face, dpi, zip, zipText, Points(preview ? 10 : 30))
                        : TPostalTextLayout{};
    const auto mode = static_cast<TPrintControlMode>(std::clamp(st.SprintControl, 0, 3));
    TPrintNameData name = LayoutAddresseeName(face, dpi, g, vertical, nam, who.Personal, mode, names);
    // The address is never drawn larger than the name (down to its floor).
    Points start(preview ? 50 : 100);
    const Points floor = AddressFloor(setup);
    if (name.PersonalLayout || mode == TPrintControlMode::CompanyDepartmentPositionName)
        start = std::max(floor, std::min(start, name.NameSize));
    AddressLayout address = FitAddressLines(face, dpi, g, vertical, add, line1, line2, start, floor);
    TPieceFindings findings;
    findings.AddressOverflow = address.Overflow;
    findings.AddressSize = address.Size;
    findings.AddressLines = int(address.Lines.size());

    // The hidden "宛先を大きくする", preview only.
    if (preview && st.AteSize) {
        if (name.PersonalLayout) name.NameSize = RoundPoints(name.NameSize * 1.2);
        address.Size = RoundPoints(address.Size * 1.2);
        if (vertical && address.Positions.size() > 1)
            for (qsizetype i = 1; i < address.Positions.size(); ++i)
                address.Positions[i].x -= (address.Positions[0].x - address.Positions[1].x) / 2;
    }

    // Drawing: the barcode, the postal code, the address and the name.
    const unsigned parts = options.Parts;
    if (parts & InkBarcode) DrawCustomerBarcode(painter, dpi, barcode);
    const PreviewScale pictureScale = setup.PictureScale();
    if ((parts & InkPostalCode) && setup.IsLabel())
        DrawPostalCodeText(painter, dpi, zipText, zipLayout, face);
    else if (parts & InkPostalCode)
        DrawPostalCodeBoxes(painter, zipText, dpi,
                            {PreviewToMm(fr.ZIP.left, pictureScale), PreviewToMm(fr.ZIP.top, pictureScale)},
                            setup.Kind);
    if (parts & InkAddress) DrawAddressLines(painter, address, face, dpi, vertical);
    if (parts & InkName) DrawAddresseeName(painter, name, face, dpi, vertical, names);

    // The sender, never on labels.
    if (st.PrintSender && !setup.IsLabel() && setup.Senders && setup.Senders->Count() > 0) {
        const int i = std::clamp(st.SuseNo, 0, setup.Senders->Count() - 1);
        TPrintSenderData sd = PrepareSenderData(*setup.Senders->Item(i), st.SuseType == 1, st.ZipPrintState);
        sd = LayoutSenderBlock(face, dpi, g, vertical, sen, sd);
        findings.SenderOverflow = sd.Overflow;
        if (parts & InkSender)
            DrawSenderBlock(painter, sd, face, dpi, vertical,
                            MmPoint{PreviewToMm(fr.SZIP.left, pictureScale), PreviewToMm(fr.SZIP.top, pictureScale)});
    }
    painter.restore();
    return findings;
}

TPieceFindings CheckPiece(const TUserInfo& record, const TPieceSetup& setup) {
    // Laid out on a picture that records nothing worth keeping.
    const Dpi dpi{600, 600};
    QImage scratch(1, 1, QImage::Format_Mono);
    QPainter painter(&scratch);
    painter.setClipRect(QRect(0, 0, 0, 0));
    TPieceSetup quiet = setup;
    quiet.Barcode = nullptr;
    return RenderPiece(painter, record, quiet, dpi, PrintSpacing(dpi), TRenderPurpose::Print, {false});
}

QPageLayout JobPageLayout(const TPieceSetup& setup) {
    const TPaperGeometry g = setup.Geometry();
    QSizeF size(g.UnitWidth.v, g.UnitHeight.v);
    if (setup.IsLabel()) size = QSizeF(g.SheetWidth.v, g.SheetHeight.v);
    // Landscape sheets are described as their own size in portrait, so that
    // the page's coordinates are the sheet's as the label placement measures.
    return QPageLayout(QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

TLabelSlot LabelSlotOf(const TPaperGeometry& g, int index) {
    const int perPage = std::max(1, g.Columns * g.Rows);
    const int within = index % perPage;
    return {index / perPage, within % std::max(1, g.Columns), within / std::max(1, g.Columns)};
}

int PrintPieces(QPainter& painter, QPagedPaintDevice& device, const QList<const TUserInfo*>& records,
                const TPieceSetup& setup, Dpi dpi, DevicePoint offset, QList<int>* overflowing) {
    auto note = [&](qsizetype i, const TPieceFindings& f) {
        if (overflowing && f.Overflow()) overflowing->append(int(i));
    };
    const DevicePx g = PrintSpacing(dpi);
    int pages = 0;
    if (!setup.IsLabel()) {
        for (qsizetype i = 0; i < records.size(); ++i) {
            if (i > 0) device.newPage();
            painter.save();
            painter.translate(-ToQPointF(offset));
            note(i, RenderPiece(painter, *records[i], setup, dpi, g, TRenderPurpose::Print));
            painter.restore();
            ++pages;
        }
        return pages;
    }
    const TPaperGeometry geo = setup.Geometry();
    int page = -1;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const TLabelSlot slot = LabelSlotOf(geo, int(i));
        if (slot.Page != page) {
            if (page >= 0) device.newPage();
            page = slot.Page;
            ++pages;
        }
        const MmPoint at = LabelOrigin(geo, slot.Column, slot.Row);
        const DevicePoint corner{MmToDeviceX(at.x, dpi) - offset.x, MmToDeviceY(at.y, dpi) - offset.y};
        painter.save();
        painter.translate(ToQPointF(corner));
        note(i, RenderPiece(painter, *records[i], setup, dpi, g, TRenderPurpose::Print));
        painter.restore();
    }
    return pages;
}

}  // namespace q2
