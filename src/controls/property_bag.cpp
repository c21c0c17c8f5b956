#include "controls/property_bag.h"

#include <algorithm>

namespace tradumar {

namespace {

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QString keyOf(const QString& name) {
    return name.toLower();
}

} // namespace

bool PropertyBag::sameValue(const QVariant& a, const QVariant& b) {
    if (isNumber(a) || isNumber(b)) {
        bool aIsNumber = false;
        bool bIsNumber = false;
        const double x = a.toDouble(&aIsNumber);
        const double y = b.toDouble(&bIsNumber);
        return aIsNumber && bIsNumber && x == y;
    }
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a == b;
}

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::find(const QString& key) const {
    return std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.first == key; });
}

bool PropertyBag::contains(const QString& name) const {
    return find(keyOf(name)) != m_entries.end();
}

QVariant PropertyBag::readProperty(const QString& name, const QVariant& defaultValue) const {
    const auto it = find(keyOf(name));
    return it == m_entries.end() ? defaultValue : it->second;
}

void PropertyBag::setProperty(const QString& name, const QVariant& value) {
    const QString key = keyOf(name);
    const auto it = find(key);
    if (it == m_entries.end())
        m_entries.emplace_back(key, value);
    else
        m_entries[static_cast<std::size_t>(it - m_entries.begin())].second = value;
}

void PropertyBag::writeProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) {
    if (!defaultValue.isNull() && sameValue(value, defaultValue)) {
        const auto it = find(keyOf(name));
        if (it != m_entries.end())
            m_entries.erase(it);
        return;
    }
    setProperty(name, value);
}

} // namespace tradumar
