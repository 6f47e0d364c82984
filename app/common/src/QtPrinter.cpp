#include "ca/app/common/QtPrinter.h"

#include <QFontMetrics>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>

#include "ca/app/common/QtText.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

namespace {

QPageLayout fullPage(const QPageSize& size, QPageLayout::Orientation orientation) {
    return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0));
}

PrintPage a4(int dotsPerInch) {
    return {fullPage(QPageSize(QPageSize::A4), QPageLayout::Portrait), dotsPerInch, false};
}

}  // namespace

PrintPage printPage() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return a4(600);
    QPrinter printer(info, QPrinter::HighResolution);
    return {fullPage(printer.pageLayout().pageSize(), printer.pageLayout().orientation()),
            printer.resolution(), true};
}

QtPrinter::QtPrinter() = default;

QtPrinter::QtPrinter(const QString& pdfFile, const PrintPage& page) : pdfFile_(pdfFile), page_(page) {}

QtPrinter::QtPrinter(const QString& pdfFile, int dotsPerInch) : QtPrinter(pdfFile, a4(dotsPerInch)) {}

QtPrinter::QtPrinter(QPrinter& target) : target_(&target) {}

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
    QPaintDevice* device = nullptr;
    if (!pdfFile_.isEmpty()) {
        pdfBytes_ = std::make_unique<QBuffer>();
        pdfBytes_->open(QIODevice::WriteOnly);
        pdf_ = std::make_unique<QPdfWriter>(pdfBytes_.get());
        pdf_->setResolution(page_.dotsPerInch);
        pdf_->setPageLayout(page_.layout);
        pdf_->setTitle(title_);
        pdf_->setCreator(qs(kAppTitle));
        device = pdf_.get();
    } else {
        QPrinter* printer = target_;
        if (!printer) {
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (info.isNull())
                throw std::runtime_error("没有默认打印机，无法打印。请先安装打印机并设为默认打印机。");
            printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
            printer_->setCopyCount(1);
            printer = printer_.get();
        }
        printer->setDocName(title_);
        printer->setFullPage(true);  // coordinates from the paper's edge, as the printer's device units
        device = printer;
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device)) {
        release();
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
    if (pdf_) {
        pdf_.reset();  // finishes the PDF in the buffer
        const QByteArray bytes = pdfBytes_->data();
        release();
        if (!ok) throw std::runtime_error("无法生成PDF文件：" + str(pdfFile_));
        spreadsheet::replaceFile(str(pdfFile_), bytes.toStdString());
        return;
    }
    release();
    if (!ok) throw std::runtime_error("打印失败：文档未能送到打印机");
}

void QtPrinter::abortDoc() {
    if (!painter_) return;
    if (printer_) printer_->abort();
    painter_->end();
    release();
}

void QtPrinter::release() {
    painter_.reset();
    pdf_.reset();
    pdfBytes_.reset();
    printer_.reset();
}

}  // namespace ca::app
