// The whois page: input controls only; it sends nothing.
#pragma once

#include "views/Placeholders/PlaceholderView.h"

namespace views {

class ViewWhois : public PlaceholderView<ViewWhois> {};

}  // namespace views
