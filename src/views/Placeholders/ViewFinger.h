// The finger page: input controls only; it sends nothing.
#pragma once

#include "resource_ids.h"
#include "views/PlaceholderView.h"

class ViewFinger : public PlaceholderView<ViewFinger> {
public:
    static constexpr int kTemplateId = IDD_FINGER;
};
