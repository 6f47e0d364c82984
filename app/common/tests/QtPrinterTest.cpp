// The Qt printer: a document goes into a PDF file for looking at, and without a default printer
// printing stops before anything starts, with the reason in Chinese.
#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ca/app/common/QtPrinter.h"

namespace fs = std::filesystem;

TEST(QtPrinter, WritesTheDocumentIntoAPdfFile) {
    const fs::path file = fs::temp_directory_path() / "ca_qtprinter.pdf";
    fs::remove(file);
    {
        ca::app::QtPrinter printer(QString::fromStdString(file.string()));
        printer.setTitle("打印报表");
        printer.setFontSize(12);
        ca::PrintJob job(printer);
        job.textOut(200, 200, "客户：某某公司");
        job.textOut(1800, 400, "合同号：HT-1");
        job.end();
    }
    std::ifstream in(file, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");
    EXPECT_GT(fs::file_size(file), 500u);
    fs::remove(file);
}

TEST(QtPrinter, WithoutADefaultPrinterNothingStarts) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    ca::app::QtPrinter printer;
    try {
        printer.beginDoc();
        FAIL() << "printing started without a printer";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("没有默认打印机"), std::string::npos) << e.what();
    }
    EXPECT_THROW(printer.textOut(0, 0, "x"), std::logic_error);
}
