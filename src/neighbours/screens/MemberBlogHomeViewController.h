#pragma once

#include "neighbours/screens/StandInSectionController.h"

class AppContext;

// One member's blog, opened for a member id: this application lists no blog
// entries here, so the screen says so and points to the home screen's feed.
class MemberBlogHomeViewController : public StandInSectionController {
public:
    explicit MemberBlogHomeViewController(AppContext& context);

    qint32 userId() const { return m_userId; }
    void setUserId(qint32 userId) { m_userId = userId; }

private:
    qint32 m_userId = 0;
};
