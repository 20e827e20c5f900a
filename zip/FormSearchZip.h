// The postal code lookup dialog "郵便番号検索": lists the hits of a lookup by
// code or by address and hands the chosen one back to the record editor.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace q2 {

class TFormSearchZip : public QDialog {
    Q_OBJECT
public:
    explicit TFormSearchZip(QWidget* parent = nullptr);

    // Runs the lookup and, when it found several hits, the dialog; a single
    // hit is taken at once. True when a row was taken; the three texts then
    // hold its code halves and address.
    bool Execute(QString& upper, QString& lower, bool byAddress, QString& address);

    // The lookups fill the list; false when nothing was found (the user has
    // been told why).
    bool SearchByZip(const QString& upper, const QString& lower);
    bool SearchByAddress(const QString& address);

    QLabel* LblSearchWord;
    QTreeWidget* LVZipList;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

public slots:
    void BtnOKClick();
    void BtnCancelClick();

protected:
    void done(int result) override;

private:
    bool TakeChosen(QString& upper, QString& lower, QString& address) const;
    bool mayClose_ = false;
};

}  // namespace q2
