#pragma once
// The print preview: the report's pages as they will print, one at a time, from which the
// operator prints on a chosen printer or saves the same pages as a PDF.
#include "report/Report.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class Session;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // `fileName` is the name proposed when the pages are saved as a PDF.
    ReportPreview(Session& session, Report report, QString fileName, QWidget* parent = nullptr);

    const Report& report() const { return report_; }
    int page() const; // from 0
    void showPage(int page);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void print();
    void savePdf();
    void fitPage();

    Session& session_;
    Report report_;
    QString fileName_;
    int pages_ = 1;
    QComboBox* printer_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* sheet_ = nullptr;
};
