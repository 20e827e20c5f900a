// Takes the bulk mail dialog's screenshot for docs/screenshots: a template
// with placeholders and the preview personalised for the selected recipient.
// Run by hand; not a test.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <memory>

#include "mail/FormDirectMail.h"
#include "tests/support/Screenshot.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(out);

    struct Person {
        const char16_t *family, *given, *mail, *office, *str1;
        bool personal;
    };
    const Person people[] = {
        {u"山田", u"太郎", u"taro.yamada@example.jp", u"", u"営業部", true},
        {u"佐藤", u"花子", u"", u"h.sato@office.example.jp", u"総務部", false},
        {u"鈴木", u"一郎", u"ichiro@example.jp", u"", u"開発部", true},
        {u"高橋", u"美咲", u"misaki@example.jp", u"", u"広報部", true},
    };
    std::vector<std::unique_ptr<q2::TUserInfo>> owned;
    std::vector<q2::TUserInfo*> list;
    for (const Person& p : people) {
        auto r = std::make_unique<q2::TUserInfo>();
        r->PerSonalName_1 = QString::fromUtf16(p.family);
        r->PerSonalName_2 = QString::fromUtf16(p.given);
        r->PerSonalHonorificTitle = QStringLiteral("様");
        r->PerSonalMail_1 = QString::fromUtf16(p.mail);
        r->OfficeMail_1 = QString::fromUtf16(p.office);
        r->CommonInsertStr_1 = QString::fromUtf16(p.str1);
        r->CommonUseTypePersonal = p.personal;
        list.push_back(r.get());
        owned.push_back(std::move(r));
    }
    q2::TthMailConfig config;

    q2::TFormDirectMail form;
    form.SetUp(list, config);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    form.EditSubject->setText(QStringLiteral("[NAME][NAME_TITLE] 新年会のご案内"));
    form.MemoBody->setPlainText(QStringLiteral(
        "[NAME][NAME_TITLE]\n\n[STR_1]の皆様、いつもお世話になっております。\n"
        "新年会を下記のとおり開催いたします。\n\n日時：1月10日（金）18時より\n会場：本社ビル8階"));
    form.LVAddress->selectRow(1);
    return q2test::ShootWidget(form, out + QStringLiteral("/direct-mail.png"), 200) ? 0 : 1;
}
