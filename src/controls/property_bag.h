#pragma once

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

namespace tradumar {

// The named values a window keeps for a control placed on it (what a form
// designer would save in the window's layout). Names match without regard to
// case and are kept in lower case; entries keep the order they were first
// written in.
class PropertyBag {
public:
    using Entry = std::pair<QString, QVariant>;

    // The stored value, or `defaultValue` when there is none.
    QVariant readProperty(const QString& name, const QVariant& defaultValue = {}) const;

    // Stores the value unless it equals `defaultValue` (a null default stores
    // always). A value equal to its default also removes an older entry, so
    // that the bag says what a fresh read would give.
    void writeProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    // Stores the value whatever it is (the window's own entries, or values
    // prepared by hand for a control to read).
    void setProperty(const QString& name, const QVariant& value);

    bool contains(const QString& name) const;
    bool isEmpty() const { return m_entries.empty(); }
    const std::vector<Entry>& entries() const { return m_entries; }

    // Whether two stored values count as equal: numbers by value (8 equals
    // 8.0 and "8"), text exactly, case included.
    static bool sameValue(const QVariant& a, const QVariant& b);

private:
    std::vector<Entry>::const_iterator find(const QString& key) const;

    std::vector<Entry> m_entries;
};

} // namespace tradumar
