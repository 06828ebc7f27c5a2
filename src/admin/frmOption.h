#pragma once
// The settings window: start tab, hidden money columns, passwords, permissions, clearing the
// keyword memory and the log, and the unlock of initialisation. Each button acts by itself.
#include <QDialog>
#include <QHash>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Session;

class frmOption : public QDialog {
    Q_OBJECT
public:
    explicit frmOption(Session& session, QWidget* parent = nullptr);

private:
    void cmdS_Click(int index);

    Session& session_;
    QRadioButton* Option1[5] = {};
    QCheckBox* CheckShow[5] = {};
    QCheckBox* CheckQX[5] = {};
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QHash<int, QPushButton*> cmdS;
};
