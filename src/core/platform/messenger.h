#pragma once
// How the core tells the user something: a message box in the ui, a recorder in tests.
#include <string>

namespace kibiki {

enum class MsgIcon { None, Information, Warning, Error, Question };
// YesNoDefaultNo asks before destroying data: a stray Enter must answer No.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoDefaultNo };
enum class MsgResult { Ok, Cancel, Yes, No };

class Messenger {
public:
    virtual ~Messenger() = default;
    // text and caption are CP932; an empty caption means the product name "Kibiki".
    virtual MsgResult ShowMessage(const std::string& text, const std::string& caption,
                                  MsgButtons buttons, MsgIcon icon) = 0;
};

}  // namespace kibiki
