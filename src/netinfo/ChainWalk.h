#pragma once
// Walks of the platform's linked lists. The platform links its nodes inside
// the block a query filled; a Next that leaves that block, or one that leads
// back to a node already visited (a loop), ends the walk instead of reading
// elsewhere or going round for ever.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <unordered_set>

namespace netinfo {

// The block a query filled.
struct Block {
    const BYTE* begin;
    const BYTE* end;

    // The bytes from `at` to the end of the block, none when `at` lies
    // outside. Addresses the platform wrote are compared as numbers: a stray
    // one need not point into any object of ours.
    std::size_t BytesFrom(const void* at) const
    {
        const auto p = reinterpret_cast<std::uintptr_t>(at);
        const auto first = reinterpret_cast<std::uintptr_t>(begin), last = reinterpret_cast<std::uintptr_t>(end);
        return at && p >= first && p <= last ? last - p : 0;
    }

    bool Holds(const void* at, std::size_t size) const { return at && size > 0 && BytesFrom(at) >= size; }

    template <typename Node>
    bool Holds(const Node* node) const
    {
        return Holds(node, sizeof(Node));
    }
};

// Visits each node from head on, in order, while `inside` accepts it and it
// was not visited before.
template <typename Node, typename Inside, typename Visit>
void WalkChain(const Node* head, Inside inside, Visit visit)
{
    std::unordered_set<const Node*> seen;
    for (const Node* node = head; node && inside(node) && seen.insert(node).second; node = node->Next)
        visit(*node);
}

template <typename Node, typename Visit>
void WalkChain(const Node* head, const Block& block, Visit visit)
{
    WalkChain(head, [&block](const Node* node) { return block.Holds(node); }, visit);
}

}  // namespace netinfo
