#pragma once
// What the six stock forms share: the caption, the command buttons cmdS, the banner, the
// goods description, the quantity/price/amount boxes with their coupling, the date, the
// supplier and demand choices, and the signals that ask the main window to reload a list
// or to open a partner form.
#include "core/Records.h"
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
    MessageBanner& banner() const { return *banner_; }
    void autoMSG(const QString& text, qint16 seconds) { banner_->autoMSG(text, seconds); }
    // Stores what the boxes hold; false when it was refused or failed (and the form said so).
    virtual bool SaveRec() = 0;

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
    // The goods forms show their banner on the bottom edge and a failure as a warning; the
    // movement forms near the top and as a critical box.
    enum class Kind { Goods, Movement };
    StockForm(Session& session, const QString& ownTitle, Kind kind, QWidget* parent);

    // 0 closes, 1 saves and, once stored, says so and closes (the goods forms save their own
    // way), 3 and 4 ask for the partner forms.
    virtual void cmdS_Click(int index);
    QPushButton* makeButton(int index, const QString& caption);
    QHBoxLayout* makeButtonRow(const std::vector<QWidget*>& left, const std::vector<QWidget*>& right);

    // A movement form: the goods item described, the movement boxes, the partner rows (a
    // purchase names its supplier, a sale its customer through the demand) and the buttons.
    // The log line, logPrefix & "MC(JC)", is written once the movement is stored.
    void layOutMovementForm(const GoodsRecord& goods, bool sale, const QString& logPrefix);
    // The goods item as stored now, not as an older list showed it.
    GoodsRecord storedGoods(qlonglong goodsId);
    // The edit forms: the record in the boxes, in this order since each box raises the
    // coupling, so the stored amount is set last and stays.
    template <class Record> void showRecord(const Record& r) { showRecord(r.RQ, r.SL, r.ZJE, r.GZJE, r.BZ); }
    void showRecord(const QString& rq, double sl, double zje, double gzje, const QString& bz);

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
    bool settle(const LedgerResult& r);

    static void selectData(QComboBox* combo, qlonglong id);
    QLineEdit* Text1(int i) const { return text1_[i]; }
    QLineEdit* Text2(int i) const { return text2_[i]; }

    Session& session_;
    Ledger ledger_;
    const Kind kind_;
    MessageBanner* banner_;
    QString logLine_;
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
