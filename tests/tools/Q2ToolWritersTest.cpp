// Writers of a book taking turns, killed saves, outputs that would destroy an
// input, file names that are not UTF-8 and the command-line password
// warning, all with the real q2tool.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <vector>
#include <sys/resource.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/UserInfoList.h"
#include "platform/BookLock.h"

namespace {

struct ToolRun {
    int code;
    QByteArray out, err;
};

ToolRun Q2Tool(const QStringList& args, const QByteArray& input = {},
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q2TOOL_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The JSON of a book of `count` records for q2tool create, the first
// `marked` of them marked for printing.
QByteArray BookJson(int count, int marked = 1) {
    QByteArray json = R"({"password": "", "records": [)";
    for (int i = 0; i < count; ++i) {
        if (i > 0) json += ',';
        json += R"({"PerSonalName_1": "山田)" + QByteArray::number(i) +
                R"(", "PerSonalAddress_1": "東京都千代田区千代田1-1", "CommonPrintCheck": )" +
                (i < marked ? "true" : "false") + "}";
    }
    return json + "]}";
}

int RecordCount(const QString& path) {
    q2::TUserInfoList book;
    return book.LoadFromFile(path) ? book.Count() : -1;
}

// Files beside `book` that a save left: anything but the book and its lock file.
QStringList Leftovers(const QString& book) {
    const QFileInfo info(book);
    QStringList out;
    for (const QFileInfo& f : info.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden)) {
        if (f.fileName().startsWith(info.fileName() + ".tmp")) out << f.fileName();
    }
    return out;
}

TEST(Q2ToolWriters, ConcurrentImportsKeepEveryRecord) {
    QTemporaryDir dir;
    const QString book = dir.filePath("book.QT2");
    ASSERT_EQ(Q2Tool({"create", book}, BookJson(20000)).code, 0);
    const QString a = dir.filePath("a.csv"), b = dir.filePath("b.csv");
    WriteFile(a, "鈴木\n");
    WriteFile(b, "佐藤\n");
    for (int round = 0; round < 20; ++round) {
        QProcess first, second;
        first.start(QStringLiteral(Q2TOOL_PATH), {"import-csv", a, book, "--map", "0=個人名前"});
        second.start(QStringLiteral(Q2TOOL_PATH), {"import-csv", b, book, "--map", "0=個人名前"});
        ASSERT_TRUE(first.waitForFinished(60000) && second.waitForFinished(60000));
        ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
        ASSERT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    }
    EXPECT_EQ(RecordCount(book), 20040);
    EXPECT_TRUE(Leftovers(book).isEmpty()) << Leftovers(book).join(' ').toStdString();
}

TEST(Q2ToolWriters, ASecondWriterWaitsThenGivesUpNamingTheFirst) {
    QTemporaryDir dir;
    const QString book = dir.filePath("book.QT2"), csv = dir.filePath("in.csv");
    ASSERT_EQ(Q2Tool({"create", book}, BookJson(3)).code, 0);
    WriteFile(csv, "鈴木\n");
    const QByteArray before = ReadFile(book);

    // Held for the whole wait: the import fails, names the holder and leaves the book.
    {
        q2::TBookLock held;
        ASSERT_EQ(held.Acquire(book, QStringLiteral("住所録テスト")), q2::TBookLock::TState::Held);
        QElapsedTimer waited;
        waited.start();
        const ToolRun busy = Q2Tool({"import-csv", csv, book, "--map", "0=個人名前"});
        EXPECT_GE(waited.elapsed(), 4000);
        EXPECT_EQ(busy.code, 1);
        EXPECT_TRUE(QString::fromUtf8(busy.err).contains(
            QStringLiteral(
                "ファイル %1 は 住所録テスト（プロセス %2） が書き込み中のため保存できません。"
                "しばらくしてからもう一度お試しください")
                .arg(book)
                .arg(::getpid())))
            << busy.err.constData();
        EXPECT_EQ(ReadFile(book), before);
    }
    // Released within the wait: the import goes ahead.
    {
        q2::TBookLock held;
        ASSERT_EQ(held.Acquire(book, QStringLiteral("住所録テスト")), q2::TBookLock::TState::Held);
        QProcess import;
        import.start(QStringLiteral(Q2TOOL_PATH), {"import-csv", csv, book, "--map", "0=個人名前"});
        ASSERT_TRUE(import.waitForStarted());
        QThread::msleep(1000);
        held.Release();
        ASSERT_TRUE(import.waitForFinished(60000));
        EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().constData();
        EXPECT_EQ(RecordCount(book), 4);
    }
}

TEST(Q2ToolWriters, AKilledSaveLeavesNothingReadableAndTheNextSaveCleansUp) {
    QTemporaryDir dir;
    const QString book = dir.filePath("private.QT2");
    const QString json = dir.filePath("big.json");
    WriteFile(json, BookJson(100000));
    ASSERT_EQ(Q2Tool({"create", book}, BookJson(1)).code, 0);
    ASSERT_EQ(::chmod(QFile::encodeName(book).constData(), 0600), 0);
    const QByteArray before = ReadFile(book);
    // The save comes at the end of the run: one whole run tells when.
    QElapsedTimer whole;
    whole.start();
    {
        QProcess p;
        p.setStandardInputFile(json);
        p.start(QStringLiteral(Q2TOOL_PATH), {"create", book});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0);
    }
    const qint64 runMs = whole.elapsed();
    WriteFile(book, before);

    for (const double share : {0.5, 0.7, 0.8, 0.85, 0.9, 0.95, 0.98}) {
        const qint64 delayMs = qint64(runMs * share);
        QProcess p;
        p.setStandardInputFile(json);
        p.start(QStringLiteral(Q2TOOL_PATH), {"create", book});
        ASSERT_TRUE(p.waitForStarted());
        // Watch the folder while the save runs: no temporary file is ever
        // readable by anyone but the owner.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < delayMs) {
            for (const QString& name : Leftovers(book)) {
                struct stat st {};
                if (::stat(QFile::encodeName(dir.filePath(name)).constData(), &st) == 0) {
                    EXPECT_EQ(st.st_mode & 077, 0u)
                        << name.toStdString() << " at " << t.elapsed() << " ms";
                }
            }
            QThread::msleep(2);
        }
        ::kill(p.processId(), SIGKILL);
        ASSERT_TRUE(p.waitForFinished(60000));
        // Either the old book or the whole new one, never a torn one.
        const int count = RecordCount(book);
        EXPECT_TRUE(count == 1 || count == 100000) << count << " after " << delayMs << " ms";
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(book).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        WriteFile(book, before);
    }

    // What a writer killed at the rename left (or an earlier version left
    // anywhere) goes at the next save; a file of the user's with a similar name stays.
    const QString stale = dir.filePath("private.QT2.tmp1x9k2a"),
                  mine = dir.filePath("private.QT2.tmp-notes");
    WriteFile(stale, "half a book");
    WriteFile(mine, "keep me");
    const QString csv = dir.filePath("in.csv");
    WriteFile(csv, "鈴木\n");
    const ToolRun next = Q2Tool({"import-csv", csv, book, "--map", "0=個人名前"});
    ASSERT_EQ(next.code, 0) << next.err.constData();
    EXPECT_EQ(Leftovers(book), QStringList({"private.QT2.tmp-notes"}));
    EXPECT_EQ(ReadFile(mine), "keep me");
}

struct OutputCase {
    QStringList args;  // "B" stands for the book, "O" for the output
};

TEST(Q2ToolOutputs, AnOutputThatIsTheInputOrAnExistingFileIsRefused) {
    QTemporaryDir dir;
    const QString book = dir.filePath("B.QT2");
    ASSERT_EQ(Q2Tool({"create", book}, BookJson(5)).code, 0);
    const QString link = dir.filePath("link.QT2"), hard = dir.filePath("hard.QT2");
    ASSERT_TRUE(QFile::link(book, link));
    ASSERT_EQ(::link(QFile::encodeName(book).constData(), QFile::encodeName(hard).constData()), 0);
    const QByteArray bookBytes = ReadFile(book);

    const OutputCase cases[] = {
        {{"export-csv", "B", "O"}}, {{"export-vcard", "B", "O"}}, {{"print", "B", "O"}},
        {{"print-list", "B", "O"}}, {{"preview", "B", "0", "O"}},
    };
    for (const OutputCase& c : cases) {
        const auto withPaths = [&](const QString& out) {
            QStringList args = c.args;
            args.replaceInStrings(QRegularExpression("^B$"), book);
            args.replaceInStrings(QRegularExpression("^O$"), out);
            return args;
        };
        const std::string name = c.args[0].toStdString();
        // Onto the book it reads, by any of its names, even with --force.
        for (const QString& self : {book, link, hard}) {
            const ToolRun r = Q2Tool(withPaths(self) << "--force");
            EXPECT_EQ(r.code, 1) << name;
            EXPECT_TRUE(r.err.contains("は読み込むファイル")) << name << ": " << r.err.constData();
            EXPECT_EQ(ReadFile(book), bookBytes) << name;
        }
        // Onto another existing file: only with --force.
        const QString other = dir.filePath("other.out");
        WriteFile(other, "kept");
        const ToolRun refused = Q2Tool(withPaths(other));
        EXPECT_EQ(refused.code, 1) << name;
        EXPECT_TRUE(
            QString::fromUtf8(refused.err)
                .contains(QStringLiteral(
                              "出力先 %1 は既にあります。上書きするには --force を付けてください")
                              .arg(other)))
            << name << ": " << refused.err.constData();
        EXPECT_EQ(ReadFile(other), "kept") << name;
        const ToolRun forced = Q2Tool(withPaths(other) << "--force");
        EXPECT_EQ(forced.code, 0) << name << ": " << forced.err.constData();
        EXPECT_NE(ReadFile(other), "kept") << name;
        QFile::remove(other);
    }
    // The calibration sheet reads no book but still keeps an existing file.
    const QString sheet = dir.filePath("sheet.pdf");
    WriteFile(sheet, "kept");
    EXPECT_EQ(Q2Tool({"calibration", sheet}).code, 1);
    EXPECT_EQ(ReadFile(sheet), "kept");
    EXPECT_EQ(Q2Tool({"calibration", sheet, "--force"}).code, 0);
    // An import whose source is the book itself.
    const ToolRun self = Q2Tool({"import-csv", book, link, "--map", "0=個人名前"});
    EXPECT_EQ(self.code, 1);
    EXPECT_EQ(ReadFile(book), bookBytes);
}

// A file size limit makes every write past it fail as a full disk does.
QProcessEnvironment Env() {
    return QProcessEnvironment::systemEnvironment();
}

ToolRun Q2ToolWithFileLimit(const QStringList& args, rlim_t limit) {
    QProcess p;
    p.setChildProcessModifier([limit] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit l{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &l);
    });
    p.start(QStringLiteral(Q2TOOL_PATH), args);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

TEST(Q2ToolWriters, AFullDiskIsNamedOnEverySavePath) {
    QTemporaryDir dir;
    const QString book = dir.filePath("B.QT2");
    ASSERT_EQ(Q2Tool({"create", book}, BookJson(2000)).code, 0);
    const QByteArray before = ReadFile(book);
    const QString vcf = dir.filePath("in.vcf"), csv = dir.filePath("in.csv");
    WriteFile(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:鈴木一郎\r\nN:鈴木;一郎;;;\r\nEND:VCARD\r\n");
    WriteFile(csv, "鈴木\n");
    const QStringList saves[] = {
        {"import-vcard", vcf, book},
        {"import-csv", csv, book, "--map", "0=個人名前"},
        {"print", book, dir.filePath("out.pdf"), "--mark-sent", "--force"},
    };
    for (const QStringList& args : saves) {
        const ToolRun r = Q2ToolWithFileLimit(args, rlim_t(before.size() / 2));
        EXPECT_EQ(r.code, 1) << args[0].toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(
            QStringLiteral("ディスクの空き容量が足りません: ") + book))
            << args[0].toStdString() << ": " << r.err.constData();
        EXPECT_EQ(ReadFile(book), before) << args[0].toStdString();
        EXPECT_TRUE(Leftovers(book).isEmpty()) << args[0].toStdString();
    }
}

TEST(Q2ToolPassword, OnTheCommandLineItWorksButWarns) {
    QTemporaryDir dir;
    const QString book = dir.filePath("p.QT2");
    ASSERT_EQ(Q2Tool({"create", book}, R"({"password": "秘密", "records": []})").code, 0);
    const ToolRun visible = Q2Tool({"dump", book, "--password", "秘密"});
    EXPECT_EQ(visible.code, 0);
    const QString err = QString::fromUtf8(visible.err);
    EXPECT_TRUE(err.contains("--password -") && err.contains("Q2_PASSWORD"))
        << visible.err.constData();
    // The two ways that keep it out of sight say nothing.
    EXPECT_FALSE(Q2Tool({"dump", book, "--password", "-"}, "秘密\n").err.contains("--password -"));
    QProcessEnvironment env = Env();
    env.insert("Q2_PASSWORD", QStringLiteral("秘密"));
    const ToolRun fromEnv = Q2Tool({"dump", book}, {}, env);
    EXPECT_EQ(fromEnv.code, 0);
    EXPECT_FALSE(fromEnv.err.contains("--password -"));
}

}  // namespace

namespace {

// q2tool with arguments as raw bytes (QProcess would pass them through UTF-8).
int RunRaw(const std::vector<QByteArray>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        const QByteArray tool = Q2TOOL_PATH;
        argv.push_back(const_cast<char*>(tool.constData()));
        for (const QByteArray& a : args) argv.push_back(const_cast<char*>(a.constData()));
        argv.push_back(nullptr);
        ::execv(tool.constData(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Q2ToolFileNames, ANameThatIsNotUtf8OpensSavesAndExportsToItself) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    // 住所.QT2 and 住所.csv in CP932, as an old archive would unpack them.
    const QByteArray book = folder + "/\x8f\x5a\x8f\x8a.QT2",
                     csv = folder + "/\x8f\x5a\x8f\x8a.csv",
                     out = folder + "/\x8f\x5a\x8f\x8a-out.csv";
    WriteFile(dir.filePath("in.csv"), "鈴木\n");
    ASSERT_TRUE(QFile::copy(dir.filePath("in.csv"), QString::fromUtf8(folder) + "/plain.csv"));
    ASSERT_EQ(::rename((folder + "/plain.csv").constData(), csv.constData()), 0);

    EXPECT_EQ(RunRaw({"import-csv", csv, book, "--map", "0=個人名前"}), 0);
    EXPECT_EQ(RunRaw({"import-csv", csv, book, "--map", "0=個人名前"}), 0);
    EXPECT_EQ(RunRaw({"dump", book}), 0);
    EXPECT_EQ(RunRaw({"export-csv", book, out}), 0);
    EXPECT_EQ(RunRaw({"export-csv", book, book, "--force"}), 1);
    struct stat st {};
    ASSERT_EQ(::stat(book.constData(), &st), 0);
    q2::TUserInfoList loaded;
    QFile f;
    const int fd = ::open(book.constData(), O_RDONLY);
    ASSERT_TRUE(fd >= 0 && f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    ASSERT_TRUE(loaded.FromBytes(f.readAll()));
    EXPECT_EQ(loaded.Count(), 2);
    EXPECT_EQ(::stat(out.constData(), &st), 0);
    // Nothing was written under another spelling of the name: in.csv, the
    // CSV, the book, its lock file and the export.
    int entries = 0;
    DIR* d = ::opendir(folder.constData());
    ASSERT_NE(d, nullptr);
    while (const dirent* e = ::readdir(d)) entries += e->d_name[0] != '.' || e->d_name[1] == '\x8f';
    ::closedir(d);
    EXPECT_EQ(entries, 5);
    // QTemporaryDir cannot remove names it cannot spell.
    for (const QByteArray& name : {book, csv, out, folder + "/.\x8f\x5a\x8f\x8a.QT2.lock"})
        ::unlink(name.constData());
}
