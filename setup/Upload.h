// Sends one configuration file to several recorders of the address book.
#pragma once

#include <string>

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmUpload : public TForm {
public:
    explicit TfrmUpload(TComponent* owner);

    TLabel* Label1 = nullptr;
    TListBox* lbIPAddress = nullptr;
    TButton* btnRight = nullptr;
    TButton* btnRightAll = nullptr;
    TButton* btnLeft = nullptr;
    TButton* btnLeftAll = nullptr;
    TLabel* Label2 = nullptr;
    TListBox* lbDestAddress = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* edtPath = nullptr;
    TButton* btnBrowse = nullptr;
    TButton* btnOk = nullptr;
    TButton* BtnCancel = nullptr;
    TListBox* ListBox1 = nullptr;

    // program folder + "ipaddress.lst"
    std::string AddressBookPath() const;

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void btnRightClick(TObject* sender);
    void btnLeftClick(TObject* sender);
    void btnRightAllClick(TObject* sender);
    void btnLeftAllClick(TObject* sender);
    void btnBrowseClick(TObject* sender);
    void BtnCancelClick(TObject* sender);
    void btnOkClick(TObject* sender);

private:
    void Log(const std::string& line);
    // Connects the command socket to one destination and sends it the file.
    void SendTo(const std::string& destination, const std::string& bytes);
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmUpload> frmUpload;
