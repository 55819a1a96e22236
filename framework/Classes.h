// Components and the form descriptions they are built from.
#pragma once
#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

namespace fw {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// A handler bound by name from a description: the call with its arguments
// packed behind a pointer, and the type of that pack so that an event only
// takes a handler of its own signature.
struct TMethod {
    std::function<void(TObject* sender, void* args)> call;
    const std::type_info* signature = nullptr;
    explicit operator bool() const { return static_cast<bool>(call); }
};

// Unpacks a bound handler for an event whose extra arguments are Args
// (void: a plain notification).
template <class Args>
std::function<void(TObject*, Args&)> EventFrom(const TMethod& method) {
    if (*method.signature != typeid(Args)) throw std::logic_error("handler of the wrong kind");
    auto call = method.call;
    return [call](TObject* sender, Args& args) { call(sender, &args); };
}
TNotifyEvent NotifyFrom(const TMethod& method);

enum TOperation { opInsert, opRemove };

// Component state flags.
enum : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };

// One value of a stored property.
struct PropValue {
    enum Kind { Int, Str, Ref } kind;
    long long number;
    const char* text;  // Str: the text; Ref: the referenced component's name
};

// One line of a form description: an object with its properties, events and
// nested objects, closed by End.
struct DescriptionItem {
    enum Tag { Object, Property, Event, End } tag;
    const char* name;   // Object: class name; Property/Event: property name
    const char* extra;  // Object: component name; Event: handler name
    PropValue value;
};

namespace desc {
inline DescriptionItem Object(const char* cls, const char* name) {
    return {DescriptionItem::Object, cls, name, {}};
}
inline DescriptionItem End() { return {DescriptionItem::End, nullptr, nullptr, {}}; }
inline DescriptionItem Prop(const char* name, long long number) {
    return {DescriptionItem::Property, name, nullptr, {PropValue::Int, number, nullptr}};
}
inline DescriptionItem Prop(const char* name, int number) {
    return Prop(name, static_cast<long long>(number));
}
inline DescriptionItem Prop(const char* name, long number) {
    return Prop(name, static_cast<long long>(number));
}
inline DescriptionItem Prop(const char* name, bool flag) { return Prop(name, flag ? 1LL : 0LL); }
inline DescriptionItem Prop(const char* name, const char* text) {
    return {DescriptionItem::Property, name, nullptr, {PropValue::Str, 0, text}};
}
// A reference to another component of the same form, resolved once the whole
// description has been read (it may name a component stored further down).
inline DescriptionItem Ref(const char* name, const char* component) {
    return {DescriptionItem::Property, name, nullptr, {PropValue::Ref, 0, component}};
}
inline DescriptionItem Event(const char* name, const char* handler) {
    return {DescriptionItem::Event, name, handler, {}};
}
}  // namespace desc

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    virtual const char* ClassName() const = 0;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;
    unsigned ComponentState() const { return state_; }
    void SetDesigning(bool designing);

    // Asks this component to send `other` a removal notice when it goes.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // The after-loading step, run once the owner's description has been read.
    virtual void Loaded();
    // Told when a component this one may refer to comes or goes.
    virtual void Notification(TComponent* component, TOperation operation);

    // Stored-description hooks; an unknown name is a programming error.
    virtual void SetProperty(const std::string& name, const PropValue& value);
    virtual void SetReference(const std::string& name, TComponent* target);
    virtual void SetEvent(const std::string& name, const TMethod& handler);
    // A nested object of the description (menu items, controls).
    virtual void InsertChild(TComponent* child);

protected:
    // Frees the owned components, newest first, while this object is whole.
    void DestroyComponents();
    [[noreturn]] void UnknownProperty(const std::string& name) const;

private:
    friend class DescriptionReader;
    void SetLoading(bool loading);

    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    unsigned state_ = 0;
};

// Makes an instance of a stored class name with the given owner.
using ComponentFactory = TComponent* (*)(TComponent* owner);
void RegisterComponentClass(const char* className, ComponentFactory factory);

template <class T>
void RegisterComponentClass(const char* className) {
    RegisterComponentClass(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// What a form publishes to its description: fields filled in by component
// name and handlers bound by method name.
class TPublished {
public:
    virtual ~TPublished() = default;
    virtual void BindField(const std::string& name, TComponent* component) = 0;
    virtual TMethod FindMethod(const std::string& name) = 0;
};

// Table-driven TPublished for a form class T: Field("N6", &T::N6) and
// Method("N6Click", &T::N6Click) entries.
template <class T>
class PublishedTable : public TPublished {
public:
    using FieldSetter = std::function<void(T*, TComponent*)>;
    using MethodBinder = std::function<TMethod(T*)>;
    struct Entry {
        const char* name;
        FieldSetter field;
        MethodBinder method;
    };

    PublishedTable(T* self, std::vector<Entry> entries) : self_(self), entries_(std::move(entries)) {}

    void BindField(const std::string& name, TComponent* component) override {
        for (const Entry& entry : entries_)
            if (entry.field && name == entry.name) return entry.field(self_, component);
    }
    TMethod FindMethod(const std::string& name) override {
        for (const Entry& entry : entries_)
            if (entry.method && name == entry.name) return entry.method(self_);
        return {};
    }

    template <class C>
    static Entry Field(const char* name, C* T::*member) {
        return {name,
                [member](T* self, TComponent* component) {
                    self->*member = dynamic_cast<C*>(component);
                    if (!(self->*member)) throw std::logic_error(std::string("field of the wrong class: ") + component->Name());
                },
                nullptr};
    }
    static Entry Method(const char* name, void (T::*member)(TObject*)) {
        return {name, nullptr, [member](T* self) {
                    return TMethod{[self, member](TObject* sender, void*) { (self->*member)(sender); },
                                   &typeid(void)};
                }};
    }
    template <class Args>
    static Entry Method(const char* name, void (T::*member)(TObject*, Args&)) {
        return {name, nullptr, [member](T* self) {
                    return TMethod{[self, member](TObject* sender, void* args) {
                                       (self->*member)(sender, *static_cast<Args*>(args));
                                   },
                                   &typeid(Args)};
                }};
    }

private:
    T* self_;
    std::vector<Entry> entries_;
};

// Reads a description into `root`: properties in stored order, nested objects
// created and owned by root, references resolved after the last line, then
// every component's after-loading step (root last).
void ReadDescription(TComponent* root, TPublished* published, const DescriptionItem* items);

}  // namespace fw
