#include "users/file_error.h"

#include <cerrno>

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

std::string FillIn(int nTextId, const std::string& strValue) {
    std::string text = StringOrEmpty(nTextId);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, strValue);
    return text;
}

std::string FileErrorText(int nTextId, const std::string& strValue, int nErrno) {
    std::string text = FillIn(nTextId, strValue);
    if (StringOrEmpty(nTextId).find("%s") == std::string::npos) text += "\r\n" + strValue;

    int nReason = 0;
    switch (nErrno) {
        case ENOSPC: case EDQUOT: case EFBIG: nReason = IDS_REASON_DISK_FULL; break;
        case EACCES: case EPERM: case EROFS: nReason = IDS_REASON_ACCESS; break;
        case EISDIR: nReason = IDS_REASON_IS_FOLDER; break;
        default: break;
    }
    if (nReason) text += "\r\n\r\n" + StringOrEmpty(nReason);
    return text;
}

}  // namespace kibiki
