#pragma once

#include "platform/foundation/Trackable.h"

#include <QImage>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class View;

// The platform's system bar items; the platform's numbering.
enum class BarButtonSystemItem {
    Done = 0,
    Cancel,
    Edit,
    Save,
    Add,
    FlexibleSpace,
    FixedSpace,
    Compose,
    Reply,
    Action,
    Organize,
    Bookmarks,
    Search,
    Refresh,
    Stop,
    Camera,
    Trash,
    Play,
    Pause,
    Rewind,
    FastForward,
};

enum class BarButtonItemStyle {
    Plain = 0,
    Bordered = 1,
    Done = 2,
};

// A button of a navigation bar or a toolbar: a title, a picture, a system
// item or a custom view, and an action bound to a target that is not owned.
class BarButtonItem : public virtual Trackable {
public:
    BarButtonItem() = default;

    static std::shared_ptr<BarButtonItem> withSystemItem(BarButtonSystemItem item, std::function<void()> action = {});
    static std::shared_ptr<BarButtonItem> withTitle(const QString& title, BarButtonItemStyle style,
                                                    std::function<void()> action = {});
    static std::shared_ptr<BarButtonItem> withImage(const QImage& image, BarButtonItemStyle style,
                                                    std::function<void()> action = {});
    static std::shared_ptr<BarButtonItem> withCustomView(View* view);

    // target/action forms: the action is not called once the target has gone.
    template <typename T>
    static std::shared_ptr<BarButtonItem> withSystemItem(BarButtonSystemItem item, T* target, void (T::*action)())
    {
        return withSystemItem(item, bind(target, action));
    }
    template <typename T>
    static std::shared_ptr<BarButtonItem> withTitle(const QString& title, BarButtonItemStyle style, T* target,
                                                    void (T::*action)())
    {
        return withTitle(title, style, bind(target, action));
    }
    template <typename T>
    void setAction(T* target, void (T::*action)())
    {
        m_action = bind(target, action);
    }
    void setAction(std::function<void()> action) { m_action = std::move(action); }

    // Performs the action, as a tap does.
    void trigger();

    std::optional<BarButtonSystemItem> systemItem() const { return m_systemItem; }
    // The shown title: the item's own, or the system item's.
    QString title() const;
    void setTitle(const QString& title);
    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    BarButtonItemStyle style() const { return m_style; }
    void setStyle(BarButtonItemStyle style);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // The width of a fixed space (0 for the default).
    qreal width() const { return m_width; }
    void setWidth(qreal width);
    View* customView() const;

    // The bar showing the item hears of every change.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    template <typename T>
    static std::function<void()> bind(T* target, void (T::*action)())
    {
        WeakRef<T> ref(target);
        return [ref, action]() {
            if (T* t = ref.get())
                (t->*action)();
        };
    }
    void changed();

    std::optional<BarButtonSystemItem> m_systemItem;
    QString m_title;
    QImage m_image;
    BarButtonItemStyle m_style = BarButtonItemStyle::Plain;
    bool m_enabled = true;
    int m_tag = 0;
    qreal m_width = 0;
    QPointer<View> m_customView;
    std::function<void()> m_action;
    std::function<void()> m_changed;
};
