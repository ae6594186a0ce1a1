#include "resources/Messages.h"

platform::MsgAnswer ShowResourceMessage(platform::IMessageBox& messages, const IStringTable& strings, int id,
                                        platform::MsgIcon icon, platform::MsgButtons buttons,
                                        std::initializer_list<FormatArg> args)
{
    platform::MessageRequest request;
    request.stringId = id;
    request.text = FormatText(strings.LoadString(id), args);
    request.icon = icon;
    request.buttons = buttons;
    return messages.Show(request);
}
