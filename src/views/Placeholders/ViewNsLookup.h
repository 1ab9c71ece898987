// The name lookup page: input controls only; it sends nothing.
#pragma once

#include "resource_ids.h"
#include "views/PlaceholderView.h"

class ViewNsLookup : public PlaceholderView<ViewNsLookup> {
public:
    static constexpr int kTemplateId = IDD_NSLOOKUP;
};
