#include "playback/FileTable.h"

TFrmFileTable* FrmFileTable = nullptr;

TFrmFileTable::TFrmFileTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("FileTable", Bindings());
}

const TFormBindings& TFrmFileTable::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("lbPage", &TFrmFileTable::lbPage)
                                              .AddField("lbBackup", &TFrmFileTable::lbBackup)
                                              .AddField("lbSearch", &TFrmFileTable::lbSearch)
                                              .AddField("lbDevice", &TFrmFileTable::lbDevice)
                                              .AddField("btn1", &TFrmFileTable::btn1)
                                              .AddField("btn2", &TFrmFileTable::btn2)
                                              .AddField("btn3", &TFrmFileTable::btn3)
                                              .AddField("btn4", &TFrmFileTable::btn4)
                                              .AddField("btn5", &TFrmFileTable::btn5)
                                              .AddField("btn6", &TFrmFileTable::btn6)
                                              .AddField("btn7", &TFrmFileTable::btn7)
                                              .AddField("btn8", &TFrmFileTable::btn8)
                                              .AddField("btnCancel", &TFrmFileTable::btnCancel)
                                              .AddField("BmButton1", &TFrmFileTable::BmButton1)
                                              .AddField("BmButton2", &TFrmFileTable::BmButton2);
    return bindings;
}
