#include "ca/app/common/QtPrinter.h"

#include <QFontMetrics>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>

#include "ca/app/common/QtText.h"

namespace ca::app {

QtPrinter::QtPrinter() = default;

QtPrinter::QtPrinter(const QString& pdfFile, int dotsPerInch)
    : pdfFile_(pdfFile), dotsPerInch_(dotsPerInch) {}

QtPrinter::~QtPrinter() {
    if (painter_) abortDoc();
}

void QtPrinter::setTitle(const std::string& title) {
    title_ = qs(title);
}

void QtPrinter::setFontSize(int points) {
    fontSize_ = points;
    if (painter_) {
        QFont f = painter_->font();
        f.setPointSize(points);
        painter_->setFont(f);
    }
}

void QtPrinter::beginDoc() {
    if (painter_) throw std::logic_error("a document is already being printed");
    if (pdfFile_.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw std::runtime_error("没有默认打印机，无法打印。请先安装打印机并设为默认打印机。");
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfFile_);
        printer_->setResolution(dotsPerInch_);
    }
    printer_->setDocName(title_);
    printer_->setCopyCount(1);
    printer_->setFullPage(true);  // coordinates from the paper's edge, as the printer's device units
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        printer_.reset();
        throw std::runtime_error("打印机无法开始打印：" + str(pdfFile_.isEmpty() ? title_ : pdfFile_));
    }
    painter_->setPen(Qt::black);
    setFontSize(fontSize_);
}

void QtPrinter::textOut(int x, int y, const std::string& text) {
    if (!painter_) throw std::logic_error("no document has been started on the printer");
    // Qt draws a text at its baseline; the given point is the text's top-left corner.
    painter_->drawText(x, y + painter_->fontMetrics().ascent(), qs(text));
}

void QtPrinter::endDoc() {
    if (!painter_) throw std::logic_error("no document has been started on the printer");
    const bool ok = painter_->end();
    painter_.reset();
    printer_.reset();
    if (!ok) throw std::runtime_error("打印失败：文档未能送到打印机");
}

void QtPrinter::abortDoc() {
    if (!painter_) return;
    printer_->abort();
    painter_->end();
    painter_.reset();
    printer_.reset();
}

}  // namespace ca::app
