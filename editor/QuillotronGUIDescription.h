#pragma once

#include "frame/StoredDescription.h"

// The editor form's stored description: the form's settings, then its
// components in creation order, each child listed inside its parent.
const TStoredDescription& VSTGUIDescription();
