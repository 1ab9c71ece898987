// The name lookup page: input controls only; it sends nothing.
#pragma once

#include "views/Placeholders/PlaceholderView.h"

namespace views {

class ViewNsLookup : public PlaceholderView<ViewNsLookup> {};

}  // namespace views
