// The setup pass against the simulated recorder, driven by seeded random sequences of what a user does:
// mouse clicks and keys on the pages' own controls (cameras, groups and channels switched, OK, CANCEL,
// APPLY), with the recorder taking, refusing, not answering or dropping the link at each upload. A plain
// model follows the edits; after each sequence the config.ini, schedule.dat and holiday.ini the recorder
// holds must be the original files with the edits it took, byte for byte outside the edited lines (and
// the client's own config.ini the same with the edits it holds). HARBEK_SETUP_MODEL_SEED=<n> runs one
// sequence; a failure names its seed and the steps that led to it.
#include "tests/setup/PagesRig.h"

#include "recdb/Calendar.h"
#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Device.h"
#include "setup/Menu.h"
#include "setup/Record2.h"
#include "setup/Schedule.h"
#include "setup/System.h"
#include "setup/TimeTable.h"
#include "tools/recgen/SetupFiles.h"

#include "tests/support/TestSupport.h"

#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/WinUser.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

namespace setup_test {
namespace {

// ---- The files as text ----

// Key and value of each line, in sections by name; edits: key to new value, or nothing when deleted.
using TEdits = std::map<std::string, std::optional<std::string>>;

const std::string kConfig =
    "; written by the recorder\r\n[config]\r\n1_1_1=2\r\n2_1_1=3\r\n3_2_4=720\r\n"
    "27_1_1=HARBEK SIM\r\n40_1_1=5000\r\n62_1_1=1\r\n63_1_1=4\r\n66_1_1=10\r\n21_1_2=1\r\n"
    "23_1_4=1\r\n25_1_1=70\r\n24_1_1=5\r\n34_1_1=FRONT\r\n34_1_2=REAR\r\n34_1_3=DOOR\r\n"
    "34_1_4=CABIN\r\n70_3_1=some recording value\r\n15_2_1=1\r\n43_2_1=1\r\n13_2_1=3\r\n"
    "8_1_2=0\r\n[extra]\r\nx=1\r\n";
const std::string kHolidays =
    "[holiday]\r\n54_1_1=1\r\n54_5_5=1\r\n; kept\r\n54_12_25=1\r\n[other]\r\n54_2_2=1\r\n";

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Calls line(section, key or "", the line with its ending) for each line of the file.
template <class Line>
void ForEachLine(const std::string& bytes, Line line) {
    std::string section;
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = bytes.find('\n', pos);
        end = end == std::string::npos ? bytes.size() : end + 1;
        const std::string text = bytes.substr(pos, end - pos);
        std::string body = text;
        while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
            body.pop_back();
        std::string key;
        if (!body.empty() && body[0] == '[' && body.find(']') != std::string::npos)
            section = body.substr(1, body.find(']') - 1);
        else if (!body.empty() && body[0] != ';' && body.find('=') != std::string::npos)
            key = Trim(body.substr(0, body.find('=')));
        line(section, key, text, body);
        pos = end;
    }
}

std::optional<std::string> ValueIn(const std::string& bytes, const std::string& section,
                                   const std::string& key) {
    std::optional<std::string> value;
    ForEachLine(bytes,
                [&](const std::string& s, const std::string& k, const std::string&, const std::string& body) {
                    if (!value && s == section && k == key) value = Trim(body.substr(body.find('=') + 1));
                });
    return value;
}

// The file without the lines of the edited keys in the section.
std::string WithoutKeys(const std::string& bytes, const std::string& section, const TEdits& edits) {
    std::string out;
    ForEachLine(bytes,
                [&](const std::string& s, const std::string& k, const std::string& text, const std::string&) {
                    if (!(s == section && edits.count(k) != 0)) out += text;
                });
    return out;
}

// The original with the edits: its lines outside them byte for byte, the edited keys by value.
::testing::AssertionResult SameFile(const std::string& actual, const std::string& original,
                                    const std::string& section, const TEdits& edits) {
    if (WithoutKeys(actual, section, edits) != WithoutKeys(original, section, edits))
        return ::testing::AssertionFailure() << "lines outside the edits differ:\n"
                                             << WithoutKeys(actual, section, edits) << "\nexpected\n"
                                             << WithoutKeys(original, section, edits);
    for (const auto& [key, value] : edits)
        if (ValueIn(actual, section, key) != value)
            return ::testing::AssertionFailure()
                   << key << " is " << ValueIn(actual, section, key).value_or("<none>") << ", expected "
                   << value.value_or("<none>");
    return ::testing::AssertionSuccess();
}

// ---- The model ----

enum class TWhere { Closed, Menu, System, Device, Camera, Alarm, Record, Schedule, TimeTable, Calendar };
// What the recorder does with the uploads (and the apply command) of one action.
enum class TReply { Accept, Refuse, Silent, Drop, Refuse121, Silent121, Drop121 };

// A setup file as edits of its original.
struct TIniModel {
    const std::string* original;
    const char* section;
    TEdits edits;
    std::optional<std::string> Value(const std::string& key) const {
        const auto it = edits.find(key);
        return it != edits.end() ? it->second : ValueIn(*original, section, key);
    }
    // What differs from `from` to `to`, as replaying it sets and deletes.
    static TEdits Changes(const TIniModel& from, const TIniModel& to) {
        TEdits out;
        std::set<std::string> keys;
        for (const auto& [k, v] : from.edits)
            keys.insert(k);
        for (const auto& [k, v] : to.edits)
            keys.insert(k);
        for (const std::string& k : keys)
            if (from.Value(k) != to.Value(k)) out[k] = to.Value(k);
        return out;
    }
    void Apply(const TEdits& changes) {
        for (const auto& [k, v] : changes)
            edits[k] = v;
    }
};

int Number(const std::optional<std::string>& text, int fallback) {
    if (!text) return fallback;
    char* end = nullptr;
    const long v = std::strtol(text->c_str(), &end, 10);
    return end != text->c_str() && *end == '\0' ? static_cast<int>(v) : fallback;
}

// The recording page's items that the sequences change, by key; every other key stays as loaded.
struct TRecordModel {
    std::map<std::string, int> values;
    int group = 0, channel = 0, currentGroup = 0, loadedGroup = 0;

    static int Default(int item) {
        switch (item) {
        case 8:
        case 14:
            return item == 8 ? 2 : 1;
        case 12:
            return 3;
        case 41:
        case 2:
        case 6:
        case 10:
            return 1;
        default:
            return 0;
        }
    }
    static std::string Key(int item, int g, int c) { return Format("%d_%d_%d", item, g + 1, c + 1); }
    int& At(int item, int g, int c) { return values.at(Key(item, g, c)); }
    int& Here(int item) { return At(item, group, channel); }
    int& Group(int item) { return At(item, group, 0); }
    int& Page(int item) { return values.at(Key(item, 0, 0)); }

    void Load(const TIniModel& config) {
        values.clear();
        auto read = [&](int item, int g, int c) {
            const std::string key = Key(item, g, c);
            int v = Number(config.Value(key), Default(item));
            const bool flag = item != 8 && item != 12 && item != 13 && item != 14 && item != 60;
            if (flag) v = v != 0 ? 1 : 0;
            if ((item == 8 || item == 12) && (v < 0 || v > 3)) v = Default(item);
            values[key] = v;
        };
        for (int item : {5, 2, 57, 60})
            read(item, 0, 0);
        for (int g = 0; g < 5; ++g) {
            for (int item : {6, 10, 9, 38, 13})
                read(item, g, 0);
            for (int c = 0; c < 4; ++c)
                for (int item : {8, 12, 41, 42, 43, 44, 15, 16, 18, 19, 14})
                    read(item, g, c);
        }
        const int first = Number(config.Value("1_1_1"), 1);
        currentGroup = loadedGroup = group = first >= 1 && first <= 5 ? first - 1 : 0;
        channel = 0;
    }
    // The key texts OK gives: nothing deletes the key.
    std::map<std::string, std::optional<std::string>> Texts(int current) const {
        std::map<std::string, std::optional<std::string>> out;
        for (const auto& [key, v] : values) {
            const int item = std::atoi(key.c_str());
            if (item == 43) continue;
            out[key] = v == Default(item) ? std::nullopt : std::optional(std::to_string(v));
        }
        for (int g = 0; g < 5; ++g)
            for (int c = 0; c < 4; ++c) {
                const bool trigger = values.at(Key(15, g, c)) != 0 || values.at(Key(16, g, c)) != 0;
                out[Key(43, g, c)] = values.at(Key(43, g, c)) != 0 ? std::optional<std::string>("1")
                                     : trigger                     ? std::optional<std::string>("0")
                                                                   : std::nullopt;
            }
        out["1_1_1"] = current <= 0 ? std::nullopt : std::optional(std::to_string(current + 1));
        return out;
    }
    // OK: the keys whose texts changed since loading; a group's pre-record takes its stale keys along.
    TEdits Changes(const TRecordModel& loaded) const {
        TEdits out;
        const auto before = loaded.Texts(loaded.loadedGroup);
        for (const auto& [key, text] : Texts(currentGroup)) {
            if (before.at(key) == text) continue;
            out[key] = text;
            if (std::atoi(key.c_str()) == 13)
                for (int c = 2; c <= 4; ++c)
                    out[Format("13_%c_%d", key[3], c)] = std::nullopt;
        }
        return out;
    }
};

struct TModel {
    // What the recorder holds.
    TIniModel recConfig{&kConfig, "config", {}};
    TIniModel recHolidays{&kHolidays, "holiday", {}};
    std::string recSchedule;
    // The client's files: config.ini and its received copy, the edits kept from an APPLY that did not
    // get through (received, edited), the pass's holiday.ini and schedule.dat with their copies.
    std::optional<TIniModel> local, received;
    std::optional<std::pair<TIniModel, TIniModel>> kept;
    // An APPLY of the pass sent config.ini and did not hear it applied: the recorder may hold it, so
    // the next pass fetches the file whatever CANCEL put back.
    bool refetch = false;
    TIniModel holidays{&kHolidays, "holiday", {}};
    std::optional<TIniModel> receivedHolidays;
    std::string schedule;
    std::optional<std::string> receivedSchedule;
    bool linkUp = true;
    TWhere where = TWhere::Closed;

    // The page being edited, as it shows.
    struct TSystem {
        std::string title, shownTitle;
        bool summer = false, shownSummer = false;
        std::array<int, 6> choices{}, shownChoices{};
    } system;
    struct TCamera {
        std::string title;
        int brightness = 50, contrast = 50, sequence = 3;
        bool covert = false;
        bool operator==(const TCamera&) const = default;
    };
    int camera = 0;
    TCamera cameraShown, cameraNow;
    bool alarmShown = false, alarmNow = false;
    TRecordModel record, recordLoaded;
    bool scheduleOn = false;
    std::array<std::array<int, 24>, 8> grid{};

    void LoadCamera(int index) {
        camera = index;
        const std::string n = std::to_string(index + 1);
        TCamera c;
        c.title = local->Value("34_1_" + n).value_or("");
        c.brightness = std::clamp(Number(local->Value("25_1_" + n), 50), 0, 100);
        c.contrast = std::clamp(Number(local->Value("26_1_" + n), 50), 0, 100);
        c.covert = Number(local->Value("23_1_" + n), 0) != 0;
        const int seq = Number(local->Value("24_1_" + n), -1);
        // A key past the list, or none, shows the page's own default.
        c.sequence = seq >= 0 && seq <= 10 ? seq : 3;
        cameraShown = cameraNow = c;
    }
    void SaveCamera() {
        const std::string n = std::to_string(camera + 1);
        const TCamera& a = cameraShown;
        const TCamera& b = cameraNow;
        auto put = [&](const std::string& key, const std::string& was, const std::string& now,
                       bool isDefault) {
            if (was != now) local->edits[key] = isDefault ? std::nullopt : std::optional(now);
        };
        // A value reads back without the spaces around it.
        if (a.title != b.title)
            local->edits["34_1_" + n] = b.title.empty() ? std::nullopt : std::optional(Trim(b.title));
        put("25_1_" + n, std::to_string(a.brightness), std::to_string(b.brightness), b.brightness == 50);
        put("26_1_" + n, std::to_string(a.contrast), std::to_string(b.contrast), b.contrast == 50);
        put("23_1_" + n, a.covert ? "1" : "0", b.covert ? "1" : "0", !b.covert);
        put("24_1_" + n, std::to_string(a.sequence), std::to_string(b.sequence), b.sequence == 3);
        cameraShown = cameraNow;
    }
    void LoadAlarm(int index) {
        camera = index;
        alarmShown = alarmNow = Number(local->Value("21_1_" + std::to_string(index + 1)), 0) != 0;
    }
    void SaveAlarm() {
        if (alarmShown != alarmNow)
            local->edits["21_1_" + std::to_string(camera + 1)] =
                alarmNow ? std::optional<std::string>("1") : std::nullopt;
    }
    void LoadSystem() {
        system.title = local->Value("27_1_1").value_or("");
        system.summer = Number(local->Value("62_1_1"), 0) != 0;
        static constexpr int kDefaults[] = {2, 4, 0, 9, 4, 0};
        static constexpr int kCounts[] = {12, 5, 7, 12, 5, 7};
        for (int i = 0; i < 6; ++i) {
            const int stored = Number(local->Value(Format("%d_1_1", 63 + i)), 0);
            system.choices[static_cast<std::size_t>(i)] =
                stored >= 1 && stored <= kCounts[i] ? stored - 1 : kDefaults[i];
        }
        system.shownTitle = system.title;
        system.shownSummer = system.summer;
        system.shownChoices = system.choices;
    }
    void SaveSystem() {
        static constexpr int kDefaults[] = {2, 4, 0, 9, 4, 0};
        if (system.title != system.shownTitle) {
            std::string upper = system.title;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            local->edits["27_1_1"] = upper.empty() ? std::nullopt : std::optional(Trim(upper));
        }
        if (system.summer != system.shownSummer)
            local->edits["62_1_1"] = system.summer ? std::optional<std::string>("1") : std::nullopt;
        for (int i = 0; i < 6; ++i) {
            const int v = system.choices[static_cast<std::size_t>(i)];
            if (v != system.shownChoices[static_cast<std::size_t>(i)])
                local->edits[Format("%d_1_1", 63 + i)] =
                    v == kDefaults[i] ? std::nullopt : std::optional(std::to_string(v + 1));
        }
    }
    void LoadGrid() {
        for (int r = 0; r < 8; ++r)
            for (int h = 0; h < 24; ++h) {
                const int m = static_cast<signed char>(schedule[static_cast<std::size_t>(4 + 24 * r + h)]);
                grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(h)] = m >= 0 && m <= 5 ? m : 0;
            }
    }
    void SaveGrid() {
        for (int r = 0; r < 8; ++r)
            for (int h = 0; h < 24; ++h)
                schedule[static_cast<std::size_t>(4 + 24 * r + h)] =
                    static_cast<char>(grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(h)]);
    }
    void StartPass() {
        holidays = recHolidays;
        schedule = recSchedule;
        receivedHolidays.reset();
        receivedSchedule.reset();
        if (kept || refetch || !local) local = recConfig;
        refetch = false;
        received = local;
        if (kept) local->Apply(TIniModel::Changes(kept->first, kept->second));
        where = TWhere::Menu;
    }
    void LinkLost() {
        linkUp = false;
        where = TWhere::Closed;
    }
};

// ---- The rig ----

class SetupModel : public PagesRig, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        PagesRig::SetUp();
        Application->CreateForm(frmSchedule);
        Application->CreateForm(frmTimeTable);
        Application->CreateForm(frmCalendar);
        sim_ = &StartRecorder(kConfig);
        AnswerYes();
    }

    void Run(std::uint32_t seed) {
        rng_.seed(seed);
        log_.str("");
        model_ = TModel{};
        model_.recSchedule = recgen::DefaultScheduleDat();
        model_.linkUp = LinkUp();
        sim_->ClearFaults();
        sim_->SetServedFile(QELFILE_CONFIG, kConfig);
        sim_->SetServedFile(QELFILE_SCHEDULE, model_.recSchedule);
        sim_->SetServedFile(QELFILE_HOLIDAY, kHolidays);
        for (const char* name : {"config.ini", "temp_config.ini", "holiday.ini", "temp_holiday.ini",
                                 "schedule.dat", "temp_schedule.dat"})
            std::filesystem::remove(HomeFile(name));
        std::filesystem::remove_all(HomeFile("Unapplied"));
        const int steps = 6 + Pick(20);
        for (int i = 0; i < steps && !HasFailure(); ++i)
            Step();
        Check();
        // The next sequence starts from a closed pass, left as a user leaves it.
        for (int i = 0; i < 8 && model_.where != TWhere::Closed && !HasFailure(); ++i)
            Leave();
        EXPECT_EQ(model_.where, TWhere::Closed);
        if (HasFailure()) {
            std::string debug;
            for (const std::string& line : DebugLines())
                debug += line + "; ";
            ADD_FAILURE() << "the steps: " << log_.str() << "\nthe client's debug list: " << debug;
        }
    }

private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    int Direction() { return Chance(50) ? 1 : -1; }
    void Note(const std::string& what) { log_ << what << "; "; }

    // A radio or button pressed with the mouse, or the space key on it.
    void Press(TControl* control) {
        if (Chance(70))
            form_testing::Click(control);
        else
            form_testing::PressKey(control, VK_SPACE, TShiftState(), " ");
    }
    // A drop-down list one entry down or up; false when it was at the end.
    bool Step(TComboBox* list, int up) {
        const int before = list->ItemIndex();
        form_testing::PressKey(list, up > 0 ? VK_DOWN : VK_UP);
        return list->ItemIndex() != before;
    }
    void TypeTitle(TEdit* edit, std::string& title) {
        static const char kKeys[] = "abcXYZ019 .-_#";
        std::string text;
        for (int n = Pick(12); n > 0; --n)
            text += kKeys[Pick(static_cast<int>(sizeof kKeys - 1))];
        Note("type \"" + text + "\"");
        form_testing::TypeText(edit, "");
        form_testing::PressKey(edit, 'A', TShiftState{ssCtrl}, "\x01");
        form_testing::PressKey(edit, VK_BACK, TShiftState(), "\b");
        for (const char c : text) {
            // "#" as a keyboard gives it: shift and 3.
            if (c == '#')
                form_testing::PressKey(edit, '3', TShiftState{ssShift}, "#");
            else
                form_testing::TypeText(edit, std::string(1, c));
        }
        std::string kept;
        for (char c : text)
            if (c != '#' && static_cast<int>(kept.size()) < edit->MaxLength()) kept += c;
        title = kept;
    }

    // Faults for the uploads of one action; silence runs its time out on a fake tick.
    TReply ChooseReply(bool apply) {
        const TReply r = static_cast<TReply>(Pick(apply ? 7 : 4));
        const TReply reply = Chance(50) ? TReply::Accept : r;
        recsim::SimFaults f;
        switch (reply) {
        case TReply::Refuse:
            f.replies[NETCMD_FILE].result = 0;
            break;
        case TReply::Silent:
            f.replies[NETCMD_FILE].silent = true;
            break;
        case TReply::Drop:
            f.closeOnCommand = NETCMD_FILE;
            break;
        case TReply::Refuse121:
            f.replies[NETCMD_APPLY].result = 2;
            break;
        case TReply::Silent121:
            f.replies[NETCMD_APPLY].silent = true;
            break;
        case TReply::Drop121:
            f.closeOnCommand = NETCMD_APPLY;
            break;
        case TReply::Accept:
            break;
        }
        sim_->SetFaults(f);
        Note(Format("reply %d", static_cast<int>(reply)));
        return reply;
    }
    template <class Action>
    void WithReply(TReply reply, Action action) {
        if (reply == TReply::Silent || reply == TReply::Silent121) {
            testing_support::FakeTick tick(1000, 50);
            action();
        } else {
            action();
        }
        sim_->ClearFaults();
        if (reply == TReply::Drop || reply == TReply::Drop121) {
            PumpReal([this] { return !LinkUp(); });
            form_testing::ProcessEvents();
        }
    }

    void Step();
    // One step back towards the closed pass: CANCEL or PREV of the window on top.
    void Leave();
    void StepMenu();
    void StepSystem();
    void StepDevice();
    void StepCamera();
    void StepAlarm();
    void StepRecord();
    void StepSchedule();
    void StepTimeTable();
    void StepCalendar();
    void RecordRadio();
    void CheckRecordShown();
    void Check();

    recsim::RecSim* sim_ = nullptr;
    std::mt19937 rng_;
    TModel model_;
    std::ostringstream log_;
};

void SetupModel::Step() {
    TModel& m = model_;
    switch (m.where) {
    case TWhere::Closed:
        Note("setup");
        if (!LinkUp()) {
            LogIn(*sim_);
            ASSERT_TRUE(LinkUp());
            m.linkUp = true;
            m.local.reset(); // the log-in deletes it
        }
        FrmMain->BtnSetup->OnClick(FrmMain->BtnSetup);
        ASSERT_TRUE(frmMenu->Visible());
        m.StartPass();
        return;
    case TWhere::Menu:
        return StepMenu();
    case TWhere::System:
        return StepSystem();
    case TWhere::Device:
        return StepDevice();
    case TWhere::Camera:
        return StepCamera();
    case TWhere::Alarm:
        return StepAlarm();
    case TWhere::Record:
        return StepRecord();
    case TWhere::Schedule:
        return StepSchedule();
    case TWhere::TimeTable:
        return StepTimeTable();
    case TWhere::Calendar:
        return StepCalendar();
    }
}

void SetupModel::StepMenu() {
    TModel& m = model_;
    const int what = Pick(10);
    if (what < 2) {
        Note("system");
        form_testing::Click(frmMenu->btnSystem);
        m.LoadSystem();
        m.where = TWhere::System;
    } else if (what < 4) {
        Note("device");
        form_testing::Click(frmMenu->btnDevice);
        m.where = TWhere::Device;
    } else if (what < 7) {
        Note("record");
        form_testing::Click(frmMenu->btnRecord);
        m.record.Load(*m.local);
        m.recordLoaded = m.record;
        m.scheduleOn = m.record.Page(5) != 0;
        m.where = TWhere::Record;
    } else if (what < 9) {
        Note("APPLY");
        const TReply reply = ChooseReply(true);
        WithReply(reply, [] { form_testing::Click(frmMenu->btnOk); });
        m.kept = std::make_pair(*m.received, *m.local);
        const bool taken = reply == TReply::Accept || reply == TReply::Refuse121 ||
                           reply == TReply::Silent121 || reply == TReply::Drop121;
        if (taken) m.recConfig = *m.local;
        if (reply == TReply::Accept) {
            m.received.reset();
            m.kept.reset();
            m.where = TWhere::Closed;
        } else {
            m.refetch = true;
        }
        if (reply == TReply::Drop || reply == TReply::Drop121) {
            m.LinkLost();
        }
    } else {
        Leave();
    }
}

void SetupModel::StepSystem() {
    TModel::TSystem& s = model_.system;
    TComboBox* lists[] = {frmSystem->cmbStart_m, frmSystem->cmbStart_w, frmSystem->cmbStart_d,
                          frmSystem->cmbEnd_m,   frmSystem->cmbEnd_w,   frmSystem->cmbEnd_d};
    const int what = Pick(10);
    if (what < 2) {
        TypeTitle(frmSystem->edtTitle, s.title);
    } else if (what < 4) {
        const bool on = Chance(50);
        Note(on ? "summer on" : "summer off");
        Press(on ? frmSystem->rbtOn : frmSystem->rbtOff);
        s.summer = on;
    } else if (what < 7) {
        const int i = Pick(6);
        const int up = Direction();
        Note(Format("list %d %+d", i, up));
        if (lists[i]->Enabled() && Step(lists[i], up)) s.choices[static_cast<std::size_t>(i)] += up;
    } else if (what < 9) {
        Note("system OK");
        form_testing::Click(frmSystem->btnOk);
        model_.SaveSystem();
        model_.where = TWhere::Menu;
    } else {
        return Leave();
    }
    EXPECT_EQ(frmSystem->edtTitle->Text(), s.title);
}

void SetupModel::StepDevice() {
    const int what = Pick(8);
    if (what < 3) {
        Note("camera");
        form_testing::Click(frmDevice->btnCamera);
        model_.LoadCamera(0);
        model_.where = TWhere::Camera;
    } else if (what < 6) {
        Note("alarm");
        form_testing::Click(frmDevice->btnAlarm);
        model_.LoadAlarm(0);
        model_.where = TWhere::Alarm;
    } else if (what == 6) {
        Note("device PREV");
        form_testing::Click(frmDevice->btnPrev);
        model_.where = TWhere::Menu;
    } else {
        Leave();
    }
}

void SetupModel::StepCamera() {
    TModel& m = model_;
    TModel::TCamera& c = m.cameraNow;
    const int what = Pick(12);
    if (what < 3) {
        const int up = Direction();
        Note(Format("camera %+d", up));
        if (Step(frmCamera->cmbCam, up)) {
            m.SaveCamera();
            m.LoadCamera(m.camera + up);
        }
    } else if (what < 5) {
        TypeTitle(frmCamera->edtTitle, c.title);
    } else if (what < 7) {
        const bool bright = Chance(50);
        const int clicks = 1 + Pick(25);
        const int up = Direction();
        Note(Format("%s %+d x%d", bright ? "brightness" : "contrast", up, clicks));
        TScrollBar* bar = bright ? frmCamera->scbBri : frmCamera->scbCon;
        int& value = bright ? c.brightness : c.contrast;
        // On the bar's arrows.
        const TPoint arrow{up > 0 ? bar->Width() - 3 : 2, bar->Height() / 2};
        for (int k = 0; k < clicks; ++k) {
            form_testing::Click(bar, arrow);
            value = std::clamp(value + up * bar->SmallChange(), 0, 100);
        }
    } else if (what < 8) {
        c.covert = Chance(50);
        Note(c.covert ? "covert on" : "covert off");
        Press(c.covert ? frmCamera->rbtCovertOn : frmCamera->rbtCovertOff);
    } else if (what < 9) {
        const int up = Direction();
        Note(Format("sequence %+d", up));
        if (Step(frmCamera->cmbSeq, up)) c.sequence += up;
    } else if (what < 11) {
        Note("camera PREV");
        form_testing::Click(frmCamera->btnPrev);
        m.SaveCamera();
        m.where = TWhere::Device;
    } else {
        Leave();
    }
    if (m.where == TWhere::Camera) {
        EXPECT_EQ(frmCamera->edtTitle->Text(), c.title);
        EXPECT_EQ(frmCamera->scbBri->Position(), c.brightness);
        EXPECT_EQ(frmCamera->scbCon->Position(), c.contrast);
        EXPECT_EQ(frmCamera->cmbSeq->ItemIndex(), c.sequence);
    }
}

void SetupModel::StepAlarm() {
    TModel& m = model_;
    const int what = Pick(8);
    if (what < 3) {
        const int up = Direction();
        Note(Format("alarm camera %+d", up));
        if (Step(frmAlarm->cmbCam, up)) {
            m.SaveAlarm();
            m.LoadAlarm(m.camera + up);
        }
    } else if (what < 6) {
        m.alarmNow = Chance(50);
        Note(m.alarmNow ? "normal close" : "normal open");
        Press(m.alarmNow ? frmAlarm->rbtClose : frmAlarm->rbtOpen);
    } else if (what < 7) {
        Note("alarm PREV");
        form_testing::Click(frmAlarm->btnPrev);
        m.SaveAlarm();
        m.where = TWhere::Device;
    } else {
        Leave();
    }
    if (m.where == TWhere::Alarm) {
        EXPECT_EQ(frmAlarm->rbtClose->Checked(), m.alarmNow);
    }
}

void SetupModel::RecordRadio() {
    TfrmRecord2* p = frmRecord2;
    TRecordModel& r = model_.record;
    struct TRadio {
        TRadioButton* control;
        int item; // 0: a rule of its own below
        int value;
        bool group;
    };
    const TRadio radios[] = {
        {p->rbtLow, 8, 0, false},
        {p->rbtMed, 8, 1, false},
        {p->rbtHigh, 8, 2, false},
        {p->rbtSuper, 8, 3, false},
        {p->rbtLow_e, 12, 0, false},
        {p->rbtSuper_e, 12, 3, false},
        {p->rbtRecordOn, 41, 1, false},
        {p->rbtRecordOff, 41, 0, false},
        {p->rbtNetworkOn, 42, 1, false},
        {p->rbtNetworkOff, 42, 0, false},
        {p->rbtRecordOn_e, 43, 1, false},
        {p->rbtRecordOff_e, 43, 0, false},
        {p->rbtNetworkOn_e, 44, 1, false},
        {p->rbtNetworkOff_e, 44, 0, false},
        {p->rbtMotionOn_e, 15, 1, false},
        {p->rbtMotionOff_e, 15, 0, false},
        {p->rbtAlarmInOn_e, 16, 1, false},
        {p->rbtAlarmInOff_e, 16, 0, false},
        {p->rbtM_AlarmOutOn_e, 18, 1, false},
        {p->rbtM_AlarmOutOff_e, 18, 0, false},
        {p->rbtAlarmOutOn_e, 19, 1, false},
        {p->rbtAlarmOutOff_e, 19, 0, false},
        {p->rbtVoiceOn, 9, 1, true},
        {p->rbtVoiceOff, 9, 0, true},
        {p->rbtVoiceOff_e, 38, 0, true},
        {p->rbtVoiceOn_e, 38, 1, true},
        {p->rbt320, 6, 0, true},
        {p->rbt720, 6, 1, true},
        {p->rbtOverOn, 2, 1, true},
        {p->rbtOverOff, 2, 0, true},
        {p->rbtBackupOn, 60, 1, true},
        {p->rbtBackupEvent, 60, 2, true},
        {p->rbtBackupOff, 60, 0, true},
        {p->rbtHdd, 57, 0, true},
        {p->rbtCf, 57, 1, true},
    };
    const TRadio& radio = radios[Pick(static_cast<int>(std::size(radios)))];
    Note("radio " + radio.control->Name());
    if (!radio.control->Enabled()) return;
    Press(radio.control);
    const bool page = radio.item == 2 || radio.item == 60 || radio.item == 57;
    int& value = page ? r.Page(radio.item) : radio.group ? r.Group(radio.item) : r.Here(radio.item);
    if (value == radio.value) return;
    value = radio.value;
    switch (radio.item) {
    case 41:
        if (radio.value == 0 && r.Here(42) == 0) r.Here(42) = 1;
        break;
    case 42:
        if (radio.value == 0 && r.Here(41) == 0) r.Here(41) = 1;
        break;
    case 15:
    case 16:
        if (radio.value == 0 && r.Here(radio.item == 15 ? 16 : 15) == 0) r.Here(43) = 0;
        break;
    case 6:
        r.Group(10) = radio.value;
        break;
    case 57:
        if (radio.value == 1) r.Page(60) = 0;
        break;
    }
}

void SetupModel::StepRecord() {
    TModel& m = model_;
    TfrmRecord2* p = frmRecord2;
    TRecordModel& r = m.record;
    const std::array<TPageControl*, 5> channelTabs{p->PageControl2, p->PageControl3, p->PageControl4,
                                                   p->PageControl5, p->PageControl6};
    const int what = Pick(20);
    if (what < 9) {
        RecordRadio();
    } else if (what < 11) {
        Note("next channel");
        form_testing::PressKey(channelTabs[static_cast<std::size_t>(r.group)], VK_TAB, TShiftState{ssCtrl});
        r.channel = (r.channel + 1) % 4;
    } else if (what < 12) {
        Note("next group");
        form_testing::PressKey(p->PageControl1, VK_TAB, TShiftState{ssCtrl});
        r.group = (r.group + 1) % 5;
        r.channel = 0;
    } else if (what < 13) {
        const int up = Direction();
        Note(Format("current group %+d", up));
        if (Step(p->cmbCur_group, up)) {
            r.currentGroup += up;
            r.group = r.currentGroup;
            r.channel = 0;
        }
    } else if (what < 15) {
        const bool pre = Chance(50);
        const int up = Direction();
        Note(Format("%s %+d", pre ? "pre-record" : "duration", up));
        TComboBox* list = pre ? p->cmbPre_rec_e : p->cmbDuration_e;
        if (list->Enabled() && Step(list, up)) (pre ? r.Group(13) : r.Here(14)) += up;
    } else if (what < 16) {
        Note("schedule");
        form_testing::Click(p->btnSchedule);
        m.where = TWhere::Schedule;
    } else if (what < 19) {
        Note("record OK");
        const TReply reply = ChooseReply(false);
        WithReply(reply, [p] { form_testing::Click(p->btnOk); });
        r.values["5_1_1"] = m.scheduleOn ? 1 : 0;
        m.local->Apply(r.Changes(m.recordLoaded));
        m.recordLoaded = r;
        m.recordLoaded.loadedGroup = r.currentGroup;
        if (reply == TReply::Accept) {
            m.recHolidays = m.holidays;
            m.recSchedule = m.schedule;
            m.receivedHolidays.reset();
            m.receivedSchedule.reset();
            m.where = TWhere::Menu;
        } else if (reply == TReply::Drop) {
            m.LinkLost();
        }
    } else {
        Leave();
    }
    if (m.where == TWhere::Record) CheckRecordShown();
}

// The radios of the shown channel show the model's table: what OK will write.
void SetupModel::CheckRecordShown() {
    TfrmRecord2* p = frmRecord2;
    TRecordModel& r = model_.record;
    EXPECT_EQ(p->ShownGroup, r.group);
    EXPECT_EQ(p->ShownChannel, r.channel);
    const std::array<TRadioButton*, 4> quality{p->rbtLow, p->rbtMed, p->rbtHigh, p->rbtSuper};
    EXPECT_TRUE(quality[static_cast<std::size_t>(r.Here(8))]->Checked());
    EXPECT_EQ(p->rbtRecordOn->Checked(), r.Here(41) != 0);
    EXPECT_EQ(p->rbtNetworkOn->Checked(), r.Here(42) != 0);
    EXPECT_EQ(p->rbtRecordOn_e->Checked(), r.Here(43) != 0);
    EXPECT_EQ(p->rbtMotionOn_e->Checked(), r.Here(15) != 0);
    EXPECT_EQ(p->rbtAlarmInOn_e->Checked(), r.Here(16) != 0);
    EXPECT_EQ(p->rbtCf->Checked(), r.Page(57) != 0);
    EXPECT_EQ(p->rbt720->Checked(), r.Group(6) != 0);
    EXPECT_EQ(p->cmbDuration_e->ItemIndex(), r.Here(14));
    EXPECT_EQ(p->cmbPre_rec_e->ItemIndex(), r.Group(13));
}

void SetupModel::StepSchedule() {
    TModel& m = model_;
    const int what = Pick(10);
    if (what < 3) {
        const bool on = Chance(60);
        Note(on ? "schedule on" : "schedule off");
        Press(on ? frmSchedule->rbtOn : frmSchedule->rbtOff);
        m.scheduleOn = on;
    } else if (what < 6) {
        Note("time table");
        if (!frmSchedule->btnTime_Table->Enabled()) return;
        form_testing::Click(frmSchedule->btnTime_Table);
        if (!m.receivedSchedule) m.receivedSchedule = m.schedule;
        m.LoadGrid();
        m.where = TWhere::TimeTable;
    } else if (what < 8) {
        Note("holidays");
        if (!frmSchedule->btnHoliday->Enabled()) return;
        form_testing::Click(frmSchedule->btnHoliday);
        if (!m.receivedHolidays) m.receivedHolidays = m.holidays;
        m.where = TWhere::Calendar;
    } else {
        Leave();
    }
}

void SetupModel::StepTimeTable() {
    TModel& m = model_;
    auto stepUp = [](int mode) { return mode == 5 ? 0 : mode + 1; };
    const int what = Pick(10);
    if (what < 5) {
        const int hour = Pick(24), row = Pick(8);
        const bool left = Chance(50);
        Note(Format("cell %d %d %s", hour, row, left ? "left" : "right"));
        TStringGrid* grid = frmTimeTable->StringGrid;
        const TRect rect = grid->CellRect(hour, row);
        const TPoint at{(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
        form_testing::MouseMove(grid, at);
        form_testing::MouseDown(grid, left ? mbLeft : mbRight, at);
        form_testing::MouseUp(grid, left ? mbLeft : mbRight, at);
        int& mode = m.grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(hour)];
        mode = left ? (mode == 0 ? 5 : mode - 1) : stepUp(mode);
    } else if (what < 7) {
        const int row = Pick(8);
        Note(Format("row %d", row));
        TButton* rows[] = {frmTimeTable->btnMon, frmTimeTable->btnTue, frmTimeTable->btnWed,
                           frmTimeTable->btnThu, frmTimeTable->btnFri, frmTimeTable->btnSat,
                           frmTimeTable->BbtSun, frmTimeTable->btnHol};
        form_testing::Click(rows[row]);
        auto& cells = m.grid[static_cast<std::size_t>(row)];
        cells.fill(stepUp(cells[0]));
    } else if (what < 9) {
        const int hour = Pick(24);
        Note(Format("hour %d", hour));
        form_testing::Click(form_testing::FindControlByName(frmTimeTable, "Button" + std::to_string(hour)));
        const int mode = stepUp(m.grid[0][static_cast<std::size_t>(hour)]);
        for (auto& cells : m.grid)
            cells[static_cast<std::size_t>(hour)] = mode;
    } else {
        Leave();
    }
}

void SetupModel::Leave() {
    TModel& m = model_;
    switch (m.where) {
    case TWhere::Closed:
        return;
    case TWhere::Menu:
        Note("CANCEL");
        form_testing::Click(frmMenu->btnCancel);
        m.local = m.received;
        m.received.reset();
        m.kept.reset();
        m.where = TWhere::Closed;
        return;
    case TWhere::System:
        Note("system CANCEL");
        form_testing::Click(frmSystem->btnCancel);
        m.where = TWhere::Menu;
        return;
    case TWhere::Device:
        Note("device CANCEL");
        form_testing::Click(frmDevice->btnCancel);
        m.where = TWhere::Menu;
        return;
    case TWhere::Camera:
        Note("camera CANCEL");
        form_testing::Click(frmCamera->btnCancel);
        m.where = TWhere::Device;
        return;
    case TWhere::Alarm:
        Note("alarm CANCEL");
        form_testing::Click(frmAlarm->btnCancel);
        m.where = TWhere::Device;
        return;
    case TWhere::Record:
        Note("record CANCEL");
        form_testing::Click(frmRecord2->btnCancel);
        if (m.receivedHolidays) m.holidays = *m.receivedHolidays;
        if (m.receivedSchedule) m.schedule = *m.receivedSchedule;
        m.receivedHolidays.reset();
        m.receivedSchedule.reset();
        m.where = TWhere::Menu;
        return;
    case TWhere::Schedule:
        Note("schedule PREV");
        form_testing::Click(frmSchedule->btnPrev);
        m.where = TWhere::Record;
        return;
    case TWhere::TimeTable:
        Note("time table PREV");
        form_testing::Click(frmTimeTable->btnPrev);
        m.SaveGrid();
        m.where = TWhere::Schedule;
        return;
    case TWhere::Calendar:
        Note("calendar back");
        form_testing::Click(frmCalendar->btnLive);
        m.where = TWhere::Schedule;
        return;
    }
}

void SetupModel::StepCalendar() {
    TModel& m = model_;
    if (Chance(25)) return Leave();
    const SYSTEMTIME now = GetLocalTime();
    const int days = TfrmCalendar::DaysInMonth(now.wYear, now.wMonth);
    const int day = 1 + Pick(days);
    Note(Format("day %d", day));
    const int cell = TfrmCalendar::FirstWeekday(now.wYear, now.wMonth) + day - 1;
    form_testing::Click(form_testing::FindControlByName(frmCalendar, "PaintBox" + std::to_string(cell)));
    const std::string key = Format("54_%d_%d", now.wMonth, day);
    const bool marked = Number(m.holidays.Value(key), 0) != 0;
    m.holidays.edits[key] = marked ? std::nullopt : std::optional<std::string>("1");
}

void SetupModel::Check() {
    const TModel& m = model_;
    EXPECT_TRUE(SameFile(*sim_->ServedFile(QELFILE_CONFIG), kConfig, "config", m.recConfig.edits));
    EXPECT_TRUE(SameFile(*sim_->ServedFile(QELFILE_HOLIDAY), kHolidays, "holiday", m.recHolidays.edits));
    EXPECT_EQ(*sim_->ServedFile(QELFILE_SCHEDULE), m.recSchedule);
    if (m.local) {
        EXPECT_TRUE(SameFile(ProgramFile("config.ini"), kConfig, "config", m.local->edits));
    }
}

TEST_P(SetupModel, RecorderHoldsTheEditsItTook) {
    if (const char* one = std::getenv("HARBEK_SETUP_MODEL_SEED")) {
        if (GetParam() != 0) GTEST_SKIP();
        const auto seed = static_cast<std::uint32_t>(std::strtoul(one, nullptr, 10));
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Run(seed);
        return;
    }
    constexpr std::uint32_t kSequences = 75;
    for (std::uint32_t n = 0; n < kSequences && !HasFailure(); ++n) {
        const std::uint32_t seed = static_cast<std::uint32_t>(GetParam()) * kSequences + n + 1;
        SCOPED_TRACE(testing::Message() << "seed " << seed << " (HARBEK_SETUP_MODEL_SEED=" << seed << ")");
        Run(seed);
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, SetupModel, ::testing::Range(0, 4));

} // namespace
} // namespace setup_test
