// Printing to a PDF file, the printer's errors, and the print dialog's test hook.
#include "platform/vcl/PrintDialog.h"
#include "platform/vcl/Printers.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class Printing : public testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("HARBEK_PRINT_PDF");
        saved_ = old ? old : "";
        hadOld_ = old != nullptr;
        pdf_ = dir_.File("snapshot.pdf");
        setenv("HARBEK_PRINT_PDF", pdf_.c_str(), 1);
    }
    void TearDown() override {
        if (hadOld_)
            setenv("HARBEK_PRINT_PDF", saved_.c_str(), 1);
        else
            unsetenv("HARBEK_PRINT_PDF");
    }

    testing_support::TempDir dir_;
    std::string pdf_;
    std::string saved_;
    bool hadOld_ = false;
};

TEST_F(Printing, SnapshotGoesToAPdfFile) {
    TPrinter printer;
    ASSERT_EQ(printer.Printers().size(), 1u);
    EXPECT_EQ(printer.Printers()[0], "PDF file");
    EXPECT_EQ(printer.PrinterIndex(), -1);
    // Printer pixels: a page is several times the screen's 96 dots per inch.
    EXPECT_GT(printer.PageWidth(), 3000);
    EXPECT_GT(printer.PageHeight(), printer.PageWidth());

    TBitmap snapshot(691, 473);
    snapshot.Canvas()->Brush()->SetColor(clNavy);
    snapshot.Canvas()->FillRect(TRect{0, 0, 691, 473});
    printer.SetTitle("PRINT");
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    printer.Canvas()->StretchDraw(TRect{20, 0, int(691 * 6.8), int(473 * 6.8)}, &snapshot);
    printer.Canvas()->Font()->SetSize(12);
    printer.Canvas()->TextOut(40, 3300, "2026-12-08 12:00:00");
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.OutputFileName(), pdf_);
    const std::string bytes = testing_support::ReadFileBytes(pdf_);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
}

TEST_F(Printing, ANamedFileTakesTheJobsUntilTheNameIsCleared) {
    TPrinter printer;
    EXPECT_EQ(printer.PdfTarget(), pdf_);
    const std::string named = dir_.File("named.pdf");
    printer.SetFileName(named);
    EXPECT_EQ(printer.PdfTarget(), named);
    printer.BeginDoc();
    EXPECT_THROW(printer.SetFileName(pdf_), EPrinter);
    printer.Canvas()->Rectangle(100, 100, 600, 400);
    printer.EndDoc();
    EXPECT_EQ(printer.OutputFileName(), named);
    EXPECT_EQ(testing_support::ReadFileBytes(named).substr(0, 5), "%PDF-");
    EXPECT_FALSE(std::filesystem::exists(pdf_));
    printer.SetFileName("");
    EXPECT_EQ(printer.PdfTarget(), pdf_);
}

TEST_F(Printing, CallsOutOfOrderRaise) {
    TPrinter printer;
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    EXPECT_THROW(printer.NewPage(), EPrinter);
    EXPECT_THROW(printer.Canvas()->FillRect(TRect{0, 0, 10, 10}), EPrinter);
    EXPECT_THROW(printer.SetPrinterIndex(1), EPrinter);
    EXPECT_THROW(printer.SetPrinterIndex(-2), EPrinter);
    printer.SetPrinterIndex(0);
    EXPECT_EQ(printer.PrinterIndex(), 0);
    printer.Abort(); // nothing to abort
    EXPECT_FALSE(printer.Aborted());
}

TEST_F(Printing, AbortLeavesNoFileAndPagesCount) {
    TPrinter printer;
    printer.BeginDoc();
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(std::filesystem::exists(pdf_));
    // The printer is usable again.
    printer.BeginDoc();
    printer.Canvas()->Rectangle(100, 100, 600, 400);
    printer.EndDoc();
    EXPECT_TRUE(std::filesystem::exists(pdf_));
}

TEST_F(Printing, UnwritableTargetRaises) {
    setenv("HARBEK_PRINT_PDF", (dir_.Str() + "no/such/folder/out.pdf").c_str(), 1);
    TPrinter printer;
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    EXPECT_FALSE(printer.Printing());
}

TEST_F(Printing, DialogHookAnswersWithoutShowing) {
    TPrintDialog dialog(nullptr);
    int shown = 0, closed = 0;
    dialog.OnShow = TNotifyEvent([&](TObject*) { ++shown; });
    dialog.OnClose = TNotifyEvent([&](TObject*) { ++closed; });
    auto previous = TPrintDialog::SetExecuteHook([](TPrintDialog& d) {
        d.SetCopies(3);
        return true;
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_EQ(Printer()->Copies(), 3);
    TPrintDialog::SetExecuteHook([](TPrintDialog&) { return false; });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(closed, 2);
    TPrintDialog::SetExecuteHook(nullptr);
    EXPECT_FALSE(dialog.Execute()); // offscreen and unanswered: cancelled, never waits
    EXPECT_EQ(shown, 3);
    TPrintDialog::SetExecuteHook(previous);
    Printer()->SetCopies(1);
}

} // namespace
