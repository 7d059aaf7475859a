// Placeholder body of a script function that is not built yet.
#pragma once

#include "qvPalvek.h"

#define EXT_NOT_BUILT(name)                                                                        \
    int32_t CqvPalvek::name(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue*, int32_t) {                 \
        SetErrorDetail(#name " is not built yet.");                                                \
        return ReportError(EXT_STATUS_TEXT_ERROR, IDS_INTERNAL_ERROR);                             \
    }
