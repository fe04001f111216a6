#include "AppScenario.h"

#include "app/screens/FieldLinkDetails.h"
#include "app/screens/RegistrationController.h"
#include "app/text/AddressBreaks.h"
#include "app/widgets/FieldLinkCell.h"
#include "app/widgets/RegistrationForm.h"
#include "platform/ui/WebView.h"

#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>

// The forum's rules as a guest reads them before signing up: the page's
// lines as its text layout broke them.
namespace {

class ForumRulesScenarioTest : public AppScenario {
protected:
    // The lines the page shows, without the invisible marks, in order.
    static QStringList shownLines(WebView* web)
    {
        QStringList lines;
        const auto* browser = web->findChild<QTextBrowser*>();
        if (!browser)
            return lines;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            for (int i = 0; layout && i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                QString shown = block.text().mid(line.textStart(), line.textLength());
                shown.remove(AddressBreaks::kBreak);
                shown.remove(AddressBreaks::kJoin);
                lines.append(shown);
            }
        }
        return lines;
    }
};

}  // namespace

TEST_F(ForumRulesScenarioTest, ALongAddressInTheRulesWrapsAtItsSeparatorsAndNeverAfterItsScheme)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    tap(login->registerButton());
    finishAnimations();
    auto* signUp = topScreenAs<RegistrationController>();
    ASSERT_NE(signUp, nullptr);
    ASSERT_TRUE(waitUntil([&] { return signUp->form() && signUp->form()->fieldWithName(QStringLiteral("forum_rules")); }));
    settleAndFinish();
    RegistrationForm* form = signUp->form();
    auto* rulesRow = dynamic_cast<FieldLinkCell*>(form->cellForField(form->fieldWithName(QStringLiteral("forum_rules")).get()));
    ASSERT_NE(rulesRow, nullptr);
    tap(rulesRow->field());
    settleAndFinish();
    auto* rules = topScreenAs<FieldLinkDetails>();
    ASSERT_NE(rules, nullptr);
    picture(QStringLiteral("registration-rules-wrapped.png"));

    // The forum's address ends its first paragraph and takes more room than
    // the line has left: it wraps, after one of its separators, the scheme
    // and the host's first part on the same line.
    const QString address = forum().baseUrl();
    const QStringList lines = shownLines(rules->web());
    const QString page = lines.join(QString());
    const qsizetype start = page.indexOf(address);
    ASSERT_GE(start, 0) << qPrintable(lines.join(u'|'));
    qsizetype lineStart = 0;
    int linesOfAddress = 0;
    for (const QString& line : lines) {
        const qsizetype lineEnd = lineStart + line.size();
        const bool endsInAddress = lineEnd > start && lineEnd < start + address.size();
        if (lineEnd > start && lineStart < start + address.size())
            ++linesOfAddress;
        if (endsInAddress) {
            const QString ended = line.trimmed();
            EXPECT_TRUE(QStringLiteral("/?&=.-").contains(ended.back())) << "a line ends inside the address: "
                                                                         << qPrintable(lines.join(u'|'));
            EXPECT_GT(lineEnd - start, qsizetype(QStringLiteral("http://").size()))
                << "the line ends in or right after the scheme: " << qPrintable(lines.join(u'|'));
        }
        lineStart = lineEnd;
    }
    EXPECT_GE(linesOfAddress, 2) << "the address wraps: " << qPrintable(lines.join(u'|'));
    // The text reads as the forum wrote it, and the link is untouched.
    EXPECT_TRUE(rules->web()->shownText().remove(AddressBreaks::kBreak).remove(AddressBreaks::kJoin).contains(address));
    back();
    EXPECT_EQ(topScreenAs<RegistrationController>(), signUp);
}
