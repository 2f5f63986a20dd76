#pragma once

#include "platform/database.h"

// While it lives, connections opened from then on give up on another connection's write
// lock after `milliseconds` instead of the program's seconds, so that a test of a busy
// file does not wait them out.
class ShortBusyTimeout {
public:
    explicit ShortBusyTimeout(int milliseconds = 20) {
        qel::Database::setBusyTimeout(milliseconds);
    }
    ~ShortBusyTimeout() { qel::Database::setBusyTimeout(qel::Database::kDefaultBusyTimeout); }
    ShortBusyTimeout(const ShortBusyTimeout&) = delete;
    ShortBusyTimeout& operator=(const ShortBusyTimeout&) = delete;
};
