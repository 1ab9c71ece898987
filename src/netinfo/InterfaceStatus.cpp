#include "netinfo/InterfaceStatus.h"

#include "netinfo/CounterTable.h"

namespace netinfo {

namespace {

// Outgoing before incoming, unlike MIB_IFROW's own order. The rows with
// "all" show the discard counters, the two without it the error counters.
const CounterField<MIB_IFROW> kStatusRows[] = {
    {L"admin status", &MIB_IFROW::dwAdminStatus},
    {L"adapter speed bit/s", &MIB_IFROW::dwSpeed},
    {L"outgoing octets", &MIB_IFROW::dwOutOctets},
    {L"incoming octets", &MIB_IFROW::dwInOctets},
    {L"outgoing unicast packets", &MIB_IFROW::dwOutUcastPkts},
    {L"incoming unicast packets", &MIB_IFROW::dwInUcastPkts},
    {L"outgoing non-unicast packets", &MIB_IFROW::dwOutNUcastPkts},
    {L"incoming non-unicast packets", &MIB_IFROW::dwInNUcastPkts},
    {L"discarded outgoing packets all", &MIB_IFROW::dwOutDiscards},
    {L"discarded outgoing packets", &MIB_IFROW::dwOutErrors},
    {L"discarded incoming packets all", &MIB_IFROW::dwInDiscards},
    {L"discarded incoming packets", &MIB_IFROW::dwInErrors},
    {L"unknown protos", &MIB_IFROW::dwInUnknownProtos},
    {L"output queue length", &MIB_IFROW::dwOutQLen},
};

}  // namespace

HRESULT AppendInterfaceStatusRows(const InterfaceRecord& record, NameValueList& list)
{
    AppendCounterRows(list, record.row, kStatusRows);
    return S_OK;
}

void AppendInterfaceStatusValues(const InterfaceRecord& record, CounterValues& values)
{
    AppendCounters(values, record.row, kStatusRows);
}

}  // namespace netinfo
