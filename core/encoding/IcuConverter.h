#pragma once

// An ICU converter that closes itself.

#include <memory>

struct UConverter;

namespace zelkora {

struct CloseIcuConverter {
    void operator()(UConverter* converter) const;
};

using IcuConverter = std::unique_ptr<UConverter, CloseIcuConverter>;

// The converter ICU opens for that name; null when it cannot open one.
[[nodiscard]] IcuConverter OpenIcuConverter(const char* name);

}  // namespace zelkora
