// The play list: a borderless skinned panel beside the main window that lists the recordings of a
// folder played locally.
#pragma once

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <string>

class TfrmFileList : public TForm {
public:
    explicit TfrmFileList(TComponent* owner);

    TImgFrame* ImgFrame1 = nullptr;
    TBmButton* BtnMinimize = nullptr;
    TBmButton* BtnClose = nullptr;
    TListBox* lbFileList = nullptr;
    TListBox* ListBox2 = nullptr;

    // Lists the recordings of `folder` (ending with a separator) that match `mask`, builds the frame
    // index of those without one into "Temporary/" and fills the reader's play list in name order. True
    // when at least one recording was listed.
    bool LoadFolder(const std::string& folder, const std::string& mask);
    int GetFileCount() const { return fileCount_; }
    // The last LoadFolder stopped because the work it served was ended meanwhile (the program's end).
    bool ScanEnded() const { return scanEnded_; }
    int GetSelectedIndex() const { return selectedIndex_; }

    void FormShow(TObject* sender);
    void BtnCloseClick(TObject* sender);
    void BtnMinimizeClick(TObject* sender);
    void ImgFrame1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void lbFileListClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
    // False when the scan has to stop.
    bool EnsureIndex(const std::string& name);

    std::string folder_;
    std::string mask_;
    int fileCount_ = 0;
    bool scanEnded_ = false;
    int selectedIndex_ = 0;
};

extern TFormVar<TfrmFileList> frmFileList;
