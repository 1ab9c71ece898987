// The whois page: input controls only; it sends nothing.
#pragma once

#include "resource_ids.h"
#include "views/PlaceholderView.h"

class ViewWhois : public PlaceholderView<ViewWhois> {
public:
    static constexpr int kTemplateId = IDD_WHOIS;
};
