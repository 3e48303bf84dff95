// The camera page: title, picture, covert and sequence of each camera.
#pragma once

#include <array>
#include <string>

#include "setup/ConfigAccess.h"
#include "setup/TitleFilter.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

// One camera's settings as the camera page shows them.
struct CameraRecord {
    std::string title;
    int brightness = 50; // 0..100
    int contrast = 50;   // 0..100
    BYTE covert = 0;
    int sequence = 3; // index into the sequence list: 0 OFF, n = n seconds
};

class TfrmCamera : public TForm {
public:
    explicit TfrmCamera(TComponent* owner);

    TGroupBox* GroupBox1 = nullptr;
    TComboBox* cmbCam = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TEdit* edtTitle = nullptr;
    TGroupBox* GroupBox5 = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TScrollBar* scbBri = nullptr;
    TGroupBox* GroupBox6 = nullptr;
    TScrollBar* scbCon = nullptr;
    TGroupBox* GroupBox4 = nullptr;
    TRadioButton* rbtCovertOn = nullptr;
    TRadioButton* rbtCovertOff = nullptr;
    TGroupBox* GroupBox7 = nullptr;
    TComboBox* cmbSeq = nullptr;
    TButton* btnPrev = nullptr;
    TButton* btnCancel = nullptr;

    std::array<CameraRecord, 4> CameraTable{};
    // What the page showed of each camera when it was loaded or last saved: a leave writes only the
    // items the user changed since.
    std::array<CameraRecord, 4> Shown{};
    // 1..4 and 0..3.
    int CurrentCamera = 1;
    int CurrentIndex = 0;
    TTitleFilter TitleFilter;
    TConfigAccess Config;

    // Fresh records, the lists, then camera 1.
    void InitCameraTable();
    // Shows camera 1..4 from its record and config.ini as it is now (the menu re-reads it), the title
    // and covert flag also into the record. A stored number that is not one raises EConvertError.
    void LoadSettings(int camera);
    // Stores the controls into the record of camera index 0..3 and writes the keys the user changed.
    void SaveSettings(int index);
    // InitCameraTable, then cameras 4, 3 and 2: the table holds every title and covert flag of the
    // file, which the main window takes (TFrmMain::RefreshCameraTitles).
    void ReloadAllCameras();

    void FormShow(TObject* sender);
    void cmbCamChange(TObject* sender);
    void btnPrevClick(TObject* sender);
    void btnCancelClick(TObject* sender);
    void edtTitleKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void edtTitleKeyPress(TObject* sender, char& key);
    void edtTitleKeyUp(TObject* sender, WORD& key, TShiftState shift);

private:
    CameraRecord ControlsRecord() const;
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmCamera> frmCamera;
