#include "playback/FileList.h"

TfrmFileList* frmFileList = nullptr;

TfrmFileList::TfrmFileList(TComponent* owner) : TForm(owner) {
    LoadDefinition("FileList", Bindings());
}

const TFormBindings& TfrmFileList::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("ImgFrame1", &TfrmFileList::ImgFrame1)
                                              .AddField("BtnMinimize", &TfrmFileList::BtnMinimize)
                                              .AddField("BtnClose", &TfrmFileList::BtnClose)
                                              .AddField("lbFileList", &TfrmFileList::lbFileList)
                                              .AddField("ListBox2", &TfrmFileList::ListBox2);
    return bindings;
}
