// The search dialog.
#include "FormSearch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace q2 {

TFormSearch::TFormSearch(QWidget* parent) : QDialog(parent) {
    FormCreate();
}

void TFormSearch::FormCreate() {
    setObjectName("TFormSearch");
    setWindowTitle(QStringLiteral("検索"));
    auto* top = new QVBoxLayout(this);
    static const char* const groupNames[] = {"GroupBox1", "GroupBox3", "GroupBox4", "GroupBox5",
                                             "GroupBox6"};
    for (int i = 0; i < kSearchRowCount; ++i) {
        auto* g = new QGroupBox(this);
        g->setObjectName(groupNames[i]);
        GroupBoxes[i] = g;
        auto* use = new QCheckBox(QStringLiteral("検索条件%1を使用する").arg(i + 1), g);
        use->setObjectName(QStringLiteral("CBUseCondition_%1").arg(i + 1));
        auto* topic = new QComboBox(g);
        topic->setObjectName(QStringLiteral("CB_%1_Topic1").arg(i + 1));
        topic->addItems(SearchTopics());
        topic->setMaxVisibleItems(20);
        auto* ga = new QLabel(QStringLiteral("が"), g);
        ga->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        auto* operand = new QComboBox(g);
        operand->setObjectName(QStringLiteral("CB_%1_Topic2").arg(i + 1));
        operand->setEditable(true);
        operand->setInsertPolicy(QComboBox::NoInsert);
        operand->setMinimumWidth(180);
        auto* op = new QComboBox(g);
        op->setObjectName(QStringLiteral("CB_%1_Topic3").arg(i + 1));
        op->setMinimumContentsLength(9);
        auto* row = new QGridLayout(g);
        row->addWidget(use, 0, 0, 1, 4);
        row->addWidget(topic, 1, 0);
        row->addWidget(ga, 1, 1);
        row->addWidget(operand, 1, 2);
        row->addWidget(op, 1, 3);
        row->setColumnStretch(2, 1);
        top->addWidget(g);
        CBUseCondition[i] = use;
        CB_Topic1[i] = topic;
        CB_Topic2[i] = operand;
        CB_Topic3[i] = op;
        UpdateConditionComboBox(i);
        connect(topic, &QComboBox::currentIndexChanged, this,
                [this, i] { UpdateConditionComboBox(i); });
        connect(use, &QCheckBox::toggled, this, [this] { Invalidate(); });
        connect(operand, &QComboBox::currentTextChanged, this, [this] { Invalidate(); });
        connect(op, &QComboBox::currentTextChanged, this, [this] { Invalidate(); });
    }

    GBSeason = new QGroupBox(this);
    GBSeason->setObjectName("GBSeason");
    static const char* const seasonNames[] = {"CBReceivedLastSeason", "CBSentLastSeason",
                                              "CBExceptMourning"};
    auto* seasonRow = new QGridLayout(GBSeason);
    for (int i = 0; i < 3; ++i) {
        auto* b = new QCheckBox(SeasonConditionCaptions()[i], GBSeason);
        b->setObjectName(seasonNames[i]);
        seasonRow->addWidget(b, 0, i);
        CBSeasonCondition[i] = b;
        connect(b, &QCheckBox::toggled, this, [this] { Invalidate(); });
    }
    auto* either = new QLabel(QStringLiteral("昨年の2つを両方選ぶと、どちらかに当てはまる人を検索します"),
                              GBSeason);
    either->setObjectName("LblSeasonEither");
    seasonRow->addWidget(either, 1, 0, 1, 3);
    top->addWidget(GBSeason);
    SetSeason(DefaultSeason(Today()));

    GBSearchRange = new QGroupBox(QStringLiteral("検索範囲"), this);
    GBSearchRange->setObjectName("GBSearchRange");
    static const char* const names[] = {"RBAll", "RB_A",   "RB_KA", "RB_SA", "RB_TA",
                                        "RB_NA", "RB_HA",  "RB_MA", "RB_YA", "RB_RA",
                                        "RB_WA", "RB_ABC", "RB_ETC"};
    static const char16_t* const captions[] = {u"全",   u"ア行", u"カ行", u"サ行", u"タ行",
                                               u"ナ行", u"ハ行", u"マ行", u"ヤ行", u"ラ行",
                                               u"ワ行", u"AB",   u"他"};
    auto* ranges = new QGridLayout(GBSearchRange);
    for (int i = 0; i < 13; ++i) {
        auto* b = new QRadioButton(QString::fromUtf16(captions[i]), GBSearchRange);
        b->setObjectName(names[i]);
        ranges->addWidget(b, i / 7, i % 7);
        RangeButtons[i] = b;
    }
    RangeButtons[0]->setChecked(true);
    top->addWidget(GBSearchRange);

    BtnStart = new QPushButton(QStringLiteral("検索開始"), this);
    BtnStart->setObjectName("BtnStart");
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName("BtnCancel");
    BtnStart->setAutoDefault(false);
    BtnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnStart);
    buttons->addWidget(BtnCancel);
    top->addLayout(buttons);
    connect(BtnStart, &QPushButton::clicked, this, &TFormSearch::BtnStartClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormSearch::BtnCancelClick);
}

void TFormSearch::UpdateConditionComboBox(int row) {
    QComboBox* operand = CB_Topic2[row];
    QComboBox* op = CB_Topic3[row];
    operand->clear();
    operand->clearEditText();
    op->clear();
    const TSearchTopicChoices c = SearchTopicChoices(CB_Topic1[row]->currentIndex());
    // No input-method modes on this platform: the mode travels as a hint and
    // as a property an input method or a test can read.
    QLineEdit* edit = operand->lineEdit();
    switch (c.InputMode) {
        case OperandInputMode::Off:
            edit->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
            edit->setProperty("inputMode", "off");
            break;
        case OperandInputMode::Hiragana:
            edit->setInputMethodHints(Qt::ImhNone);
            edit->setProperty("inputMode", "hiragana");
            break;
        case OperandInputMode::FullKatakana:
            edit->setInputMethodHints(Qt::ImhNone);
            edit->setProperty("inputMode", "katakana");
            break;
        case OperandInputMode::Unchanged:
            break;
    }
    op->addItems(c.Operators);
    op->setCurrentIndex(0);
    operand->addItems(c.Suggestions);
    if (!c.Suggestions.isEmpty()) operand->setCurrentIndex(0);
    Invalidate();
}

TSearchSettings TFormSearch::Settings() const {
    TSearchSettings s;
    s.Range = range_;
    for (int i = 0; i < kSearchRowCount; ++i)
        s.Rows[i] = {CBUseCondition[i]->isChecked(), CB_Topic1[i]->currentIndex(),
                     CB_Topic2[i]->currentText(), CB_Topic3[i]->currentText()};
    s.Season = {CBSeasonCondition[0]->isChecked(), CBSeasonCondition[1]->isChecked(),
                CBSeasonCondition[2]->isChecked(), season_};
    return s;
}

bool TFormSearch::Matches(const TUserInfo& record, int readingRow) const {
    // The compiled conditions are dropped whenever a control changes.
    if (!matcher_) matcher_.emplace(Settings(), Today());
    return matcher_->Matches(record, readingRow);
}

void TFormSearch::BtnStartClick() {
    cancelled_ = false;
    range_ = kSearchRangeAll;
    for (int i = 0; i < 13; ++i)
        if (RangeButtons[i]->isChecked()) {
            range_ = i;
            break;
        }
    bool any = false;
    for (QCheckBox* b : CBUseCondition) any = any || b->isChecked();
    for (QCheckBox* b : CBSeasonCondition) any = any || b->isChecked();
    if (!any) range_ = kSearchRangeNone;
    Invalidate();
    if (FormCloseQuery()) accept();
}

void TFormSearch::BtnCancelClick() {
    reject();
}

void TFormSearch::reject() {
    // Escape and the window's close box count as Cancel, which always closes.
    cancelled_ = true;
    QDialog::reject();
}

bool TFormSearch::FormCloseQuery() {
    if (range_ == kSearchRangeNone && !cancelled_) {
        GetPrompter().Inform(QStringLiteral("検索条件を1つ以上選択してください"));
        return false;
    }
    return true;
}

void TFormSearch::SetSeason(int season) {
    season_ = season;
    GBSeason->setTitle(SeasonCaption(season));
    Invalidate();
}

bool TFormSearch::Execute() {
    const bool ok = exec() == QDialog::Accepted;
    Invalidate();
    return ok;
}

}  // namespace q2
