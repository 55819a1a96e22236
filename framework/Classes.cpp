#include "Classes.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "SysUtils.h"

namespace fw {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) {
        owner_->components_.push_back(this);
        state_ |= owner_->state_ & csDesigning;
    }
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    // Everyone who may hold a pointer to us hears of the removal first.
    std::vector<TComponent*> notifies;
    notifies.swap(freeNotifies_);
    for (TComponent* other : notifies) {
        auto& list = other->freeNotifies_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        owner_->Notification(this, opRemove);
        for (TComponent* sibling : std::vector<TComponent*>(siblings))
            sibling->Notification(this, opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) delete components_.back();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : components_)
        if (component->name_ == name) return component;
    return nullptr;
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        state_ |= csDesigning;
    else
        state_ &= ~csDesigning;
}

void TComponent::SetLoading(bool loading) {
    if (loading)
        state_ |= csLoading;
    else
        state_ &= ~csLoading;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
        other->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    auto& mine = freeNotifies_;
    mine.erase(std::remove(mine.begin(), mine.end(), other), mine.end());
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Loaded() { SetLoading(false); }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::UnknownProperty(const std::string& name) const {
    throw std::logic_error(std::string(ClassName()) + " has no stored property " + name);
}

void TComponent::SetProperty(const std::string& name, const PropValue&) { UnknownProperty(name); }
void TComponent::SetReference(const std::string& name, TComponent*) { UnknownProperty(name); }
void TComponent::SetEvent(const std::string& name, const TMethod&) { UnknownProperty(name); }

TNotifyEvent NotifyFrom(const TMethod& method) {
    if (*method.signature != typeid(void)) throw std::logic_error("handler of the wrong kind");
    auto call = method.call;
    return [call](TObject* sender) { call(sender, nullptr); };
}
void TComponent::InsertChild(TComponent* child) {
    throw std::logic_error(std::string(ClassName()) + " cannot hold " + child->ClassName());
}

namespace {

std::map<std::string, ComponentFactory>& Factories() {
    static std::map<std::string, ComponentFactory> factories;
    return factories;
}

}  // namespace

void RegisterComponentClass(const char* className, ComponentFactory factory) {
    Factories()[className] = factory;
}

class DescriptionReader {
public:
    DescriptionReader(TComponent* root, TPublished* published) : root_(root), published_(published) {}

    void Read(const DescriptionItem* items) {
        if (items->tag != DescriptionItem::Object)
            throw std::logic_error("a description starts with its root object");
        root_->SetLoading(true);
        loaded_.push_back(root_);
        const DescriptionItem* end = ReadObject(root_, items + 1);
        if (end->tag != DescriptionItem::End) throw std::logic_error("unterminated description");
        for (const Fixup& fixup : fixups_) {
            TComponent* target = fixup.name == root_->Name() ? root_ : root_->FindComponent(fixup.name);
            if (!target) throw std::logic_error("unresolved reference " + fixup.name);
            fixup.component->SetReference(fixup.property, target);
        }
        // The root's own step comes last, after every component is ready.
        for (size_t i = 1; i < loaded_.size(); ++i) loaded_[i]->Loaded();
        root_->Loaded();
    }

private:
    struct Fixup {
        TComponent* component;
        std::string property;
        std::string name;
    };

    // Reads the properties and nested objects of `component`; returns its End.
    const DescriptionItem* ReadObject(TComponent* component, const DescriptionItem* item) {
        for (;; ++item) {
            switch (item->tag) {
            case DescriptionItem::Property:
                if (item->value.kind == PropValue::Ref)
                    fixups_.push_back({component, item->name, item->value.text});
                else
                    component->SetProperty(item->name, item->value);
                break;
            case DescriptionItem::Event: {
                TMethod handler = published_ ? published_->FindMethod(item->extra) : TMethod{};
                if (!handler) throw std::logic_error(std::string("no handler ") + item->extra);
                component->SetEvent(item->name, handler);
                break;
            }
            case DescriptionItem::Object: {
                auto factory = Factories().find(item->name);
                if (factory == Factories().end())
                    throw std::logic_error(std::string("unregistered class ") + item->name);
                TComponent* child = factory->second(root_);
                child->SetLoading(true);
                child->SetName(item->extra);
                loaded_.push_back(child);
                if (published_) published_->BindField(item->extra, child);
                component->InsertChild(child);
                item = ReadObject(child, item + 1);
                if (item->tag != DescriptionItem::End) throw std::logic_error("unterminated object");
                break;
            }
            case DescriptionItem::End:
                return item;
            }
        }
    }

    TComponent* root_;
    TPublished* published_;
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
};

void ReadDescription(TComponent* root, TPublished* published, const DescriptionItem* items) {
    DescriptionReader(root, published).Read(items);
}

}  // namespace fw
