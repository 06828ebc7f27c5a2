#include "ui/ReportPreview.h"

#include "core/FileDialogs.h"
#include "core/Options.h"
#include "core/Printers.h"
#include "core/Session.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// One page on white paper, scaled to the widget's width.
class Sheet : public QWidget {
public:
    Sheet(const Report& report, QWidget* parent) : QWidget(parent), report_(report) {
        const QRectF full = report.pageLayout().fullRect(QPageLayout::Point);
        aspect_ = full.height() / full.width();
    }
    int page = 0;
    double aspect() const { return aspect_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::darkGray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const QPageLayout layout = report_.pageLayout();
        const double scale = width() / (layout.fullRect(QPageLayout::Point).width() * 20);
        const QRectF inside = layout.paintRect(QPageLayout::Point);
        painter.scale(scale, scale);
        painter.translate(inside.left() * 20, inside.top() * 20);
        report_.paintPage(painter, page);
    }

private:
    const Report& report_;
    double aspect_ = 1.414;
};

} // namespace

ReportPreview::ReportPreview(Session& session, Report report, QString fileName, QWidget* parent)
    : QDialog(parent), session_(session), report_(std::move(report)), fileName_(std::move(fileName)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("(打印机输出)"));
    setModal(true);
    pages_ = report_.pageCount();

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("打印机："), this));
    printer_ = new QComboBox(this);
    printer_->setObjectName(QStringLiteral("printer"));
    printer_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const std::optional<PrinterInfo> chosen = session_.printers().defaultPrinter();
    for (const PrinterInfo& p : session_.printers().available()) {
        printer_->addItem(p.name);
        if (chosen && p.name == chosen->name) printer_->setCurrentIndex(printer_->count() - 1);
    }
    bar->addWidget(printer_);
    auto* print = new QPushButton(QStringLiteral("打印"), this);
    print->setObjectName(QStringLiteral("print"));
    print->setEnabled(printer_->count() > 0);
    connect(print, &QPushButton::clicked, this, &ReportPreview::print);
    bar->addWidget(print);
    auto* pdf = new QPushButton(QStringLiteral("保存为PDF…"), this);
    pdf->setObjectName(QStringLiteral("savePdf"));
    connect(pdf, &QPushButton::clicked, this, &ReportPreview::savePdf);
    bar->addWidget(pdf);
    bar->addSpacing(24);

    auto* previous = new QPushButton(QStringLiteral("上一页"), this);
    previous->setObjectName(QStringLiteral("previousPage"));
    connect(previous, &QPushButton::clicked, this, [this] { showPage(page() - 1); });
    bar->addWidget(previous);
    bar->addWidget(new QLabel(QStringLiteral("第"), this));
    pageBox_ = new QSpinBox(this);
    pageBox_->setObjectName(QStringLiteral("page"));
    pageBox_->setRange(1, pages_);
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int value) { showPage(value - 1); });
    bar->addWidget(pageBox_);
    bar->addWidget(new QLabel(QStringLiteral("页，共 %1 页").arg(pages_), this));
    auto* next = new QPushButton(QStringLiteral("下一页"), this);
    next->setObjectName(QStringLiteral("nextPage"));
    connect(next, &QPushButton::clicked, this, [this] { showPage(page() + 1); });
    bar->addWidget(next);
    bar->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    bar->addWidget(close);
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);

    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignHCenter);
    sheet_ = new Sheet(report_, scroll_);
    sheet_->setObjectName(QStringLiteral("sheet"));
    scroll_->setWidget(sheet_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    resize(960, 900);
}

int ReportPreview::page() const {
    return static_cast<const Sheet*>(sheet_)->page;
}

void ReportPreview::showPage(int page) {
    page = std::clamp(page, 0, pages_ - 1);
    auto* sheet = static_cast<Sheet*>(sheet_);
    if (sheet->page != page) {
        sheet->page = page;
        scroll_->verticalScrollBar()->setValue(0);
        sheet->update();
    }
    const QSignalBlocker quiet(pageBox_);
    pageBox_->setValue(page + 1);
}

void ReportPreview::fitPage() {
    // The page fills the width of the view; the height follows the paper.
    const int width = std::max(320, scroll_->viewport()->width() - 24);
    sheet_->setFixedSize(width, qRound(width * static_cast<Sheet*>(sheet_)->aspect()));
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitPage();
}

void ReportPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitPage();
}

void ReportPreview::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown) return showPage(page() + 1);
    if (event->key() == Qt::Key_PageUp) return showPage(page() - 1);
    QDialog::keyPressEvent(event);
}

void ReportPreview::print() {
    const QString name = printer_->currentText();
    if (name.isEmpty()) return;
    if (!session_.printers().print(name, report_.title,
                                   [this](QPagedPaintDevice& device) { return report_.print(device); }))
        session_.boxes().warning(QStringLiteral("无法在打印机[") + name + QStringLiteral("]上打印。"),
                                 app::kTitle);
}

void ReportPreview::savePdf() {
    const std::optional<QString> path = session_.fileDialogs().saveFileName(
        QStringLiteral("保存为PDF"), fileName_, QStringLiteral("PDF 文件(*.pdf)|*.pdf"));
    if (!path) return;
    const QString failed = writePdf(report_, *path);
    if (failed.isEmpty())
        session_.boxes().information(QStringLiteral("已保存到 ") + QDir::toNativeSeparators(*path),
                                     app::kTitle);
    else
        session_.boxes().warning(failed, app::kTitle);
}
