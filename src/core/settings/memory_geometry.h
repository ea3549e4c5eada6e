#pragma once
// Reading slots of a logger memory and its largest raw count, derived from the
// logger type. Set at start-up from the settings and again whenever a status
// record, a data file or the setup window names a logger type.

#include "format/memory_layout.h"

#include <cstdint>

namespace tamble {

struct MemoryGeometry {
    std::int32_t memoryCapacity = 0;   // readings the logger memory holds
    std::int32_t fullScaleCount = 0;   // 255, 1023 or 4095
    int resolutionType = 0;            // logger type last applied
};

// Types 1, 2, 3 (8, 10, 12 bit) fix capacity and full scale; any other type
// is recorded but leaves both numbers unchanged.
inline void ApplyResolutionType(MemoryGeometry& geometry, int resolutionType)
{
    geometry.resolutionType = resolutionType;
    if (const MemoryLayout* layout = LayoutForResolutionType(resolutionType)) {
        geometry.memoryCapacity = layout->capacity;
        geometry.fullScaleCount = layout->fullScaleCount;
    }
}

} // namespace tamble
