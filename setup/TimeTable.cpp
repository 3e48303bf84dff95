#include "setup/TimeTable.h"

TfrmTimeTable* frmTimeTable = nullptr;

TfrmTimeTable::TfrmTimeTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("TimeTable", Bindings());
}

const TFormBindings& TfrmTimeTable::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("StringGrid", &TfrmTimeTable::StringGrid)
                                              .AddField("lbHour0", &TfrmTimeTable::lbHour0)
                                              .AddField("lbHour3", &TfrmTimeTable::lbHour3)
                                              .AddField("lbHour6", &TfrmTimeTable::lbHour6)
                                              .AddField("lbHour9", &TfrmTimeTable::lbHour9)
                                              .AddField("lbHour12", &TfrmTimeTable::lbHour12)
                                              .AddField("lbHour15", &TfrmTimeTable::lbHour15)
                                              .AddField("lbHour18", &TfrmTimeTable::lbHour18)
                                              .AddField("lbHour21", &TfrmTimeTable::lbHour21)
                                              .AddField("lbMon", &TfrmTimeTable::lbMon)
                                              .AddField("btnMon", &TfrmTimeTable::btnMon)
                                              .AddField("lbTue", &TfrmTimeTable::lbTue)
                                              .AddField("btnTue", &TfrmTimeTable::btnTue)
                                              .AddField("lbWed", &TfrmTimeTable::lbWed)
                                              .AddField("btnWed", &TfrmTimeTable::btnWed)
                                              .AddField("lbThu", &TfrmTimeTable::lbThu)
                                              .AddField("btnThu", &TfrmTimeTable::btnThu)
                                              .AddField("lbFri", &TfrmTimeTable::lbFri)
                                              .AddField("btnFri", &TfrmTimeTable::btnFri)
                                              .AddField("lbSat", &TfrmTimeTable::lbSat)
                                              .AddField("btnSat", &TfrmTimeTable::btnSat)
                                              .AddField("lbSun", &TfrmTimeTable::lbSun)
                                              .AddField("BbtSun", &TfrmTimeTable::BbtSun)
                                              .AddField("lbHol", &TfrmTimeTable::lbHol)
                                              .AddField("btnHol", &TfrmTimeTable::btnHol)
                                              .AddField("Button0", &TfrmTimeTable::Button0)
                                              .AddField("Button1", &TfrmTimeTable::Button1)
                                              .AddField("Button2", &TfrmTimeTable::Button2)
                                              .AddField("Button3", &TfrmTimeTable::Button3)
                                              .AddField("Button4", &TfrmTimeTable::Button4)
                                              .AddField("Button5", &TfrmTimeTable::Button5)
                                              .AddField("Button6", &TfrmTimeTable::Button6)
                                              .AddField("Button7", &TfrmTimeTable::Button7)
                                              .AddField("Button8", &TfrmTimeTable::Button8)
                                              .AddField("Button9", &TfrmTimeTable::Button9)
                                              .AddField("Button10", &TfrmTimeTable::Button10)
                                              .AddField("Button11", &TfrmTimeTable::Button11)
                                              .AddField("Button12", &TfrmTimeTable::Button12)
                                              .AddField("Button13", &TfrmTimeTable::Button13)
                                              .AddField("Button14", &TfrmTimeTable::Button14)
                                              .AddField("Button15", &TfrmTimeTable::Button15)
                                              .AddField("Button16", &TfrmTimeTable::Button16)
                                              .AddField("Button17", &TfrmTimeTable::Button17)
                                              .AddField("Button18", &TfrmTimeTable::Button18)
                                              .AddField("Button19", &TfrmTimeTable::Button19)
                                              .AddField("Button20", &TfrmTimeTable::Button20)
                                              .AddField("Button21", &TfrmTimeTable::Button21)
                                              .AddField("Button22", &TfrmTimeTable::Button22)
                                              .AddField("Button23", &TfrmTimeTable::Button23)
                                              .AddField("btnPrev", &TfrmTimeTable::btnPrev);
    return bindings;
}
