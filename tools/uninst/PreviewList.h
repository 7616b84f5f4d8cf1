// The list a dry run ends with: everything the run would have removed or scheduled, by group.
#pragma once

#include <cstdio>

#include "tools/uninst/RunRecord.h"

// Writes the list to `out`: a heading line, then each group's heading and its items in the
// order the run came to them, "(none)" for an empty group; the items that would fail, with
// why, under "Could not be removed".
void PrintPreview(const CRunRecord& record, std::FILE* out);
