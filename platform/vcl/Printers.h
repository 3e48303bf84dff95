// The printer: one print job at a time, drawn on Canvas() in printer pixels.
//
// Printers() lists the CUPS printers when there are any, else one entry: "PDF file". A job goes to the
// PDF file SetFileName named (the print dialog names the file the user prints to), else to the chosen
// printer; with the "PDF file" entry chosen, to the default PDF file: the one the environment variable
// HARBEK_PRINT_PDF names (the list is then that entry alone; the tests use it), else
// "<home>/harbek-print.pdf". Failures (no printer, a file that cannot be written, a call out of order)
// raise EPrinter.
#pragma once

#include "platform/vcl/Graphics.h"

#include <memory>
#include <string>
#include <vector>

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    const std::vector<std::string>& Printers();
    // -1 is the default printer.
    int PrinterIndex();
    void SetPrinterIndex(int index); // EPrinter outside -1..Count-1
    std::string Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation); // EPrinter while printing
    int Copies() const { return copies_; }
    void SetCopies(int copies);

    void BeginDoc(); // EPrinter when a job is already open
    void EndDoc();   // finishes the job; EPrinter when none is open
    void Abort();    // drops the job; nothing is printed
    void NewPage();
    bool Printing() const;
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }

    // The page's drawable area in printer pixels (the printer's resolution), valid at any time.
    int PageWidth();
    int PageHeight();
    // Drawing on it outside BeginDoc..EndDoc raises EPrinter.
    TCanvas* Canvas();

    // The PDF file the next jobs write, whichever printer is chosen; empty sends them to the printer.
    void SetFileName(const std::string& fileName); // EPrinter while printing
    const std::string& FileName() const { return fileName_; }
    // The PDF file a job started now would write; empty when it would go to a printer.
    std::string PdfTarget();
    // The file the current or last PDF job writes; empty for printer jobs.
    std::string OutputFileName() const;

private:
    class TImpl;
    std::unique_ptr<TImpl> impl_;
    std::string title_;
    std::string fileName_;
    TPrinterOrientation orientation_ = poPortrait;
    int copies_ = 1;
    int pageNumber_ = 0;
    bool aborted_ = false;
};

// The program's printer, created on first use; SetPrinter replaces it (tests) and returns the old one.
TPrinter* Printer();
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);
