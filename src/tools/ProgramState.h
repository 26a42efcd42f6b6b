// One reset over every window-free module: the state a freshly started program has before it reads its
// settings file. Tests, fuzz targets and each run of the batch tool start from it, so no state leaks from
// one run into the next. Each module still owns its own Reset…(); this only calls them all, in order.
#pragma once

void ResetProgramState();
