// The desktop habits of the main window: save in place and the three-way
// question, undo and redo, the menu bar, files handed over by a second start,
// dropped or reopened, the postal code boxes, mail links and small screens.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QUrlQuery>

#include "AppFixture.h"
#include "QStringPrinter.h"
#include "app/DesktopSettings.h"
#include "app/FileHandOver.h"
#include "app/FormAddData.h"
#include "app/FormHelp.h"
#include "app/PostalCodeBoxes.h"
#include "app/RecordEditor.h"
#include "app/UrlOpener.h"
#include "platform/DialogRunner.h"
#include "platform/SingleInstance.h"
#include "zip/FormSearchZip.h"

namespace q2test {
namespace {

const QString kCloseQuestion =
    QStringLiteral("現在の住所録は変更されています。終了する前に保存しますか？");

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Desktop : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        book_ = WriteBook("book.QT2", {{"アベ", "阿部"}, {"カトウ", "加藤"}, {"サトウ", "佐藤"},
                                       {"イトウ", "伊藤"}});
        // Records with a history and a picture, so that undo must give back more than names.
        q2::TUserInfoList rich;
        ASSERT_TRUE(rich.LoadFromFile(book_));
        for (int i = 0; i < rich.Count(); ++i) {
            rich.Item(i)->CommonHistoryObjectList.Add(
                {QDate(2024, 1, i + 1), "年賀状", QStringLiteral("履歴%1").arg(i)});
            rich.Item(i)->CommonImg_1 = {q2::TPictureKind::Png, QByteArray("\x89PNG-ish", 8), false};
        }
        ASSERT_TRUE(rich.SaveToFile(book_));
    }
    q2::TFormMain& StartWithBook() {
        q2::TFormMain& m = Start();
        m.OpenCommandLineFile(book_);
        return m;
    }
    int RowOf(q2::TFormMain& m, const char* name) {
        for (size_t i = 0; i < m.DisplayList.size(); ++i)
            if (m.DisplayList[i]->PerSonalName_1 == QString::fromUtf8(name)) return int(i);
        return -1;
    }
    QString book_;
};

TEST_F(Desktop, SaveInPlaceWritesTheOwnFileAndClearsTheMark) {
    q2::TFormMain& m = StartWithBook();
    EXPECT_EQ(m.windowTitle(), "book.QT2 — Quintaro2");
    m.SelectRows({0, 2});
    m.PopPrintCheckClick();
    EXPECT_EQ(m.windowTitle(), "*book.QT2 — Quintaro2");
    m.ActSaveInPlace->trigger();
    EXPECT_TRUE(runner.fileRequests.empty());  // no dialog, no overwrite question
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(FileBytes(book_), m.Session.Book.ToBytes());
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_EQ(m.windowTitle(), "book.QT2 — Quintaro2");
    EXPECT_EQ(m.statusBar()->currentMessage(), "保存しました");
    EXPECT_EQ(m.ActSaveInPlace->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(m.ActSaveAs->shortcut(), QKeySequence("Ctrl+Shift+S"));
    // Saving as asks for a name; the toolbar's button as well.
    runner.fileNames = {Path("other.QT2")};
    m.ActSaveAs->trigger();
    EXPECT_EQ(runner.fileRequests.size(), 1u);
    EXPECT_EQ(m.Session.FileName(), Path("other.QT2"));
}

TEST_F(Desktop, SaveInPlaceOfANewBookAsksForANameAndAFailureKeepsTheMark) {
    q2::TFormMain& m = Start();
    runner.dialogs.push_back([](QDialog& d) {
        auto& f = static_cast<q2::TFormAddData&>(d);
        f.EditName_1->setText("山田");
        f.EditName_2->setText("太郎");
        f.EditKana_1->setText("ヤマダ");
        f.EditKana_2->setText("タロウ");
        f.BtnAddClick();
        return f.result();
    });
    m.pngBtnAddAddressClick();
    EXPECT_EQ(m.windowTitle(), "*無題 — Quintaro2");
    runner.fileNames = {};  // the name dialog cancelled
    EXPECT_FALSE(m.SaveInPlace());
    EXPECT_EQ(runner.seen, QStringList({"住所追加", "住所録の保存"}));
    EXPECT_FALSE(m.Session.Saved());
    runner.fileNames = {Path("missing-folder/new.QT2")};
    EXPECT_FALSE(m.SaveInPlace());
    EXPECT_EQ(prompter.shown, QStringList({"ファイルの保存に失敗しました\n保存先のフォルダがありません: " +
                                           Path("missing-folder/new.QT2")}));
    EXPECT_EQ(m.windowTitle(), "*無題 — Quintaro2");
    EXPECT_TRUE(m.statusBar()->currentMessage().isEmpty());
}

TEST_F(Desktop, ClosingWithChangesAsksSaveDiscardOrCancel) {
    struct Case {
        q2::TSaveChoice choice;
        bool closes;
        bool written;
    };
    for (const Case c : {Case{q2::TSaveChoice::Save, true, true},
                         Case{q2::TSaveChoice::Discard, true, false},
                         Case{q2::TSaveChoice::Cancel, false, false}}) {
        SCOPED_TRACE(int(c.choice));
        const QByteArray before = FileBytes(book_);
        q2::TFormMain& m = StartWithBook();
        m.SelectRows({1});
        m.PopPrintCheckClick();
        prompter.asked.clear();
        prompter.choices = {c.choice};
        EXPECT_EQ(m.FormCloseQuery(), c.closes);
        EXPECT_EQ(prompter.asked, QStringList({kCloseQuestion}));
        EXPECT_EQ(FileBytes(book_) != before, c.written);
        EXPECT_EQ(m.Session.Saved(), c.written);
        q2::TUserInfoList back;
        ASSERT_TRUE(back.LoadFromFile(book_));
        int marked = 0;
        for (int i = 0; i < back.Count(); ++i) marked += back.Item(i)->CommonPrintCheck;
        EXPECT_EQ(marked, c.written ? 1 : 0);
        WriteBook("book.QT2", {{"アベ", "阿部"}, {"カトウ", "加藤"}});
    }
}

TEST_F(Desktop, NewAndOpenOfferToSaveFirst) {
    const QString second = WriteBook("second.QT2", {{"ウノ", "宇野"}});
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({0});
    m.PopPrintCheckClick();
    // Open: 保存 writes the book, then the other opens.
    const QByteArray changed = m.Session.Book.ToBytes();
    prompter.choices = {q2::TSaveChoice::Save};
    runner.fileNames = {second};
    m.pngBtnOpenClick();
    EXPECT_EQ(prompter.asked,
              QStringList({"現在の住所録は変更されています。別の住所録を開く前に保存しますか？"}));
    EXPECT_EQ(runner.fileRequests.size(), 1u);  // the open dialog only: saved in place
    EXPECT_EQ(FileBytes(book_), changed);
    EXPECT_EQ(m.Session.FileName(), second);
    EXPECT_TRUE(m.Session.Saved());
    // New: キャンセル keeps everything.
    m.SelectRows({0});
    m.PopPrintCheckClick();
    prompter.choices = {q2::TSaveChoice::Cancel};
    m.pngBtnNewClick();
    EXPECT_EQ(prompter.asked.last(),
              "現在の住所録は変更されています。新規住所録を作成する前に保存しますか？");
    EXPECT_EQ(m.Session.Book.Count(), 1);
    EXPECT_EQ(m.Session.FileName(), second);
}

TEST_F(Desktop, UndoGivesBackTheRecordsExactlyAndTheMarkFollows) {
    q2::TFormMain& m = StartWithBook();
    const QByteArray original = m.Session.Book.ToBytes();
    const auto undoAll = [&] {
        while (m.Session.History().CanUndo()) m.ActUndo->trigger();
    };

    // Deleting two records that are not next to each other in the book.
    m.SelectRows({RowOf(m, "加藤"), RowOf(m, "伊藤")});
    prompter.answers = {true};
    m.PopDelAddressClick();
    ASSERT_EQ(m.Session.Book.Count(), 2);
    const QByteArray deleted = m.Session.Book.ToBytes();
    m.ActUndo->trigger();
    EXPECT_EQ(m.Session.Book.ToBytes(), original);
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_EQ(m.windowTitle(), "book.QT2 — Quintaro2");
    EXPECT_EQ(m.LblPrintCount->text(), "4/4件該当");
    m.ActRedo->trigger();
    EXPECT_EQ(m.Session.Book.ToBytes(), deleted);
    EXPECT_EQ(m.windowTitle(), "*book.QT2 — Quintaro2");
    undoAll();

    // Marks for printing, then unmarking.
    m.SelectRows({0, 1, 2, 3});
    m.PopPrintCheckClick();
    m.SelectRows({1});
    m.PopPrintNotCheckClick();
    m.ActUndo->trigger();
    m.ActUndo->trigger();
    EXPECT_EQ(m.Session.Book.ToBytes(), original);

    // Adding a record.
    runner.dialogs.push_back([](QDialog& d) {
        auto& f = static_cast<q2::TFormAddData&>(d);
        f.EditName_1->setText("山田");
        f.EditName_2->setText("太郎");
        f.EditKana_1->setText("ヤマダ");
        f.EditKana_2->setText("タロウ");
        f.BtnAddClick();
        return f.result();
    });
    m.pngBtnAddAddressClick();
    ASSERT_EQ(m.Session.Book.Count(), 5);
    m.ActUndo->trigger();
    EXPECT_EQ(m.Session.Book.ToBytes(), original);
    EXPECT_EQ(m.CurrentRecord, nullptr);

    // An import of three records is one step.
    m.SetImportDialog([](const QString&, q2::TUserInfoList& book) {
        for (const char* name : {"一", "二", "三"}) book.Add()->PerSonalName_1 = QString::fromUtf8(name);
        return q2::TFormMain::TImportResult::Imported;
    });
    m.ImportFile(Path("in.csv"));
    ASSERT_EQ(m.Session.Book.Count(), 7);
    EXPECT_EQ(m.ActUndo->text(), "元に戻す(&U)：インポート");
    m.ActUndo->trigger();
    EXPECT_EQ(m.Session.Book.ToBytes(), original);
    m.ActRedo->trigger();
    EXPECT_EQ(m.Session.Book.Count(), 7);
    m.ActUndo->trigger();

    // Field edits in the editor: one step per field, however many keys.
    m.ClickTab(0);
    m.SelectRows({RowOf(m, "佐藤")});
    ASSERT_TRUE(m.RecordEditor->InputEnabled());
    QTest::keyClicks(m.RecordEditor->EditPersonalAddress_1, "1-2-3");
    QTest::keyClicks(m.RecordEditor->EditPersonalTel_1, "03");
    m.ActUndo->trigger();
    EXPECT_EQ(m.RecordEditor->EditPersonalTel_1->text(), "");
    EXPECT_EQ(m.RecordEditor->EditPersonalAddress_1->text(), "1-2-3");
    m.ActUndo->trigger();
    EXPECT_EQ(m.RecordEditor->EditPersonalAddress_1->text(), "");
    EXPECT_EQ(m.Session.Book.ToBytes(), original);
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_FALSE(m.ActUndo->isEnabled());
    // A new change after undoing drops what could have been redone.
    QTest::keyClicks(m.RecordEditor->EditPersonalTel_2, "9");
    EXPECT_FALSE(m.ActRedo->isEnabled());
    EXPECT_FALSE(m.Session.Saved());
}

TEST_F(Desktop, UndoStopsAtTheBooksBoundaryAndTheSavedPointMoves) {
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({0});
    m.PopPrintCheckClick();
    m.ActSaveInPlace->trigger();
    m.ActUndo->trigger();  // back behind the save: the book differs from its file again
    EXPECT_FALSE(m.Session.Saved());
    m.ActRedo->trigger();
    EXPECT_TRUE(m.Session.Saved());
    // Opening another book starts a new history.
    const QString other = WriteBook("other.QT2", {{"ウノ", "宇野"}});
    runner.fileNames = {other};
    m.pngBtnOpenClick();
    EXPECT_FALSE(m.ActUndo->isEnabled());
    EXPECT_FALSE(m.ActRedo->isEnabled());
}

TEST_F(Desktop, MenuBarHoldsEveryCommandWithItsShortcut) {
    q2::TFormMain& m = Start();
    QStringList titles;
    QList<QAction*> inMenus;
    std::function<void(QMenu*)> collect = [&](QMenu* menu) {
        for (QAction* a : menu->actions()) {
            inMenus << a;
            if (a->menu()) collect(a->menu());
        }
    };
    for (QAction* a : m.menuBar()->actions()) {
        titles << a->text();
        collect(a->menu());
    }
    EXPECT_EQ(titles, QStringList({"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール(&T)", "ヘルプ(&H)"}));
    for (QToolButton* b : m.findChildren<QToolButton*>()) {
        // The toolbar's 保存 is the menu's 名前を付けて保存 under its own caption.
        if (!b->defaultAction() || b->objectName().isEmpty() || b == m.pngBtnSave) continue;
        EXPECT_TRUE(inMenus.contains(b->defaultAction())) << b->objectName().toStdString();
    }
    for (QAction* a : m.PopupMenuMain->actions()) {
        if (a->isSeparator()) continue;
        EXPECT_TRUE(inMenus.contains(a)) << a->text().toStdString();
    }
    struct Key {
        const char* keys;
        const char* action;
    };
    for (const Key k : {Key{"Ctrl+N", "新規作成"}, Key{"Ctrl+O", "開く"}, Key{"Ctrl+S", "上書き保存(&S)"},
                        Key{"Ctrl+Shift+S", "名前を付けて保存(&A)..."}, Key{"Ctrl+Z", "元に戻す(&U)"},
                        Key{"Ctrl+Shift+Z", "やり直し(&R)"}, Key{"Ctrl+P", "宛名印刷"},
                        Key{"Ctrl+F", "検索(&F)..."}, Key{"Ctrl+Q", "終了(&X)"}, Key{"F1", "使い方(&H)"},
                        Key{"Del", "選択中の住所を削除する"}}) {
        bool found = false;
        for (QAction* a : inMenus)
            found |= a->text() == QString::fromUtf8(k.action) && a->shortcut() == QKeySequence(k.keys);
        EXPECT_TRUE(found) << k.keys;
    }
    // F1 opens the guide in the program, not the about box.
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    QTest::keyClick(&m, Qt::Key_F1);
    EXPECT_TRUE(m.FormHelp->isVisible());
    EXPECT_TRUE(prompter.shown.isEmpty());
    for (const char* task : {"住所を追加する", "郵便番号から住所を入れる", "はがきに宛名を印刷する",
                             "CSV ファイルを取り込む", "住所を探す", "同報メールを送る"})
        EXPECT_TRUE(q2::TFormHelp::GuideHtml().contains(QString::fromUtf8(task))) << task;
    m.FormHelp->close();
    // Ctrl+Z from the list undoes.
    m.OpenCommandLineFile(book_);
    m.LVAddressList->setFocus();
    m.SelectRows({0});
    m.PopPrintCheckClick();
    QTest::keyClick(m.LVAddressList, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(m.Session.Saved());
    m.hide();
}

TEST_F(Desktop, DroppedBookOpensAndDroppedCsvImports) {
    q2::TFormMain& m = Start();
    QString imported;
    m.SetImportDialog([&](const QString& path, q2::TUserInfoList&) {
        imported = path;
        return q2::TFormMain::TImportResult::Cancelled;
    });
    const auto drop = [&](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&m, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&m, &dropped);
        QCoreApplication::processEvents();
        return true;
    };
    EXPECT_FALSE(drop(Path("picture.png")));
    EXPECT_TRUE(drop(book_));
    EXPECT_EQ(m.Session.FileName(), book_);
    EXPECT_EQ(m.Session.Book.Count(), 4);
    EXPECT_TRUE(drop(Path("in.CSV")));
    EXPECT_EQ(imported, Path("in.CSV"));
}

TEST_F(Desktop, RecentFilesKeepEightNewestFirstAndForgetMissingOnes) {
    q2::TFormMain& m = Start();
    QStringList paths;
    for (int i = 0; i < 9; ++i) paths << WriteBook(QStringLiteral("b%1.QT2").arg(i), {{"ア", "一"}});
    for (const QString& p : paths) m.OpenFileFromOutside(p);
    m.OpenFileFromOutside(paths[3]);  // opened again: to the front
    QStringList expected = {paths[3], paths[8], paths[7], paths[6], paths[5], paths[4], paths[2], paths[1]};
    EXPECT_EQ(q2::ReadRecentFiles(), expected);
    emit m.MenuRecentFiles->aboutToShow();
    ASSERT_EQ(m.MenuRecentFiles->actions().size(), 8);
    QFile::remove(paths[8]);
    m.MenuRecentFiles->actions().at(1)->trigger();
    EXPECT_EQ(prompter.shown.last(), "「" + paths[8] + "」は存在しません");
    expected.removeAll(paths[8]);
    EXPECT_EQ(q2::ReadRecentFiles(), expected);
    EXPECT_EQ(m.Session.FileName(), paths[3]);
}

TEST_F(Desktop, FileDialogsStartWhereTheirKindWasLastChosen) {
    q2::TFormMain& m = Start();
    m.SetImportDialog([](const QString&, q2::TUserInfoList&) { return q2::TFormMain::TImportResult::NotRun; });
    m.SetExportDialog([](const QString&, q2::TUserInfoList&) {});
    const QString books = WriteBook("books/b.QT2", {{"ア", "一"}});
    QDir().mkpath(Path("csv"));
    runner.fileNames = {books};
    m.pngBtnOpenClick();
    runner.fileNames = {Path("csv/in.csv")};
    m.pngBtnImportClick();
    runner.fileNames = {};
    m.pngBtnExportClick();
    m.pngBtnOpenClick();
    ASSERT_EQ(runner.fileRequests.size(), 4u);
    EXPECT_EQ(runner.fileRequests[0].Folder, m.PersonalFolder);  // nothing chosen yet
    EXPECT_EQ(runner.fileRequests[1].Folder, m.PersonalFolder);
    EXPECT_EQ(runner.fileRequests[2].Folder, Path("csv/"));
    EXPECT_EQ(runner.fileRequests[3].Folder, Path("books/"));
}

TEST_F(Desktop, SecondStartHandsItsFileToTheRunningProgram) {
    const QString program = QStringLiteral(Q2_BINARY_DIR "/app/velmora3");
    QProcess first;
    first.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted());
    const QString socket = q2::HandOverSocketName(q2::SingleInstanceLock().FilePath());
    for (int i = 0; i < 200 && !QFile::exists(socket); ++i) QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(socket));

    // A start with a file, from another folder and with a relative name.
    QProcess second;
    second.setWorkingDirectory(QFileInfo(book_).absolutePath());
    second.start(program, {QFileInfo(book_).fileName()});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(second.readAllStandardError().contains("既に起動しています"));
    // The running program opened it: it heads the recent files it keeps.
    QStringList recent;
    for (int i = 0; i < 100 && recent.isEmpty(); ++i) {
        QThread::msleep(50);
        recent = q2::ReadRecentFiles();
    }
    EXPECT_EQ(recent, QStringList({book_}));

    // A start without a file only brings the window forward.
    QProcess third;
    third.start(program, {});
    ASSERT_TRUE(third.waitForFinished(15000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

TEST_F(Desktop, HandedOverFileGoesThroughTheUnsavedQuestion) {
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({0});
    m.PopPrintCheckClick();
    q2::TFileHandOverServer server;
    QObject::connect(&server, &q2::TFileHandOverServer::Received, &m, &q2::TFormMain::TakeHandOver);
    const QString name = Path("runtime/handover.socket");
    ASSERT_TRUE(server.Listen(name));
    const QString other = WriteBook("other.QT2", {{"ウノ", "宇野"}});
    bool handed = false;
    QThread* client = QThread::create([&] { handed = q2::HandOverToRunningProgram(name, other); });
    prompter.choices = {q2::TSaveChoice::Cancel, q2::TSaveChoice::Discard};
    client->start();
    while (!client->isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    client->wait();
    delete client;
    QCoreApplication::processEvents();
    EXPECT_TRUE(handed);
    EXPECT_EQ(prompter.asked, QStringList({"現在の住所録は変更されています。別の住所録を開く前に保存しますか？"}));
    EXPECT_EQ(m.Session.FileName(), book_);  // キャンセル: the book stays
    m.TakeHandOver(other);
    EXPECT_EQ(m.Session.FileName(), other);  // 保存しない
    EXPECT_FALSE(q2::HandOverToRunningProgram(Path("runtime/nobody.socket"), other, 200));
}

TEST_F(Desktop, PostalCodeBoxesAdvanceAndTakeAPastedCode) {
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({0});
    QLineEdit* zip1 = m.RecordEditor->EditPersonalZip_1;
    QLineEdit* zip2 = m.RecordEditor->EditPersonalZip_2;
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    zip1->setFocus();
    for (char c : std::string("1000014")) QTest::keyClick(QApplication::focusWidget(), c);
    EXPECT_EQ(zip1->text(), "100");
    EXPECT_EQ(zip2->text(), "0014");
    EXPECT_EQ(m.CurrentRecord->PersonalFullZip(), "100-0014");
    struct Paste {
        QLineEdit* box;
        const char* text;
        const char* first;
        const char* second;
    };
    for (const Paste p : {Paste{zip1, "160-0022", "160", "0022"}, Paste{zip2, "1000001", "100", "0001"},
                          Paste{zip1, "〒１０２－００８２", "102", "0082"},
                          Paste{zip2, "12", "102", "12"}}) {
        SCOPED_TRACE(p.text);
        QGuiApplication::clipboard()->setText(QString::fromUtf8(p.text));
        p.box->setFocus();
        p.box->selectAll();
        QTest::keySequence(p.box, QKeySequence::Paste);
        EXPECT_EQ(zip1->text(), QString::fromUtf8(p.first));
        EXPECT_EQ(zip2->text(), QString::fromUtf8(p.second));
    }
    m.hide();
}

TEST_F(Desktop, PostalCodeDialogStartsOnTheFirstHitAndEnterTakesIt) {
    q2::TFormSearchZip& d = *Start().FormSearchZip;
    QString code, town;  // the first of the hits of 100-
    runner.dialogs.push_back([&](QDialog&) {
        d.show();
        code = d.LVZipList->topLevelItem(0)->text(0);
        town = d.LVZipList->topLevelItem(0)->text(1);
        QTest::keyClick(d.LVZipList, Qt::Key_Return);
        return d.result();
    });
    QString upper = "100", lower, address;
    EXPECT_TRUE(d.Execute(upper, lower, false, address));
    EXPECT_EQ(runner.seen, QStringList{"郵便番号検索"});
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(upper + "-" + lower, code);
    EXPECT_EQ(address, town);
}

// The real file dialog: it starts in the documents folder when no folder is
// given, and a name typed without extension gets the chosen filter's suffix.
TEST_F(Desktop, SaveDialogStartsInDocumentsAndAddsTheChosenFiltersSuffix) {
    const QString docs = Path("Dokumente");
    QDir().mkpath(docs);
    QDir().mkpath(Path("config"));
    QFile dirs(Path("config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"" + docs.toUtf8() + "\"\n");
    dirs.close();
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
    q2::SetDialogRunner(nullptr);  // the on-screen runner
    struct Case {
        const char* filter;  // the one chosen; empty keeps the first
        const char* typed;
        const char* saved;
    };
    const Case cases[] = {
        {"", "mybook", "mybook.csv"},
        {"vCardファイル (*.vcf *.VCF)", "mybook", "mybook.vcf"},
        {"vCardファイル (*.vcf *.VCF)", "mybook.csv", "mybook.csv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved);
        QString startedIn;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            startedIn = d->directory().absolutePath();
            if (*c.filter) {
                auto* types = d->findChild<QComboBox*>("fileTypeCombo");
                QTest::keyClick(types, Qt::Key_Down);  // as the user picks the second filter
                EXPECT_EQ(types->currentText(), QString::fromUtf8(c.filter));
            }
            d->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromUtf8(c.typed));
            QMetaObject::invokeMethod(d, "accept");
        });
        const QString saved = q2::GetDialogRunner().SaveFileName(
            nullptr, {"エクスポート", QString(), QString(),
                      "CSVファイル (*.csv *.CSV);;vCardファイル (*.vcf *.VCF)", "csv"});
        EXPECT_EQ(startedIn, docs);
        EXPECT_EQ(saved, docs + "/" + c.saved) << saved.toStdString();
    }
    q2::SetDialogRunner(&runner);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(q2::FilterSuffix("Quintaro2 ファイル (*.QT2)"), "QT2");
    EXPECT_EQ(q2::FilterSuffix("すべてのファイル (*)"), "");
}

TEST(MailtoLinks, AddressesAndTextsKeepTheirMeaning) {
    for (const char* address : {"a&b@example.jp", "who#1@example.jp", "x?y@example.jp",
                                "first last@example.jp", "100%@example.jp", "plain@example.jp"}) {
        const QString url = "mailto:" + q2::MailtoAddress(QString::fromUtf8(address));
        EXPECT_EQ(QUrl(url, QUrl::TolerantMode).path(QUrl::FullyDecoded), QString::fromUtf8(address))
            << url.toStdString();
    }
    EXPECT_EQ(q2::MailtoAddress("plain@example.jp"), "plain@example.jp");
    EXPECT_EQ(q2::MailtoText("A&B 商事 #2 100%"), "A%26B 商事 %232 100%25");
    const QUrl link(QStringLiteral("mailto:me@example.jp?Subject=%1&Body=x").arg(q2::MailtoText("Q&A")),
                    QUrl::TolerantMode);
    EXPECT_EQ(QUrlQuery(link).queryItemValue("Subject", QUrl::FullyDecoded), "Q&A");
}

TEST_F(Desktop, WindowFitsASmallScreenAndRemembersItsPlace) {
    q2::TFormMain& m = Start();
    // 1920 × 1080 at 150 %, less a panel.
    const QRect available(0, 0, 1280, 690);
    m.FitToScreen(available);
    EXPECT_TRUE(available.contains(QRect(m.pos(), m.size()))) << m.width() << "x" << m.height();
    // The size and place of the last run come back where the screen has room.
    const QRect large(0, 0, 1600, 1000);
    m.resize(1000, 700);
    m.move(40, 30);
    m.SaveWindowPlace();
    m.resize(1100, 800);
    m.FitToScreen(large);
    EXPECT_EQ(QRect(m.pos(), m.size()), QRect(40, 30, 1000, 700));
    // A place on a screen no longer there comes back centred.
    q2::WriteWindowPlace(QRect(3000, 2000, 1000, 700));
    m.FitToScreen(large);
    EXPECT_TRUE(large.contains(m.frameGeometry()));
    EXPECT_EQ(m.size(), QSize(1000, 700));

    // At 1024 × 768 the editor scrolls: nothing of it is cut off.
    q2::WriteWindowPlace(QRect());
    m.FitToScreen(QRect(0, 0, 1024, 740));
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    EXPECT_LE(m.width(), 1024);
    EXPECT_LE(m.height(), 740);
    auto* scroll = m.findChild<QScrollArea*>("ScrollRecordEditor");
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    // Nothing is cut off at the right either.
    EXPECT_GE(m.RecordEditor->width(), m.RecordEditor->minimumSizeHint().width());
    EXPECT_GE(scroll->viewport()->width(), m.RecordEditor->width());
    scroll->ensureWidgetVisible(m.RecordEditor->LVHistory);
    EXPECT_GT(scroll->verticalScrollBar()->value(), 0);
    m.hide();
}

}  // namespace
}  // namespace q2test
