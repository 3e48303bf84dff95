// Local playback standing still, driven by hand: First, Last, Stop, the slider dragged, NEXT and PREV
// after a change of direction, and a click in the play list each put the pictures of their new position
// on the four screens.
#include "tests/e2e/Roads.h"
#include "tests/support/Display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace e2e {
namespace {

// Two recordings of four cameras, one after the other in one folder; of the standard the form's places
// are for.
fs::path TwoRecordings(Session& s) {
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::string out = s.Work() + "/store";
    std::string output;
    if (testing_support::RunProgram({std::string(binary ? binary : ".") + "/tools/recgen/recgen", "--out",
                                     out, "--days", "1", "--hours", "12,13", "--seconds", "20", "--fps", "5",
                                     "--cameras", "4", "--standard", "pal"},
                                    {}, &output) != 0)
        Fail("the store generator failed: " + output);
    const fs::path folder = s.Work() + "/played";
    fs::create_directories(folder);
    for (const auto& hour : fs::directory_iterator(out + "/avfiles"))
        for (const auto& file : fs::directory_iterator(hour.path()))
            fs::copy_file(file.path(), folder / file.path().filename());
    return folder;
}

// A control of a window's form on the display.
Box Inside(const Window& w, Box b) {
    return Box{w.box.x + b.x, w.box.y + b.y, b.w, b.h};
}

// The hand's press: the button down, a moment, the button up.
void Press(Session& s, int x, int y) {
    testing_support::RunProgram({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1",
                                 "mousedown", "1", "sleep", "0.15", "mouseup", "1"},
                                {"DISPLAY=" + s.Display()});
}

void Press(Session& s, Box b) {
    Press(s, b.x + b.w / 2, b.y + b.h / 2);
}

// A drag in steps from one point to another, the button held all the way.
void Drag(Session& s, int x0, int x1, int y, int steps) {
    std::vector<std::string> argv{"xdotool", "mousemove", std::to_string(x0), std::to_string(y),
                                  "sleep",   "0.1",       "mousedown",        "1"};
    for (int k = 1; k <= steps; ++k)
        for (const std::string& a : {std::string("sleep"), std::string("0.05"), std::string("mousemove"),
                                     std::to_string(x0 + (x1 - x0) * k / steps), std::to_string(y)})
            argv.push_back(a);
    for (const char* a : {"sleep", "0.15", "mouseup", "1"})
        argv.push_back(a);
    testing_support::RunProgram(argv, {"DISPLAY=" + s.Display()});
}

class Pictures {
public:
    Pictures(Session& s, Client& c) : s_(s), c_(c), screens_(c.Screens()) {}

    // The screens once they stand: two looks a moment apart that agree.
    Shot Settled(const std::string& name) {
        Shot last = s_.Take(name);
        for (int look = 0; look < 20; ++look) {
            Session::Pause(150);
            Shot now = s_.Take(name);
            if (now.Changed(last, screens_) < 0.001) return now;
            last = now;
        }
        Fail(name + ": the pictures never stood still");
    }
    // The screens once they have left `before` and stand again: a slider's release repositions only
    // after a pause of its own, which two close looks at the old pictures would take for standing.
    Shot SettledAfter(const Shot& before, const std::string& name) {
        if (!Session::WaitFor([&] { return s_.Take(name).Changed(before, screens_) >= 0.02; }, 5000))
            Fail(name + ": the pictures never left where they were");
        return Settled(name);
    }
    // The largest share of changed pixels in one camera's quarter.
    double QuarterChange(const Shot& a, const Shot& b) const {
        double most = 0;
        for (int camera = 1; camera <= 4; ++camera)
            most = std::max(most, a.Changed(b, c_.Quarter(camera)));
        return most;
    }
    // Every quarter shows its camera's colour.
    void ExpectFourCameras(const Shot& shot, const std::string& when) const {
        for (int camera = 1; camera <= 4; ++camera)
            if (shot.Share(c_.Quarter(camera), CameraTint(camera)) < 0.05)
                Fail(when + ": screen " + std::to_string(camera) + " shows no picture of its camera");
    }
    void ExpectSame(const Shot& a, const Shot& b, const std::string& what) const {
        if (a.Changed(b, screens_) > 0.002) Fail(what + ": not the pictures of that position");
    }
    void ExpectOther(const Shot& a, const Shot& b, const std::string& what) const {
        if (a.Changed(b, screens_) < 0.02) Fail(what + ": the pictures stayed as they were");
    }

private:
    Session& s_;
    Client& c_;
    Box screens_;
};

void StandingTransportShowsItsPosition(Session& s) {
    s.Start({.recorder = false});
    Client c(s);
    const fs::path folder = TwoRecordings(s);
    Press(s, c.MainControl("BtnSearch"));
    Press(s, Inside(s.WaitWindow("LOCAL SEARCH"), FormLayout("LocalSearch.dfm").Bounds("btnFile")));
    c.Choose("Select a folder", folder.string());
    const Window list = s.WaitWindow("PLAY LIST");
    Press(s, c.MainControl("BtnQuad"));
    Pictures p(s, c);
    const auto press = [&](const char* control, const char* name) {
        Press(s, c.MainControl(control));
        return p.Settled(name);
    };

    // The first pictures of the file, as opening it shows them.
    const Shot start = press("BtnStop", "start");
    p.ExpectFourCameras(start, "the folder opened");
    Press(s, c.MainControl("BtnPlay"));
    if (!c.Moving(c.Screens())) Fail("PLAY: the pictures stand still");
    const Shot paused = press("BtnPause", "paused");
    p.ExpectOther(paused, start, "PLAY, then PAUSE");

    const Shot first = press("BtnFirst", "first");
    p.ExpectOther(first, paused, "FIRST while paused");
    p.ExpectSame(first, start, "FIRST");
    const Shot last = press("BtnLast", "last");
    p.ExpectOther(last, first, "LAST while paused");
    p.ExpectFourCameras(last, "LAST");
    p.ExpectSame(press("BtnStop", "stop"), start, "STOP");

    // The knob dragged from the start past the track's end, then back to its middle.
    const Box slider = c.MainControl("SliderSearch");
    const int y = slider.y + slider.h / 2;
    Drag(s, slider.x + 3, slider.Right() + 30, y, 12);
    const Shot end = p.SettledAfter(start, "dragged-to-end");
    p.ExpectSame(end, last, "the slider dragged to its end");
    Drag(s, slider.Right() - 3, slider.x + slider.w / 2, y, 12);
    const Shot middle = p.SettledAfter(end, "dragged-to-middle");
    p.ExpectOther(middle, last, "the slider dragged to its middle");
    p.ExpectOther(middle, start, "the slider dragged to its middle");
    p.ExpectFourCameras(middle, "the slider's middle");

    // NEXT after fast reverse, PREV after NEXT: each press puts a new picture on a screen.
    Press(s, c.MainControl("BtnPlay"));
    Session::WaitFor([&] { return c.Moving(c.Screens(), 800); }, 3000);
    Press(s, c.MainControl("BtnReverse"));
    Press(s, c.MainControl("BtnFastReverse"));
    Shot before = press("BtnPause", "reversed");
    const auto step = [&](const char* control, int times) {
        for (int k = 0; k < times; ++k) {
            const Shot after = press(control, control);
            if (p.QuarterChange(after, before) < 0.01)
                Fail(std::string(control) + " press " + std::to_string(k + 1) + " changed no picture");
            before = after;
        }
    };
    step("BtnNext", 3);
    step("BtnNext", 3);
    step("BtnPrev", 3);

    // The play list's second recording: its first pictures, which STOP shows again.
    const FormLayout listForm("FileList.dfm");
    const Box rows = Inside(list, listForm.Bounds("lbFileList"));
    Press(s, rows.x + rows.w / 2, rows.y + 19);
    const Shot second = p.Settled("second-file");
    p.ExpectOther(second, before, "the play list's second row");
    p.ExpectFourCameras(second, "the play list's second row");
    p.ExpectSame(press("BtnStop", "second-stop"), second, "STOP in the second file");
}

TEST(PlaybackRoads, StandingTransportShowsItsPosition) {
    Session session("standing_transport");
    std::string failure;
    try {
        StandingTransportShowsItsPosition(session);
    } catch (const std::exception& e) {
        failure = e.what();
        ADD_FAILURE() << failure;
    }
    if (HasFailure())
        std::cout << "kept for the reader: " << session.KeepForReader(failure) << std::endl;
    else
        session.Discard();
}

} // namespace
} // namespace e2e
