// The five senders (return addresses) and their file "sender.dat".
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

#include "platform/SafeFile.h"

namespace q2 {

struct TInputSetObject {
    bool PrintData = false;
    QString Content;
    bool operator==(const TInputSetObject&) const = default;
};

class TSenderInfo {
public:
    QString SenderName_1;
    QString SenderName_2;
    QString SenderZip_1;
    QString SenderZip_2;
    QString SenderAddress_1;
    QString SenderAddress_2;
    TInputSetObject SenderTel_1;
    TInputSetObject SenderFax_1;
    TInputSetObject SenderMail_1;
    TInputSetObject SenderHomePage;
    TInputSetObject PersonalJointNameObj_1;
    TInputSetObject PersonalJointNameObj_2;
    TInputSetObject PersonalJointNameObj_3;
    TInputSetObject PersonalJointNameObj_4;
    TInputSetObject OfficeName;
    TInputSetObject OfficePost;
    TInputSetObject OfficeOfficialPosition;

    QString FullName() const { return SenderName_1 + QLatin1Char(' ') + SenderName_2; }
    QString FullZip() const { return SenderZip_1 + QLatin1Char('-') + SenderZip_2; }
    TInputSetObject& JointName(int i);
    const TInputSetObject& JointName(int i) const;

    bool operator==(const TSenderInfo&) const = default;
};

// Always at least five senders once loaded; index 0 is "差出人１".
class TSenderInfoList {
public:
    static constexpr int kSenderCount = 5;
    void Clear() { items_.clear(); }
    TSenderInfo* Add() {
        items_.push_back(std::make_unique<TSenderInfo>());
        return items_.back().get();
    }
    TSenderInfo* Item(int i) const { return items_.at(i).get(); }
    int Count() const { return static_cast<int>(items_.size()); }

private:
    std::vector<std::unique_ptr<TSenderInfo>> items_;
};

// One sender as a component stream ("TPF0", class name, properties).
QByteArray WriteSenderStream(const TSenderInfo& sender);
// Reads one stream at the reader's position; false at damage.
class ByteReader;
bool ReadSenderStream(ByteReader& in, TSenderInfo* sender);

enum class TSenderFileState {
    Loaded,   // read completely
    Created,  // there was no file: five new senders, the file written
    Damaged,  // unreadable: what could be read, filled up to five; the file is left as it is
};

// Fills `senders` from "sender.dat". The list always ends with at least five senders.
TSenderFileState LoadSenderFile(const QString& path, TSenderInfoList& senders);
bool SaveSenderFile(const QString& path, const TSenderInfoList& senders,
                    SaveProblem* problem = nullptr);

}  // namespace q2
