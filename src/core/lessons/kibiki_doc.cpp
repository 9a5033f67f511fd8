#include "lessons/kibiki_doc.h"

namespace kibiki {

CKibikiDoc::CKibikiDoc() = default;

}  // namespace kibiki
