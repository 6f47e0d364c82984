#include "ca/app/common/TfrmPrintPreview.h"

#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "ca/app/common/Guarded.h"
#include "ca/app/common/QtPrinter.h"

namespace ca::app {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The paper of printPage() as a printer the preview can draw on: the default printer itself, or,
// on a desk without one, a PDF printer that never needs a device.
std::unique_ptr<QPrinter> paperPrinter() {
    const PrintPage page = printPage();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    auto printer = page.onPrinter && !info.isNull()
                       ? std::make_unique<QPrinter>(info, QPrinter::HighResolution)
                       : std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!page.onPrinter) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setResolution(page.dotsPerInch);
        printer->setPageLayout(page.layout);
    }
    printer->setFullPage(true);
    return printer;
}

}  // namespace

TfrmPrintPreview::TfrmPrintPreview(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), printer_(paperPrinter()) {
    setObjectName("frmPrintPreview");
    setWindowTitle("打印预览");
    resize(760, 900);

    BtnPrint = button(this, "BtnPrint", "打印");
    BtnPdf = button(this, "BtnPdf", "导出PDF");
    BtnFit = button(this, "BtnFit", "适合页宽");
    BtnZoomIn = button(this, "BtnZoomIn", "放大");
    BtnZoomOut = button(this, "BtnZoomOut", "缩小");
    BtnClose = button(this, "BtnClose", "关闭");
    auto* bar = new QHBoxLayout;
    for (QPushButton* b : {BtnPrint, BtnPdf, BtnFit, BtnZoomIn, BtnZoomOut})
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(BtnClose);

    view_ = new QPrintPreviewWidget(printer_.get(), this);
    view_->setObjectName("PreviewView");
    view_->fitToWidth();
    connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) { paint(p); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);

    // Printing and the PDF change nothing an entry or a download reads; the view buttons neither.
    connect(BtnPrint, &QPushButton::clicked, this, [this] {
        if (print_) guarded(ctx_, print_);
    });
    connect(BtnPdf, &QPushButton::clicked, this, [this] {
        if (exportPdf_) guarded(ctx_, exportPdf_);
    });
    connect(BtnFit, &QPushButton::clicked, this, [this] { view_->fitToWidth(); });
    connect(BtnZoomIn, &QPushButton::clicked, this, [this] { view_->zoomIn(); });
    connect(BtnZoomOut, &QPushButton::clicked, this, [this] { view_->zoomOut(); });
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
}

TfrmPrintPreview::~TfrmPrintPreview() = default;

void TfrmPrintPreview::openPreview(std::function<void(Printer&)> draw, std::function<void()> print,
                                   std::function<void()> exportPdf) {
    draw_ = std::move(draw);
    print_ = std::move(print);
    exportPdf_ = std::move(exportPdf);
    view_->updatePreview();
    show();
    raise();
    activateWindow();
}

int TfrmPrintPreview::pageCount() const {
    return view_->pageCount();
}

void TfrmPrintPreview::paint(QPrinter* printer) {
    if (!draw_) return;
    guarded(ctx_, [&] {
        QtPrinter onPaper(*printer);
        draw_(onPaper);
    });
}

}  // namespace ca::app
