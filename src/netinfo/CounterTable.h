#pragma once
// A row table: the label of each row and the counter it shows, in the order
// the rows are appended.
#include "netinfo/NameValueRow.h"

#include <windows.h>

#include <cstddef>

namespace netinfo {

template <typename Counters>
struct CounterField {
    const wchar_t* label;
    DWORD Counters::*field;
};

template <typename Counters, std::size_t Count>
void AppendCounterRows(NameValueList& list, const Counters& counters, const CounterField<Counters> (&table)[Count])
{
    for (const CounterField<Counters>& entry : table)
        list.push_back(MakeCounterRow(entry.label, counters.*entry.field));
}

}  // namespace netinfo
