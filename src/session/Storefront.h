#pragma once

#include <QString>

// The storefront a search goes to, by the tag of the storefront button chosen: 1 Germany,
// 2 United Kingdom, 3 France, 4 United States; empty for any other.
inline QString storefrontForTag(int tag)
{
    switch (tag) {
    case 1: return QStringLiteral("de");
    case 2: return QStringLiteral("co.uk");
    case 3: return QStringLiteral("fr");
    case 4: return QStringLiteral("com");
    default: return QString();
    }
}
