#include "platform/vcl/PrintDialog.h"

#include "platform/core/Debug.h"
#include "platform/vcl/DialogWindows.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/Printers.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include <mutex>

namespace {

std::mutex& HookMutex() {
    static std::mutex m;
    return m;
}
TPrintDialog::TExecuteHook& Hook() {
    static TPrintDialog::TExecuteHook hook;
    return hook;
}

const bool Registered = [] {
    RegisterComponentClass<TPrintDialog>("TPrintDialog");
    return true;
}();

} // namespace

TPrintDialog::TPrintDialog(TComponent* owner) : TComponent(owner) {
    (void)Registered;
}

TPrintDialog::TExecuteHook TPrintDialog::SetExecuteHook(TExecuteHook hook) {
    std::lock_guard<std::mutex> lock(HookMutex());
    std::swap(Hook(), hook);
    return hook;
}

bool TPrintDialog::Execute() {
    TExecuteHook hook;
    {
        std::lock_guard<std::mutex> lock(HookMutex());
        hook = Hook();
    }
    if (OnShow) OnShow(this);
    bool accepted = false;
    if (hook) {
        accepted = hook(*this);
    } else if (vcl_qt::EnsureGuiApplication(),
               QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // Nobody can answer a dialog on the offscreen platform: cancel instead of waiting forever.
        DebugTrace("TPrintDialog::Execute", "offscreen, no test hook: cancelled");
    } else {
        TPrinter* printer = Printer();
        const auto& names = printer->Printers();
        QPrinter qprinter(QPrinter::HighResolution);
        // A job that would go to a file opens the dialog on printing to that file, named.
        const std::string file = printer->PdfTarget();
        const int index = printer->PrinterIndex() < 0 ? 0 : printer->PrinterIndex();
        if (!file.empty())
            qprinter.setOutputFileName(QString::fromStdString(file));
        else
            qprinter.setPrinterName(QString::fromStdString(names[index]));
        qprinter.setCopyCount(copies_);
        QPrintDialog dialog(&qprinter, QApplication::activeWindow());
        // The dialog asks before it lets a file be replaced.
        accepted = vcl_internal::ExecDialog(&dialog, nullptr) == QDialog::Accepted;
        if (accepted) {
            const QString named = qprinter.outputFileName();
            if (qprinter.outputFormat() == QPrinter::PdfFormat && !named.isEmpty()) {
                printer->SetFileName(QFileInfo(named).absoluteFilePath().toStdString());
            } else {
                printer->SetFileName("");
                const std::string chosen = qprinter.printerName().toStdString();
                for (int i = 0; i < static_cast<int>(names.size()); ++i)
                    if (names[i] == chosen) printer->SetPrinterIndex(i);
            }
            SetCopies(qprinter.copyCount());
        }
    }
    if (accepted) Printer()->SetCopies(copies_);
    if (OnClose) OnClose(this);
    return accepted;
}

bool TPrintDialog::ReadProperty(TPropertyReader& reader) {
    if (reader.Is("Copies")) {
        SetCopies(reader.Integer());
        return true;
    }
    if (reader.Is("Left") || reader.Is("Top")) {
        reader.Integer();
        return true;
    }
    return TComponent::ReadProperty(reader);
}
