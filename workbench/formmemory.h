#pragma once

#include "engine/conversion/conversionprofile.h"
#include "engine/listing/listorder.h"
#include "engine/listing/typefilter.h"

namespace tolvane {

// What the working form keeps from one run to the next: the conversion profile and the file
// list's order and filter, in $XDG_CONFIG_HOME/tolvane/tolvane.conf. A value that is missing or
// cannot be read leaves its default: a damaged file never keeps the program from starting.
struct FormMemory
{
    ConversionProfile profile = ConversionProfile::T2s;
    ListOrder order;
    TypeFilter filter;

    static FormMemory load();
    // Best effort: a folder that cannot be written loses the choice, never the batch.
    void save() const;
};

} // namespace tolvane
