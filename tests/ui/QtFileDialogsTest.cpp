#include "ui/QtFileDialogs.h"
#include "support/TestFixture.h"

TEST(QtFileDialogsTest, ProgramFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFileDialogs::qtFilter("格式(*.xkg)|*.xkg"), "格式(*.xkg)");
    EXPECT_EQ(QtFileDialogs::qtFilter("表格|*.xlsx;*.csv|所有文件 (*.*)|*"),
              "表格 (*.xlsx *.csv);;所有文件 (*)");
    EXPECT_EQ(QtFileDialogs::qtFilter("PDF 文件 (*.pdf)"), "PDF 文件 (*.pdf)");
}
