#include "platform/vcl/Components.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

class TLogged : public TComponent {
public:
    explicit TLogged(TComponent* owner, std::string tag) : TComponent(owner), tag_(std::move(tag)) {}
    ~TLogged() override { gLog.push_back("~" + tag_); }
    TComponent* watched = nullptr;
    std::vector<std::string> removed;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove) {
            removed.push_back(c->Name());
            if (c == watched) watched = nullptr;
        }
    }

private:
    std::string tag_;
};

TEST(Components, OwnerDeletesItsComponentsNewestFirst) {
    gLog.clear();
    auto* owner = new TLogged(nullptr, "owner");
    new TLogged(owner, "a");
    auto* b = new TLogged(owner, "b");
    new TLogged(b, "b1");
    new TLogged(owner, "c");
    EXPECT_EQ(owner->ComponentCount(), 3);
    delete owner;
    EXPECT_EQ(gLog, (std::vector<std::string>{"~owner", "~c", "~b", "~b1", "~a"}));
}

TEST(Components, NamesAreIdentifiersUniqueAmongTheOwnersComponents) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    EXPECT_THROW(b->SetName("button1"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    for (const char* bad : {"1Button", "Button 1", "Bütton", "a-b"})
        EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    b->SetName("_Button_2");
    EXPECT_EQ(owner.FindComponent("_button_2"), b);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_THROW(owner.Components(2), EListError);
    EXPECT_EQ(b->ComponentIndex(), 1);
}

TEST(Components, NamesAreFoundAfterRenamesRemovalsAndMoves) {
    TComponent owner(nullptr);
    TComponent other(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Label1");
    a->SetName("LABEL1"); // a change of case alone is no clash with itself
    EXPECT_EQ(owner.FindComponent("label1"), a);
    a->SetName("Caption");
    EXPECT_EQ(owner.FindComponent("Label1"), nullptr);
    EXPECT_EQ(owner.FindComponent("CAPTION"), a);
    b->SetName("Label1"); // the name given up is free again
    EXPECT_EQ(owner.FindComponent("label1"), b);
    a->SetName("");
    EXPECT_EQ(owner.FindComponent("Caption"), nullptr);
    other.InsertComponent(b);
    EXPECT_EQ(owner.FindComponent("Label1"), nullptr);
    EXPECT_EQ(other.FindComponent("LABEL1"), b);
    delete b;
    EXPECT_EQ(other.FindComponent("Label1"), nullptr);
    auto* c = new TComponent(&owner);
    c->SetName("Label1");
    EXPECT_EQ(owner.FindComponent("Label1"), c);
    EXPECT_EQ(owner.FindComponent("Label"), nullptr);
    EXPECT_EQ(owner.FindComponent("Label12"), nullptr);
}

TEST(Components, FreeNotificationTellsTheOtherSideOnce) {
    TLogged watcher(nullptr, "w");
    auto* target = new TLogged(nullptr, "t");
    target->SetName("Target");
    watcher.watched = target;
    watcher.FreeNotification(target);
    watcher.FreeNotification(target);
    delete target;
    EXPECT_EQ(watcher.watched, nullptr);
    EXPECT_EQ(watcher.removed, std::vector<std::string>{"Target"});

    // Deleting the watcher first leaves nothing behind in the target.
    auto* other = new TLogged(nullptr, "o");
    {
        TLogged shortLived(nullptr, "s");
        shortLived.FreeNotification(other);
    }
    delete other;
}

TEST(Components, MovingAComponentToAnotherOwner) {
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* c = new TComponent(&first);
    c->SetName("Moved");
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    auto* clash = new TComponent(&first);
    clash->SetName("Moved");
    EXPECT_THROW(second.InsertComponent(clash), EComponentError);
    EXPECT_EQ(clash->Owner(), &first);
}

class TSample : public TComponent {
public:
    using TComponent::TComponent;
    int hits = 0;
    void Handle(TObject*) { ++hits; }
    void Other(TObject*) {}
};

TEST(Events, MethodEventsCompareByObjectAndMethod) {
    TSample a(nullptr), b(nullptr);
    TNotifyEvent e1(&a, &TSample::Handle);
    TNotifyEvent e2(&a, &TSample::Handle);
    TNotifyEvent e3(&b, &TSample::Handle);
    TNotifyEvent e4(&a, &TSample::Other);
    EXPECT_TRUE(e1 == e2);
    EXPECT_FALSE(e1 == e3);
    EXPECT_FALSE(e1 == e4);
    TNotifyEvent empty;
    EXPECT_FALSE(empty);
    EXPECT_TRUE(empty == nullptr);
    empty(&a); // calling an unassigned event does nothing
    e1(&a);
    e3(&b);
    EXPECT_EQ(a.hits, 1);
    EXPECT_EQ(b.hits, 1);
    int calls = 0;
    TNotifyEvent lambda = [&calls](TObject*) { ++calls; };
    TNotifyEvent copy = lambda;
    EXPECT_TRUE(lambda == copy);
    EXPECT_FALSE(lambda == TNotifyEvent([](TObject*) {}));
    copy(nullptr);
    EXPECT_EQ(calls, 1);
}

TEST(Events, KeyEventsMayChangeTheirArguments) {
    TKeyPressEvent press = [](TObject*, char& key) { key = key == ',' ? '.' : key; };
    char c = ',';
    press(nullptr, c);
    EXPECT_EQ(c, '.');
    TKeyEvent down = [](TObject*, WORD& key, TShiftState shift) {
        if (shift.Contains(ssCtrl)) key = 0;
    };
    WORD k = 13;
    down(nullptr, k, TShiftState{ssShift});
    EXPECT_EQ(k, 13);
    down(nullptr, k, TShiftState{ssCtrl, ssShift});
    EXPECT_EQ(k, 0);
}

TEST(Persistent, AssigningUnrelatedObjectsRaisesConvertError) {
    TComponent a(nullptr), b(nullptr);
    try {
        a.Assign(&b);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TComponent to a TComponent");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

} // namespace
