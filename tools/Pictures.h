#pragma once

#include <QColor>

class PictureWriter;

// The theme's blue, and the blue-grey of the lists' small texts and arrows.
inline const QColor kThemeBlue(0x2A, 0x5D, 0xB0);
inline const QColor kListTextBlue(87, 108, 137);

// The application's own pictures: the splash ("Default.png"), its foot strip
// ("poweredby.png"), the login screen's backdrop ("background.png"), the
// logo, the twelve frames of the busy wheel ("1.png" to "12.png"), the
// mark of a post waiting for approval ("moderated.png"), and the forms' tick
// box ("checkbox_off.png", "checkbox_on.png").
void drawAppPictures(PictureWriter& pictures);
// The forum's list screens: the thread rows' state icons and reply balloons,
// the forum rows' new-posts mark, the subforums header's buttons, the
// moderation marks, the thread list's and moderation screens' tab items, the
// home screen's sort and content icons, and the general search's content kinds.
void drawForumPictures(PictureWriter& pictures);
// The paged lists and the menu button: the pull-to-refresh arrow, the page
// strip's background and arrows, and the menu button's face.
void drawPagingPictures(PictureWriter& pictures);
// The composing screens: the formatting menus' keys (bold, italic,
// underline, sizes 1 to 5), the button strip above the keyboard and its
// buttons, the attachment choice, the quick-reply row's send and close
// buttons, the single post's tab items, and the home screen's place for a
// member's picture.
void drawComposingPictures(PictureWriter& pictures);
