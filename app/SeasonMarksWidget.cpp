// The season chooser and the editor's New Year's card check boxes.
#include "app/SeasonMarksWidget.h"

#include <QCheckBox>
#include <QHBoxLayout>

#include "platform/Clock.h"

namespace q2 {

TSeasonChooser::TSeasonChooser(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("CBSeason"));
    setToolTip(QStringLiteral("年賀状の記録と検索の対象にする年"));
    const int now = DefaultSeason(Today());
    // Newest first: the coming season, then the ten before it, and next year's.
    for (int s = now + 1; s >= now - 10; --s) addItem(SeasonCaption(s), s);
    setCurrentIndex(findData(now));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit SeasonChanged(Season()); });
}

int TSeasonChooser::Season() const {
    return currentData().toInt();
}

void TSeasonChooser::SetSeason(int season) {
    int i = findData(season);
    if (i < 0) {
        i = 0;
        while (i < count() && itemData(i).toInt() > season) ++i;
        insertItem(i, SeasonCaption(season), season);
    }
    setCurrentIndex(i);
}

TSeasonMarksWidget::TSeasonMarksWidget(TUserInfo* const& current, QWidget* parent)
    : QGroupBox(parent), current_(current) {
    setObjectName(QStringLiteral("GBSeasonMarks"));
    static const char* const names[] = {"CBSeasonSent", "CBSeasonReceived", "CBSeasonMourning"};
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    for (size_t i = 0; i < kSeasonMarks.size(); ++i) {
        const TSeasonMark mark = kSeasonMarks[i];
        auto* box = new QCheckBox(SeasonMarkCaption(mark), this);
        box->setObjectName(QLatin1String(names[i]));
        box->setToolTip(QStringLiteral("履歴に「%1」を記録します").arg(SeasonMarkTitle(mark)));
        row->addWidget(box);
        CBSeasonMark[i] = box;
        connect(box, &QCheckBox::toggled, this, [this, mark](bool on) {
            if (!filling_) SetMark(mark, on);
        });
    }
    row->addStretch();
    SetSeason(DefaultSeason(Today()));
}

void TSeasonMarksWidget::SetSeason(int season) {
    season_ = season;
    setTitle(SeasonCaption(season));
    ShowRecord();
}

void TSeasonMarksWidget::ShowRecord() {
    if (!current_) return Clear();
    filling_ = true;
    for (size_t i = 0; i < kSeasonMarks.size(); ++i)
        CBSeasonMark[i]->setChecked(HasSeasonMark(*current_, kSeasonMarks[i], season_));
    filling_ = false;
}

void TSeasonMarksWidget::Clear() {
    filling_ = true;
    for (QCheckBox* box : CBSeasonMark) box->setChecked(false);
    filling_ = false;
}

void TSeasonMarksWidget::SetMark(TSeasonMark mark, bool on) {
    if (!current_) return;
    emit MarksAboutToChange();
    if (SetSeasonMark(*current_, mark, season_, on, Today())) emit MarksChanged();
    ShowRecord();
}

}  // namespace q2
