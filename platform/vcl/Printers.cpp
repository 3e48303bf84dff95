// The printer on Qt print support: CUPS printers, or a PDF file.
#include "platform/vcl/Printers.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/GraphicsQt.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>
#include <mutex>

namespace {

constexpr const char* PdfEntry = "PDF file";
constexpr int PdfResolution = 600;

std::string DefaultPdfFile() {
    const char* path = std::getenv("HARBEK_PRINT_PDF");
    if (path && *path) return path;
    return (QDir::homePath() + "/harbek-print.pdf").toStdString();
}

bool PdfForced() {
    const char* path = std::getenv("HARBEK_PRINT_PDF");
    return path && *path;
}

// Drawing on the printer's canvas outside a job is an error, not a silent no-op.
class TPrinterCanvas : public TCanvas {
protected:
    void CreateHandle() override { throw EPrinter("Printer is not printing"); }
};

} // namespace

class TPrinter::TImpl {
public:
    std::vector<std::string> names;
    bool listed = false;
    int index = -1;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    HDC dc = nullptr;
    TPrinterCanvas canvas;
    std::string outputFile;

    // The PDF file a job writes now, or empty for the chosen printer.
    std::string Target(const std::string& fileName) const {
        if (!fileName.empty()) return fileName;
        const int i = index < 0 ? 0 : index;
        if (PdfForced() || names.empty() || names[i] == PdfEntry) return DefaultPdfFile();
        return {};
    }

    void Configure(QPrinter& p, const std::string& title, const std::string& fileName,
                   TPrinterOrientation orientation, int copies) {
        outputFile = Target(fileName);
        if (!outputFile.empty()) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setResolution(PdfResolution);
            p.setOutputFileName(QString::fromStdString(outputFile));
        } else {
            const int i = index < 0 ? 0 : index;
            p.setPrinterName(QString::fromStdString(names[i]));
        }
        p.setDocName(QString::fromStdString(title));
        p.setPageOrientation(orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        p.setCopyCount(copies);
    }

    void Finish() {
        canvas.SetHandle(nullptr);
        if (dc) {
            DeleteDC(dc);
            dc = nullptr;
        }
    }
};

TPrinter::TPrinter() : impl_(std::make_unique<TImpl>()) {}

TPrinter::~TPrinter() {
    if (Printing()) Abort();
}

const std::vector<std::string>& TPrinter::Printers() {
    if (!impl_->listed) {
        vcl_qt::EnsureGuiApplication();
        impl_->names.clear();
        if (!PdfForced())
            for (const QString& name : QPrinterInfo::availablePrinterNames())
                impl_->names.push_back(name.toStdString());
        if (impl_->names.empty()) impl_->names.push_back(PdfEntry);
        impl_->listed = true;
    }
    return impl_->names;
}

int TPrinter::PrinterIndex() {
    Printers();
    return impl_->index;
}

void TPrinter::SetPrinterIndex(int index) {
    const int count = static_cast<int>(Printers().size());
    if (index < -1 || index >= count) throw EPrinter(Format("Printer index %d out of range", index));
    if (Printing()) throw EPrinter("Cannot change the printer while printing");
    impl_->index = index;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation) {
    if (Printing()) throw EPrinter("Cannot change the orientation while printing");
    orientation_ = orientation;
}

void TPrinter::SetFileName(const std::string& fileName) {
    if (Printing()) throw EPrinter("Cannot change the file while printing");
    fileName_ = fileName;
}

std::string TPrinter::PdfTarget() {
    Printers();
    return impl_->Target(fileName_);
}

void TPrinter::SetCopies(int copies) {
    copies_ = copies < 1 ? 1 : copies;
}

bool TPrinter::Printing() const {
    return impl_->painter != nullptr;
}

void TPrinter::BeginDoc() {
    if (Printing()) throw EPrinter("Printing in progress");
    Printers();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    impl_->Configure(*printer, title_, fileName_, orientation_, copies_);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer.get()))
        throw EPrinter(impl_->outputFile.empty() ? "Cannot start printing"
                                                 : "Cannot write " + impl_->outputFile);
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    impl_->printer = std::move(printer);
    impl_->painter = std::move(painter);
    impl_->dc = vcl_qt::CreatePainterDC(impl_->painter.get(), page.size());
    impl_->canvas.SetHandle(impl_->dc);
    pageNumber_ = 1;
    aborted_ = false;
}

void TPrinter::EndDoc() {
    if (!Printing()) throw EPrinter("Printer is not printing");
    impl_->Finish();
    const bool ok = impl_->painter->end();
    impl_->painter.reset();
    impl_->printer.reset();
    if (!ok) throw EPrinter("Printing failed");
    if (!impl_->outputFile.empty() && QFileInfo(QString::fromStdString(impl_->outputFile)).size() <= 0)
        throw EPrinter("Nothing was written to " + impl_->outputFile);
}

void TPrinter::Abort() {
    if (!Printing()) return;
    impl_->Finish();
    impl_->printer->abort();
    impl_->painter->end();
    impl_->painter.reset();
    impl_->printer.reset();
    if (!impl_->outputFile.empty()) QFile::remove(QString::fromStdString(impl_->outputFile));
    aborted_ = true;
}

void TPrinter::NewPage() {
    if (!Printing()) throw EPrinter("Printer is not printing");
    impl_->printer->newPage();
    ++pageNumber_;
}

int TPrinter::PageWidth() {
    if (impl_->printer)
        return impl_->printer->pageLayout().paintRectPixels(impl_->printer->resolution()).width();
    Printers();
    vcl_qt::EnsureGuiApplication();
    QPrinter probe(QPrinter::HighResolution);
    std::string saved = impl_->outputFile;
    impl_->Configure(probe, title_, fileName_, orientation_, copies_);
    impl_->outputFile = saved;
    return probe.pageLayout().paintRectPixels(probe.resolution()).width();
}

int TPrinter::PageHeight() {
    if (impl_->printer)
        return impl_->printer->pageLayout().paintRectPixels(impl_->printer->resolution()).height();
    Printers();
    vcl_qt::EnsureGuiApplication();
    QPrinter probe(QPrinter::HighResolution);
    std::string saved = impl_->outputFile;
    impl_->Configure(probe, title_, fileName_, orientation_, copies_);
    impl_->outputFile = saved;
    return probe.pageLayout().paintRectPixels(probe.resolution()).height();
}

TCanvas* TPrinter::Canvas() {
    return &impl_->canvas;
}

std::string TPrinter::OutputFileName() const {
    return impl_->outputFile;
}

namespace {

std::mutex& PrinterMutex() {
    static std::mutex m;
    return m;
}
std::unique_ptr<TPrinter>& ThePrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

} // namespace

TPrinter* Printer() {
    std::lock_guard<std::mutex> lock(PrinterMutex());
    if (!ThePrinter()) ThePrinter() = std::make_unique<TPrinter>();
    return ThePrinter().get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer) {
    std::lock_guard<std::mutex> lock(PrinterMutex());
    std::swap(ThePrinter(), printer);
    return printer;
}
