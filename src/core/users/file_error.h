#pragma once
// The text of a file-error message: a numbered string with its "%s" filled in, and the reason
// line for the errors a user can do something about.
#include <string>

namespace kibiki {

enum class FileFault;

// String nTextId with its first "%s" replaced by strValue (CP932); unchanged without one.
std::string FillIn(int nTextId, const std::string& strValue);

// String nTextId with its first "%s" replaced by strValue (CP932; on a line of its own when the
// string has no "%s"), followed by the reason for nErrno when one is known: disk full, access
// refused, a folder of that name. 0 adds no reason.
std::string FileErrorText(int nTextId, const std::string& strValue, int nErrno);
// The same with the reason for a fault found when the file was opened or read (see
// platform/regular_file.h): a FIFO, a device or a file over its cap, too.
std::string FileErrorText(int nTextId, const std::string& strValue, FileFault fault);

}  // namespace kibiki
