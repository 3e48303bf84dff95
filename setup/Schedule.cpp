#include "setup/Schedule.h"

TfrmSchedule* frmSchedule = nullptr;

TfrmSchedule::TfrmSchedule(TComponent* owner) : TForm(owner) {
    LoadDefinition("Schedule", Bindings());
}

const TFormBindings& TfrmSchedule::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("GroupBox1", &TfrmSchedule::GroupBox1)
                                              .AddField("rbtOn", &TfrmSchedule::rbtOn)
                                              .AddField("rbtOff", &TfrmSchedule::rbtOff)
                                              .AddField("btnTime_Table", &TfrmSchedule::btnTime_Table)
                                              .AddField("btnHoliday", &TfrmSchedule::btnHoliday)
                                              .AddField("btnPrev", &TfrmSchedule::btnPrev)
                                              .AddField("ListBox1", &TfrmSchedule::ListBox1);
    return bindings;
}
