// Main and popup menus.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Classes.h"

namespace fw {

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    const char* ClassName() const override { return "TMenuItem"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    TNotifyEvent OnClick;
    void Click();

    UINT Command() const { return command_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    void Add(TMenuItem* item);
    // Appends this item's entry (and its submenu) to a menu being built.
    void AppendTo(HMENU menu);

    static TMenuItem* FindCommand(UINT command);

    void SetProperty(const std::string& name, const PropValue& value) override;
    void SetEvent(const std::string& name, const TMethod& handler) override;
    void InsertChild(TComponent* child) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::string caption_;
    bool checked_ = false;
    UINT command_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    HMENU container_ = nullptr;  // the built menu that holds this item's entry
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner) : TComponent(owner) {}
    ~TMenu() override;
    HMENU Handle();  // built on first use
    const std::vector<TMenuItem*>& Items() const { return items_; }

    void InsertChild(TComponent* child) override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    virtual HMENU MakeMenu() = 0;

private:
    std::vector<TMenuItem*> items_;
    HMENU handle_ = nullptr;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    const char* ClassName() const override { return "TMainMenu"; }

protected:
    HMENU MakeMenu() override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    const char* ClassName() const override { return "TPopupMenu"; }

    bool AutoPopup = true;
    // Shows the menu at a screen point and returns when it has closed; a
    // chosen item's click follows as a message.
    virtual void Popup(int x, int y);

    void SetProperty(const std::string& name, const PropValue& value) override;

protected:
    HMENU MakeMenu() override { return CreatePopupMenu(); }
};

}  // namespace fw
