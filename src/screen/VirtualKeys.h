// Kept so that code still naming the old place of the key codes builds; the codes live in the platform layer.
#pragma once
#include "platform/VirtualKeys.h"
