// The test doubles of the prompt and printer seams keep what a test relies on: open and save
// dialogs answer from their own queues, and a print job left by an error is dropped.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ca/util/Printer.h"
#include "ca/util/Prompts.h"

using namespace ca;

TEST(ScriptedPrompts, OpenAndSaveDialogsAnswerFromTheirOwnQueues) {
    ScriptedPrompts p;
    p.answerSave("out.xls");
    p.answerOpen("in.xls");
    // A stray open dialog before the save takes the open answer, not the save answer.
    EXPECT_EQ(p.openFile("打开", "*.xls"), "in.xls");
    EXPECT_EQ(p.openFile("打开", "*.xls"), "");
    EXPECT_EQ(p.saveFile("保存", "*.xls", "xls"), "out.xls");
    EXPECT_EQ(p.saveFile("保存", "*.xls", "xls"), "");
    EXPECT_EQ(p.texts("save"), (std::vector<std::string>{"保存", "保存"}));
    EXPECT_EQ(p.shown()[2].caption, "xls");  // the default suffix the dialog was given
}

TEST(RecordingPrinter, RecordsPrintedTextsAndDropsAJobLeftByAnError) {
    RecordingPrinter printer;
    printer.setTitle("打印报表");
    printer.setFontSize(12);
    {
        PrintJob job(printer);
        job.textOut(200, 200, "客户：甲");
        job.end();
    }
    try {
        PrintJob job(printer);
        job.textOut(200, 200, "半张");
        throw std::runtime_error("金额不是数字");
    } catch (const std::runtime_error&) {
    }
    printer.failNextBegin("没有默认打印机");
    EXPECT_THROW(PrintJob{printer}, std::runtime_error);

    ASSERT_EQ(printer.documents().size(), 2u);
    EXPECT_TRUE(printer.documents()[1].aborted);
    const auto printed = printer.printed();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, "打印报表");
    EXPECT_EQ(printed[0].texts, (std::vector<RecordingPrinter::Text>{{200, 200, "客户：甲", 12}}));
}
