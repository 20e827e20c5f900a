// "mail.dat": the fourteen fields, the extension block and short files.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "model/MailConfig.h"

using namespace q2;

namespace {
QByteArray Le32(qint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = char((quint32(v) >> (8 * i)) & 0xFF);
    return b;
}
}  // namespace

TEST(MailConfig, DefaultsWriteFortySevenBytes) {
    const QByteArray z = Le32(0);
    const QByteArray expected = z + z + z + Le32(25) + QByteArray(1, 0) + z + z + QByteArray(1, 0) +
                                z + Le32(110) + z + z + QByteArray(1, 0) + z;
    EXPECT_EQ(TthMailConfig().ToBytes(), expected);
    EXPECT_EQ(expected.size(), 47);
}

TEST(MailConfig, TextsAreScrambledAndReadBack) {
    TthMailConfig c;
    c.SenderName = "ABC";
    c.SoftPassword = QStringLiteral("秘密");
    c.UseSoftPassword = true;
    c.SMTPPortNo = 587;
    const QByteArray bytes = c.ToBytes();
    EXPECT_EQ(bytes.left(7), Le32(3) + QByteArray("\x2A\x29\x28"));
    TthMailConfig back;
    ASSERT_TRUE(back.FromBytes(bytes));
    EXPECT_EQ(back, c);
}

TEST(MailConfig, SecurityGoesAfterTheFourteenFields) {
    TthMailConfig c;
    c.SMTPSecurity = TMailSecurity::StartTls;
    c.POP3Security = TMailSecurity::Tls;
    const QByteArray bytes = c.ToBytes();
    EXPECT_EQ(bytes.size(), 47 + 6);
    EXPECT_EQ(bytes.left(47), TthMailConfig().ToBytes());
    TthMailConfig back;
    ASSERT_TRUE(back.FromBytes(bytes));
    EXPECT_EQ(back, c);
    // Any other bytes after the last field are ignored.
    ASSERT_TRUE(back.FromBytes(TthMailConfig().ToBytes() + "junk!!"));
    EXPECT_EQ(back.SMTPSecurity, TMailSecurity::None);
}

TEST(MailConfig, ShortFileFailsAndMissingFileKeepsTheRecord) {
    TthMailConfig c;
    c.POP3ServerAddress = "pop.example.jp";
    const QByteArray bytes = c.ToBytes();
    // The ninth text is the POP3 server: cut inside it.
    const int ninth = 3 * 4 + 4 + 1 + 2 * 4 + 1;
    TthMailConfig back;
    EXPECT_FALSE(back.FromBytes(bytes.left(ninth + 4 + 5)));
    QTemporaryDir dir;
    TthMailConfig untouched;
    untouched.SenderName = "kept";
    EXPECT_TRUE(untouched.LoadFromFile(dir.filePath("mail.dat")));
    EXPECT_EQ(untouched.SenderName, "kept");
}

TEST(MailConfig, IsCompleteNeedsNamesServerAndPort) {
    TthMailConfig c;
    c.SenderName = " ";
    c.SenderMailAddress = "a@example.jp";
    c.SMTPServerAddress = "smtp.example.jp";
    EXPECT_TRUE(c.IsComplete());
    c.SMTPPortNo = 0;
    EXPECT_FALSE(c.IsComplete());
}

TEST(MailConfig, FileOfPasswordsIsReadableByItsOwnerOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mail.dat");
    TthMailConfig c;
    c.SMTPPassword = "secret";
    ASSERT_TRUE(c.SaveToFile(path));
    const auto mask = ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFile::permissions(path) & mask, QFile::ReadOwner | QFile::WriteOwner);
    // A file an earlier version left readable by everyone is closed at the next save.
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(c.SaveToFile(path));
    EXPECT_EQ(QFile::permissions(path) & mask, QFile::ReadOwner | QFile::WriteOwner);
}
