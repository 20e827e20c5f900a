// Label registration.
#include "print/FormAddPaper.h"

#include <QGridLayout>
#include <cmath>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/DataPaths.h"
#include "platform/Cp932.h"
#include "platform/Prompter.h"
#include "print/LabelCatalog.h"
#include "print/TextNormalize.h"

namespace q2 {
namespace {

QString T(const char16_t* s) {
    return QString::fromUtf16(s);
}

}  // namespace

TFormAddPaper::TFormAddPaper(QWidget* parent) : QDialog(parent), paperPath_(GetPaperPath()) {
    setObjectName(QStringLiteral("FormAddPaper"));
    setWindowTitle(T(u"用紙追加"));
    auto* root = new QVBoxLayout(this);

    auto* sizeGroup = new QGroupBox(T(u"用紙のサイズ"), this);
    auto* sizeLayout = new QHBoxLayout(sizeGroup);
    RadioButtonPaperA4 = new QRadioButton(T(u"A4縦"), sizeGroup);
    RadioButtonPaperA4->setObjectName(QStringLiteral("RadioButtonPaperA4"));
    RadioButtonPaperA4T = new QRadioButton(T(u"A4横"), sizeGroup);
    RadioButtonPaperA4T->setObjectName(QStringLiteral("RadioButtonPaperA4T"));
    RadioButtonPaperA4->setChecked(true);
    sizeLayout->addWidget(RadioButtonPaperA4);
    sizeLayout->addWidget(RadioButtonPaperA4T);
    root->addWidget(sizeGroup);

    auto* titleGroup = new QGroupBox(T(u"ラベルのタイトル"), this);
    EditTitle = new QLineEdit(titleGroup);
    EditTitle->setObjectName(QStringLiteral("EditTitle"));
    (new QVBoxLayout(titleGroup))->addWidget(EditTitle);
    root->addWidget(titleGroup);

    auto* labelGroup = new QGroupBox(T(u"ラベルのサイズ"), this);
    auto* grid = new QGridLayout(labelGroup);
    struct Row {
        QLineEdit** edit;
        const char* name;
        const char16_t* caption;
        const char16_t* unit;
    };
    const Row rows[] = {{&EditLabelHor, "EditLabelHor", u"ラベル幅", u"mm"},
                        {&EditLabelVer, "EditLabelVer", u"ラベル高さ", u"mm"},
                        {&EditOffsetUpper, "EditOffsetUpper", u"上余白", u"mm"},
                        {&EditOffsetLower, "EditOffsetLower", u"下余白", u"mm"},
                        {&EditOffsetLeft, "EditOffsetLeft", u"左余白", u"mm"},
                        {&EditOffsetRight, "EditOffsetRight", u"右余白", u"mm"},
                        {&EditLow, "EditLow", u"列数", u"列"},
                        {&EditColumn, "EditColumn", u"段数", u"段"}};
    int r = 0;
    for (const Row& row : rows) {
        auto* e = new QLineEdit(labelGroup);
        e->setObjectName(QLatin1String(row.name));
        // Numbers only: no Japanese input here.
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
        e->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
        *row.edit = e;
        grid->addWidget(new QLabel(T(row.caption), labelGroup), r, 0);
        grid->addWidget(e, r, 1);
        grid->addWidget(new QLabel(T(row.unit), labelGroup), r, 2);
        ++r;
    }
    grid->addWidget(new QLabel(T(u"ラベル間隔は自動的に計算されます"), labelGroup), r, 0, 1, 3);
    root->addWidget(labelGroup);

    auto* buttons = new QHBoxLayout;
    BtnRegist = new QPushButton(T(u"登録"), this);
    BtnRegist->setObjectName(QStringLiteral("BtnRegist"));
    BtnCancel = new QPushButton(T(u"キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addStretch();
    buttons->addWidget(BtnRegist);
    buttons->addWidget(BtnCancel);
    root->addLayout(buttons);
    connect(BtnRegist, &QPushButton::clicked, this, [this] { RegisterLabelPaper(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormAddPaper::ClearEdits() {
    for (QLineEdit* e : {EditTitle, EditLabelHor, EditLabelVer, EditOffsetUpper, EditOffsetLower,
                         EditOffsetLeft, EditOffsetRight, EditLow, EditColumn})
        e->clear();
}

bool TFormAddPaper::Execute() {
    ClearEdits();
    return exec() == QDialog::Accepted;
}

bool TFormAddPaper::RegisterLabelPaper() {
    struct Field {
        QLineEdit* edit;
        const char16_t* name;
        const char16_t* empty;
        bool count;
    };
    const Field fields[] = {
        {EditTitle, u"ラベルのタイトル", u"ラベルのタイトルを入力して下さい", false},
        {EditLabelHor, u"ラベル幅", u"ラベル幅を入力して下さい", false},
        {EditLabelVer, u"ラベル高さ", u"ラベル高さを入力して下さい", false},
        {EditOffsetUpper, u"上余白", u"上余白を入力して下さい", false},
        {EditOffsetLower, u"下余白", u"下余白を入力して下さい", false},
        {EditOffsetLeft, u"左余白", u"左余白を入力して下さい", false},
        {EditOffsetRight, u"右余白", u"右余白を入力して下さい", false},
        {EditLow, u"列数", u"列数を入力して下さい", true},
        {EditColumn, u"段数", u"段数を入力して下さい", true},
    };
    for (const Field& f : fields)
        if (PrintTrim(f.edit->text()).isEmpty()) {
            GetPrompter().Inform(T(f.empty));
            return false;
        }
    // The numbers are checked here rather than when the label is selected:
    // a sheet that cannot be printed never enters the file.
    for (const Field& f : fields) {
        if (f.edit == EditTitle) continue;
        bool ok = false;
        const QString v = PrintTrim(f.edit->text());
        if (f.count) {
            const int n = v.toInt(&ok);
            ok = ok && n > 0;
        } else {
            const double d = v.toDouble(&ok);
            const bool size = f.edit == EditLabelHor || f.edit == EditLabelVer;
            ok = ok && std::isfinite(d) && (size ? d > 0 : d >= 0);
        }
        if (!ok) {
            GetPrompter().Inform(T(f.name) + (f.count ? T(u"には1以上の整数を入力して下さい")
                                                      : T(u"には数値を入力して下さい")));
            return false;
        }
    }
    const QString title = EditTitle->text();
    if (!IsCp932Encodable(title) || title.contains(QLatin1Char('\n'))) {
        GetPrompter().Inform(T(u"ラベルのタイトルに使えない文字が含まれています"));
        return false;
    }
    QStringList lines;
    if (!ReadPaperLines(paperPath_, &lines)) {
        GetPrompter().Inform(T(u"用紙ファイルを読み込めませんでした: ") + paperPath_);
        return false;
    }
    const QString heading = OriginalHeading(title);
    if (lines.contains(heading)) {
        GetPrompter().Inform(
            T(u"同名のラベルが存在します、ラベルタイトルを別のものにしてください"));
        return false;
    }
    lines << LabelRecordLines(heading, !RadioButtonPaperA4->isChecked(),
                              {EditLabelHor->text(), EditLabelVer->text(), EditOffsetUpper->text(),
                               EditOffsetLower->text(), EditOffsetLeft->text(),
                               EditOffsetRight->text(), EditLow->text(), EditColumn->text()});
    if (!WritePaperLines(paperPath_, lines)) {
        GetPrompter().Inform(T(u"用紙ファイルを書き込めませんでした: ") + paperPath_);
        return false;
    }
    GetPrompter().Inform(title + T(u"を追加しました"));
    accept();
    return true;
}

}  // namespace q2
