// The ping page: input controls only; it sends nothing.
#pragma once

#include "views/Placeholders/PlaceholderView.h"

namespace views {

class ViewPing : public PlaceholderView<ViewPing> {};

}  // namespace views
