// Reading a form description: order of assignments, late references, and the
// after-loading steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../framework/Classes.h"

namespace {

std::vector<std::string> journal;

class TProbe : public fw::TComponent {
public:
    using fw::TComponent::TComponent;
    const char* ClassName() const override { return "TProbe"; }
    void SetProperty(const std::string& name, const fw::PropValue& value) override {
        journal.push_back(Name() + "." + name + "=" + (value.text ? value.text : std::to_string(value.number)));
    }
    void SetReference(const std::string& name, fw::TComponent* target) override {
        journal.push_back(Name() + "." + name + "->" + target->Name());
        Partner = target;
        target->FreeNotification(this);
    }
    void SetEvent(const std::string& name, const fw::TMethod& handler) override {
        journal.push_back(Name() + "." + name);
        OnPing = fw::NotifyFrom(handler);
    }
    void InsertChild(fw::TComponent* child) override { journal.push_back(Name() + "+" + child->Name()); }
    void Loaded() override {
        fw::TComponent::Loaded();
        journal.push_back(Name() + ".Loaded");
    }
    void Notification(fw::TComponent* component, fw::TOperation operation) override {
        if (operation == fw::opRemove && component == Partner) {
            journal.push_back(Name() + " forgets " + component->Name());
            Partner = nullptr;
        }
    }
    fw::TComponent* Partner = nullptr;
    fw::TNotifyEvent OnPing;
};

class TRootProbe : public TProbe {
public:
    TRootProbe() : TProbe(nullptr) { SetName("Root"); }
    void Pinged(fw::TObject*) { ++pings; }
    void Closing(fw::TObject*, int& code) { code = 7; }
    int pings = 0;
    TProbe* First = nullptr;
};

using namespace fw::desc;

const fw::DescriptionItem kDescription[] = {
    Object("TProbe", "Root"),
        Prop("Caption", "root"),
        Object("TProbe", "First"),
            Prop("Width", 10),
            Ref("Partner", "Second"),  // stored further down
            Event("OnPing", "Pinged"),
            Object("TProbe", "Inner"),
            End(),
        End(),
        Object("TProbe", "Second"),
            Prop("Height", 20),
        End(),
    End(),
};

TEST(Description, ReadsInOrderResolvesLateReferencesThenLoads) {
    journal.clear();
    fw::RegisterComponentClass<TProbe>("TProbe");
    TRootProbe root;
    fw::PublishedTable<TRootProbe> published(&root, {
        fw::PublishedTable<TRootProbe>::Field("First", &TRootProbe::First),
        fw::PublishedTable<TRootProbe>::Method("Pinged", &TRootProbe::Pinged),
    });
    fw::ReadDescription(&root, &published, kDescription);
    EXPECT_EQ((std::vector<std::string>{
                  "Root.Caption=root", "Root+First", "First.Width=10", "First.OnPing", "First+Inner",
                  "Root+Second", "Second.Height=20",
                  "First.Partner->Second",  // only after the whole description
                  "First.Loaded", "Inner.Loaded", "Second.Loaded", "Root.Loaded"}),
              journal);
    ASSERT_NE(nullptr, root.First);
    EXPECT_EQ("First", root.First->Name());
    root.First->OnPing(root.First);
    EXPECT_EQ(1, root.pings);
    EXPECT_EQ(3u, root.Components().size()) << "the root owns every component of its description";

    // A removal notice reaches the component that refers to the one going.
    journal.clear();
    delete root.FindComponent("Second");
    EXPECT_EQ(nullptr, root.First->Partner);
    EXPECT_EQ((std::vector<std::string>{"First forgets Second"}), journal);
}

TEST(Description, AnEventTakesOnlyAHandlerOfItsOwnKind) {
    TRootProbe root;
    fw::PublishedTable<TRootProbe> published(&root, {
        fw::PublishedTable<TRootProbe>::Method("Closing", &TRootProbe::Closing),
    });
    fw::TMethod closing = published.FindMethod("Closing");
    EXPECT_THROW(fw::NotifyFrom(closing), std::logic_error);
    int code = 0;
    fw::EventFrom<int>(closing)(&root, code);
    EXPECT_EQ(7, code);
    EXPECT_FALSE(published.FindMethod("Missing"));
}

}  // namespace
