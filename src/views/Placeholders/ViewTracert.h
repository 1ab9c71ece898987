// The trace route page: input controls only; it sends nothing.
#pragma once

#include "views/Placeholders/PlaceholderView.h"

namespace views {

class ViewTracert : public PlaceholderView<ViewTracert> {};

}  // namespace views
