#include "support/TestFixture.h"

using SeamsTest = LedgerFixture;

TEST_F(SeamsTest, TheHeadlessCommandsAskNoFileQuestionsAndHaveNoPrinter) {
    Session headless(boxes);
    EXPECT_FALSE(
        headless.fileDialogs().saveFileName("请选择目标驱动器或路径。", "20240305", "格式(*.xkg)|*.xkg"));
    EXPECT_FALSE(headless.printers().defaultPrinter());
}
