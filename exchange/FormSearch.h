// The search dialog: five condition rows and the reading-row range; it
// answers for each record whether it is a hit.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "exchange/SearchConditions.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace q2 {

class TFormSearch : public QDialog {
    Q_OBJECT
public:
    explicit TFormSearch(QWidget* parent = nullptr);

    // Runs the dialog modally; true when the search was started (OK).
    bool Execute();

    // The search predicate the address list filters by; reads the conditions
    // as the controls hold them now.
    bool Matches(const TUserInfo& record, int readingRow) const;

    void UpdateConditionComboBox(int row);  // row 0…4
    void BtnStartClick();
    void BtnCancelClick();
    bool FormCloseQuery();

    // The season the New Year's card conditions are about: the one chosen in
    // the main window. It starts as the coming New Year.
    void SetSeason(int season);
    int Season() const { return season_; }

    int SearchRange() const { return range_; }
    TSearchSettings Settings() const;

    std::array<QGroupBox*, kSearchRowCount> GroupBoxes;
    std::array<QCheckBox*, kSearchRowCount> CBUseCondition;
    std::array<QComboBox*, kSearchRowCount> CB_Topic1;  // topic
    std::array<QComboBox*, kSearchRowCount> CB_Topic2;  // operand
    std::array<QComboBox*, kSearchRowCount> CB_Topic3;  // operator
    // The ready conditions "昨年受け取った人", "昨年送った人", "今年喪中の人を除く".
    QGroupBox* GBSeason;
    std::array<QCheckBox*, 3> CBSeasonCondition;
    QGroupBox* GBSearchRange;
    // RBAll, RB_A … RB_WA, RB_ABC, RB_ETC: index = range number.
    std::array<QRadioButton*, 13> RangeButtons;
    QPushButton* BtnStart;
    QPushButton* BtnCancel;

protected:
    void reject() override;

private:
    void FormCreate();
    void Invalidate() { matcher_.reset(); }

    int range_ = kSearchRangeAll;
    int season_ = 0;
    bool cancelled_ = false;
    mutable std::optional<TSearchMatcher> matcher_;
};

}  // namespace q2
