// The ping page: input controls only; it sends nothing.
#pragma once

#include "resource_ids.h"
#include "views/PlaceholderView.h"

class ViewPing : public PlaceholderView<ViewPing> {
public:
    static constexpr int kTemplateId = IDD_PING;
};
