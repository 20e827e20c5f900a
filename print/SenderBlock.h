// The sender block: the sender's data prepared, the sender frame
// divided among its groups of lines, sizes and positions fitted, drawn.
#pragma once

#include <QPainter>
#include <QString>
#include <array>
#include <optional>

#include "model/SenderInfo.h"
#include "print/PrintFont.h"

namespace q2 {

// The smallest size the sender's texts are drawn at.
constexpr double kSenderFloorPoints = 8;

struct TPrintSenderData {
    Points AddressSize{12}, NameSize{18}, CompanySize{12}, PositionSize{12}, TelFaxSize{12},
        MailSize{12}, HomePageSize{12};
    int AddressLines = 0, CompanyLines = 0, Names = 1, Contacts = 0;
    QString ZipLine, Address1, Address2, Company, Department, Position, FamilyName, GivenName;
    std::array<QString, 5> JointFamily, JointGiven;
    QString TelLabel, FaxLabel, MailLabel, HomePageLabel;
    QString TelValue, FaxValue, MailValue, HomePageValue;
    QString SenderZip;

    DevicePoint ZipLinePos, Address1Pos, Address2Pos, CompanyPos, DepartmentPos, PositionPos;
    DevicePoint FamilyPos, GivenPos;
    std::array<DevicePoint, 4> JointFamilyPos{}, JointGivenPos{};
    DevicePoint TelLabelPos, TelValuePos, FaxLabelPos, FaxValuePos, MailLabelPos, MailValuePos,
        HomePageLabelPos, HomePageValuePos;
    DevicePx Pitch;
    bool Overflow = false;  // a group did not fit its share at the 8-point floor

    int JointCount() const { return Names - 1; }
};

// `office`: "使用する内容" is "会社用"; `zipInArea`: "郵便番号を差出人部分に印刷する".
TPrintSenderData PrepareSenderData(const TSenderInfo& sender, bool office, bool zipInArea);

TPrintSenderData LayoutSenderBlock(const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                                   DeviceRect frame, TPrintSenderData data);

// Draws the block; when ZipLine is empty and `zipBoxes` is given, the sender
// postal code goes into the small boxes from that corner (mm).
void DrawSenderBlock(QPainter& painter, const TPrintSenderData& d, const TPrintFace& face, Dpi dpi,
                     bool vertical, std::optional<MmPoint> zipBoxes);

}  // namespace q2
