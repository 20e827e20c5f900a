// Shared set-up of the main window tests: a private data folder, the scripted
// prompter and dialog runner, and small books written to disk.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/FormMain.h"
#include "app/ProgramWindows.h"
#include "app/SaveChoice.h"
#include "app/ScriptedDialogRunner.h"
#include "model/DataPaths.h"
#include "model/UserInfoList.h"
#include "platform/DataFolder.h"
#include "platform/Prompter.h"

namespace q2test {

struct RecordFields {
    const char* kana1;
    const char* name1;
    const char* category1 = "";
    const char* category2 = "";
    q2::TThSex sex = q2::TThSex::tsNone;
};

inline std::unique_ptr<q2::TUserInfo> MakeRecord(const RecordFields& s) {
    auto r = std::make_unique<q2::TUserInfo>();
    r->PerSonalKana_1 = QString::fromUtf8(s.kana1);
    r->PerSonalName_1 = QString::fromUtf8(s.name1);
    r->CommonCategory_1 = QString::fromUtf8(s.category1);
    r->CommonCategory_2 = QString::fromUtf8(s.category2);
    r->PersonalSex = s.sex;
    return r;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qputenv("XDG_DATA_HOME", dir_.filePath("data").toUtf8());
        QDir().mkpath(dir_.filePath("runtime"));
        QFile::setPermissions(dir_.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir_.filePath("runtime").toUtf8());
        ASSERT_TRUE(q2::EnsureDataFolder());
        q2::SetPrompter(&prompter);
        q2::SetDialogRunner(&runner);
    }
    void TearDown() override {
        windows_.reset();
        q2::SetDialogRunner(nullptr);
        q2::SetPrompter(nullptr);
    }

    // Creates the program's windows (the main window's FormCreate runs).
    q2::TFormMain& Start() {
        windows_ = std::make_unique<q2::TProgramWindows>();
        return windows_->FormMain();
    }
    q2::TProgramWindows& Windows() { return *windows_; }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    QString WriteBook(const QString& name, const std::vector<RecordFields>& records,
                      const QString& password = QString()) {
        q2::TUserInfoList book;
        book.Password = password;
        book.HasPassword = !password.isEmpty();
        for (const RecordFields& s : records) book.Add(MakeRecord(s));
        const QString path = Path(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(book.SaveToFile(path));
        return path;
    }

    // Tells the next password prompts what to answer ("" presses 終了).
    void AnswerPasswords(std::initializer_list<const char*> answers) {
        for (const char* a : answers) {
            if (a == nullptr)
                runner.dialogs.push_back(q2::ScriptedDialogRunner::Reject());
            else
                runner.dialogs.push_back(q2::ScriptedDialogRunner::TypeAndAccept(
                    QStringLiteral("EditPassword"), QString::fromUtf8(a)));
        }
    }

    q2::ScriptedChoicePrompter prompter;
    q2::ScriptedDialogRunner runner;

private:
    QTemporaryDir dir_;
    std::unique_ptr<q2::TProgramWindows> windows_;
};

inline QStringList Names(const q2::TDisplayList& list) {
    QStringList out;
    for (const q2::TUserInfo* r : list) out << r->PerSonalName_1;
    return out;
}

}  // namespace q2test
