#pragma once
// The printer seam on Qt. One drawing goes three ways: to the platform's default printer (no printer
// dialog, one copy, at the printer's full resolution), into the print preview, and into a PDF file
// the clerk names. All three lay the document out on the same paper (printPage()), in that paper's
// device units from its top-left edge, so the preview and the PDF show what the printer prints.
#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <memory>

#include "ca/util/Printer.h"

class QPrinter;
class QPdfWriter;

namespace ca::app {

// The paper documents are laid out on: the default printer's paper and resolution, or A4 at 600
// dots per inch on a desk without a printer.
struct PrintPage {
    QPageLayout layout;  // the paper, without margins: coordinates start at its edge
    int dotsPerInch = 600;
    bool onPrinter = false;  // the default printer's paper
};
PrintPage printPage();

class QtPrinter : public Printer {
public:
    // Prints on the default printer; beginDoc throws when there is none.
    QtPrinter();
    // Writes each document into pdfFile on `page`. The file is replaced whole when the document
    // ends (a temporary file renamed over it, as every save does); an aborted or failed document
    // leaves any existing file as it was.
    QtPrinter(const QString& pdfFile, const PrintPage& page);
    // The same on A4 at `dotsPerInch`.
    explicit QtPrinter(const QString& pdfFile, int dotsPerInch = 600);
    // Draws each document onto `target` (the print preview's printer), which must outlive this.
    explicit QtPrinter(QPrinter& target);
    ~QtPrinter() override;

    void setTitle(const std::string& title) override;
    void setFontSize(int points) override;
    void beginDoc() override;
    void textOut(int x, int y, const std::string& text) override;
    void endDoc() override;
    void abortDoc() override;

private:
    void release();

    QString pdfFile_;
    PrintPage page_;
    QPrinter* target_ = nullptr;
    QString title_;
    int fontSize_ = 12;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QBuffer> pdfBytes_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace ca::app
