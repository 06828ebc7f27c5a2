#include "admin/frmShowTXT.h"

#include "admin/LogBook.h"
#include "admin/LogListModel.h"
#include "core/Options.h"
#include "core/Session.h"
#include "ui/CommandButton.h"
#include "ui/ListView.h"
#include "ui/Twips.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmShowTXT::frmShowTXT(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), model_(new LogListModel(this)), ListViewL(new ListView(this)) {
    setObjectName(QStringLiteral("frmShowTXT"));
    setWindowTitle(app::kTitle + QStringLiteral("[察看操作跟踪记录]"));
    ListViewL->setObjectName(QStringLiteral("ListViewL"));
    ListViewL->setModel(model_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const auto& [index, caption] :
         {std::pair{1, QStringLiteral("清空")}, std::pair{0, QStringLiteral("退出")}}) {
        buttons->addWidget(commandButton(this, &frmShowTXT::cmdS_Click, index, caption));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListViewL, 1);
    layout->addLayout(buttons);
    resize(twips::toPx(*this, 10500), twips::toPx(*this, 6600));
    loadRows();
    ListViewL->resetColumnWidths();
}

void frmShowTXT::loadRows() {
    try {
        LogBook book(session_);
        model_->load(book);
    } catch (const DbError& e) {
        session_.boxes().warning(e.text, app::kTitle);
    }
}

void frmShowTXT::cmdS_Click(int index) {
    if (index == 0) close();
    if (index == 1) {
        // The list is empty when the operator is told; the line that records the clearing
        // shows only the next time the log is opened.
        model_->clear();
        if (!LogBook(session_).clear()) loadRows();
    }
}
