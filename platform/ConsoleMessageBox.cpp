#include "platform/ConsoleMessageBox.h"

namespace platform {
namespace {

MsgAnswer SafeAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    case MsgButtons::Ok: break;
    }
    return MsgAnswer::Ok;
}

} // namespace

MsgAnswer ConsoleMessageBox::Show(const MessageRequest& request)
{
    m_shown.push_back(request);
    if (m_stream) {
        std::fputs(request.text.c_str(), m_stream);
        if (request.text.empty() || request.text.back() != '\n')
            std::fputc('\n', m_stream);
        std::fflush(m_stream);
    }
    if (m_script.empty()) {
        if (m_questionAnswer && request.buttons != MsgButtons::Ok)
            return *m_questionAnswer;
        return SafeAnswer(request.buttons);
    }
    const MsgAnswer answer = m_script.front();
    m_script.pop_front();
    return answer;
}

} // namespace platform
