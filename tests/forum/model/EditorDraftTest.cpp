// What a composing screen holds before the forum has it: when leaving loses
// something, what goes to a builder, and what a send leaves behind.
#include "ForumModelTest.h"

#include "app/media/ImageToUpload.h"
#include "forum/model/EditorDraft.h"

#include <QImage>

namespace {

std::shared_ptr<ImageToUpload> picture(QRgb colour)
{
    QImage bitmap(8, 6, QImage::Format_RGB32);
    bitmap.fill(colour);
    return std::make_shared<ImageToUpload>(Image(bitmap));
}

}  // namespace

using EditorDrafts = ForumModelTest;

TEST_F(EditorDrafts, WhatIsWrittenIsUnsentWorkFromTheFirstTouchUntilEverythingIsTakenBack)
{
    EditorDraft draft;
    EXPECT_FALSE(draft.holdsUnsentWork());
    EXPECT_FALSE(draft.discardingAsks());

    // Whatever stands in the text's place before the member touches it is
    // nothing of theirs.
    draft.setText(QStringLiteral("Write your message here"));
    EXPECT_TRUE(draft.text().isEmpty());
    EXPECT_FALSE(draft.holdsUnsentWork());

    // Touched, even left empty, the text is the member's: leaving asks.
    EXPECT_TRUE(draft.touchText());
    EXPECT_FALSE(draft.touchText()) << "only the first touch empties it";
    EXPECT_TRUE(draft.holdsUnsentWork());
    draft.setText(QStringLiteral("Low tide at dawn"));
    EXPECT_EQ(draft.text(), u"Low tide at dawn");
    EXPECT_FALSE(draft.touchText());
    EXPECT_EQ(draft.text(), u"Low tide at dawn") << "a later touch keeps the text";

    // A title alone, or tags alone, is work too; tags of spaces are not.
    EditorDraft titled;
    titled.setTitle(QStringLiteral("Harbour"));
    EXPECT_TRUE(titled.holdsUnsentWork());
    titled.setTitle(QString());
    EXPECT_FALSE(titled.holdsUnsentWork());
    titled.setTags(QStringLiteral("   "));
    EXPECT_FALSE(titled.holdsUnsentWork());
    EXPECT_TRUE(titled.tagsToSend().isEmpty());
    titled.setTags(QStringLiteral("boats"));
    EXPECT_TRUE(titled.holdsUnsentWork());
}

TEST_F(EditorDrafts, PicturesComeAndGoInOrderAndTagsWaitForATargetThatTakesThem)
{
    EditorDraft draft;
    const auto red = picture(qRgb(200, 0, 0));
    const auto blue = picture(qRgb(0, 0, 200));
    draft.addAttachment(red);
    draft.addAttachment(nullptr);
    draft.addAttachment(blue);
    EXPECT_TRUE(draft.holdsUnsentWork());
    ASSERT_EQ(draft.attachments().size(), 2);
    UploadAttachmentList sent = draft.attachmentsToSend();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].imageToUpload(), red);
    EXPECT_EQ(sent[1].imageToUpload(), blue);

    EXPECT_TRUE(draft.removeAttachment(red));
    EXPECT_FALSE(draft.removeAttachment(red)) << "gone already";
    sent = draft.attachmentsToSend();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].imageToUpload(), blue);
    EXPECT_TRUE(draft.removeAttachment(blue));
    EXPECT_FALSE(draft.holdsUnsentWork()) << "nothing left to lose";

    // Tags written for a target that takes none stay written, unsent.
    draft.setTags(QStringLiteral("harbour, dawn"));
    draft.setTagsEnabled(false);
    EXPECT_TRUE(draft.tagsToSend().isEmpty());
    EXPECT_EQ(draft.tags(), u"harbour, dawn");
    EXPECT_TRUE(draft.holdsUnsentWork());
    draft.setTagsEnabled(true);
    EXPECT_EQ(draft.tagsToSend(), u"harbour, dawn");
}

TEST_F(EditorDrafts, ASendHoldsTheWorkItCannotTakeBackAndAFailedOneKeepsIt)
{
    EditorDraft draft;
    draft.setTitle(QStringLiteral("News"));
    draft.touchText();
    draft.setText(QStringLiteral("The ferry is late"));
    draft.addAttachment(picture(qRgb(0, 120, 0)));
    EXPECT_TRUE(draft.canDiscard());
    EXPECT_TRUE(draft.discardingAsks());

    // Out: discarding cannot be asked for, and the work is still unsent.
    draft.setSending(true);
    EXPECT_FALSE(draft.canDiscard());
    EXPECT_FALSE(draft.discardingAsks());
    EXPECT_TRUE(draft.holdsUnsentWork());

    // Refused: everything is still there, and leaving asks again.
    draft.setSending(false);
    EXPECT_TRUE(draft.discardingAsks());
    EXPECT_EQ(draft.title(), u"News");
    EXPECT_EQ(draft.text(), u"The ferry is late");
    EXPECT_EQ(draft.attachmentsToSend().size(), 1);
}
