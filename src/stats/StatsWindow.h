#pragma once
// The frame both statistics windows share: the list, the status bar, the progress frame and
// the exit button; the computation runs the first time the window becomes active, on a thread
// of its own, and once the list is filled the operation log receives the window's title.
// Closing the window meanwhile stops the computation and logs nothing.
#include "stats/Progress.h"
#include "stats/StatsColumn.h"
#include "stats/StatsListModel.h"

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class ListView;
class QCheckBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTimer;
class Session;
class StatsJob;

class StatsWindow : public QDialog {
    Q_OBJECT
public:
    ~StatsWindow() override;

    const StatsListModel& listModel() const { return *model_; }
    QString statusPanelText() const;

protected:
    // `title` is the window's own title, also the log line; the chart goes below or beside
    // the list.
    StatsWindow(Session& session, const QString& name, const QString& title,
                const std::vector<StatsColumn>& columns, Qt::Orientation chartPlacement, QWidget* parent);

    // The computation to run on the computing thread; what it makes must be owned by the
    // function itself (the window may be gone before the thread is), and is read by showResult.
    virtual std::function<bool(Session& session, Progress& progress)> computation() = 0;
    // On the window's thread once the computation is over: the list, status bar and chart.
    virtual void showResult() = 0;

    void setRows(std::vector<StatsListRow> rows);
    void setStatusPanelText(const QString& text);
    // The chart view shown with the list, and hidden by the operator's choice.
    void setChart(QWidget* chart);
    // The width the list's columns ask for, its scroll bar included.
    int listWidth() const;
    // The window's size, within the screen.
    void fitToScreen(int width, int height);
    int twips(int tw) const;

    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void cmdS_Click(int index);
    // Buttons 1 to 4: the list to xlsx, CSV or PDF, or to the printer, as the window shows it.
    void exportList(int index);
    void enableExports(bool enabled);
    QPushButton* addButton(int index, const QString& caption);
    void startComputation();
    void showProgress(float fraction);
    void computationOver();
    void placeProgressFrame();

    Session& session_;
    QString title_;
    std::vector<StatsColumn> columns_;
    bool firstShow_ = true;
    bool closed_ = false;
    std::unique_ptr<StatsJob> job_;
    QTimer* progressTimer_ = nullptr;
    StatsListModel* model_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* chart_ = nullptr;
    QCheckBox* chkChart = nullptr;
    ListView* ListViewL = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel_ = nullptr;
    QFrame* FrameJD = nullptr;
    QLabel* lblJD = nullptr;
    QFrame* SJD0 = nullptr;
    QFrame* SJD1 = nullptr;
    QFrame* Shape1 = nullptr;
    std::map<int, QPushButton*> cmdS_;
};
