#pragma once

#include <functional>

// Runs an action inside the code under test right before the n-th statement whose text begins
// with a prefix is sent (each one is traced first): a fault thus lands at an exact point of a
// run, with no hook in the product. One at a time.
class StatementHook
{
public:
    StatementHook(const char *prefix, int nth, std::function<void()> action);
    ~StatementHook();
    StatementHook(const StatementHook &) = delete;
    StatementHook &operator=(const StatementHook &) = delete;
};
