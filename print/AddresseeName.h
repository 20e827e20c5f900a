// The addressee name block: which data is printed, the four print
// control modes, and the layout and drawing of the name frame.
#pragma once

#include <QPainter>
#include <QString>
#include <array>

#include "model/UserInfo.h"
#include "print/PrintFont.h"

namespace q2 {

// "印刷コントロール": applies to office records only.
enum class TPrintControlMode : int {
    PersonalName = 0,             // "個人名"
    CompanyDepartmentOnchu = 1,   // "会社部署御中"
    CompanyDepartmentPositionDono = 2,  // "会社部署役職殿"
    CompanyDepartmentPositionName = 3,  // "会社部署役職名前"
};

// SelectAddresseeData: the side of the record that is printed.
struct TAddresseeData {
    bool Personal = true;  // use type "個人用"
    QString Address1, Address2;
    QString Zip;  // PersonalFullZip or OfficeFullZip, not normalised
};
TAddresseeData SelectAddresseeData(const TUserInfo& record);

// "PrintName=HonorificTitle:" for each flagged joint name, not yet normalised.
QString BuildJointNameList(const TUserInfo& record);

// SplitName (main name) and the joint-name split.
void SplitName(const QString& text, QString* family, QString* given);
void SplitJointName(const QString& text, QString* family, QString* given);

// The texts of the addressee name block, each already passed through NormalizePrintText.
struct TNameInputs {
    QString FullName, Honorific, Company, Department, Position;
    QString JointList;  // BuildJointNameList, normalised as a whole
};

constexpr int kMaxJointNames = 4;

struct TPrintNameData {
    Points CompanySize{15}, DepartmentSize{25}, PositionSize{15}, NameSize{25};
    DevicePoint CompanyPos, DepartmentPos, PositionPos;
    DevicePoint GivenPos, FamilyPos;
    std::array<DevicePoint, kMaxJointNames> JointGivenPos{}, JointFamilyPos{}, JointHonorificPos{};
    DevicePoint HonorificPos;
    DevicePx Pitch;
    QString GivenName, FamilyName;
    std::array<QString, kMaxJointNames> JointGiven, JointFamily, JointHonorific;
    int JointCount = 0;
    bool PersonalLayout = true;
    TPrintControlMode Mode = TPrintControlMode::PersonalName;
};

// The personal layout serves "個人用" records and office records in "個人名".
bool UsesPersonalLayout(bool personalUse, TPrintControlMode mode);

TPrintNameData LayoutAddresseeName(const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                                   DeviceRect frame, bool personalUse, TPrintControlMode mode,
                                   const TNameInputs& in);

// Everything of the block, the joint honorifics included.
void DrawAddresseeName(QPainter& painter, const TPrintNameData& d, const TPrintFace& face, Dpi dpi,
                       bool vertical, const TNameInputs& in);

}  // namespace q2
