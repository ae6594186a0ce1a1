#pragma once

#include "resources/FormatText.h"
#include "platform/MessageBox.h"
#include "resources/IStringTable.h"

#include <initializer_list>

// Shows string resource id, formatted with args, in a message box.
platform::MsgAnswer ShowResourceMessage(platform::IMessageBox& messages, const IStringTable& strings, int id,
                                        platform::MsgIcon icon, platform::MsgButtons buttons = platform::MsgButtons::Ok,
                                        std::initializer_list<FormatArg> args = {});
