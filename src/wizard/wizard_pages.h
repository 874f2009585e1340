#pragma once
// The seven pages of the new-investigator wizard.

#include "wizard/page_characteristics.h"
#include "wizard/page_details.h"
#include "wizard/page_finished.h"
#include "wizard/page_interest_skills.h"
#include "wizard/page_occupation.h"
#include "wizard/page_occupation_skills.h"
#include "wizard/page_weapons.h"
