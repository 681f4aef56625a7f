// The row list a table document works through. In the programs it is the
// list control of the document's form view: each row carries a pointer to
// its record as item data. CTableRowVector is the same list without a
// window, for code and tests that have no list control at hand.
//
// The list never frees a record: the table that owns the records frees a
// record before it deletes the record's row (CTableContents).
#pragma once

#include <algorithm>
#include <vector>

template <class Entry>
class CTableRows {
public:
    virtual ~CTableRows() = default;

    virtual int GetItemCount() const = 0;

    // Inserts a row carrying `entry` at `index`; an index past the last row
    // appends, as the list control does. Returns the new row's index, or -1
    // when the list refuses the row (the record then stays the caller's).
    virtual int InsertItem(int index, Entry* entry) = 0;

    // The record of the row at `index`; null when there is no such row.
    virtual Entry* GetItemEntry(int index) const = 0;

    // Removes the row at `index` without freeing its record.
    virtual bool DeleteItem(int index) = 0;

    // Removes every row without freeing the records.
    virtual void DeleteAllItems() = 0;

    // Shows the rows first to last again after their records changed.
    virtual void RedrawItems(int first, int last) = 0;

    // Stops showing changes while many rows come or go (false), and shows
    // the list as it then is (true).
    virtual void SetRedraw(bool) {}
};

// The row list as an ordered vector of record pointers.
template <class Entry>
class CTableRowVector final : public CTableRows<Entry> {
public:
    CTableRowVector() = default;
    CTableRowVector(const CTableRowVector&) = delete;
    CTableRowVector& operator=(const CTableRowVector&) = delete;

    int GetItemCount() const override { return static_cast<int>(m_rows.size()); }

    int InsertItem(int index, Entry* entry) override
    {
        if (index < 0)
            return -1;
        index = std::min(index, GetItemCount());
        m_rows.insert(m_rows.begin() + index, entry);
        return index;
    }

    Entry* GetItemEntry(int index) const override
    {
        return index >= 0 && index < GetItemCount() ? m_rows[index] : nullptr;
    }

    bool DeleteItem(int index) override
    {
        if (index < 0 || index >= GetItemCount())
            return false;
        m_rows.erase(m_rows.begin() + index);
        return true;
    }

    void DeleteAllItems() override { m_rows.clear(); }

    void RedrawItems(int, int) override {}

    // Room for `count` rows, so that loading a large file does not regrow.
    void Reserve(int count) { m_rows.reserve(static_cast<std::size_t>(std::max(count, 0))); }

private:
    std::vector<Entry*> m_rows;
};
