// The connect dialog: recorder address and port, password, log-in level and the address book.
#pragma once

#include "client/AddressBook.h"
#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

#include <string>

class TFrmLog : public TForm {
public:
    explicit TFrmLog(TComponent* owner);

    TImgFrame* ImgBackground = nullptr;
    TImgFrame* ImgListBackground = nullptr;
    TBmButton* BtnClose = nullptr;
    TBmButton* BtnOk = nullptr;
    TBmButton* BtnAdd = nullptr;
    TBmButton* BtnRemove = nullptr;
    TBmButton* BtnCancel = nullptr;
    TLabel* LabelIP = nullptr;
    TLabel* LabelPort = nullptr;
    TLabel* LabelPassword = nullptr;
    TEdit* ebIP = nullptr;
    TEdit* ebPort = nullptr;
    TMaskEdit* mePassword = nullptr;
    TListBox* lbIPAddress = nullptr;
    TRadioButton* rbtAdmin = nullptr;
    TRadioButton* rbtUser = nullptr;
    // Save and reload the address book.
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

    int UserLevel = 2; // 1 administrator, 2 user
    std::string ResolvedAddress;

    // 1 when the administrator level is chosen, else 2 when the user level is, else the last answer.
    int GetUserLevel();
    static bool ParseDottedAddress(const std::string& text, TIPv4& address);
    // program folder + "ipaddress.lst"
    std::string AddressBookPath() const;

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void BtnOkClick(TObject* sender);
    void BtnCloseClick(TObject* sender);
    void BtnCancelClick(TObject* sender);
    void BtnAddClick(TObject* sender);
    void BtnRemoveClick(TObject* sender);
    void lbIPAddressClick(TObject* sender);
    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);
    void rbtAdminClick(TObject* sender);
    void rbtUserClick(TObject* sender);
    void ebIPKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void ebPortKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void mePasswordKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void ImgBackgroundMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

private:
    static const TFormBindings& Bindings();
    void LoadAddressBook();
    void SaveAddressBook();
    void ShowBox(int captionId, int textId);
};

extern TFormVar<TFrmLog> FrmLog;
