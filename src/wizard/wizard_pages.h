#pragma once
// The seven pages of the new-investigator wizard.

#include "wizard/page_characteristics.h"
#include "wizard/page_details.h"
#include "wizard/page_occupation.h"
#include "wizard/page_skill_points.h"
#include "wizard/page_weapons.h"
