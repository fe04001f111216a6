#pragma once

#include "forum/screens/SearchChoiceController.h"

#include <QList>
#include <QSet>
#include <QStringList>

class AppContext;

// The content kinds the general search looks in: posts always, articles
// and blog entries and comments where the forum has them. The choice is a
// set of kinds, so a kind the forum has turned off neither shows nor counts.
// Where the forum searches several kinds at once, every kind is chosen at
// first and a tap toggles a kind (the last one stays); elsewhere only posts
// are chosen, and a tap chooses the kind tapped alone.
class SearchForController : public SearchChoiceController {
public:
    enum class Kind { Posts, Articles, BlogEntries, BlogComments };
    struct KindInfo {
        Kind kind;
        QString titleKey;
        QString icon;
        int bit;  // of SearchAll's type
        int feature;  // the forum's feature bit that shows it; 0: always
    };
    // Every kind, in the list's order.
    static const QList<KindInfo>& kinds();

    explicit SearchForController(AppContext& context);

    void viewDidLoad() override;

    // Whether the forum searches several kinds at once (read when made).
    bool hasMulti() const { return m_hasMulti; }
    // The kinds the forum has, in the list's order.
    QList<Kind> visibleKinds() const;
    bool isKindChosen(Kind kind) const;
    // The bits of the chosen kinds that show, ORed.
    int selectedItems() const;
    // The titles of the chosen kinds that show, in the list's order.
    QStringList selectedNames() const;
    // What the setting row shows: "all_content_types" when every kind that
    // shows is chosen, else the chosen titles joined by ", ".
    QString valueText() const;
    // Goes back to the search.
    void done();

    int rowCount() const override;
    QString titleKeyAt(int row) const override;
    QString iconAt(int row) const override;
    bool isChosen(int row) const override;
    void choose(int row) override;

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    const KindInfo* infoAt(int row) const;
    // The chosen kinds the forum has; posts when none of them is left.
    QSet<Kind> chosenShown() const;

    bool m_hasMulti = false;
    QSet<Kind> m_chosen;
};
