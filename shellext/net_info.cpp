#include "net_info.h"

namespace {
LONG g_liveRecords = 0;
}

CNetInfoObj::CNetInfoObj(int16_t kind, const char* path) : m_strPath(path ? path : ""), m_nKind(kind)
{
    InterlockedIncrement(&g_liveRecords);
}

CNetInfoObj::~CNetInfoObj()
{
    InterlockedDecrement(&g_liveRecords);
}

LONG CNetInfoObj::LiveCount()
{
    return InterlockedCompareExchange(&g_liveRecords, 0, 0);
}

void CNetInfoObj::SizeArrays(size_t names, size_t numbers, size_t dates)
{
    m_names.resize(names);
    m_numbers.resize(numbers);
    m_dates.resize(dates);
}

CString CNetInfoObj::GetNameAt(size_t index) const
{
    return index < m_names.size() ? m_names[index] : CString();
}

long CNetInfoObj::GetNumberAt(size_t index) const
{
    return index < m_numbers.size() ? static_cast<long>(m_numbers[index]) : -1;
}

std::optional<int32_t> CNetInfoObj::GetDateAt(size_t index) const
{
    if (index >= m_dates.size() || !m_dates[index])
        return std::nullopt;
    return *m_dates[index];
}

void CNetInfoObj::SetDate(size_t index, std::optional<int32_t> seconds)
{
    if (index < m_dates.size())
        m_dates[index] = seconds ? std::make_unique<int32_t>(*seconds) : nullptr;
}
