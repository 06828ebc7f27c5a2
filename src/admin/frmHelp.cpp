#include "admin/frmHelp.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

frmHelp::frmHelp(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("操作说明"));
    auto* txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setReadOnly(true);
    txtHelp->document()->setDocumentMargin(12);
    QFile manual(QStringLiteral(":/admin/manual.txt"));
    if (manual.open(QIODevice::ReadOnly)) txtHelp->setPlainText(QString::fromUtf8(manual.readAll()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtHelp);
    resize(720, 560);
}
