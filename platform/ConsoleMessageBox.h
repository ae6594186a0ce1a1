#pragma once

#include "platform/MessageBox.h"

#include <cstdio>
#include <deque>
#include <optional>
#include <vector>

namespace platform {

// Writes each message to a stream (standard error by default) and answers it
// from a script of answers. With the script used up it gives the answer that
// changes nothing: OK, No for a Yes/No question, Cancel for Yes/No/Cancel.
// Every request is kept, so tests can check what would have been shown.
class ConsoleMessageBox final : public IMessageBox {
public:
    explicit ConsoleMessageBox(std::FILE* stream = stderr)
        : m_stream(stream)
    {
    }

    MsgAnswer Show(const MessageRequest& request) override;

    void ScriptAnswer(MsgAnswer answer) { m_script.push_back(answer); }
    // Gives every question (Yes/No, Yes/No/Cancel) this answer once the script
    // is used up; a box with only OK never takes it. The command line's --yes.
    void AnswerEveryQuestion(MsgAnswer answer) { m_questionAnswer = answer; }
    const std::vector<MessageRequest>& Shown() const { return m_shown; }
    void ClearShown() { m_shown.clear(); }
    void SetStream(std::FILE* stream) { m_stream = stream; }

private:
    std::FILE* m_stream;
    std::deque<MsgAnswer> m_script;
    std::optional<MsgAnswer> m_questionAnswer;
    std::vector<MessageRequest> m_shown;
};

} // namespace platform
