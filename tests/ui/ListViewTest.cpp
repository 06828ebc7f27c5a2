#include "ui/ListView.h"
#include "ui/ListColumn.h"

#include <QAction>
#include <QHeaderView>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widths the operator drags come back for the same data file only, and the header's
// "恢复默认列宽" brings the list's own widths back for good.
TEST(ListViewWidths, RememberedPerDataFileAndRestoredToTheDefaults) {
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QStandardItemModel model(0, 3);
    for (int c = 0; c < 3; ++c)
        model.setHeaderData(c, Qt::Horizontal, c == 2 ? 0 : 1500, listroles::TwipsRole);
    auto makeList = [&](const QString& dataFile) {
        auto* list = new ListView;
        list->resize(800, 300);
        list->setModel(&model);
        list->resetColumnWidths();
        list->rememberColumnWidths(dataFile, "KHXQ");
        return std::unique_ptr<ListView>(list);
    };
    const int design = makeList("/a/DBvost.mdb")->columnWidth(0);
    makeList("/a/DBvost.mdb")->horizontalHeader()->resizeSection(0, design + 40); // the operator's drag
    EXPECT_EQ(makeList("/a/DBvost.mdb")->columnWidth(0), design + 40);
    EXPECT_EQ(makeList("/b/DBvost.mdb")->columnWidth(0), design);

    auto list = makeList("/a/DBvost.mdb");
    const auto actions = list->horizontalHeader()->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), "恢复默认列宽");
    actions[0]->trigger();
    EXPECT_EQ(list->columnWidth(0), design);
    EXPECT_EQ(makeList("/a/DBvost.mdb")->columnWidth(0), design);
}
