// The record editor.
#include "app/RecordEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/FormEditHistory.h"
#include "app/SeasonMarksWidget.h"
#include "app/UrlOpener.h"
#include "model/MailConfig.h"
#include "platform/Clock.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "zip/FormSearchZip.h"

namespace q2 {
namespace {

const QString kPictureFilter = QStringLiteral(
    "画像ファイル (*.png *.jpg *.jpeg *.bmp);;JPEG イメージファイル (*.jpg *.jpeg);;"
    "PNG Format (*.png);;ビットマップ (*.bmp)");
constexpr QSize kImageSize(150, 112);

QLineEdit* NewEdit(QWidget* parent, const QString& name, int maxLength = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QComboBox* NewCombo(QWidget* parent, const QString& name, bool editable = true) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void ChainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QLabel* Caption(const QString& text) {
    auto* l = new QLabel(text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretch = false) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) row->addWidget(w);
    if (stretch) row->addStretch();
    return row;
}

// A control is set only when it shows something else, so that showing the
// record again does not move the cursor of the box being typed in.
void Show(QLineEdit* e, const QString& text) {
    if (e->text() != text) e->setText(text);
}
void Show(QComboBox* c, const QString& text) {
    if (c->currentText() != text) c->setEditText(text);
}

// The picture kind a file name asks for, with the image format that must read it.
struct PictureFileKind {
    TPictureKind Kind = TPictureKind::None;
    const char* Format = nullptr;  // nullptr: metafile, not drawn here
};

PictureFileKind KindOfFile(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("bmp")) return {TPictureKind::Bitmap, "BMP"};
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return {TPictureKind::Jpeg, "JPEG"};
    if (ext == QLatin1String("png")) return {TPictureKind::Png, "PNG"};
    if (ext == QLatin1String("wmf") || ext == QLatin1String("emf"))
        return {TPictureKind::Metafile, nullptr};
    return {};
}

// A picture this platform cannot draw: its kind in a framed box.
QPixmap Placeholder(const QString& text) {
    QPixmap p(kImageSize);
    p.fill(Qt::white);
    QPainter painter(&p);
    painter.setPen(Qt::gray);
    painter.drawRect(p.rect().adjusted(0, 0, -1, -1));
    painter.drawText(p.rect(), Qt::AlignCenter, text);
    return p;
}

}  // namespace

TRecordEditor::TRecordEditor(TUserInfo* const& current, const TthMailConfig& mailConfig,
                             QWidget* parent)
    : QWidget(parent), current_(current), mailConfig_(mailConfig) {
    setObjectName(QStringLiteral("RecordEditor"));
    BuildControls();
    ClearInputArea();
    SetInputArea(false);
}

void TRecordEditor::BuildControls() {
    EditPersonalKana_1 = NewEdit(this, QStringLiteral("EditPersonalKana_1"));
    EditPersonalKana_2 = NewEdit(this, QStringLiteral("EditPersonalKana_2"));
    EditPersonalName_1 = NewEdit(this, QStringLiteral("EditPersonalName_1"));
    EditPersonalName_2 = NewEdit(this, QStringLiteral("EditPersonalName_2"));
    CBPerSonalHonorificTitle = NewCombo(this, QStringLiteral("CBPerSonalHonorificTitle"));
    CBPerSonalHonorificTitle->setMinimumWidth(70);
    CBPrintCheck = new QCheckBox(QStringLiteral("印刷する"), this);
    CBPrintCheck->setObjectName(QStringLiteral("CBPrintCheck"));
    RBPrintSidePersonal = new QRadioButton(QStringLiteral("個人"), this);
    RBPrintSidePersonal->setObjectName(QStringLiteral("RBPrintSidePersonal"));
    RBPrintSideOffice = new QRadioButton(QStringLiteral("会社"), this);
    RBPrintSideOffice->setObjectName(QStringLiteral("RBPrintSideOffice"));
    auto* printSide = new QButtonGroup(this);
    printSide->addButton(RBPrintSidePersonal);
    printSide->addButton(RBPrintSideOffice);
    RBPrintSidePersonal->setChecked(true);

    PGPrintType = new QTabWidget(this);
    PGPrintType->setObjectName(QStringLiteral("PGPrintType"));
    TabSheetPersonal = new QWidget;
    TabSheetPersonal->setObjectName(QStringLiteral("TabSheetPersonal"));
    TabSheetOffice = new QWidget;
    TabSheetOffice->setObjectName(QStringLiteral("TabSheetOffice"));
    PGPrintType->addTab(TabSheetPersonal, QStringLiteral("個人用"));
    PGPrintType->addTab(TabSheetOffice, QStringLiteral("会社用"));

    QWidget* p = TabSheetPersonal;
    EditPersonalZip_1 = NewEdit(p, QStringLiteral("EditPersonalZip_1"), 3);
    EditPersonalZip_2 = NewEdit(p, QStringLiteral("EditPersonalZip_2"), 4);
    EditPersonalAddress_1 = NewEdit(p, QStringLiteral("EditPersonalAddress_1"));
    EditPersonalAddress_2 = NewEdit(p, QStringLiteral("EditPersonalAddress_2"));
    EditPersonalTel_1 = NewEdit(p, QStringLiteral("EditPersonalTel_1"));
    EditPersonalTel_2 = NewEdit(p, QStringLiteral("EditPersonalTel_2"));
    EditPersonalMail_1 = NewEdit(p, QStringLiteral("EditPersonalMail_1"));
    EditPersonalMail_2 = NewEdit(p, QStringLiteral("EditPersonalMail_2"));
    EditPersonalHomePage = NewEdit(p, QStringLiteral("EditPersonalHomePage"));
    DTPBirthday = new QDateEdit(p);
    DTPBirthday->setObjectName(QStringLiteral("DTPBirthday"));
    DTPBirthday->setCalendarPopup(true);
    DTPBirthday->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    DTPBirthday->setMinimumDate(QDate(100, 1, 1));
    CBPersonalSex = NewCombo(p, QStringLiteral("CBPersonalSex"), false);
    // Item i is TThSex value i.
    CBPersonalSex->addItems({SexDisplayName(TThSex::tsNone), SexDisplayName(TThSex::tsMale),
                             SexDisplayName(TThSex::tsFemale)});
    EditPersonalAge = NewEdit(p, QStringLiteral("EditPersonalAge"));
    EditPersonalAge->setReadOnly(true);
    EditPersonalAge->setMaximumWidth(44);
    BtnPersonalZip = NewButton(p, QStringLiteral("BtnPersonalZip"), QStringLiteral("〒"));
    BtnPersonalAddress =
        NewButton(p, QStringLiteral("BtnPersonalAddress"), QStringLiteral("住所１"));
    BtnPersonalMail_1 =
        NewButton(p, QStringLiteral("BtnPersonalMail_1"), QStringLiteral("メール１"));
    BtnPersonalMail_2 =
        NewButton(p, QStringLiteral("BtnPersonalMail_2"), QStringLiteral("メール２"));
    for (QLineEdit* zip : {EditPersonalZip_1, EditPersonalZip_2}) zip->setMaximumWidth(56);

    auto* pg = new QGridLayout(p);
    pg->addWidget(BtnPersonalZip, 0, 0);
    pg->addLayout(
        Row({EditPersonalZip_1, new QLabel(QStringLiteral("-")), EditPersonalZip_2}, true), 0, 1);
    pg->addWidget(BtnPersonalAddress, 1, 0);
    pg->addWidget(EditPersonalAddress_1, 1, 1);
    pg->addWidget(Caption(QStringLiteral("住所２")), 2, 0);
    pg->addWidget(EditPersonalAddress_2, 2, 1);
    pg->addWidget(Caption(QStringLiteral("電話")), 3, 0);
    pg->addLayout(
        Row({EditPersonalTel_1, new QLabel(QStringLiteral("電話/FAX")), EditPersonalTel_2}), 3, 1);
    pg->addWidget(BtnPersonalMail_1, 4, 0);
    pg->addWidget(EditPersonalMail_1, 4, 1);
    pg->addWidget(BtnPersonalMail_2, 5, 0);
    pg->addWidget(EditPersonalMail_2, 5, 1);
    pg->addWidget(Caption(QStringLiteral("HP")), 6, 0);
    pg->addWidget(EditPersonalHomePage, 6, 1);
    pg->addWidget(Caption(QStringLiteral("生年月日")), 7, 0);
    pg->addLayout(Row({DTPBirthday, new QLabel(QStringLiteral("性別")), CBPersonalSex,
                       new QLabel(QStringLiteral("年齢")), EditPersonalAge},
                      true),
                  7, 1);
    pg->setRowStretch(8, 1);
    // Tab goes through the sheet as it reads, each button before its box;
    // created later, the buttons would otherwise come after every box.
    ChainTabOrder({BtnPersonalZip, EditPersonalZip_1, EditPersonalZip_2, BtnPersonalAddress,
                   EditPersonalAddress_1, EditPersonalAddress_2, EditPersonalTel_1,
                   EditPersonalTel_2, BtnPersonalMail_1, EditPersonalMail_1, BtnPersonalMail_2,
                   EditPersonalMail_2, EditPersonalHomePage, DTPBirthday, CBPersonalSex,
                   EditPersonalAge});

    QWidget* o = TabSheetOffice;
    EditOfficeKana = NewEdit(o, QStringLiteral("EditOfficeKana"));
    EditOfficeName = NewEdit(o, QStringLiteral("EditOfficeName"));
    EditOfficePost = NewEdit(o, QStringLiteral("EditOfficePost"));
    EditOfficialPosition = NewEdit(o, QStringLiteral("EditOfficialPosition"));
    EditOfficeZip_1 = NewEdit(o, QStringLiteral("EditOfficeZip_1"), 3);
    EditOfficeZip_2 = NewEdit(o, QStringLiteral("EditOfficeZip_2"), 4);
    EditOfficeAddress_1 = NewEdit(o, QStringLiteral("EditOfficeAddress_1"));
    EditOfficeAddress_2 = NewEdit(o, QStringLiteral("EditOfficeAddress_2"));
    EditOfficeTel_1 = NewEdit(o, QStringLiteral("EditOfficeTel_1"));
    EditOfficeTel_2 = NewEdit(o, QStringLiteral("EditOfficeTel_2"));
    EditOfficeMail_1 = NewEdit(o, QStringLiteral("EditOfficeMail_1"));
    EditOfficeMail_2 = NewEdit(o, QStringLiteral("EditOfficeMail_2"));
    EditOfficeHomePage = NewEdit(o, QStringLiteral("EditOfficeHomePage"));
    BtnOfficeZip = NewButton(o, QStringLiteral("BtnOfficeZip"), QStringLiteral("〒"));
    BtnOfficeAddress = NewButton(o, QStringLiteral("BtnOfficeAddress"), QStringLiteral("住所1"));
    BtnOfficeMail_1 = NewButton(o, QStringLiteral("BtnOfficeMail_1"), QStringLiteral("メール１"));
    BtnOfficeMail_2 = NewButton(o, QStringLiteral("BtnOfficeMail_2"), QStringLiteral("メール２"));
    BtnSendMail =
        NewButton(o, QStringLiteral("BtnSendMail"), QStringLiteral("選択中の会社情報をメール送信"));
    for (QLineEdit* zip : {EditOfficeZip_1, EditOfficeZip_2}) zip->setMaximumWidth(56);

    auto* og = new QGridLayout(o);
    og->addWidget(Caption(QStringLiteral("フリガナ")), 0, 0);
    og->addWidget(EditOfficeKana, 0, 1);
    og->addWidget(Caption(QStringLiteral("会社名")), 1, 0);
    og->addWidget(EditOfficeName, 1, 1);
    og->addWidget(Caption(QStringLiteral("部署")), 2, 0);
    og->addLayout(Row({EditOfficePost, new QLabel(QStringLiteral("役職")), EditOfficialPosition}),
                  2, 1);
    og->addWidget(BtnOfficeZip, 3, 0);
    og->addLayout(Row({EditOfficeZip_1, new QLabel(QStringLiteral("-")), EditOfficeZip_2}, true), 3,
                  1);
    og->addWidget(BtnOfficeAddress, 4, 0);
    og->addWidget(EditOfficeAddress_1, 4, 1);
    og->addWidget(Caption(QStringLiteral("住所２")), 5, 0);
    og->addWidget(EditOfficeAddress_2, 5, 1);
    og->addWidget(Caption(QStringLiteral("電話")), 6, 0);
    og->addLayout(Row({EditOfficeTel_1, new QLabel(QStringLiteral("電話/FAX")), EditOfficeTel_2}),
                  6, 1);
    og->addWidget(BtnOfficeMail_1, 7, 0);
    og->addWidget(EditOfficeMail_1, 7, 1);
    og->addWidget(BtnOfficeMail_2, 8, 0);
    og->addWidget(EditOfficeMail_2, 8, 1);
    og->addWidget(Caption(QStringLiteral("HP")), 9, 0);
    og->addWidget(EditOfficeHomePage, 9, 1);
    og->addWidget(BtnSendMail, 10, 1, Qt::AlignRight);
    og->setRowStretch(11, 1);
    ChainTabOrder({EditOfficeKana, EditOfficeName, EditOfficePost, EditOfficialPosition,
                   BtnOfficeZip, EditOfficeZip_1, EditOfficeZip_2, BtnOfficeAddress,
                   EditOfficeAddress_1, EditOfficeAddress_2, EditOfficeTel_1, EditOfficeTel_2,
                   BtnOfficeMail_1, EditOfficeMail_1, BtnOfficeMail_2, EditOfficeMail_2,
                   EditOfficeHomePage, BtnSendMail});

    auto* joint = new QGroupBox(QStringLiteral("連名"), this);
    auto* jg = new QGridLayout(joint);
    const QString digits = QStringLiteral("１２３４");
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        CBJointName[i] = new QCheckBox(QStringLiteral("連名") + digits[i], joint);
        CBJointName[i]->setObjectName(QStringLiteral("CBJointName_") + n);
        EditJointName[i] = NewEdit(joint, QStringLiteral("EditJointName_") + n);
        CBJointNameTitle[i] = NewCombo(joint, QStringLiteral("CBJointNameTitle_") + n);
        CBJointNameTitle[i]->setMinimumWidth(70);
        jg->addWidget(CBJointName[i], i / 2, (i % 2) * 3);
        jg->addWidget(EditJointName[i], i / 2, (i % 2) * 3 + 1);
        jg->addWidget(CBJointNameTitle[i], i / 2, (i % 2) * 3 + 2);
    }

    MemoRemarks = new QPlainTextEdit(this);
    MemoRemarks->setObjectName(QStringLiteral("MemoRemarks"));
    MemoRemarks->setFixedHeight(52);
    CBCategory_1 = NewCombo(this, QStringLiteral("CBCategory_1"));
    CBCategory_2 = NewCombo(this, QStringLiteral("CBCategory_2"));
    for (int i = 0; i < 4; ++i)
        EditInsertStr[i] = NewEdit(this, QStringLiteral("EditInsertStr_%1").arg(i + 1));
    EditRegistDate = NewEdit(this, QStringLiteral("EditRegistDate"));
    EditRegistDate->setReadOnly(true);
    EditRegistDate->setMaximumWidth(100);
    BtnDel = NewButton(this, QStringLiteral("BtnDel"), QStringLiteral("削除"));

    auto* other = new QGridLayout;
    other->addWidget(Caption(QStringLiteral("分類１")), 0, 0);
    other->addWidget(CBCategory_1, 0, 1);
    other->addWidget(Caption(QStringLiteral("分類２")), 0, 2);
    other->addWidget(CBCategory_2, 0, 3);
    for (int i = 0; i < 4; ++i) {
        other->addWidget(Caption(QStringLiteral("差込") + digits[i]), 1 + i / 2, (i % 2) * 2);
        other->addWidget(EditInsertStr[i], 1 + i / 2, (i % 2) * 2 + 1);
    }
    other->addWidget(Caption(QStringLiteral("備考")), 3, 0, Qt::AlignRight | Qt::AlignTop);
    other->addWidget(MemoRemarks, 3, 1, 1, 3);
    other->addWidget(Caption(QStringLiteral("登録日")), 4, 0);
    other->addLayout(Row({EditRegistDate}, true), 4, 1);
    other->addWidget(BtnDel, 4, 3, Qt::AlignRight);

    GBImage = new QGroupBox(QStringLiteral("画像"), this);
    GBImage->setObjectName(QStringLiteral("GBImage"));
    Img1 = new QLabel(GBImage);
    Img1->setObjectName(QStringLiteral("Img1"));
    Img1->setFixedSize(kImageSize);
    Img1->setAlignment(Qt::AlignCenter);
    Img1->setFrameShape(QFrame::StyledPanel);
    BtnImg_1_Load = NewButton(GBImage, QStringLiteral("BtnImg_1_Load"), QStringLiteral("読込"));
    BtnImg_1_Clear = NewButton(GBImage, QStringLiteral("BtnImg_1_Clear"), QStringLiteral("削除"));
    auto* ig = new QVBoxLayout(GBImage);
    ig->addWidget(Img1);
    ig->addLayout(Row({BtnImg_1_Load, BtnImg_1_Clear}));

    GBHistory = new QGroupBox(QStringLiteral("履歴"), this);
    GBHistory->setObjectName(QStringLiteral("GBHistory"));
    LVHistory = new QTableWidget(0, 3, GBHistory);
    LVHistory->setObjectName(QStringLiteral("LVHistory"));
    LVHistory->setHorizontalHeaderLabels(
        {QStringLiteral("日付"), QStringLiteral("項目"), QStringLiteral("内容")});
    LVHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    LVHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVHistory->verticalHeader()->setVisible(false);
    LVHistory->verticalHeader()->setDefaultSectionSize(LVHistory->fontMetrics().height() + 4);
    LVHistory->horizontalHeader()->setStretchLastSection(true);
    LVHistory->setColumnWidth(0, 80);
    LVHistory->setColumnWidth(1, 70);
    LVHistory->setWordWrap(false);
    BtnHistoryAdd = NewButton(GBHistory, QStringLiteral("BtnHistoryAdd"), QStringLiteral("登録"));
    BtnHistoryEdit = NewButton(GBHistory, QStringLiteral("BtnHistoryEdit"), QStringLiteral("編集"));
    BtnHistoryDel = NewButton(GBHistory, QStringLiteral("BtnHistoryDel"), QStringLiteral("削除"));
    auto* hg = new QVBoxLayout(GBHistory);
    hg->addWidget(LVHistory, 1);
    auto* hb = Row({BtnHistoryAdd, BtnHistoryEdit, BtnHistoryDel});
    hb->insertStretch(0);
    hg->addLayout(hb);

    auto* top = new QGridLayout;
    top->addWidget(Caption(QStringLiteral("フリガナ")), 0, 0);
    top->addWidget(EditPersonalKana_1, 0, 1);
    top->addWidget(EditPersonalKana_2, 0, 2);
    top->addWidget(CBPrintCheck, 0, 3);
    top->addWidget(Caption(QStringLiteral("名前")), 1, 0);
    top->addWidget(EditPersonalName_1, 1, 1);
    top->addWidget(EditPersonalName_2, 1, 2);
    top->addWidget(CBPerSonalHonorificTitle, 1, 3);
    top->addWidget(Caption(QStringLiteral("印刷面:")), 2, 0);
    top->addLayout(Row({RBPrintSidePersonal, RBPrintSideOffice}, true), 2, 1, 1, 3);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(GBImage);
    bottom->addWidget(GBHistory, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(PGPrintType);
    layout->addWidget(joint);
    layout->addLayout(other);
    layout->addLayout(bottom, 1);

    // A change in a control writes its own field at once; the control is
    // noted so that a run of changes in one field is one undo step.
    RegisterWriters();
    auto store = [this](const QObject* control) {
        return [this, control] { StoreControl(control); };
    };
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(e->parentWidget())) continue;  // the combos report their own
        if (qobject_cast<QDateEdit*>(e->parentWidget())) continue;
        if (writers_.contains(e)) connect(e, &QLineEdit::textChanged, this, store(e));
    }
    for (QComboBox* c : findChildren<QComboBox*>()) {
        if (c->isEditable())
            connect(c, &QComboBox::editTextChanged, this, store(c));
        else
            connect(c, &QComboBox::currentIndexChanged, this, store(c));
    }
    for (QCheckBox* c : findChildren<QCheckBox*>()) connect(c, &QCheckBox::toggled, this, store(c));
    // The card marks are history entries, not fields: they store themselves,
    // and each tick is one undo step.
    SeasonMarks = new TSeasonMarksWidget(current_, this);
    layout->insertWidget(layout->count() - 1, SeasonMarks);
    connect(SeasonMarks, &TSeasonMarksWidget::MarksAboutToChange, this, [this] { BeginChange(); });
    connect(SeasonMarks, &TSeasonMarksWidget::MarksChanged, this, [this] { EndChange(nullptr); });
    connect(MemoRemarks, &QPlainTextEdit::textChanged, this, store(MemoRemarks));
    connect(DTPBirthday, &QDateEdit::dateChanged, this, store(DTPBirthday));
    // Either button's change is the side's change; the other one follows.
    connect(RBPrintSidePersonal, &QRadioButton::toggled, this, store(RBPrintSidePersonal));

    // Enter in a postal box looks the code up, as the 〒 button does.
    for (QLineEdit* zip : {EditPersonalZip_1, EditPersonalZip_2})
        connect(zip, &QLineEdit::returnPressed, this, [this] { ZipButtonClick(1); });
    for (QLineEdit* zip : {EditOfficeZip_1, EditOfficeZip_2})
        connect(zip, &QLineEdit::returnPressed, this, [this] { ZipButtonClick(2); });
    connect(BtnPersonalZip, &QPushButton::clicked, this, [this] { ZipButtonClick(1); });
    connect(BtnOfficeZip, &QPushButton::clicked, this, [this] { ZipButtonClick(2); });
    connect(BtnPersonalAddress, &QPushButton::clicked, this, [this] { AddressButtonClick(1); });
    connect(BtnOfficeAddress, &QPushButton::clicked, this, [this] { AddressButtonClick(2); });
    connect(BtnPersonalMail_1, &QPushButton::clicked, this, [this] { MailButtonClick(1); });
    connect(BtnPersonalMail_2, &QPushButton::clicked, this, [this] { MailButtonClick(2); });
    connect(BtnOfficeMail_1, &QPushButton::clicked, this, [this] { MailButtonClick(3); });
    connect(BtnOfficeMail_2, &QPushButton::clicked, this, [this] { MailButtonClick(4); });
    connect(BtnSendMail, &QPushButton::clicked, this, &TRecordEditor::BtnSendMailClick);
    connect(BtnDel, &QPushButton::clicked, this, &TRecordEditor::DeleteRequested);
    connect(BtnHistoryAdd, &QPushButton::clicked, this, &TRecordEditor::BtnHistoryAddClick);
    connect(BtnHistoryEdit, &QPushButton::clicked, this, &TRecordEditor::BtnHistoryEditClick);
    connect(BtnHistoryDel, &QPushButton::clicked, this, &TRecordEditor::BtnHistoryDelClick);
    connect(BtnImg_1_Load, &QPushButton::clicked, this, &TRecordEditor::BtnImg_1_LoadClick);
    connect(BtnImg_1_Clear, &QPushButton::clicked, this, &TRecordEditor::BtnImg_1_ClearClick);
    connect(LVHistory, &QTableWidget::itemSelectionChanged, this,
            &TRecordEditor::UpdateHistoryButtons);
}

void TRecordEditor::SetDialogs(TFormSearchZip* searchZip, TFormEditHistory* editHistory) {
    searchZip_ = searchZip;
    editHistory_ = editHistory;
}

void TRecordEditor::SetListItems(const QStringList& nameTitles, const QStringList& category1,
                                 const QStringList& category2) {
    const bool was = filling_;
    filling_ = true;
    for (QComboBox* c : {CBPerSonalHonorificTitle, CBJointNameTitle[0], CBJointNameTitle[1],
                         CBJointNameTitle[2], CBJointNameTitle[3]}) {
        const QString text = c->currentText();
        c->clear();
        c->addItems(nameTitles);
        c->setEditText(text);
    }
    for (auto [c, items] :
         {std::pair{CBCategory_1, &category1}, std::pair{CBCategory_2, &category2}}) {
        const QString text = c->currentText();
        c->clear();
        c->addItems(*items);
        c->setEditText(text);
    }
    filling_ = was;
}

void TRecordEditor::ClearInputArea() {
    const bool was = filling_;
    filling_ = true;
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(e->parentWidget()) ||
            qobject_cast<QDateEdit*>(e->parentWidget()))
            continue;
        e->clear();
    }
    MemoRemarks->clear();
    for (QComboBox* c : {CBPerSonalHonorificTitle, CBPersonalSex, CBJointNameTitle[0],
                         CBJointNameTitle[1], CBJointNameTitle[2], CBJointNameTitle[3]}) {
        c->setCurrentIndex(c->count() > 0 ? 0 : -1);
        if (c->count() == 0 && c->isEditable()) c->setEditText(QString());
    }
    CBPrintCheck->setChecked(false);
    for (QCheckBox* c : CBJointName) c->setChecked(false);
    RBPrintSidePersonal->setChecked(true);
    PGPrintType->setCurrentWidget(TabSheetPersonal);
    shownRecord_ = nullptr;
    DTPBirthday->setDate(Today());
    for (QComboBox* c : {CBCategory_1, CBCategory_2}) {
        c->setCurrentIndex(c->count() > 0 ? 0 : -1);
        c->setEditText(QString());
    }
    picture_ = TPicture();
    ShowPicture();
    LVHistory->clearContents();
    LVHistory->setRowCount(0);
    SeasonMarks->Clear();
    filling_ = was;
    UpdateHistoryButtons();
}

void TRecordEditor::SetInputArea(bool enabled) {
    enabled_ = enabled;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w == EditPersonalAge || w == Img1) continue;
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QCheckBox*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
            qobject_cast<QDateEdit*>(w) || qobject_cast<QPushButton*>(w) ||
            qobject_cast<QTableWidget*>(w) || qobject_cast<QTabWidget*>(w) ||
            qobject_cast<QRadioButton*>(w)) {
            // Only the controls themselves, not the parts they are made of.
            if (qobject_cast<QComboBox*>(w->parentWidget()) ||
                qobject_cast<QDateEdit*>(w->parentWidget()))
                continue;
            w->setEnabled(enabled);
        }
    }
    UpdateHistoryButtons();
    UpdateImageButtons();
}

void TRecordEditor::ShowRecord() {
    if (!current_) return;
    const TUserInfo& r = *current_;
    const bool was = filling_;
    filling_ = true;
    Show(EditPersonalKana_1, r.PerSonalKana_1);
    Show(EditPersonalKana_2, r.PerSonalKana_2);
    Show(EditPersonalName_1, r.PerSonalName_1);
    Show(EditPersonalName_2, r.PerSonalName_2);
    Show(CBPerSonalHonorificTitle, r.PerSonalHonorificTitle);
    CBPrintCheck->setChecked(r.CommonPrintCheck);
    (r.CommonUseTypePersonal ? RBPrintSidePersonal : RBPrintSideOffice)->setChecked(true);
    // A record newly shown opens on the side it prints; showing it again
    // after a change leaves the page the user turned to.
    if (current_ != shownRecord_)
        PGPrintType->setCurrentWidget(r.CommonUseTypePersonal ? TabSheetPersonal : TabSheetOffice);
    shownRecord_ = current_;
    Show(EditPersonalZip_1, r.PerSonalZip_1);
    Show(EditPersonalZip_2, r.PerSonalZip_2);
    Show(EditPersonalAddress_1, r.PerSonalAddress_1);
    Show(EditPersonalAddress_2, r.PerSonalAddress_2);
    Show(EditPersonalTel_1, r.PerSonalTel_1);
    Show(EditPersonalTel_2, r.PerSonalTel_2);
    Show(EditPersonalMail_1, r.PerSonalMail_1);
    Show(EditPersonalMail_2, r.PerSonalMail_2);
    Show(EditPersonalHomePage, r.PerSonalHomePage);
    if (DTPBirthday->date() != r.CommonBirthday.date())
        DTPBirthday->setDate(r.CommonBirthday.date());
    CBPersonalSex->setCurrentIndex(std::clamp(int(r.PersonalSex), 0, 2));
    Show(EditOfficeKana, r.OfficeKana);
    Show(EditOfficeName, r.OfficeName);
    Show(EditOfficeZip_1, r.OfficeZip_1);
    Show(EditOfficeZip_2, r.OfficeZip_2);
    Show(EditOfficeAddress_1, r.OfficeAddress_1);
    Show(EditOfficeAddress_2, r.OfficeAddress_2);
    Show(EditOfficeTel_1, r.OfficeTel_1);
    Show(EditOfficeTel_2, r.OfficeTel_2);
    Show(EditOfficeMail_1, r.OfficeMail_1);
    Show(EditOfficeMail_2, r.OfficeMail_2);
    Show(EditOfficeHomePage, r.OfficeHomePage);
    Show(EditOfficePost, r.OfficePost);
    Show(EditOfficialPosition, r.OfficeOfficialPosition);
    for (int i = 0; i < 4; ++i) {
        const TJointNameObject& j = r.JointName(i);
        CBJointName[i]->setChecked(j.PrintData);
        Show(EditJointName[i], j.PrintName);
        Show(CBJointNameTitle[i], j.HonorificTitle);
    }
    if (MemoRemarks->toPlainText() != r.CommonMemo) MemoRemarks->setPlainText(r.CommonMemo);
    Show(CBCategory_1, r.CommonCategory_1);
    Show(CBCategory_2, r.CommonCategory_2);
    Show(EditInsertStr[0], r.CommonInsertStr_1);
    Show(EditInsertStr[1], r.CommonInsertStr_2);
    Show(EditInsertStr[2], r.CommonInsertStr_3);
    Show(EditInsertStr[3], r.CommonInsertStr_4);
    Show(EditRegistDate, FormatDate(r.CommonRegistDate.date()));
    picture_ = r.CommonImg_1;
    ShowPicture();
    Show(EditPersonalAge, r.PersonalAgeText());
    filling_ = was;
    RefreshHistoryList();
    shown_ = r;
}

void TRecordEditor::RegisterWriters() {
    const auto text = [this](QLineEdit* e, QString TUserInfo::*field) {
        writers_.insert(e, [e, field](TUserInfo& r) { r.*field = e->text(); });
    };
    const auto combo = [this](QComboBox* c, QString TUserInfo::*field) {
        writers_.insert(c, [c, field](TUserInfo& r) { r.*field = c->currentText(); });
    };
    text(EditPersonalKana_1, &TUserInfo::PerSonalKana_1);
    text(EditPersonalKana_2, &TUserInfo::PerSonalKana_2);
    text(EditPersonalName_1, &TUserInfo::PerSonalName_1);
    text(EditPersonalName_2, &TUserInfo::PerSonalName_2);
    combo(CBPerSonalHonorificTitle, &TUserInfo::PerSonalHonorificTitle);
    writers_.insert(CBPrintCheck,
                    [this](TUserInfo& r) { r.CommonPrintCheck = CBPrintCheck->isChecked(); });
    writers_.insert(RBPrintSidePersonal, [this](TUserInfo& r) {
        r.CommonUseTypePersonal = RBPrintSidePersonal->isChecked();
    });
    text(EditPersonalZip_1, &TUserInfo::PerSonalZip_1);
    text(EditPersonalZip_2, &TUserInfo::PerSonalZip_2);
    text(EditPersonalAddress_1, &TUserInfo::PerSonalAddress_1);
    text(EditPersonalAddress_2, &TUserInfo::PerSonalAddress_2);
    text(EditPersonalTel_1, &TUserInfo::PerSonalTel_1);
    text(EditPersonalTel_2, &TUserInfo::PerSonalTel_2);
    text(EditPersonalMail_1, &TUserInfo::PerSonalMail_1);
    text(EditPersonalMail_2, &TUserInfo::PerSonalMail_2);
    text(EditPersonalHomePage, &TUserInfo::PerSonalHomePage);
    writers_.insert(DTPBirthday, [this](TUserInfo& r) {
        // The picker shows days only: the time of day the record holds stays.
        if (DTPBirthday->date() != r.CommonBirthday.date())
            r.CommonBirthday = MakeDateTime(DTPBirthday->date(), r.CommonBirthday.time());
    });
    writers_.insert(CBPersonalSex, [this](TUserInfo& r) {
        r.PersonalSex = static_cast<TThSex>(std::max(0, CBPersonalSex->currentIndex()));
    });
    text(EditOfficeKana, &TUserInfo::OfficeKana);
    text(EditOfficeName, &TUserInfo::OfficeName);
    text(EditOfficeZip_1, &TUserInfo::OfficeZip_1);
    text(EditOfficeZip_2, &TUserInfo::OfficeZip_2);
    text(EditOfficeAddress_1, &TUserInfo::OfficeAddress_1);
    text(EditOfficeAddress_2, &TUserInfo::OfficeAddress_2);
    text(EditOfficeTel_1, &TUserInfo::OfficeTel_1);
    text(EditOfficeTel_2, &TUserInfo::OfficeTel_2);
    text(EditOfficeMail_1, &TUserInfo::OfficeMail_1);
    text(EditOfficeMail_2, &TUserInfo::OfficeMail_2);
    text(EditOfficeHomePage, &TUserInfo::OfficeHomePage);
    text(EditOfficePost, &TUserInfo::OfficePost);
    text(EditOfficialPosition, &TUserInfo::OfficeOfficialPosition);
    for (int i = 0; i < 4; ++i) {
        QCheckBox* print = CBJointName[i];
        QLineEdit* name = EditJointName[i];
        QComboBox* title = CBJointNameTitle[i];
        writers_.insert(
            print, [i, print](TUserInfo& r) { r.JointName(i).PrintData = print->isChecked(); });
        writers_.insert(name, [i, name](TUserInfo& r) { r.JointName(i).PrintName = name->text(); });
        writers_.insert(title, [i, title](TUserInfo& r) {
            r.JointName(i).HonorificTitle = title->currentText();
        });
    }
    writers_.insert(MemoRemarks,
                    [this](TUserInfo& r) { r.CommonMemo = MemoRemarks->toPlainText(); });
    combo(CBCategory_1, &TUserInfo::CommonCategory_1);
    combo(CBCategory_2, &TUserInfo::CommonCategory_2);
    text(EditInsertStr[0], &TUserInfo::CommonInsertStr_1);
    text(EditInsertStr[1], &TUserInfo::CommonInsertStr_2);
    text(EditInsertStr[2], &TUserInfo::CommonInsertStr_3);
    text(EditInsertStr[3], &TUserInfo::CommonInsertStr_4);
}

void TRecordEditor::StoreControl(const QObject* control) {
    if (filling_ || !current_ || !enabled_) return;
    const auto it = writers_.constFind(control);
    if (it != writers_.constEnd()) Change(control, *it);
}

void TRecordEditor::Change(const QObject* control, const FieldWriter& write) {
    if (!current_) return;
    BeginChange();
    write(*current_);
    EndChange(control);
}

void TRecordEditor::BeginChange() {
    if (!current_) return;
    stale_ = !(*current_ == shown_);
    before_ = *current_;
}

void TRecordEditor::EndChange(const QObject* control) {
    if (!current_) return;
    lastControl_ = control;
    if (stale_) {
        ShowRecord();
    } else {
        if (!(before_.CommonHistoryObjectList == current_->CommonHistoryObjectList))
            RefreshHistoryList();
        shown_ = *current_;
    }
    stale_ = false;
    EditPersonalAge->setText(current_->PersonalAgeText());
    UpdateImageButtons();
    emit RecordChanged();
}

void TRecordEditor::UpdateImageButtons() {
    BtnImg_1_Clear->setEnabled(BtnImg_1_Load->isEnabled() && !picture_.IsEmpty());
}

void TRecordEditor::ShowPicture() {
    if (picture_.IsEmpty()) {
        Img1->clear();
        return;
    }
    QImage image;
    if (picture_.Kind != TPictureKind::Metafile && !picture_.Undecodable)
        image.loadFromData(picture_.Data);
    if (image.isNull()) {
        Img1->setPixmap(Placeholder(picture_.Kind == TPictureKind::Metafile
                                        ? QStringLiteral("メタファイル\n（表示できません）")
                                        : QStringLiteral("表示できない画像")));
        return;
    }
    Img1->setPixmap(QPixmap::fromImage(
        image.scaled(kImageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool TRecordEditor::LoadPicture(const QString& path) {
    const PictureFileKind kind = KindOfFile(path);
    const QString name = QFileInfo(path).fileName();
    if (kind.Kind == TPictureKind::None) {
        GetPrompter().Inform(
            QStringLiteral("「%1」は読み込める画像ファイルではありません").arg(name));
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        GetPrompter().Inform(QStringLiteral("画像ファイル「%1」を開けません").arg(name));
        return false;
    }
    const QByteArray data = f.readAll();
    // A metafile cannot be drawn here, so it is only checked for content.
    const bool readable =
        kind.Format ? !QImage::fromData(data, kind.Format).isNull() : !data.isEmpty();
    if (!readable) {
        GetPrompter().Inform(
            QStringLiteral("画像ファイル「%1」は壊れているか形式が違うため読み込めません")
                .arg(name));
        return false;
    }
    picture_ = TPicture{kind.Kind, data, false};
    ShowPicture();
    if (enabled_) Change(nullptr, [this](TUserInfo& r) { r.CommonImg_1 = picture_; });
    return true;
}

void TRecordEditor::BtnImg_1_LoadClick() {
    const QString path = GetDialogRunner().OpenFileName(
        window(), {QStringLiteral("画像の読込"), QString(), QString(), kPictureFilter, QString()});
    if (!path.isEmpty()) LoadPicture(path);
}

void TRecordEditor::BtnImg_1_ClearClick() {
    if (!GetPrompter().Ask(QStringLiteral("画像を削除しますか？"))) return;
    picture_ = TPicture();
    ShowPicture();
    if (enabled_) Change(nullptr, [](TUserInfo& r) { r.CommonImg_1 = TPicture(); });
}

void TRecordEditor::ZipButtonClick(int tag) {
    if (!searchZip_) return;
    QLineEdit* zip1 = tag == 1 ? EditPersonalZip_1 : EditOfficeZip_1;
    QLineEdit* zip2 = tag == 1 ? EditPersonalZip_2 : EditOfficeZip_2;
    QLineEdit* address = tag == 1 ? EditPersonalAddress_1 : EditOfficeAddress_1;
    QString upper = zip1->text(), lower = zip2->text(), text = address->text();
    if (!searchZip_->Execute(upper, lower, false, text)) return;
    zip1->setText(upper);
    zip2->setText(lower);
    address->setText(text);
}

void TRecordEditor::AddressButtonClick(int tag) {
    if (!searchZip_) return;
    QLineEdit* zip1 = tag == 1 ? EditPersonalZip_1 : EditOfficeZip_1;
    QLineEdit* zip2 = tag == 1 ? EditPersonalZip_2 : EditOfficeZip_2;
    QLineEdit* address = tag == 1 ? EditPersonalAddress_1 : EditOfficeAddress_1;
    QString upper = zip1->text(), lower = zip2->text(), text = address->text();
    if (!searchZip_->Execute(upper, lower, true, text)) return;
    zip1->setText(upper);
    zip2->setText(lower);
    address->setText(text);
}

void TRecordEditor::OpenMailer(const QString& address) {
    OpenUrlText(QStringLiteral("mailto:") + MailtoAddress(address));
}

void TRecordEditor::MailButtonClick(int tag) {
    const QLineEdit* boxes[] = {EditPersonalMail_1, EditPersonalMail_2, EditOfficeMail_1,
                                EditOfficeMail_2};
    if (tag >= 1 && tag <= 4) OpenMailer(boxes[tag - 1]->text());
}

QString TRecordEditor::SendMailUrl(const TUserInfo& r) const {
    const QString crlf = QStringLiteral("%0D%0A");
    // The record's texts may hold "&", "#" or "%", which would end or break
    // the subject and body: they are escaped, the rest is left readable.
    const auto t = [](const QString& text) { return MailtoText(text); };
    return QStringLiteral("mailto:") + MailtoAddress(mailConfig_.SenderMailAddress) +
           QStringLiteral("?Subject=") + t(r.PersonalFullName()) + QLatin1Char(' ') +
           t(r.PerSonalHonorificTitle) + QStringLiteral("の情報&Body=") +
           QStringLiteral("名前：") + t(r.PersonalFullName()) + crlf + crlf +
           QStringLiteral("会社名：") + t(r.OfficeName) + crlf + QStringLiteral("部署：") +
           t(r.OfficePost) + crlf + QStringLiteral("役職：") + t(r.OfficeOfficialPosition) + crlf +
           crlf + QStringLiteral("〒：") + t(r.OfficeFullZip()) + crlf + QStringLiteral("住所：") +
           t(r.OfficeAddress_1 + r.OfficeAddress_2) + crlf + QStringLiteral("電話：") +
           t(r.OfficeTel_1) + crlf + QStringLiteral("電話/FAX：") + t(r.OfficeTel_2) + crlf +
           QStringLiteral("メール１：") + t(r.OfficeMail_1) + crlf + QStringLiteral("メール２：") +
           t(r.OfficeMail_2) + crlf + QStringLiteral("HP：") + t(r.OfficeHomePage) + crlf;
}

void TRecordEditor::BtnSendMailClick() {
    if (current_) OpenUrlText(SendMailUrl(*current_));
}

int TRecordEditor::SelectedHistoryRow() const {
    const QList<QTableWidgetSelectionRange> ranges = LVHistory->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void TRecordEditor::UpdateHistoryButtons() {
    const bool on = enabled_ && SelectedHistoryRow() >= 0;
    BtnHistoryEdit->setEnabled(on);
    BtnHistoryDel->setEnabled(on);
}

void TRecordEditor::RefreshHistoryList() {
    const int remembered = SelectedHistoryRow();
    {
        const QSignalBlocker quiet(LVHistory);
        LVHistory->clearContents();
        LVHistory->setRowCount(0);
    }
    if (current_) {
        THistoryObjectList& list = current_->CommonHistoryObjectList;
        list.Sort([](const THistoryObject& a, const THistoryObject& b) {
            return FormatDate(a.HistoryDate) > FormatDate(b.HistoryDate);
        });
        const QSignalBlocker quiet(LVHistory);
        LVHistory->setRowCount(list.Count());
        for (int i = 0; i < list.Count(); ++i) {
            const THistoryObject& h = list.Item(i);
            LVHistory->setItem(i, 0, new QTableWidgetItem(FormatDate(h.HistoryDate)));
            LVHistory->setItem(i, 1, new QTableWidgetItem(h.HistoryTitle));
            LVHistory->setItem(i, 2, new QTableWidgetItem(h.HistoryContent));
        }
        if (remembered >= 0 && remembered < list.Count()) LVHistory->selectRow(remembered);
    }
    SeasonMarks->ShowRecord();
    UpdateHistoryButtons();
}

void TRecordEditor::BtnHistoryAddClick() {
    if (!current_ || !editHistory_) return;
    THistoryObject entry{Today(), QString(), QString()};
    if (!editHistory_->Execute(entry, QStringLiteral("履歴追加"))) return;
    Change(nullptr, [&entry](TUserInfo& r) { r.CommonHistoryObjectList.Add(entry); });
}

void TRecordEditor::BtnHistoryEditClick() {
    const int row = SelectedHistoryRow();
    if (!current_ || !editHistory_ || row < 0 || row >= current_->CommonHistoryObjectList.Count())
        return;
    THistoryObject copy = current_->CommonHistoryObjectList.Item(row);
    if (!editHistory_->Execute(copy, QStringLiteral("履歴編集"))) return;
    Change(nullptr, [row, &copy](TUserInfo& r) {
        r.CommonHistoryObjectList.Delete(row);
        r.CommonHistoryObjectList.Add(copy);
    });
}

void TRecordEditor::BtnHistoryDelClick() {
    const int row = SelectedHistoryRow();
    if (!current_ || row < 0 || row >= current_->CommonHistoryObjectList.Count()) return;
    if (!GetPrompter().Ask(QStringLiteral("選択中の履歴を削除しますか？"))) return;
    LVHistory->clearSelection();
    Change(nullptr, [row](TUserInfo& r) { r.CommonHistoryObjectList.Delete(row); });
}

}  // namespace q2
