#include "forum/screens/SearchFromController.h"

#include "platform/foundation/Localized.h"

#include <array>

SearchFromController::SearchFromController()
{
    setTitle(localized("find_post"));
}

int SearchFromController::selectedValue() const
{
    return m_selectedItem >= 1 && m_selectedItem <= 16 ? m_selectedItem : 0;
}

QString SearchFromController::titleKeyAt(int row) const
{
    static const std::array<const char*, kRowCount> keys{
        "anytime",   "your_last", "your_last_o", "yesterday_new", "yesterday_old", "a_week_n",
        "a_week_o",  "two_w_n",   "two_w_o",     "a_month_n",     "a_month_o",     "three_m_n",
        "three_m_o", "six_m_n",   "six_m_o",     "a_y_n",         "a_y_o"};
    if (row < 0 || row >= kRowCount)
        return QString();
    return QString::fromLatin1(keys.at(size_t(row)));
}

void SearchFromController::choose(int row)
{
    if (row >= 0 && row < kRowCount)
        m_selectedItem = row;
}
