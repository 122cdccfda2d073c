#pragma once
// The e-mail copies' rules, without the window.

#include "album.h"

namespace vimbrel {} // namespace vimbrel
