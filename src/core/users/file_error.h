#pragma once
// The text of a file-error message: a numbered string with its "%s" filled in, and the reason
// line for the errors a user can do something about.
#include <string>

namespace kibiki {

// String nTextId with its first "%s" replaced by strValue (CP932); unchanged without one.
std::string FillIn(int nTextId, const std::string& strValue);

// String nTextId with its first "%s" replaced by strValue (CP932; on a line of its own when the
// string has no "%s"), followed by the reason for nErrno when one is known: disk full, access
// refused, a folder of that name. 0 adds no reason.
std::string FileErrorText(int nTextId, const std::string& strValue, int nErrno);

}  // namespace kibiki
