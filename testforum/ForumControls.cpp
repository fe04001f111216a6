#include "ForumControls.h"

void ForumControls::add(const Rule& rule)
{
    if (rule.remaining != 0)
        m_rules.append(rule);
}

std::optional<ForumControls::Rule> ForumControls::take(Kind kind, const QString& target)
{
    for (qsizetype i = 0; i < m_rules.size(); ++i) {
        Rule& rule = m_rules[i];
        if (rule.kind != kind || (!rule.target.isEmpty() && rule.target != target))
            continue;
        const Rule taken = rule;
        if (rule.remaining > 0 && --rule.remaining == 0)
            m_rules.removeAt(i);
        return taken;
    }
    return std::nullopt;
}
