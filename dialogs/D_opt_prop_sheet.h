// The "Cleaning Options" sheet: the five option pages, OK and Cancel only.
#pragma once

#include "framework/property_sheet.h"

class D_opt_prop_sheet : public Property_sheet {
public:
    D_opt_prop_sheet() : Property_sheet("Cleaning Options") {}

protected:
    // Hides Apply and moves OK and Cancel into the places of the last buttons but one.
    bool on_init() override;
};
