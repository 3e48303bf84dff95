// Program entry of the client.
#include "client/AudioLibrary.h"
#include "client/HarbekWindows.h"

#include "platform/core/AppPaths.h"

int main(int argc, char** argv) {
    SetCommandLine(argc, argv);
    RegisterAudioLibrary();
    return RunHarbek();
}
