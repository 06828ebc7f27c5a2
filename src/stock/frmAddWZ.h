#pragma once
// Registration of a new goods item, with its first purchase when a quantity is given.
// The form stays open for the next item.
#include "stock/StockForm.h"

class QCheckBox;

class frmAddWZ : public StockForm {
    Q_OBJECT
public:
    explicit frmAddWZ(Session& session, QWidget* parent = nullptr);
    bool SaveRec() override;
    // Clears the inputs; with Check1 ticked only the date goes back to today.
    void Kong();

protected:
    void cmdS_Click(int index) override;

private:
    QCheckBox* Check1_;
};
