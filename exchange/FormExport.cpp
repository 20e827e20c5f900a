// The export dialog.
#include "FormExport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "exchange/CsvExport.h"
#include "exchange/VcardUid.h"
#include "exchange/VcardWriter.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"

namespace q2 {

TFormExport::TFormExport(QWidget* parent) : QDialog(parent) {
    FormCreate();
}

void TFormExport::FormCreate() {
    setObjectName("TFormExport");
    setWindowTitle(QStringLiteral("エクスポート"));
    Label1 = new QLabel(QStringLiteral("■エクスポートする項目を選択してください。"), this);
    GBPersonal = new QGroupBox(QStringLiteral("個人"), this);
    GBOffice = new QGroupBox(QStringLiteral("会社"), this);
    GBCommon = new QGroupBox(QStringLiteral("共通"), this);
    GBPersonal->setObjectName("GBPersonal");
    GBOffice->setObjectName("GBOffice");
    GBCommon->setObjectName("GBCommon");
    struct Group {
        QGroupBox* box;
        int first, last, perColumn;
    };
    const Group groups[] = {{GBPersonal, 0, 12, 7}, {GBOffice, 13, 24, 6}, {GBCommon, 25, 42, 6}};
    const auto& columns = ExportColumns();
    for (const Group& g : groups) {
        auto* layout = new QGridLayout(g.box);
        for (int c = g.first; c <= g.last; ++c) {
            auto* box = new QCheckBox(columns[c].Caption, g.box);
            box->setObjectName(columns[c].CheckBox);
            const int i = c - g.first;
            layout->addWidget(box, i % g.perColumn, i / g.perColumn);
            FieldBoxes.push_back(box);
        }
    }
    CBMidashi = new QCheckBox(QStringLiteral("1行目に見出しをつける"), this);
    CBMidashi->setObjectName("CBMidashi");
    CBUtf8 = new QCheckBox(QStringLiteral("UTF-8で出力する"), this);
    CBUtf8->setObjectName("CBUtf8");
    CBUtf8->setToolTip(
        QStringLiteral("表計算ソフトで文字化けせずに開けるよう、BOM付きのUTF-8で書き出します"));
    LblVcardVersion = new QLabel(QStringLiteral("vCardのバージョン"), this);
    CBVcardVersion = new QComboBox(this);
    CBVcardVersion->setObjectName("CBVcardVersion");
    CBVcardVersion->addItems({QStringLiteral("3.0"), QStringLiteral("4.0")});
    CBVcardVersion->setToolTip(
        QStringLiteral("3.0は多くの携帯電話・メールソフトが読めます。4.0は新しい形式です"));
    ProgressBarStatus = new QProgressBar(this);
    ProgressBarStatus->setObjectName("ProgressBarStatus");
    ProgressBarStatus->setTextVisible(false);
    BtnExport = new QPushButton(QStringLiteral("エクスポート"), this);
    BtnExport->setObjectName("BtnExport");
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName("BtnCancel");
    BtnExport->setAutoDefault(false);
    BtnCancel->setAutoDefault(false);

    auto* groupsRow = new QHBoxLayout;
    groupsRow->addWidget(GBPersonal);
    groupsRow->addWidget(GBOffice);
    groupsRow->addWidget(GBCommon);
    auto* buttons = new QHBoxLayout;
    auto* options = new QVBoxLayout;
    options->addWidget(CBMidashi);
    options->addWidget(CBUtf8);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(LblVcardVersion);
    versionRow->addWidget(CBVcardVersion);
    versionRow->addStretch();
    options->addLayout(versionRow);
    buttons->addLayout(options);
    buttons->addStretch();
    buttons->addWidget(BtnExport);
    buttons->addWidget(BtnCancel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addLayout(groupsRow);
    top->addWidget(ProgressBarStatus);
    top->addLayout(buttons);

    connect(BtnExport, &QPushButton::clicked, this, &TFormExport::BtnExportClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormExport::Open(const QString& path, const TUserInfoList& book) {
    path_ = path;
    book_ = &book;
    for (QCheckBox* b : FieldBoxes) b->setChecked(true);
    CBMidashi->setChecked(false);
    CBUtf8->setChecked(false);
    vcard_ = QFileInfo(path).suffix().compare(QLatin1String("vcf"), Qt::CaseInsensitive) == 0;
    for (QWidget* w : {static_cast<QWidget*>(GBPersonal), static_cast<QWidget*>(GBOffice),
                       static_cast<QWidget*>(GBCommon), static_cast<QWidget*>(CBMidashi),
                       static_cast<QWidget*>(CBUtf8)})
        w->setVisible(!vcard_);
    LblVcardVersion->setVisible(vcard_);
    CBVcardVersion->setVisible(vcard_);
    CBVcardVersion->setCurrentIndex(0);
    Label1->setText(vcard_ ? QStringLiteral("■すべての項目をvCard（UTF-8）で出力します。")
                           : QStringLiteral("■エクスポートする項目を選択してください。"));
    adjustSize();
    // An empty bar: Qt draws a range of 0 to 0 as a busy indicator.
    ProgressBarStatus->setRange(0, 1);
    ProgressBarStatus->setValue(0);
}

void TFormExport::Release() {
    path_.clear();
    book_ = nullptr;
}

void TFormExport::Execute(const QString& path, const TUserInfoList& book) {
    Open(path, book);
    exec();
    Release();
}

void TFormExport::ExportVcard() {
    const int count = book_->Count();
    ProgressBarStatus->setRange(0, std::max(1, count - 1));
    QElapsedTimer clock;
    clock.start();
    setEnabled(false);
    TVcardUidStore uids;
    const QStringList assigned = uids.Assign(*book_);
    const QByteArray bytes = ComposeVcards(
        *book_, CBVcardVersion->currentIndex() == 1 ? TVcardVersion::V40 : TVcardVersion::V30,
        [&](int index) {
            if (clock.elapsed() < 40 && index + 1 < count) return;
            ProgressBarStatus->setValue(index);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            clock.restart();
        },
        assigned);
    ProgressBarStatus->setValue(ProgressBarStatus->maximum());
    setEnabled(true);
    if (const SaveProblem p = WriteFileSafely(path_, bytes); p != SaveProblem::None) {
        GetPrompter().Inform(CannotCreateMessage(p, path_));
        reject();
        return;
    }
    // The cards are written; only the next export's UIDs depend on the file.
    if (!uids.Save())
        GetPrompter().Inform(
            QStringLiteral("UID の記録 %1 を保存できませんでした").arg(VcardUidPath()));
    GetPrompter().Inform(QStringLiteral("%1件の出力を完了しました").arg(count));
    accept();
}

void TFormExport::BtnExportClick() {
    if (!book_) return;
    if (vcard_) return ExportVcard();
    TExportOptions options;
    for (int c = 0; c < static_cast<int>(FieldBoxes.size()); ++c)
        if (FieldBoxes[c]->isChecked()) options.Columns.push_back(c);
    if (options.Columns.empty()) {
        GetPrompter().Inform(QStringLiteral("エクスポートする項目を1つ以上選択してください"));
        return;
    }
    options.Header = CBMidashi->isChecked();
    options.Utf8 = CBUtf8->isChecked();
    const int count = book_->Count();
    ProgressBarStatus->setRange(0, std::max(1, count - 1));
    QElapsedTimer clock;
    clock.start();
    options.Progress = [&](int index) {
        if (clock.elapsed() < 40 && index + 1 < count) return;
        ProgressBarStatus->setValue(index);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        clock.restart();
    };
    setEnabled(false);
    const TExportResult result = ComposeCsv(*book_, options, Today());
    ProgressBarStatus->setValue(ProgressBarStatus->maximum());
    setEnabled(true);
    // A character CP932 cannot hold would silently become "?": the user decides.
    if (result.Unencodable > 0 &&
        !GetPrompter().Ask(
            QStringLiteral("Shift-JISで表せない文字が%1文字あり、「?」として出力されます。"
                           "このまま出力しますか？\n（「UTF-8で出力する」を選ぶと"
                           "そのまま出力できます）")
                .arg(result.Unencodable)))
        return;
    if (const SaveProblem p = WriteFileSafely(path_, result.Bytes); p != SaveProblem::None) {
        GetPrompter().Inform(CannotCreateMessage(p, path_));
        reject();
        return;
    }
    GetPrompter().Inform(QStringLiteral("%1件の出力を完了しました").arg(count));
    accept();
}

}  // namespace q2
