// Looks and placement shared by the calendar, hour table and minute table.
#pragma once

#include "controls/imgframe.h"

#include <initializer_list>
#include <span>
#include <string>

class TButton;
class TForm;
class TLabel;
class TMenuItem;
class TPopupMenu;

// Pixels of the skins' background colour within width x height become the desktop's button face.
void ReplaceSkinBackground(TImgFrame* image, int width, int height);

// The tables sit centred on the main window, a caption's height lower, inside the desktop work area.
void PlaceTableWindow(TForm* form);

// The camera count the hour and minute tables follow: the setup menu's, which a remote search takes from
// the recorder and a recorder-disk search sets to four; 0 before either.
int TableCameraCount();

// With one camera the table shows its first row alone and the buttons under it; with four, every row.
// Other camera counts leave the rows as they are, in a client area that fits them again (a "Prev" leaves
// it shrunk).
void FitTableToCameras(TForm* form, TLabel* secondRowLabel, std::span<TImgFrame* const> secondRow,
                       int clientWidth, std::initializer_list<TButton*> oneRowButtons);

// Only a recorder that answers the log-in with 3 or more takes backup spans from the search windows.
bool BackupSpansOffered();
// The backup span's menu opens at the mouse, only for a recorder that can back up.
void PopupBackupMenu(TPopupMenu* menu);
// BACKUP buttons are enabled only where a span can be set: for any other recorder they could only say
// that none is.
void EnableBackupButtons(std::initializer_list<TButton*> buttons);

// Captions of the backup span's labels, button and menu items in the language shown.
void SetBackupSpanCaptions(TLabel* startLabel, TLabel* endLabel, TButton* backup, TMenuItem* setStart,
                           TMenuItem* setEnd);

// Where the search reads from, as the main window has it; a local disk search also learns the roots.
void ReadSearchSource(int& localDbMode, int& searchSource, std::string& dbRoot, std::string& avRoot);

// An empty span is refused with a message box over the form; otherwise the form hides and the backup
// window asks for the size, coming back to returnForm.
void StartBackupFrom(TForm* form, int returnForm);
