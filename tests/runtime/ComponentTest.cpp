#include <gtest/gtest.h>

#include "runtime/Classes.h"

using rt::TComponent;

namespace {

// A component's address as a number, to compare with after it is freed.
std::uintptr_t Id(const TComponent* c) { return reinterpret_cast<std::uintptr_t>(c); }
using Ids = std::vector<std::uintptr_t>;

// Records its destruction and the removal notifications it hears.
class TProbe : public TComponent {
    RT_CLASS_SAME_PROPS(TProbe, TComponent)
public:
    TProbe(TComponent* owner, std::string label, std::vector<std::string>* log)
        : TComponent(owner), label_(std::move(label)), log_(log) {}
    ~TProbe() override { log_->push_back("free " + label_); }

    Ids removed;  // the components it heard were removed
    TComponent* watched = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::Remove) {
            removed.push_back(Id(component));
            if (component == watched) watched = nullptr;
        }
    }

private:
    std::string label_;
    std::vector<std::string>* log_;
};

std::string ComponentError(const std::function<void()>& f) {
    try {
        f();
    } catch (const rt::EComponentError& e) {
        return e.Message();
    }
    return "";
}

}  // namespace

TEST(Component, OwnerFreesOwnedComponentsLastFirst) {
    std::vector<std::string> log;
    auto* owner = new TProbe(nullptr, "owner", &log);
    auto* a = new TProbe(owner, "a", &log);
    new TProbe(owner, "b", &log);
    new TProbe(a, "a1", &log);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(a->Owner(), owner);
    delete owner;
    // Each derived destructor runs first, then the runtime frees what the
    // component owns.
    EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free b", "free a", "free a1"}));
}

TEST(Component, FreeingAComponentRemovesItFromItsOwner) {
    std::vector<std::string> log;
    TProbe owner(nullptr, "owner", &log);
    auto* a = new TProbe(&owner, "a", &log);
    auto* b = new TProbe(&owner, "b", &log);
    const std::uintptr_t aId = Id(a);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(owner.removed, (Ids{aId}));
    EXPECT_EQ(b->removed, (Ids{aId}));  // the owner passes it on
    EXPECT_THROW(owner.Components(1), rt::EListError);
    EXPECT_THROW(owner.Components(-1), rt::EListError);
}

TEST(Component, FindComponentIgnoresCase) {
    TComponent owner(nullptr);
    auto* edit = new TComponent(&owner);
    edit->SetName("EditName");
    new TComponent(&owner);  // unnamed
    EXPECT_EQ(owner.FindComponent("editname"), edit);
    EXPECT_EQ(owner.FindComponent("EDITNAME"), edit);
    EXPECT_EQ(owner.FindComponent("Edit"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(Component, NamesMustBeIdentifiers) {
    TComponent c(nullptr);
    for (const char* bad : {"1abc", "a b", "a-b", "ä", " x", "x."}) {
        EXPECT_EQ(ComponentError([&] { c.SetName(bad); }),
                  std::string("Component name \"") + bad + "\" is not a valid component name");
    }
    c.SetName("_ok1");
    EXPECT_EQ(c.Name(), "_ok1");
    c.SetName("");
    EXPECT_EQ(c.Name(), "");
}

TEST(Component, SiblingsMayNotShareAName) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_EQ(ComponentError([&] { b->SetName("BUTTON1"); }), "A component named BUTTON1 already exists");
    EXPECT_EQ(b->Name(), "");
    a->SetName("BUTTON1");  // its own name in another case
    EXPECT_EQ(a->Name(), "BUTTON1");
    b->SetName("Button2");

    TComponent other(nullptr);
    auto* c = new TComponent(&other);
    c->SetName("Button1");  // another owner
    TComponent loose1(nullptr), loose2(nullptr);
    loose1.SetName("Same");
    loose2.SetName("Same");  // no owner: no check

    // Moving a component to an owner that has its name is refused.
    EXPECT_EQ(ComponentError([&] { owner.InsertComponent(c); }), "A component named Button1 already exists");
    EXPECT_EQ(c->Owner(), &other);
}

TEST(Component, InsertComponentMovesItFromTheOldOwner) {
    TComponent first(nullptr), second(nullptr);
    auto* c = new TComponent(&first);
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.ComponentCount(), 1);
    second.RemoveComponent(c);
    EXPECT_EQ(c->Owner(), nullptr);
    EXPECT_EQ(second.ComponentCount(), 0);
    delete c;
}

TEST(Component, FreeNotificationTellsTheSubscriberOnce) {
    std::vector<std::string> log;
    TProbe form(nullptr, "form", &log);
    auto* target = new TProbe(nullptr, "target", &log);
    form.watched = target;
    form.FreeNotification(target);
    const std::uintptr_t targetId = Id(target);
    delete target;
    EXPECT_EQ(form.watched, nullptr);
    EXPECT_EQ(form.removed, (Ids{targetId}));
}

TEST(Component, FreeNotificationWorksBothWays) {
    std::vector<std::string> log;
    auto* subscriber = new TProbe(nullptr, "subscriber", &log);
    TProbe target(nullptr, "target", &log);
    subscriber->FreeNotification(&target);
    const std::uintptr_t subscriberId = Id(subscriber);
    delete subscriber;  // the target forgets it
    EXPECT_EQ(target.removed, (Ids{subscriberId}));
}

TEST(Component, RemoveFreeNotificationStopsIt) {
    std::vector<std::string> log;
    TProbe form(nullptr, "form", &log);
    auto* target = new TProbe(nullptr, "target", &log);
    form.FreeNotification(target);
    form.RemoveFreeNotification(target);
    delete target;
    EXPECT_TRUE(form.removed.empty());
}

TEST(Component, SiblingsHearOfEachOtherOnceThroughTheirOwner) {
    std::vector<std::string> log;
    TProbe owner(nullptr, "owner", &log);
    auto* a = new TProbe(&owner, "a", &log);
    auto* b = new TProbe(&owner, "b", &log);
    a->FreeNotification(b);
    const std::uintptr_t bId = Id(b);
    delete b;
    EXPECT_EQ(a->removed, (Ids{bId}));
}

TEST(Component, OwnedSubscriberFreedWithItsOwnerIsForgotten) {
    std::vector<std::string> log;
    TProbe target(nullptr, "target", &log);
    {
        TProbe form(nullptr, "form", &log);
        auto* child = new TProbe(&form, "child", &log);
        child->FreeNotification(&target);
    }
    EXPECT_EQ(target.removed.size(), 1u);  // the child told it when freed
}

TEST(Component, PublishesNameAndTag) {
    TComponent c(nullptr);
    EXPECT_STREQ(c.ClassName(), "TComponent");
    const auto& items = c.Properties().Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Name, "Name");
    EXPECT_EQ(items[0].Kind, rt::TTypeKind::String);
    EXPECT_EQ(items[1].Name, "Tag");
    EXPECT_EQ(items[1].Kind, rt::TTypeKind::Integer);

    rt::SetStrProp(c, "name", "Panel1");
    rt::SetOrdProp(c, "TAG", 42);
    EXPECT_EQ(c.Name(), "Panel1");
    EXPECT_EQ(c.Tag(), 42);
    EXPECT_EQ(rt::GetStrProp(c, "Name"), "Panel1");
    EXPECT_EQ(rt::GetOrdProp(c, "Tag"), 42);
    EXPECT_THROW(rt::SetStrProp(c, "Name", "no good"), rt::EComponentError);
}
