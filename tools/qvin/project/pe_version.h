// Portable reader of the FileVersion text in a PE file's version resource.
#pragma once

#include <string>
#include <string_view>

namespace qvin {

// The "FileVersion" string of the version resource of the PE image `image`, looked up
// under the resource's first translation (language 0x0409, code page 0x04E4 when it has
// none), with a trailing NUL dropped, every ',' turned into '.', and blanks, tabs and
// line ends removed; Windows-1252 ('?' for characters it lacks). Empty when the image
// is not a PE file, has no version resource or no such string; never throws.
std::string pe_file_version(std::string_view image);

}  // namespace qvin
