// The finger page: input controls only; it sends nothing.
#pragma once

#include "views/Placeholders/PlaceholderView.h"

namespace views {

class ViewFinger : public PlaceholderView<ViewFinger> {};

}  // namespace views
