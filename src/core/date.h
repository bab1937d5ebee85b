// Dates and times in one include: file time records, calendar dates and times of day,
// reading them from text and writing them with the format token language.
#pragma once

#include "core/calendar.h"
#include "core/date_parse.h"
#include "core/file_time.h"
#include "core/date_format.h"
