#pragma once
// The print preview: a document as it will print, on the default printer's paper (A4 on a desk
// without a printer), drawn by the same function that prints it and writes it into a PDF. Created
// once by the window that previews; each openPreview() draws the document afresh.
//
// Its controls: 打印 and 导出PDF run the window's own handlers (so the preview, the printout and
// the PDF are one drawing), 适合页宽, 放大, 缩小 and 关闭 (Esc) only change the view.
#include <QDialog>
#include <functional>
#include <memory>

#include "ca/app/common/AppContext.h"

class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

namespace ca::app {

class TfrmPrintPreview : public QDialog {
    Q_OBJECT
public:
    TfrmPrintPreview(AppContext& ctx, QWidget* parent);
    ~TfrmPrintPreview() override;

    // The document (`draw` prints it on the printer it is given) and what 打印 and 导出PDF do.
    void openPreview(std::function<void(Printer&)> draw, std::function<void()> print,
                     std::function<void()> exportPdf);
    // The pages of the last drawing (a test reads them).
    int pageCount() const;
    // The paper the preview shows, with its resolution.
    const QPrinter& paper() const { return *printer_; }

    QPushButton* BtnPrint;
    QPushButton* BtnPdf;
    QPushButton* BtnFit;
    QPushButton* BtnZoomIn;
    QPushButton* BtnZoomOut;
    QPushButton* BtnClose;

private:
    void paint(QPrinter* printer);

    AppContext& ctx_;
    std::unique_ptr<QPrinter> printer_;
    QPrintPreviewWidget* view_ = nullptr;
    std::function<void(Printer&)> draw_;
    std::function<void()> print_, exportPdf_;
};

}  // namespace ca::app
