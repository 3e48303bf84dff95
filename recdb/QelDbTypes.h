// Small enumerations shared by the search windows and the queries on the recorder's databases.
#pragma once

// State of a day, hour or minute cell.
enum DayMarkState : int {
    dmsNone = 0,      // no recording
    dmsRecording = 1, // drawn red
    dmsEvent = 2,     // drawn yellow
};

// Search mode of the search options window; channel -1 means all channels.
enum SearchMode : int {
    smAll = 1,
    smEvent = 2,
    smBack = 3,
};
