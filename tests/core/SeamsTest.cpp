#include "support/TestFixture.h"

using SeamsTest = LedgerFixture;

TEST_F(SeamsTest, FileQuestionsAreScriptedOrCancelled) {
    Session headless(boxes); // the headless commands: no file questions, no printer
    EXPECT_FALSE(
        headless.fileDialogs().saveFileName("请选择目标驱动器或路径。", "20240305", "格式(*.xkg)|*.xkg"));
    EXPECT_FALSE(headless.printers().defaultPrinter());

    files.answers = {dir.filePath("20240305"), std::nullopt};
    EXPECT_EQ(session.fileDialogs().saveFileName("请选择目标驱动器或路径。", "20240305", "格式(*.xkg)|*.xkg"),
              dir.filePath("20240305"));
    EXPECT_FALSE(session.fileDialogs().openFileName("请选择您所备份的数据文件", "", "格式(*.xkg)|*.xkg"));
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[1].kind, ScriptedFileDialogs::Kind::Open);
    EXPECT_EQ(files.asked[1].caption, "请选择您所备份的数据文件");
}
