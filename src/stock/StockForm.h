#pragma once
// What the six stock forms share: the caption, the command buttons cmdS, the banner, the
// goods description, the quantity/price/amount boxes with their coupling, the date, the
// supplier and demand choices, and the signals that ask the main window to reload a list
// or to open a partner form.
#include "stock/Ledger.h"
#include "ui/MessageBanner.h"

#include <QDialog>
#include <QPushButton>
#include <array>

class QComboBox;
class QDateEdit;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class Session;
class AmountCoupling;

class StockForm : public QDialog {
    Q_OBJECT
public:
    Session& session() const { return session_; }
    MessageBanner& banner() const { return *banner_; }
    void autoMSG(const QString& text, qint16 seconds) { banner_->autoMSG(text, seconds); }

    // Blank entry (ID 0) first, then the suppliers / open demands; the blank one selected.
    void Load_cmbGYS();
    void Load_cmbKHXQ();

Q_SIGNALS:
    void goodsChanged();     // reload the stock ledger
    void salesChanged();     // reload the sales records
    void purchasesChanged(); // reload the purchase records
    // Buttons 3 and 4: the main window opens the supplier or demand form modally; the combo
    // is loaded again when it closes.
    void supplierFormRequested();
    void demandFormRequested();

protected:
    StockForm(Session& session, const QString& ownTitle, MessageBanner::Placement placement, QWidget* parent);

    virtual void cmdS_Click(int index);
    QPushButton* makeButton(int index, const QString& caption);
    QHBoxLayout* makeButtonRow(const std::vector<QWidget*>& left, const std::vector<QWidget*>& right);

    QPlainTextEdit* makeGoodsText();
    // Text2(0) to Text2(4) with their labels and coupling, and DTPicker1.
    QGridLayout* makeMovementBoxes(const QString& dateCaption, bool priceHint);
    QGridLayout* makePartnerRows(bool supplier, bool demand);
    // Text1(0) to Text1(7) with their labels; a new name fills in its short code.
    QGridLayout* makeGoodsBoxes();

    // What the boxes hold, cleaned and rounded as it is stored. The boxes stay as typed
    // until the save succeeds, so a refusal leaves the operator's text to correct.
    MovementFields readMovement() const;
    GoodsFields readGoods() const;
    // After a save: Text1(0) to Text1(7) show what was stored.
    void showStored(const GoodsFields& g);
    // Shows a refusal in the banner and a failure in a box; reports whether it was stored.
    bool settle(const LedgerResult& r, const QString& failText, const QString& failTitle, bool critical);

    static void selectData(QComboBox* combo, qlonglong id);
    QLineEdit* Text1(int i) const { return text1_[i]; }
    QLineEdit* Text2(int i) const { return text2_[i]; }

    Session& session_;
    Ledger ledger_;
    MessageBanner* banner_;
    QPlainTextEdit* txtSP_ = nullptr;
    std::array<QLineEdit*, 8> text1_{};
    std::array<QLineEdit*, 5> text2_{};
    AmountCoupling* coupling_ = nullptr;
    QDateEdit* DTPicker1_ = nullptr;
    QComboBox* cmbGYS_ = nullptr;
    QComboBox* cmbKHXQ_ = nullptr;
};

// A line edit for the text box arrays, named like "Text2(3)".
QLineEdit* MakeArrayBox(QWidget* parent, const QString& array, int index);
