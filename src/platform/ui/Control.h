#pragma once

#include "platform/ui/ControlEvents.h"
#include "platform/ui/View.h"

#include <QList>

#include <functional>
#include <memory>

// A view the user acts on: it follows its touches, keeps a state (enabled,
// selected, highlighted) and sends actions to targets for events. Targets are
// not owned: a target that has gone is not called.
class Control : public View {
    Q_OBJECT
public:
    explicit Control(const QRectF& frame = QRectF());

    template <typename T>
    void addTarget(T* target, void (T::*action)(), unsigned events)
    {
        WeakRef<T> ref(target);
        addTargetEntry(target, [ref, action](Control*) {
            if (T* t = ref.get())
                (t->*action)();
        }, events);
    }
    template <typename T, typename Sender>
    void addTarget(T* target, void (T::*action)(Sender*), unsigned events)
    {
        WeakRef<T> ref(target);
        addTargetEntry(target, [ref, action](Control* sender) {
            if (T* t = ref.get())
                (t->*action)(static_cast<Sender*>(sender));
        }, events);
    }
    // An action with no target object (tests, small glue).
    void addAction(std::function<void(Control*)> action, unsigned events);
    // Removes the target's actions for the events (all targets for a null one).
    void removeTarget(const Trackable* target, unsigned events);
    int targetCount() const { return int(m_targets.size()); }
    void sendActionsForControlEvents(unsigned events);

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    unsigned state() const;
    bool isTouchInside() const { return m_touchInside; }

    void touchesBegan(const QPointF& point) override;
    void touchesMoved(const QPointF& point) override;
    void touchesEnded(const QPointF& point) override;
    void touchesCancelled() override;

    // A control that only backs another view (the frame of a text that a tap
    // begins editing) is no stop of Tab's: the view it backs is.
    bool isKeyboardFocusable() const { return m_keyboardFocusable; }
    void setKeyboardFocusable(bool on) { m_keyboardFocusable = on; }

protected:
    // Called whenever the state changes; redraws by default.
    virtual void stateDidChange() { update(); }
    // A press, as a tap ends inside.
    void pressedByKeyboard() override { sendActionsForControlEvents(ControlEvent::TouchUpInside); }

private:
    struct Target {
        std::weak_ptr<Trackable*> token;
        bool bound = false;
        const Trackable* target = nullptr;
        std::function<void(Control*)> call;
        unsigned events = 0;
    };
    void addTargetEntry(const Trackable* target, std::function<void(Control*)> call, unsigned events);

    QList<Target> m_targets;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_touchInside = false;
    bool m_keyboardFocusable = true;
};
