#pragma once
// The login dialog: the password alone decides the role, administrator or ordinary user.
#include <QDialog>

class QLineEdit;
class QPushButton;
class Session;

class frmKey : public QDialog {
    Q_OBJECT
public:
    explicit frmKey(Session& session, QWidget* parent = nullptr);

    // Closing the window or pressing Esc gives up, like the give-up button.
    void reject() override;

private:
    void cmdS_Click(int index);
    void checkPassword();
    void giveUp();
    void log(const QString& text);

    Session& session_;
    int attempts_ = 1; // one more for each wrong password
    QLineEdit* Text1_;
};
