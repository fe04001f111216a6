#include "forum/screens/SearchOrderController.h"

#include "platform/foundation/Localized.h"

#include <array>

namespace {

struct Order {
    const char* key;
    int code;
};

constexpr std::array<Order, SearchOrderController::kRowCount> kOrders{{
    {"new_first", 0},
    {"old_first", 7},
    {"relevance", 8},
    {"user_descending", 4},
    {"user_ascending", 3},
    {"title_des", 6},
    {"title_asc", 5},
}};

}  // namespace

SearchOrderController::SearchOrderController()
{
    setTitle(localized("sort_result"));
}

int SearchOrderController::selectedValue() const
{
    if (m_selectedItem < 0 || m_selectedItem >= kRowCount)
        return 0;
    return kOrders.at(size_t(m_selectedItem)).code;
}

QString SearchOrderController::titleKeyAt(int row) const
{
    if (row < 0 || row >= kRowCount)
        return QString();
    return QString::fromLatin1(kOrders.at(size_t(row)).key);
}

void SearchOrderController::choose(int row)
{
    if (row >= 0 && row < kRowCount)
        m_selectedItem = row;
}
