#pragma once
// Backup and restore of the whole data file. A completed restore ends the program: the
// session's status text is then "恢复完成".
#include <QDialog>

class QLineEdit;
class Session;

class frmBakup : public QDialog {
    Q_OBJECT
public:
    explicit frmBakup(Session& session, QWidget* parent = nullptr);

private:
    void cmdS_Click(int index);
    void backup();
    void restore();

    Session& session_;
    QLineEdit* Text1 = nullptr;
};
