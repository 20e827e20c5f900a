// The names of this program's own vCard properties and parameters, which
// carry what the common properties have no place for.
#pragma once

namespace q2::vcard {

inline constexpr char kHonorific[] = "X-QUINTARO2-HONORIFIC";
inline constexpr char kSex[] = "X-QUINTARO2-SEX";              // 0, 1 or 2
inline constexpr char kPrint[] = "X-QUINTARO2-PRINT";          // 0 or 1
inline constexpr char kUse[] = "X-QUINTARO2-USE";              // PERSONAL or OFFICE
inline constexpr char kRegistDate[] = "X-QUINTARO2-REGIST-DATE";  // yyyy-mm-ddThh:mm:ss
inline constexpr char kBirthday[] = "X-QUINTARO2-BIRTHDAY";    // a birthday BDAY does not carry
inline constexpr char kJointName[] = "X-QUINTARO2-JOINT-NAME"; // number;print;name;honorific
inline constexpr char kHistory[] = "X-QUINTARO2-HISTORY";      // yyyy-mm-dd;title;content
inline constexpr char kCategory[] = "X-QUINTARO2-CATEGORY-";   // + 1 or 2
inline constexpr char kInsert[] = "X-QUINTARO2-INSERT-";       // + 1 … 4
inline constexpr char kUrl[] = "X-QUINTARO2-URL";              // an empty home page, TYPE=HOME or WORK
inline constexpr char kPrefix[] = "X-QUINTARO2-";
// Parameter on TEL and EMAIL: which of the side's two fields, 1 or 2.
inline constexpr char kSlot[] = "X-QUINTARO2-SLOT";

}  // namespace q2::vcard
