// 住所録の確認: after new postal data, the book's addresses that no longer
// fit it, each with the changes the data suggests.
#pragma once

#include <QDialog>
#include <functional>

#include "zip/ZipReview.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace q2 {

class TFormZipReview : public QDialog {
    Q_OBJECT
public:
    // The book is lent for the dialog's lifetime; it is changed only by ApplyRow.
    explicit TFormZipReview(TUserInfoList& book, QWidget* parent = nullptr);

    // Reads the postal data and lists the findings; false when the data
    // cannot be read or nothing needs a look.
    bool Review(const QString& dataPath);
    // Asks whether to review the findings; true on Yes.
    bool Offer() const;
    const QList<TZipFinding>& Findings() const { return findings_; }

    // Writes the suggestion chosen in the row into its record.
    void ApplyRow(int row);
    bool Applied(int row) const { return applied_.value(row); }
    int AppliedCount() const;
    // Called after each change, with the record changed.
    std::function<void(TUserInfo& record, const TUserInfo& before)> OnApplied;

    QLabel* LblSummary;
    QTableWidget* LVFindings;  // 氏名, 区分, 〒, 住所１, 内容, 提案
    QPushButton* BtnApply;
    QPushButton* BtnClose;

private:
    void Fill();
    void UpdateButtons();

    TUserInfoList& book_;
    QList<TZipFinding> findings_;
    QList<bool> applied_;
};

}  // namespace q2
