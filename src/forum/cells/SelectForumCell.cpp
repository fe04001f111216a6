#include "forum/cells/SelectForumCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/StringExtensions.h"

SelectForumCell::SelectForumCell() : TableViewCell(TableViewCellStyle::Default), m_forum(new Label(QRectF(10, 0, 280, kHeight)))
{
    m_forum->setFont(Font::boldSystemFontOfSize(17));
    m_forum->setBackgroundColor(Qt::transparent);
    m_forum->setOpaque(false);
    m_forum->setHighlightedTextColor(Qt::white);
    m_forum->setAdjustsFontSizeToFitWidth(false);
    contentView()->addSubview(m_forum);
}

SelectForumCell::~SelectForumCell() = default;

void SelectForumCell::setForum(const ForumPtr& forum, bool opensLevel)
{
    const bool category = forum && forum->is_category();
    m_forum->setText(forum ? StringExtensions::replaceAmpersands(forum->title_clean()) : QString());
    m_forum->setTextColor(category ? QColor(0x8A, 0x94, 0xA0) : QColor(0x1F, 0x29, 0x33));
    setSelectionStyle(category ? TableViewCellSelectionStyle::None : TableViewCellSelectionStyle::Blue);
    setAccessoryType(opensLevel ? TableViewCellAccessoryType::DisclosureIndicator : TableViewCellAccessoryType::None);
    setNeedsLayout();
}

void SelectForumCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    const QRectF content = contentView()->bounds();
    m_forum->setFrame(QRectF(10, 0, qMax<qreal>(0, content.width() - 20), content.height()));
}
