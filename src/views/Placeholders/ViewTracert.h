// The trace route page: input controls only; it sends nothing.
#pragma once

#include "resource_ids.h"
#include "views/PlaceholderView.h"

class ViewTracert : public PlaceholderView<ViewTracert> {
public:
    static constexpr int kTemplateId = IDD_TRACERT;
};
