// The archive checksum guards the header block, the archive data, the executable and
// each file; it is the foundation's text checksum.
#pragma once

#include "core/checksum.h"

namespace archive {

using core::archive_checksum;
using core::checksum_words;
using core::kChecksumSeed;

}  // namespace archive
