// Puts a test's own function into one row of the binding table for the lifetime of the
// object; the row is unbound again afterwards, so the next call binds the real function.
#pragma once
#include "dialup/binding_table.h"

template <typename Function>
class RowSubstitute {
public:
    RowSubstitute(std::size_t row, Function* function) : row_(row) {
        binding::SubstituteRow(row_, reinterpret_cast<void*>(function));
    }
    ~RowSubstitute() { binding::SubstituteRow(row_, nullptr); }
    RowSubstitute(const RowSubstitute&) = delete;
    RowSubstitute& operator=(const RowSubstitute&) = delete;

private:
    std::size_t row_;
};
