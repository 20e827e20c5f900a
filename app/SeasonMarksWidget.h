// The season chooser at the top of the main window, and the editor's row of
// New Year's card check boxes for the chosen season.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <array>

#include "model/NewYearSeason.h"

class QCheckBox;

namespace q2 {

// "2027年 年賀状" and the seasons around it; starts on the season of today.
class TSeasonChooser : public QComboBox {
    Q_OBJECT
public:
    explicit TSeasonChooser(QWidget* parent = nullptr);
    int Season() const;
    // A season outside the list is added to it.
    void SetSeason(int season);

signals:
    void SeasonChanged(int season);
};

class TSeasonMarksWidget : public QGroupBox {
    Q_OBJECT
public:
    // `current` is the main window's CurrentRecord, as for the editor.
    explicit TSeasonMarksWidget(TUserInfo* const& current, QWidget* parent = nullptr);

    void SetSeason(int season);
    int Season() const { return season_; }
    // The boxes from the current record; nothing is stored meanwhile.
    void ShowRecord();
    void Clear();
    // What a click on a box does: the history entry added or removed.
    void SetMark(TSeasonMark mark, bool on);

    // 送付, 受取, 喪中, in the order of kSeasonMarks.
    std::array<QCheckBox*, 3> CBSeasonMark;

signals:
    // Before a click writes into the current record, and after it did.
    void MarksAboutToChange();
    void MarksChanged();

private:
    TUserInfo* const& current_;
    int season_ = 0;
    bool filling_ = false;
};

}  // namespace q2
