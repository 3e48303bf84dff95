// Program entry of the client.
#include "client/AudioLibrary.h"
#include "client/HarbekWindows.h"
#include "client/ProgramStart.h"

#include "platform/core/AppPaths.h"

int main(int argc, char** argv) {
    SetCommandLine(argc, argv);
    if (const int ended = ReadHarbekOptions(); ended >= 0) return ended;
    RegisterAudioLibrary();
    return RunHarbek();
}
