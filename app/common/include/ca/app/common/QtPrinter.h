#pragma once
// The printer seam on Qt: documents go to the platform's default printer without a printer dialog,
// one copy, at the printer's full resolution, so coordinates are the printer's device units. For
// looking at output without paper, the same drawing can go into a PDF file instead.
#include <QFont>
#include <QPainter>
#include <QString>
#include <memory>

#include "ca/util/Printer.h"

class QPrinter;

namespace ca::app {

class QtPrinter : public Printer {
public:
    // Prints on the default printer; beginDoc throws when there is none.
    QtPrinter();
    // Writes each document into pdfFile (replacing it), at `dotsPerInch` device units per inch.
    explicit QtPrinter(const QString& pdfFile, int dotsPerInch = 600);
    ~QtPrinter() override;

    void setTitle(const std::string& title) override;
    void setFontSize(int points) override;
    void beginDoc() override;
    void textOut(int x, int y, const std::string& text) override;
    void endDoc() override;
    void abortDoc() override;

private:
    QString pdfFile_;
    int dotsPerInch_ = 0;
    QString title_;
    int fontSize_ = 12;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace ca::app
