// The address-book file: exact bytes, order reversal, field rules, damage and
// interrupted saves. The reference writer and reader below are written from
// the file layout alone and share no code with the program.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/UserInfoList.h"
#include "platform/SafeFile.h"

using namespace q2;

namespace {

// ---- reference writer ----
QByteArray Le32(qint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = char((quint32(v) >> (8 * i)) & 0xFF);
    return b;
}
QByteArray Field(const QByteArray& cp932) {
    QByteArray b = Le32(cp932.size());
    for (char c : cp932) b.append(char(c ^ 0x6B));
    return b;
}

// A record of the reference writer: 27 texts, sex, joint names, memo,
// Booleans, dates, six texts, picture, history; all raw CP932 or text.
struct RefRecord {
    QList<QByteArray> texts = QList<QByteArray>(27);
    char sex = 0;
    QByteArray joint[4][3] = {{"0", "", ""}, {"0", "", ""}, {"0", "", ""}, {"0", "", ""}};
    QByteArray memo, printCheck = "0", usePersonal = "0", regist = "1899/12/30",
                     birthday = "1899/12/30";
    QList<QByteArray> tail = QList<QByteArray>(6);
    QByteArray picture = Le32(0);
    QList<QList<QByteArray>> history;  // in file order: date, title, content
};

QByteArray WriteRef(const RefRecord& r) {
    QByteArray b;
    for (int i = 0; i < 14; ++i) b += Field(r.texts[i]);
    b += r.sex;
    for (int i = 14; i < 27; ++i) b += Field(r.texts[i]);
    for (const auto& j : r.joint) b += Field(j[0]) + Field(j[1]) + Field(j[2]);
    b += Field(r.memo) + Field(r.printCheck) + Field(r.usePersonal) + Field(r.regist) +
         Field(r.birthday);
    for (const QByteArray& t : r.tail) b += Field(t);
    b += r.picture + Le32(r.history.size());
    for (const auto& h : r.history) b += Field(h[0]) + Field(h[1]) + Field(h[2]);
    return b;
}

QByteArray RefBook(const QByteArray& password, const QList<RefRecord>& recordsInFileOrder,
                   const QByteArray& version = "1.04") {
    QByteArray b = Field(version) + Field(password) + Le32(recordsInFileOrder.size());
    for (const RefRecord& r : recordsInFileOrder) b += WriteRef(r);
    return b;
}

// ---- reference reader: the record's first family-name field and history titles ----
struct RefReader {
    QByteArray d;
    int p = 0;
    qint32 Int() {
        qint32 v = 0;
        for (int i = 0; i < 4; ++i) v |= qint32(quint8(d[p + i])) << (8 * i);
        p += 4;
        return v;
    }
    QByteArray Str() {
        const qint32 n = Int();
        QByteArray s;
        for (int i = 0; i < n; ++i) s.append(char(d[p + i] ^ 0x6B));
        p += n;
        return s;
    }
};

QString Cp(const char* s) { return QString::fromUtf8(s); }

TUserInfo Sample(const char* family) {
    TUserInfo r;
    r.PerSonalKana_1 = Cp("ヤマダ");
    r.PerSonalName_1 = Cp(family);
    r.PerSonalZip_1 = "263";
    r.PerSonalZip_2 = "0023";
    r.PerSonalAddress_1 = Cp("千葉県千葉市稲毛区緑町3丁目30-8");
    r.PersonalSex = TThSex::tsFemale;
    r.OfficeName = Cp("郵便株式会社");
    r.CommonJointNameObj_2 = {true, Cp("花子"), Cp("様")};
    r.CommonMemo = "line1\r\nline2";
    r.CommonPrintCheck = true;
    r.CommonRegistDate = MakeDateTime(QDate(2024, 5, 6), QTime(13, 45));
    r.CommonBirthday = MakeDateTime(QDate(1980, 1, 31), QTime(0, 0));
    r.CommonInsertStr_4 = "x";
    r.CommonHistoryObjectList.Add({QDate(2023, 1, 1), Cp("年賀"), "a"});
    r.CommonHistoryObjectList.Add({QDate(2023, 8, 1), Cp("暑中"), "b"});
    return r;
}

QByteArray Png() {
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

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

}  // namespace

TEST(BookFile, EmptyBookIsSixteenBytesAndANewRecordTwoHundredThirtyFive) {
    TUserInfoList book;
    EXPECT_EQ(book.ToBytes(), RefBook("", {}));
    EXPECT_EQ(book.ToBytes().size(), 16);
    book.Add();
    EXPECT_EQ(book.ToBytes(), RefBook("", {RefRecord()}));
    EXPECT_EQ(book.ToBytes().size(), 16 + 235);
}

TEST(BookFile, WritesEveryFieldWhereTheLayoutPutsIt) {
    TUserInfoList book;
    book.Password = Cp("秘密pw");
    book.HasPassword = true;
    *book.Add() = Sample("山田");

    RefRecord ref;
    ref.texts[0] = "\x83\x84\x83\x7D\x83\x5F";  // ヤマダ
    ref.texts[2] = "\x8E\x52\x93\x63";          // 山田
    ref.texts[5] = "263";
    ref.texts[6] = "0023";
    ref.texts[7] = QByteArray("\x90\xE7\x97\x74\x8C\xA7\x90\xE7\x97\x74\x8E\x73\x88\xEE\x96\xD1"
                              "\x8B\xE6\x97\xCE\x92\xAC" "3" "\x92\x9A\x96\xDA" "30-8");
    ref.sex = 2;
    ref.texts[15] = "\x97\x58\x95\xD6\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0";  // 郵便株式会社
    ref.joint[1][0] = "-1";
    ref.joint[1][1] = "\x89\xD4\x8E\x71";  // 花子
    ref.joint[1][2] = "\x97\x6C";          // 様
    ref.memo = "line1\r\nline2";
    ref.printCheck = "-1";
    ref.regist = "2024/05/06";  // the time of day is not stored
    ref.birthday = "1980/01/31";
    ref.tail[5] = "x";
    // History goes out last entry first.
    ref.history = {{"2023/08/01", "\x8F\x8B\x92\x86", "b"}, {"2023/01/01", "\x94\x4E\x89\xEA", "a"}};
    EXPECT_EQ(book.ToBytes(), RefBook("\x94\xE9\x96\xA7pw", {ref}));
}

TEST(BookFile, ReadsWhatTheReferenceWriterWrote) {
    RefRecord ref;
    ref.texts[2] = "\x8E\x52\x93\x63";
    ref.joint[3][0] = "TRUE";
    ref.printCheck = "1";
    ref.usePersonal = "False";
    ref.regist = "2024/5/6";
    ref.history = {{"2023/01/01", "t1", ""}, {"2022/01/01", "t2", ""}};
    TUserInfoList book;
    ASSERT_TRUE(book.FromBytes(RefBook("pw", {ref, RefRecord()}, "9.99 any version")));
    ASSERT_EQ(book.Count(), 2);
    EXPECT_EQ(book.Password, "pw");
    EXPECT_TRUE(book.HasPassword);
    const TUserInfo& r = *book.Item(0);
    EXPECT_EQ(r.PerSonalName_1, Cp("山田"));
    EXPECT_TRUE(r.CommonJointNameObj_4.PrintData);
    EXPECT_TRUE(r.CommonPrintCheck);
    EXPECT_FALSE(r.CommonUseTypePersonal);
    EXPECT_EQ(r.CommonRegistDate, MakeDateTime(QDate(2024, 5, 6), QTime(0, 0)));
    ASSERT_EQ(r.CommonHistoryObjectList.Count(), 2);
    EXPECT_EQ(r.CommonHistoryObjectList.Item(0).HistoryTitle, "t1");
}

TEST(BookFile, TheReferenceReaderReadsWhatTheProgramWrote) {
    TUserInfoList book;
    *book.Add() = Sample("山田");
    *book.Add() = Sample("鈴木");
    RefReader in{book.ToBytes()};
    EXPECT_EQ(in.Str(), "1.04");
    EXPECT_EQ(in.Str(), "");
    EXPECT_EQ(in.Int(), 2);
    EXPECT_EQ(in.Str(), "\x83\x84\x83\x7D\x83\x5F");
    in.Str();
    EXPECT_EQ(in.Str(), "\x97\xE9\x96\xD8");  // 鈴木 first: the last record is written first
}

TEST(BookFile, EachSaveAndLoadReversesTheBookAndEveryHistory) {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.QT2");
    TUserInfoList book;
    for (const char* n : {"A", "B", "C"}) *book.Add() = Sample(n);
    auto names = [&] {
        QString s;
        for (int i = 0; i < book.Count(); ++i) s += book.Item(i)->PerSonalName_1;
        return s;
    };
    ASSERT_TRUE(book.SaveToFile(path));
    ASSERT_TRUE(book.LoadFromFile(path));
    EXPECT_EQ(names(), "CBA");
    EXPECT_EQ(book.Item(0)->CommonHistoryObjectList.Item(0).HistoryTitle, Cp("暑中"));
    ASSERT_TRUE(book.SaveToFile(path));
    ASSERT_TRUE(book.LoadFromFile(path));
    EXPECT_EQ(names(), "ABC");
    TUserInfo expected = Sample("A");
    expected.CommonRegistDate = MakeDateTime(QDate(2024, 5, 6), QTime(0, 0));
    EXPECT_EQ(*book.Item(0), expected);
}

TEST(BookFile, BooleanTexts) {
    struct Case { const char* text; bool ok; bool value; };
    const Case cases[] = {{"1", true, true},     {"-1", true, true},    {"TRUE", true, true},
                          {"true", true, true},  {"0", true, false},    {"False", true, false},
                          {"2.5", true, true},   {"yes", false, false}, {"", false, false},
                          {"Truth", false, false}};
    for (const Case& c : cases) {
        RefRecord ref;
        ref.printCheck = c.text;
        TUserInfoList book;
        EXPECT_EQ(book.FromBytes(RefBook("", {ref})), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(book.Item(0)->CommonPrintCheck, c.value) << c.text;
        }
    }
}

TEST(BookFile, DamageFailsTheLoadAndKeepsCompleteRecords) {
    RefRecord bad;
    bad.birthday = "not a date";
    TUserInfoList book;
    EXPECT_FALSE(book.FromBytes(RefBook("pw", {RefRecord(), bad})));
    EXPECT_EQ(book.Count(), 1);
    EXPECT_EQ(book.Password, "pw");

    QByteArray huge = RefBook("", {RefRecord()});
    huge.replace(0, 4, Le32(0x7FFFFFF0));  // a version length beyond the file
    EXPECT_FALSE(book.FromBytes(huge));
    QByteArray manyRecords = Field("1.04") + Field("") + Le32(50'000'000);
    EXPECT_FALSE(book.FromBytes(manyRecords));
    QByteArray manyEntries = RefBook("", {RefRecord()});
    manyEntries.replace(manyEntries.size() - 4, 4, Le32(0x10000000));
    EXPECT_FALSE(book.FromBytes(manyEntries));
    const QByteArray whole = RefBook("", {RefRecord()});
    for (int cut = 0; cut < whole.size(); cut += 7)
        EXPECT_FALSE(book.FromBytes(whole.left(cut))) << cut;
}

TEST(BookFile, BytesAfterTheLastRecordAreDamage) {
    RefRecord a, b;
    a.texts[2] = "A";
    b.texts[2] = "B";
    QByteArray countOneTooLow = RefBook("", {a, b});
    countOneTooLow.replace(12, 4, Le32(1));
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"count one too low", countOneTooLow},
        {"zero-filled file", QByteArray(11'400, '\0')},
        {"twelve zero bytes", QByteArray(12, '\0')},
        {"extra bytes", RefBook("", {a}) + "x"},
        {"an empty book and a zero byte", RefBook("", {}) + QByteArray(1, '\0')},
    };
    for (const auto& c : cases) {
        TUserInfoList book;
        EXPECT_FALSE(book.FromBytes(c.bytes)) << c.what;
    }
    // Exactly what the writer writes still loads, whatever the version says.
    TUserInfoList book;
    EXPECT_TRUE(book.FromBytes(RefBook("", {a, b}, "")));
    EXPECT_EQ(book.Count(), 2);
}

TEST(BookFile, LoadTellsWhyAFileCouldNotBeRead) {
    QTemporaryDir dir;
    TUserInfoList book;
    FileProblem problem = FileProblem::None;
    EXPECT_FALSE(book.LoadFromFile(dir.filePath("missing.QT2"), &problem));
    EXPECT_EQ(problem, FileProblem::Missing);
    EXPECT_FALSE(book.LoadFromFile(dir.path(), &problem));
    EXPECT_EQ(problem, FileProblem::NotAFile);
    EXPECT_FALSE(book.LoadFromFile("/dev/zero", &problem));  // would read until memory runs out
    EXPECT_EQ(problem, FileProblem::NotAFile);
    EXPECT_EQ(TUserInfoList::ReadPassword("/dev/zero"), "");
    const QString damaged = dir.filePath("zeros.QT2");
    WriteFile(damaged, QByteArray(11'400, '\0'));
    EXPECT_FALSE(book.LoadFromFile(damaged, &problem));
    EXPECT_EQ(problem, FileProblem::None);  // readable, but damaged
}

TEST(BookFile, SavedFileKeepsItsModeAndAPasswordMakesItPrivate) {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.QT2");
    TUserInfoList book;
    *book.Add() = Sample("A");
    ASSERT_TRUE(book.SaveToFile(path));
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(book.SaveToFile(path));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    book.Password = "pw";
    book.HasPassword = true;
    ASSERT_TRUE(book.SaveToFile(path));
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    SaveProblem problem = SaveProblem::None;
    EXPECT_FALSE(book.SaveToFile(dir.filePath("no/such/folder/b.QT2"), &problem));
    EXPECT_EQ(problem, SaveProblem::FolderMissing);
    EXPECT_FALSE(book.SaveToFile(dir.path(), &problem));
    EXPECT_EQ(problem, SaveProblem::NotAFile);
}

TEST(BookFile, PicturesKeepTheirBytes) {
    const QByteArray png = Png();
    TUserInfoList book;
    TUserInfo* r = book.Add();
    r->CommonImg_1 = {TPictureKind::Png, png};
    book.Add()->CommonImg_1 = {TPictureKind::Other, "icon bytes"};  // an icon is not stored
    // Bytes that no decoder takes still load, so the rest of the book stays usable.
    book.Add()->CommonImg_1 = {TPictureKind::Jpeg, "not a jpeg at all"};
    book.Add()->CommonImg_1 = {TPictureKind::Metafile, QByteArray("\xD7\xCD\xC6\x9A metafile", 13)};

    TUserInfoList back;
    ASSERT_TRUE(back.FromBytes(book.ToBytes()));
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(back.Item(0)->CommonImg_1.Kind, TPictureKind::Metafile);
    EXPECT_EQ(back.Item(1)->CommonImg_1.Kind, TPictureKind::Jpeg);
    EXPECT_TRUE(back.Item(1)->CommonImg_1.Undecodable);
    EXPECT_EQ(back.Item(1)->CommonImg_1.Data, "not a jpeg at all");
    EXPECT_TRUE(back.Item(2)->CommonImg_1.IsEmpty());
    EXPECT_EQ(back.Item(3)->CommonImg_1, (TPicture{TPictureKind::Png, png}));
    EXPECT_FALSE(back.Item(3)->CommonImg_1.Undecodable);
    // A second round trip gives the same bytes: nothing was lost.
    TUserInfoList again;
    ASSERT_TRUE(again.FromBytes(back.ToBytes()));
    EXPECT_EQ(again.ToBytes(), book.ToBytes());
    EXPECT_EQ(again.Item(2)->CommonImg_1.Data, "not a jpeg at all");
}

TEST(BookFile, ReadPasswordReadsOnlyTheHeader) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.QT2");
    WriteFile(path, RefBook("\x94\xE9\x96\xA7", {}) + "garbage that is never read");
    EXPECT_EQ(TUserInfoList::ReadPassword(path), Cp("秘密"));
    EXPECT_EQ(TUserInfoList::ReadPassword(dir.filePath("missing.QT2")), "");
    WriteFile(path, Field("1.04") + Le32(1000) + "short");
    EXPECT_EQ(TUserInfoList::ReadPassword(path), "");
}

TEST(BookFile, ReportsTextsThatCannotBeSaved) {
    TUserInfoList book;
    book.Add();
    book.Add()->CommonJointNameObj_3.PrintName = Cp("𠮷野");
    const auto bad = book.FindUnencodable();
    ASSERT_EQ(bad.size(), 1);
    EXPECT_EQ(bad[0].Record, 1);
    EXPECT_EQ(bad[0].Field, "CommonJointNameObj_3.PrintName");
}

TEST(BookFile, AFailedSaveLeavesTheOldFileUntouched) {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.QT2");
    TUserInfoList book;
    *book.Add() = Sample("A");
    ASSERT_TRUE(book.SaveToFile(path));
    const QByteArray before = ReadFile(path);
    for (int i = 0; i < 500; ++i) *book.Add() = Sample("B");
    SetAtomicWriteFailureAfterForTesting(5000);
    SaveProblem problem = SaveProblem::None;
    EXPECT_FALSE(book.SaveToFile(path, &problem));
    EXPECT_EQ(problem, SaveProblem::DiskFull);
    SetAtomicWriteFailureAfterForTesting(-1);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"book.QT2"});
}

TEST(BookFile, KillingASaveLeavesEitherTheOldOrTheNewFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.QT2");
    TUserInfoList book;
    *book.Add() = Sample("A");
    ASSERT_TRUE(book.SaveToFile(path));
    const QByteArray before = ReadFile(path);
    for (int i = 0; i < 20000; ++i) *book.Add() = Sample("B");
    const QByteArray after = book.ToBytes();
    for (int delayUs : {0, 2000, 10000, 30000}) {
        const pid_t child = fork();
        if (child == 0) {
            book.SaveToFile(path);
            _exit(0);
        }
        usleep(delayUs);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QByteArray now = ReadFile(path);
        EXPECT_TRUE(now == before || now == after) << "after " << delayUs << " us";
        if (now == after) {  // the save won the race: start again from the old file
            WriteFile(path, before);
        }
    }
}
