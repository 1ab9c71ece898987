#pragma once
// What the report shows, apart from how it is read and how it is written:
// the pages that were read, and one failure for each that was not. Labels
// and texts are UTF-16 as the views show them; counters are numbers.
#include "netinfo/AdapterAddresses.h"
#include "netinfo/CounterTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace report {

using CounterRows = netinfo::CounterValues;

struct SummaryPage {
    std::wstring hostName;
    std::wstring domainName;
    std::vector<std::wstring> dnsServers; // configured servers only, in platform order
    std::wstring text;                    // the Summary view's text, CR LF line ends
};

struct AdapterEntry {
    uint32_t index = 0;
    std::wstring name;
};

// An adapter of both address families, with its addresses as the platform
// writes them ("fe80::1%4").
struct AddressedAdapter {
    netinfo::AdapterAddresses record;  // names, indexes, LUID, type, status, MTU, DNS suffix, DHCPv4
    std::optional<std::wstring> physicalAddress;  // 02-00-5E-10-00-01; absent when it has none
    std::vector<std::pair<std::wstring, uint32_t>> unicast;  // each with its prefix length
    std::vector<std::wstring> gateways;
    std::vector<std::wstring> dnsServers;
};

struct InterfacePage {
    uint32_t index = 0;
    std::wstring name;
    CounterRows rows;
};

// One of the five protocol tables. `key` names it in JSON and on the command
// line, `title` heads it in text.
struct ProtocolPage {
    std::string key;
    std::wstring title;
    CounterRows rows;
};

struct ReadFailure {
    std::string page;     // the page's key: "summary", "adapters", "interface", "tcp", ...
    std::wstring message; // one line, as written to standard error
    uint32_t code = 0;    // the HRESULT, as an unsigned number
};

// A page that was not asked for, or whose read failed, is absent.
struct Report {
    std::optional<SummaryPage> summary;
    std::optional<std::vector<AdapterEntry>> adapters;
    std::optional<std::vector<AddressedAdapter>> addresses;
    std::optional<std::vector<InterfacePage>> interfaces;
    std::vector<ProtocolPage> protocols;
    std::vector<ReadFailure> failures;
};

}  // namespace report
