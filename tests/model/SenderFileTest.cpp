// "sender.dat": the component stream bytes, value kinds and damaged files.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "model/SenderInfo.h"
#include "model/UserInfoList.h"

using namespace q2;

namespace {
const QByteArray kEmptyStream("TPF0\x0BTSenderInfo\0\0\0", 19);

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void WriteFile(const QString& path, const QByteArray& b) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(b);
}
TSenderInfo RoundTrip(const TSenderInfo& s) {
    const QByteArray bytes = WriteSenderStream(s);
    ByteReader in(bytes);
    TSenderInfo back;
    EXPECT_TRUE(ReadSenderStream(in, &back));
    EXPECT_TRUE(in.AtEnd());
    return back;
}
}  // namespace

TEST(SenderFile, MissingFileGivesFiveSendersWrittenAtOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sender.dat");
    TSenderInfoList senders;
    EXPECT_EQ(LoadSenderFile(path, senders), TSenderFileState::Created);
    EXPECT_EQ(senders.Count(), 5);
    EXPECT_EQ(ReadFile(path), kEmptyStream.repeated(5));
    EXPECT_EQ(ReadFile(path).size(), 95);
    EXPECT_EQ(senders.Item(0)->FullZip(), "-");
    EXPECT_EQ(senders.Item(0)->FullName(), " ");
}

TEST(SenderFile, WritesOnlyWhatDiffersFromTheDefaults) {
    TSenderInfo s;
    s.SenderTel_1 = {true, "03-1234-5678"};
    const QByteArray expected = QByteArray("TPF0\x0BTSenderInfo\0", 17) +
                                "\x15SenderTel_1.PrintData\x09" +
                                "\x13SenderTel_1.Content\x06\x0C" "03-1234-5678" +
                                QByteArray("\0\0", 2);
    EXPECT_EQ(WriteSenderStream(s), expected);
    EXPECT_EQ(RoundTrip(s), s);
}

TEST(SenderFile, ChoosesTheValueKindByContent) {
    struct Case { QString text; char kind; };
    const Case cases[] = {
        {QStringLiteral("山田"), 0x12},       // Japanese only: UTF-16
        {QStringLiteral("ABあ"), 0x14},       // UTF-8 is shorter than twice the length
        {QStringLiteral("Aあ"), 0x12},        // UTF-8 exactly twice the length: UTF-16
        {QString(300, QLatin1Char('a')), 0x0C},
        {QString(255, QLatin1Char('a')), 0x06},
    };
    for (const Case& c : cases) {
        TSenderInfo s;
        s.SenderName_1 = c.text;
        const QByteArray bytes = WriteSenderStream(s);
        EXPECT_EQ(bytes[17 + 13], c.kind) << c.text.toStdString();  // after "\x0CSenderName_1"
        EXPECT_EQ(RoundTrip(s).SenderName_1, c.text);
    }
}

TEST(SenderFile, DamagedFileStillGivesFiveSendersAndIsLeftAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sender.dat");
    TSenderInfo named;
    named.SenderName_1 = QStringLiteral("差出");
    const QByteArray damaged = WriteSenderStream(named) + "TPF0\x0BTSenderInfo\0\x05Bogus\x09";
    WriteFile(path, damaged);
    TSenderInfoList senders;
    EXPECT_EQ(LoadSenderFile(path, senders), TSenderFileState::Damaged);
    ASSERT_EQ(senders.Count(), 5);
    EXPECT_EQ(senders.Item(0)->SenderName_1, QStringLiteral("差出"));
    EXPECT_EQ(ReadFile(path), damaged);

    for (const QByteArray& bad : {QByteArray("TPF1"), QByteArray("TPF0\x0BTSenderInfo\0\x0CSenderName_1\x09\0\0", 33),
                                  kEmptyStream.left(10)}) {
        WriteFile(path, bad);
        EXPECT_EQ(LoadSenderFile(path, senders), TSenderFileState::Damaged);
        EXPECT_EQ(senders.Count(), 5);
    }
}

TEST(SenderFile, EmptyFileGivesFiveEmptySenders) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sender.dat");
    WriteFile(path, "");
    TSenderInfoList senders;
    EXPECT_EQ(LoadSenderFile(path, senders), TSenderFileState::Loaded);
    EXPECT_EQ(senders.Count(), 5);
    EXPECT_EQ(ReadFile(path), "");
}

TEST(SenderFile, SaveAndLoadKeepEverySender) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sender.dat");
    TSenderInfoList senders;
    for (int i = 0; i < 5; ++i) senders.Add();
    senders.Item(4)->SenderAddress_2 = QStringLiteral("郵便ビル４０３号");
    senders.Item(4)->OfficeOfficialPosition = {true, QStringLiteral("部長")};
    senders.Item(2)->PersonalJointNameObj_3 = {false, QStringLiteral("花子")};
    ASSERT_TRUE(SaveSenderFile(path, senders));
    TSenderInfoList back;
    EXPECT_EQ(LoadSenderFile(path, back), TSenderFileState::Loaded);
    ASSERT_EQ(back.Count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(*back.Item(i), *senders.Item(i)) << i;
}
