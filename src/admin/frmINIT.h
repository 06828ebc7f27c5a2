#pragma once
// The initialisation window: the administrator password and the OK button start one attempt.
#include <QDialog>

class QLineEdit;
class Session;

class frmINIT : public QDialog {
    Q_OBJECT
public:
    explicit frmINIT(Session& session, QWidget* parent = nullptr);

private:
    void cmdS_Click(int index);

    Session& session_;
    QLineEdit* Text1 = nullptr;
};
