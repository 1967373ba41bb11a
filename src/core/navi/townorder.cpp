// SPDX-License-Identifier: MIT

#include "navi/townorder.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace moravelt {

TownOrder::TownOrder(QStringList names) : m_names(std::move(names)), m_rank(m_names.size())
{
    std::vector<std::int32_t> byText(m_names.size());
    std::iota(byText.begin(), byText.end(), 0);
    // By UTF-16 code unit, as the route list orders its texts.
    std::vector<std::u16string> keys;
    keys.reserve(m_names.size());
    for (const QString& name : std::as_const(m_names))
        keys.push_back((name + u'-').toStdU16String());
    std::sort(byText.begin(), byText.end(), [&keys](std::int32_t a, std::int32_t b) {
        return keys[std::size_t(a)] < keys[std::size_t(b)];
    });
    for (std::size_t i = 0; i < byText.size(); ++i)
        m_rank[std::size_t(byText[i])] = std::int32_t(i);
}

} // namespace moravelt
