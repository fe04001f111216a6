#pragma once

#include <QImage>
#include <QString>

#include <memory>

// One item of a tab bar: a title, a picture (its shape is drawn, grey or lit
// blue), a tag, an enabled flag and a badge. Items compare by identity.
class TabBarItem {
public:
    TabBarItem(const QString& title, const QImage& image, int tag) : m_title(title), m_image(image), m_tag(tag) {}

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QImage image() const { return m_image; }
    void setImage(const QImage& image) { m_image = image; }
    int tag() const { return m_tag; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    QString badgeValue() const { return m_badge; }
    void setBadgeValue(const QString& badge) { m_badge = badge; }

private:
    QString m_title;
    QImage m_image;
    int m_tag = 0;
    bool m_enabled = true;
    QString m_badge;
};

using TabBarItemPtr = std::shared_ptr<TabBarItem>;
