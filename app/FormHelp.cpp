// The short guide of the help menu.
#include "app/FormHelp.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace q2 {

QString TFormHelp::GuideHtml() {
    return QStringLiteral(
        "<h2>Quintaro2 の使い方</h2>"
        "<h3>住所を追加する</h3>"
        "<p>ツールバーの「住所追加」（編集 → 住所追加）で名前とフリガナを入れ、OK を押します。"
        "右側の入力欄に住所や電話番号を入れると、そのまま住所録に入ります。"
        "変更は「上書き保存」（Ctrl+S）でファイルに書き込まれます。</p>"
        "<h3>郵便番号から住所を入れる</h3>"
        "<p>郵便番号の欄に 7 桁を続けて入力するか、「100-0014」の形で貼り付けて「〒」ボタンを押します。"
        "候補の一覧では最初の候補が選ばれているので、Enter で決まります。"
        "住所から郵便番号を探すときは、住所を入れて「住所１」ボタンを押します。</p>"
        "<h3>はがきに宛名を印刷する</h3>"
        "<p>一覧で印刷する相手を選び、右クリック（編集 → 印刷チェックを付ける）で印刷チェックを付けます。"
        "「宛名印刷」（Ctrl+P）で用紙と差出人を選び、プレビューを確かめてから印刷します。</p>"
        "<h3>CSV ファイルを取り込む</h3>"
        "<p>「インポート」（ファイル → インポート）で CSV ファイルを選ぶか、CSV ファイルを"
        "このウィンドウにドラッグします。列ごとに取り込み先の項目を選んで実行します。"
        "取り込みは「元に戻す」（Ctrl+Z）でまとめて取り消せます。</p>"
        "<h3>住所を探す</h3>"
        "<p>一覧の上のタブでフリガナの行ごとに絞り込めます。"
        "「検索」タブ（Ctrl+F）では項目と条件を指定して探せます。"
        "下の「分類」で分類ごとの表示もできます。</p>"
        "<h3>同報メールを送る</h3>"
        "<p>まず「設定」でメールの送信者と SMTP サーバーを設定します。"
        "一覧に送る相手を表示してから「同報メール」を押し、件名と本文を書いて送信します。</p>"
        "<h3>キー操作</h3>"
        "<table cellspacing=\"4\">"
        "<tr><td>Ctrl+N</td><td>新規作成</td></tr>"
        "<tr><td>Ctrl+O</td><td>開く</td></tr>"
        "<tr><td>Ctrl+S</td><td>上書き保存</td></tr>"
        "<tr><td>Ctrl+Shift+S</td><td>名前を付けて保存</td></tr>"
        "<tr><td>Ctrl+Z / Ctrl+Shift+Z</td><td>元に戻す / やり直し</td></tr>"
        "<tr><td>Ctrl+P</td><td>宛名印刷</td></tr>"
        "<tr><td>Ctrl+F</td><td>検索</td></tr>"
        "<tr><td>Delete</td><td>選択中の住所を削除</td></tr>"
        "<tr><td>Ctrl+PageDown / Ctrl+PageUp</td><td>次のタブ / 前のタブ</td></tr>"
        "<tr><td>Ctrl+Q</td><td>終了</td></tr>"
        "</table>");
}

TFormHelp::TFormHelp(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormHelp"));
    setWindowTitle(QStringLiteral("Quintaro2 の使い方"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(false);
    Browser->setHtml(GuideHtml());
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser, 1);
    layout->addWidget(buttons);
    resize(560, 600);
}

}  // namespace q2
