// A user's whole session in one run of the client: a seeded random walk through the roads, each taken
// only where the session's state allows it, with the same checks after every road whatever came
// before it.
#pragma once

#include "tests/e2e/Client.h"

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace e2e {

// What the session has come to; the roads' preconditions read it, their ends set it.
struct ModelState {
    int result = 3; // the recorder's result of the 101 reply: 2 is an older recorder
    bool connected = false;
    bool live = false;      // live view runs, in four screens
    bool localOpen = false; // a recording played on this computer stopped: its four cameras stay shown
    // Folders with recordings this computer can play: the recorder's own and what backups wrote.
    std::vector<std::filesystem::path> playable;
    // Every file a road wrote, with its size and a digest of its bytes as the road left it.
    std::map<std::string, std::pair<std::size_t, std::size_t>> written;
    int steps = 0; // roads walked so far; names the files of the next one
};

struct Model {
    Model(Session& session, unsigned seed) : s(session), c(session), rng(seed) {}

    Session& s;
    Client c;
    ModelState state;
    std::mt19937 rng;
    Box mainBox;    // the main window as the client opened it
    Shot firstLook; // the main window before any road: the idle look of its buttons

    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    // Notes a file the road wrote; the checks after every later road find it unchanged.
    void Wrote(const std::filesystem::path& file);
};

struct ModelRoad {
    const char* name;
    bool (*can)(const ModelState&);
    void (*walk)(Model&);
};

const std::vector<ModelRoad>& ModelRoads();

// The checks after every road: windows, buttons, screens, files and the recorder's packet log.
void CheckInvariants(Model& m, const std::string& after);

} // namespace e2e
