#include "stats/StatsWindow.h"

#include "core/FileDialogs.h"
#include "core/Options.h"
#include "core/Printers.h"
#include "core/Session.h"
#include "core/Vb.h"
#include "report/CsvWriter.h"
#include "report/XlsxWriter.h"
#include "stats/StatsJob.h"
#include "stats/StatsReport.h"
#include "ui/CommandButton.h"
#include "ui/ListColumn.h"
#include "ui/ListView.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

StatsWindow::StatsWindow(Session& session, const QString& name, const QString& title,
                         const std::vector<StatsColumn>& columns, Qt::Orientation chartPlacement,
                         QWidget* parent)
    : QDialog(parent), session_(session), title_(title), columns_(columns) {
    setObjectName(name);
    setWindowTitle(app::kTitle + QLatin1Char('[') + title + QLatin1Char(']'));
    setModal(true);
    setSizeGripEnabled(true);

    auto* top = new QWidget(this);
    buttonRow_ = new QHBoxLayout(top);
    buttonRow_->setContentsMargins(twips(120), twips(60), twips(120), twips(60));
    buttonRow_->setSpacing(twips(60));
    chkChart = new QCheckBox(QStringLiteral("显示图表"), top);
    chkChart->setObjectName(QStringLiteral("chkChart"));
    chkChart->setChecked(true);
    chkChart->setEnabled(false); // until there is a chart
    buttonRow_->addWidget(chkChart);
    buttonRow_->addStretch(1);
    addButton(1, QStringLiteral("导出Excel"));
    addButton(2, QStringLiteral("导出CSV"));
    addButton(3, QStringLiteral("导出PDF"));
    addButton(4, QStringLiteral("打印"));
    addButton(0, QStringLiteral("退出"));
    enableExports(false); // until the list is filled

    model_ = new StatsListModel(columns, this);
    ListViewL = new ListView(this);
    ListViewL->setObjectName(QStringLiteral("ListViewL"));
    ListViewL->setModel(model_);
    ListViewL->resetColumnWidths();

    splitter_ = new QSplitter(chartPlacement, this);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(ListViewL);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(StatusBar1);
    statusPanel_->setObjectName(QStringLiteral("StatusBar1Panel1"));
    statusPanel_->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(statusPanel_, 1);

    // The list starts at the left edge and runs down to the status bar.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(splitter_, 1);
    layout->addWidget(StatusBar1);

    // The progress frame floats over the list, centred in the window.
    FrameJD = new QFrame(this);
    FrameJD->setObjectName(QStringLiteral("FrameJD"));
    FrameJD->setFrameShape(QFrame::Panel);
    FrameJD->setFrameShadow(QFrame::Raised);
    FrameJD->setAutoFillBackground(true);
    FrameJD->setFixedSize(twips(5400), twips(1320));
    Shape1 = new QFrame(FrameJD);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(twips(90), twips(90), twips(5220), twips(1140));
    lblJD = new QLabel(QStringLiteral("0.00%"), FrameJD);
    lblJD->setObjectName(QStringLiteral("lblJD"));
    lblJD->setAlignment(Qt::AlignCenter);
    lblJD->setGeometry(twips(300), twips(210), twips(4800), twips(360));
    SJD0 = new QFrame(FrameJD);
    SJD0->setObjectName(QStringLiteral("SJD0"));
    SJD0->setFrameShape(QFrame::Box);
    SJD0->setStyleSheet(QStringLiteral("QFrame { background: white; border: 1px solid #606060; }"));
    SJD0->setGeometry(twips(300), twips(690), twips(4800), twips(330));
    SJD1 = new QFrame(FrameJD);
    SJD1->setObjectName(QStringLiteral("SJD1"));
    SJD1->setStyleSheet(QStringLiteral("QFrame { background: #1f5fbf; border: none; }"));
    SJD1->setGeometry(SJD0->x(), SJD0->y(), 0, SJD0->height());
    FrameJD->hide();

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(40);
    connect(progressTimer_, &QTimer::timeout, this, [this] { showProgress(job_ ? job_->fraction() : 0.0f); });

    resize(twips(14400), twips(8400));
}

int StatsWindow::listWidth() const {
    int width = 0;
    for (int c = 0; c < model_->columnCount(); ++c)
        width += model_->headerData(c, Qt::Horizontal, listroles::TwipsRole).toInt();
    return twips(width) + ListViewL->verticalScrollBar()->sizeHint().width() + 2 * ListViewL->frameWidth();
}

void StatsWindow::fitToScreen(int width, int height) {
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(width, screen.width()), std::min(height, screen.height() - twips(600)));
}

StatsWindow::~StatsWindow() = default;

QPushButton* StatsWindow::addButton(int index, const QString& caption) {
    auto* b = commandButton(this, &StatsWindow::cmdS_Click, index, caption);
    cmdS_[index] = b;
    buttonRow_->addWidget(b);
    return b;
}

void StatsWindow::cmdS_Click(int index) {
    if (index == 0) close();
    if (index >= 1 && index <= 4) exportList(index);
}

void StatsWindow::enableExports(bool enabled) {
    for (int i = 1; i <= 4; ++i)
        cmdS_[i]->setEnabled(enabled);
}

void StatsWindow::exportList(int index) {
    std::vector<QStringList> rows;
    rows.reserve(size_t(model_->rowCount()));
    for (int r = 0; r < model_->rowCount(); ++r)
        rows.push_back(QStringList{QString::number(r + 1)} + model_->record(r).texts);
    const Report report = StatsReport(title_, columns_, std::move(rows), statusPanel_->text());
    if (index == 4) {
        const auto printer = session_.printers().defaultPrinter();
        if (!printer)
            session_.boxes().warning(QStringLiteral("没有可用的打印机。"), app::kTitle);
        else if (!session_.printers().print(printer->name, title_,
                                            [&](QPagedPaintDevice& device) { return report.print(device); }))
            session_.boxes().warning(QStringLiteral("打印失败。"), app::kTitle);
        return;
    }
    struct Format {
        const char* extension;
        QString filter;
        QString (*write)(const Report&, const QString&);
    };
    const Format formats[] = {{"xlsx", QStringLiteral("Excel 工作簿(*.xlsx)|*.xlsx"), writeXlsx},
                              {"csv", QStringLiteral("CSV 文件(*.csv)|*.csv"), writeCsv},
                              {"pdf", QStringLiteral("PDF 文件(*.pdf)|*.pdf"), writePdf}};
    const Format& f = formats[index - 1];
    const auto path = session_.fileDialogs().saveFileName(
        cmdS_[index]->text(), title_ + QLatin1Char('.') + QLatin1String(f.extension), f.filter);
    if (!path) return;
    const QString why = f.write(report, *path);
    if (why.isEmpty())
        session_.boxes().information(QStringLiteral("已导出到 ") + QDir::toNativeSeparators(*path),
                                     app::kTitle);
    else
        session_.boxes().warning(why, app::kTitle);
}

int StatsWindow::twips(int tw) const {
    return twips::toPx(*this, tw);
}

QString StatsWindow::statusPanelText() const {
    return statusPanel_->text();
}

void StatsWindow::setStatusPanelText(const QString& text) {
    statusPanel_->setText(text);
}

void StatsWindow::setRows(std::vector<StatsListRow> rows) {
    model_->setRows(std::move(rows));
}

void StatsWindow::setChart(QWidget* chart) {
    delete chart_;
    chart_ = chart;
    splitter_->addWidget(chart);
    // Beside the list the chart takes what the list's columns leave; below it, half.
    if (splitter_->orientation() == Qt::Horizontal)
        splitter_->setSizes({listWidth(), std::max(splitter_->width() - listWidth(), twips(3000))});
    else
        splitter_->setSizes({splitter_->height() / 2, splitter_->height() / 2});
    chkChart->setEnabled(true);
    chart->setVisible(chkChart->isChecked());
    connect(chkChart, &QCheckBox::toggled, chart, &QWidget::setVisible, Qt::UniqueConnection);
}

bool StatsWindow::event(QEvent* e) {
    const bool handled = QDialog::event(e);
    // The first time the window is active, not merely shown: the operator sees it come up
    // before the computation starts.
    if (e->type() == QEvent::WindowActivate && firstShow_) {
        firstShow_ = false;
        startComputation();
    }
    return handled;
}

void StatsWindow::startComputation() {
    model_->clear();
    showProgress(0);
    FrameJD->show();
    FrameJD->raise();
    placeProgressFrame();
    job_ = std::make_unique<StatsJob>(session_.path(), computation());
    connect(job_.get(), &StatsJob::finished, this, &StatsWindow::computationOver);
    job_->start();
    progressTimer_->start();
}

void StatsWindow::showProgress(float fraction) {
    SJD1->resize(int(SJD0->width() * fraction), SJD0->height());
    lblJD->setText(vb::CStr(vb::Round(double(fraction) * 100.0, 2)) + QLatin1Char('%'));
}

void StatsWindow::computationOver() {
    progressTimer_->stop();
    if (closed_) return;
    const QString error = job_->error();
    if (!error.isEmpty()) {
        FrameJD->hide();
        session_.boxes().warning(error, app::kTitle);
        return;
    }
    showProgress(1.0f);
    showResult();
    FrameJD->hide();
    enableExports(true);
    try {
        AppendLog(session_, title_);
    } catch (const DbError& e) {
        session_.boxes().warning(e.text, app::kTitle);
    }
}

void StatsWindow::done(int result) {
    // Whatever is still computing is of no use any more.
    closed_ = true;
    progressTimer_->stop();
    if (job_) job_->stop();
    QDialog::done(result);
}

void StatsWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeProgressFrame();
}

void StatsWindow::placeProgressFrame() {
    FrameJD->move((width() - FrameJD->width()) / 2, (height() - FrameJD->height()) / 2);
}
