#pragma once

#include <string>

namespace platform {

enum class MsgIcon { None, Information, Exclamation, Question, Stop };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// One message for the user. stringId names the string resource the text was
// built from (0 for a text of the program's own), so that tests and logs can
// tell messages apart without comparing wording.
struct MessageRequest {
    int stringId = 0;
    std::string text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// How the core asks the user something: a message box in the GUI, standard
// error in the command-line tool, a recorder in tests.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual MsgAnswer Show(const MessageRequest& request) = 0;
};

} // namespace platform
