#pragma once
// The operation log viewer: every line, oldest first, and the button that empties the log.
#include <QDialog>

class ListView;
class LogListModel;
class Session;

class frmShowTXT : public QDialog {
    Q_OBJECT
public:
    explicit frmShowTXT(Session& session, QWidget* parent = nullptr);
    LogListModel& model() const { return *model_; }

private:
    void cmdS_Click(int index);
    void loadRows();

    Session& session_;
    LogListModel* model_;
    ListView* ListViewL;
};
